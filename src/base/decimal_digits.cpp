#include "base/decimal_digits.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace zenavo {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }


constexpr int kExtendedDigits = 18;

// The value written with 18 significant digits by the library's correctly rounded conversion.
DecimalDigits LibraryDigits(long double value) {
  DecimalDigits result;
  char buffer[64];
  const auto converted = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, kExtendedDigits - 1);
  const char* p = buffer;
  if (*p == '-') result.negative = true, ++p;
  for (; *p != 'e'; ++p)
    if (IsDigit(*p)) result.digits += *p;
  int exponent = 0;
  std::from_chars(*(p + 1) == '+' ? p + 2 : p + 1, converted.ptr, exponent);
  result.exponent = exponent + 1;
  return result;
}

// The same digits, worked out exactly in 128-bit integers: the extended value is a 64-bit
// integer times a power of two, so its decimal expansion follows from shifts and multiplying
// the binary fraction by ten. Several times faster than the library's conversion, which goes
// through multi-precision printing. Returns false for values outside the 128-bit reach.
bool FastDigits(long double value, DecimalDigits& result) {
  using U128 = unsigned __int128;
  int binaryExponent = 0;
  const long double fraction = std::frexp(std::fabs(value), &binaryExponent);
  const auto mantissa = static_cast<std::uint64_t>(std::ldexp(fraction, 64));
  const int shift = 64 - binaryExponent;  // value = mantissa / 2^shift
  if (shift < -63 || shift > 124) return false;

  std::string digits;
  digits.reserve(kExtendedDigits + 24);
  int exponent = 0;
  U128 rest = 0;
  U128 mask = 0;
  if (shift <= 0) {
    U128 whole = static_cast<U128>(mantissa) << -shift;
    while (whole != 0) digits += static_cast<char>('0' + static_cast<int>(whole % 10)), whole /= 10;
    std::reverse(digits.begin(), digits.end());
    exponent = static_cast<int>(digits.size());
  } else {
    mask = (static_cast<U128>(1) << shift) - 1;
    std::uint64_t whole = shift >= 64 ? 0 : mantissa >> shift;
    rest = static_cast<U128>(mantissa) & mask;
    while (whole != 0) digits += static_cast<char>('0' + whole % 10), whole /= 10;
    std::reverse(digits.begin(), digits.end());
    exponent = static_cast<int>(digits.size());
    // Fraction digits until one beyond the 18 kept (leading zeros of a value below 1 only move
    // the exponent).
    while (rest != 0 && static_cast<int>(digits.size()) <= kExtendedDigits) {
      rest *= 10;
      const int digit = static_cast<int>(rest >> shift);
      rest &= mask;
      if (digits.empty() && digit == 0) {
        --exponent;
        continue;
      }
      digits += static_cast<char>('0' + digit);
    }
  }
  // Round to 18 digits, halves to even, as the library does: beyond the 19th digit only
  // "anything non-zero left" matters.
  bool sticky = rest != 0;
  if (static_cast<int>(digits.size()) > kExtendedDigits + 1) {
    for (std::size_t i = kExtendedDigits + 1; i < digits.size(); ++i) sticky |= digits[i] != '0';
    digits.resize(kExtendedDigits + 1);
  }
  if (static_cast<int>(digits.size()) == kExtendedDigits + 1) {
    const char next = digits.back();
    digits.pop_back();
    const bool odd = (digits.back() - '0') % 2 == 1;
    if (next > '5' || (next == '5' && (sticky || odd))) {
      int i = kExtendedDigits - 1;
      while (i >= 0 && digits[i] == '9') digits[i--] = '0';
      if (i >= 0) {
        ++digits[i];
      } else {
        digits.insert(digits.begin(), '1');
        digits.pop_back();
        ++exponent;
      }
    }
  }
  digits.resize(kExtendedDigits, '0');
  result.negative = std::signbit(value);
  result.digits = std::move(digits);
  result.exponent = exponent;
  return true;
}

}  // namespace

// The value written with 18 significant digits, as much as the extended format carries.
DecimalDigits ExactDigits(long double value) {
  DecimalDigits result;
  if (value == 0) return result;
  if (FastDigits(value, result)) return result;
  return LibraryDigits(value);
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
