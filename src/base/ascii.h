// Character classes of 8-bit text, independent of the C library's locale.
#pragma once

namespace zenavo {

inline bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace zenavo
