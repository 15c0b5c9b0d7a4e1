// A reading of the loader's quote rules for one line, step by step as they are stated, to
// check the loader's field splitting against.
#pragma once

#include <string>
#include <vector>

namespace zenavo::testing {

inline std::string CollapsedQuotes(const std::string& text) {
  std::string result;
  for (std::size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == '"')
      while (i + 1 < text.size() && text[i + 1] == '"') ++i;
  }
  return result;
}

inline std::vector<std::string> ReferenceCsvFields(std::string rest, char delimiter) {
  std::vector<std::string> fields;
  while (delimiter != '\0' && rest.find(delimiter) != std::string::npos) {
    if (rest[0] != '"') {
      const std::size_t next = rest.find(delimiter);
      fields.push_back(CollapsedQuotes(rest.substr(0, next)));
      rest.erase(0, next + 1);
      continue;
    }
    rest.erase(0, 1);
    // The closing quote: the last of the first odd run followed by another character, else a
    // quote that ends the text.
    std::size_t closing = std::string::npos;
    for (std::size_t i = 0; i < rest.size();) {
      if (rest[i] != '"') {
        ++i;
        continue;
      }
      std::size_t end = i;
      while (end < rest.size() && rest[end] == '"') ++end;
      if ((end - i) % 2 == 1 && end < rest.size()) {
        closing = end - 1;
        break;
      }
      i = end;
    }
    if (closing == std::string::npos && !rest.empty() && rest.back() == '"') closing = rest.size() - 1;
    if (closing == std::string::npos) {
      fields.emplace_back();
      rest.erase(0, rest.find(delimiter) + 1);
      continue;
    }
    fields.push_back(CollapsedQuotes(rest.substr(0, closing)));
    rest.erase(0, closing + 1);
    const std::size_t next = rest.find(delimiter);
    rest = next == std::string::npos ? std::string() : rest.substr(next + 1);
  }
  if (!rest.empty()) {
    if (rest.front() == '"') rest.erase(0, 1);
    if (!rest.empty() && rest.back() == '"') rest.pop_back();
    fields.push_back(CollapsedQuotes(rest));
  }
  return fields;
}

}  // namespace zenavo::testing
