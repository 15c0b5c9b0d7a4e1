#include "app/text_routines.h"

namespace zenavo {

std::vector<std::string> SplitText(const std::string& text, const std::string& separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t found; (found = text.find(separator, start)) != std::string::npos;
       start = found + separator.size())
    parts.push_back(text.substr(start, found - start));
  parts.push_back(text.substr(start));
  return parts;
}

std::string CollapseSeparators(const std::string& text, const std::string& separator) {
  if (text.find(separator) == std::string::npos) return text;
  std::string result;
  std::size_t start = 0;
  for (std::size_t found; (found = text.find(separator, start)) != std::string::npos;) {
    result.append(text, start, found - start);
    start = found + separator.size();
    while (text.compare(start, separator.size(), separator) == 0) start += separator.size();
    result += separator;
  }
  result.append(text, start, std::string::npos);
  return result;
}

std::string DotToComma(const std::string& text) {
  std::string result = text;
  const std::size_t dot = result.find('.');
  if (dot != std::string::npos) result[dot] = ',';
  return result;
}

}  // namespace zenavo
