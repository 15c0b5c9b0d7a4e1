#include "base/float_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

#include "base/ascii.h"
#include "base/decimal_digits.h"
#include "base/exceptions.h"
#include "base/format_settings.h"

namespace zenavo {

namespace {

// Checks the grammar of a number and writes it with a point, without blanks and without a
// leading '+', into `plain`. Returns false when the text is not a number.
bool NormalizeNumberText(std::string_view text, char separator, std::string& plain) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  while (i < n && text[i] == ' ') ++i;
  std::size_t end = n;
  while (end > i && text[end - 1] == ' ') --end;
  plain.clear();
  if (i < end && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  int mantissaDigits = 0;
  while (i < end && IsDigit(text[i])) plain += text[i++], ++mantissaDigits;
  if (i < end && text[i] == separator) {
    plain += '.';
    ++i;
    while (i < end && IsDigit(text[i])) plain += text[i++], ++mantissaDigits;
  }
  if (mantissaDigits == 0) return false;
  if (i < end && (text[i] == 'E' || text[i] == 'e')) {
    plain += 'e';
    ++i;
    if (i < end && (text[i] == '+' || text[i] == '-')) plain += text[i++];
    int exponentDigits = 0;
    while (i < end && IsDigit(text[i])) plain += text[i++], ++exponentDigits;
    if (exponentDigits == 0) return false;
  }
  return i == end;
}

std::string NonFiniteText(long double value) {
  if (std::isnan(value)) return "NAN";
  return value < 0 ? "-INF" : "INF";
}

// d[.ddd]E[-]x with the locale's separator.
std::string ScientificText(const DecimalDigits& d) {
  std::string out = d.negative ? "-" : "";
  out += d.digits[0];
  if (d.digits.size() > 1) {
    out += CurrentFormatSettings().DecimalSeparator;
    out += d.digits.substr(1);
  }
  out += 'E';
  out += std::to_string(d.exponent - 1);
  return out;
}

// Digits written as fixed point with exactly `decimals` decimals (at least "0" before the
// separator).
std::string FixedText(const DecimalDigits& d, int decimals) {
  std::string integerPart;
  std::string fraction;
  const int count = static_cast<int>(d.digits.size());
  for (int i = 0; i < d.exponent; ++i) integerPart += i < count ? d.digits[i] : '0';
  if (integerPart.empty()) integerPart.push_back('0');
  for (int i = d.exponent; i < d.exponent + decimals; ++i)
    fraction += (i >= 0 && i < count) ? d.digits[i] : '0';
  std::string out = d.negative && !d.digits.empty() ? "-" : "";
  out += integerPart;
  if (decimals > 0) {
    out += CurrentFormatSettings().DecimalSeparator;
    out += fraction;
  }
  return out;
}

constexpr int kNoDecimalLimit = 9999;

}  // namespace

std::optional<long double> TryStrToFloat(std::string_view text) {
  std::string plain;
  if (!NormalizeNumberText(text, CurrentFormatSettings().DecimalSeparator, plain)) return {};
  long double value = 0;
  const auto [ptr, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec != std::errc() || ptr != plain.data() + plain.size() || !std::isfinite(value)) return {};
  return value;
}

long double StrToFloat(std::string_view text) {
  const std::optional<long double> value = TryStrToFloat(text);
  if (!value) throw EConvertError::NotAFloat(text);
  return *value;
}

std::string FloatToStr(long double value) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  constexpr int kPrecision = 15;
  const DecimalDigits d = Rounded(ExactDigits(value), kPrecision, kNoDecimalLimit);
  if (d.digits.empty()) return "0";
  if (d.exponent > kPrecision || d.exponent < -4) return ScientificText(d);
  const int decimals = std::max(0, static_cast<int>(d.digits.size()) - d.exponent);
  return FixedText(d, decimals);
}

std::string FloatToStrFixed(long double value, int precision, int decimals) {
  if (!std::isfinite(value)) return NonFiniteText(value);
  const DecimalDigits exact = ExactDigits(value);
  const DecimalDigits whole = Rounded(exact, precision, kNoDecimalLimit);
  if (whole.exponent > precision) return ScientificText(whole);
  return FixedText(Rounded(exact, precision, decimals), decimals);
}

std::string FormatResultCell(long double value) { return FloatToStrFixed(value, 6, 2); }

}  // namespace zenavo
