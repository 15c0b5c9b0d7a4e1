// A number as decimal digits, the way the conversions between numbers and text see it.
#pragma once

#include <string>

namespace zenavo {

// A finite value as decimal digits: |value| = 0.d1d2d3... x 10^exponent. No digits means zero.
struct DecimalDigits {
  bool negative = false;
  std::string digits;
  int exponent = 0;
  bool operator==(const DecimalDigits&) const = default;
};

// The value written with 18 significant digits (as much as the extended format carries),
// correctly rounded with halves to even; zero gives no digits.
DecimalDigits ExactDigits(long double value);

// The digits rounded to at most `precision` significant digits and to at most `decimals`
// digits after the decimal point, halves away from zero, trailing zeros dropped. A value that
// rounds to zero gives no digits and no sign.
DecimalDigits Rounded(const DecimalDigits& exact, int precision, int decimals);

}  // namespace zenavo
