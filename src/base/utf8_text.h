// Cell bytes as UTF-8 text, free of Qt: the data files are UTF-8, legacy files Latin-1.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zenavo {

// The code point that starts at text[i] when the bytes there are well-formed UTF-8 (no overlong
// form, no surrogate, nothing beyond U+10FFFF, no cut sequence); `i` then moves past it.
// nullopt, with `i` unchanged, otherwise.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& i);

// Appends code point `c` as UTF-8.
void AppendUtf8(char32_t c, std::string& out);

// True when `bytes` is well-formed UTF-8 throughout.
bool IsValidUtf8(std::string_view bytes);

// `bytes` unchanged when they are valid UTF-8, otherwise read as Latin-1 and written as UTF-8:
// the same reading the screen gives a cell.
std::string ToUtf8(std::string_view bytes);

}  // namespace zenavo
