// Cell bytes as UTF-8 text, free of Qt: the data files are UTF-8, legacy files Latin-1.
#pragma once

#include <string>
#include <string_view>

namespace zenavo {

// True when `bytes` is well-formed UTF-8 (no overlong forms, no surrogates, nothing beyond
// U+10FFFF, no cut sequence).
bool IsValidUtf8(std::string_view bytes);

// `bytes` unchanged when they are valid UTF-8, otherwise read as Latin-1 and written as UTF-8:
// the same reading the screen gives a cell.
std::string ToUtf8(std::string_view bytes);

}  // namespace zenavo
