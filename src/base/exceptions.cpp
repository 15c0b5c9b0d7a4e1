#include "base/exceptions.h"

namespace zenavo {

std::string FillMessage(std::string_view messageTemplate, const std::vector<std::string>& arguments) {
  std::string message;
  message.reserve(messageTemplate.size());
  for (size_t i = 0; i < messageTemplate.size(); ++i) {
    const char c = messageTemplate[i];
    const char next = i + 1 < messageTemplate.size() ? messageTemplate[i + 1] : '\0';
    const size_t place = next >= '1' && next <= '9' ? static_cast<size_t>(next - '1') : arguments.size();
    if (c == '%' && place < arguments.size()) {
      message += arguments[place];
      ++i;
    } else {
      message += c;
    }
  }
  return message;
}

}  // namespace zenavo
