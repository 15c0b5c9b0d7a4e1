#include "base/decimal_digits.h"

#include <algorithm>
#include <charconv>

#include "base/ascii.h"

namespace zenavo {

// The library's correctly rounded conversion, in scientific form with 17 digits after the
// point: d.ddddddddddddddddde[+-]x.
DecimalDigits ExactDigits(long double value) {
  constexpr int kExtendedDigits = 18;
  DecimalDigits result;
  if (value == 0) return result;
  char buffer[64];
  const char* const end = std::to_chars(buffer, buffer + sizeof buffer, value,
                                        std::chars_format::scientific, kExtendedDigits - 1).ptr;
  const char* p = buffer;
  if (*p == '-') result.negative = true, ++p;
  for (; *p != 'e'; ++p)
    if (IsDigit(*p)) result.digits += *p;
  int exponent = 0;
  std::from_chars(p[1] == '+' ? p + 2 : p + 1, end, exponent);
  result.exponent = exponent + 1;
  return result;
}

// The digits rounded to at most `precision` significant digits and to at most `decimals`
// digits after the decimal point, halves away from zero, trailing zeros dropped.
DecimalDigits Rounded(const DecimalDigits& exact, int precision, int decimals) {
  DecimalDigits result = exact;
  std::string& all = result.digits;
  const int keep = std::min(precision, exact.exponent + decimals);
  if (keep < 0 || all.empty()) return DecimalDigits{};
  const bool roundUp = static_cast<std::size_t>(keep) < all.size() && all[keep] >= '5';
  all.resize(std::min<std::size_t>(keep, all.size()));
  if (roundUp) {
    int i = keep - 1;
    while (i >= 0 && all[i] == '9') all[i--] = '0';
    if (i >= 0) {
      ++all[i];
    } else {
      all.assign(1, '1');  // 99.9 -> 100: one more integer digit, the zeros dropped below
      ++result.exponent;
    }
  }
  while (!all.empty() && all.back() == '0') all.pop_back();
  if (all.empty()) return DecimalDigits{};
  return result;
}

}  // namespace zenavo
