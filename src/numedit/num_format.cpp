#include "numedit/num_format.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "base/ascii.h"
#include "base/decimal_digits.h"
#include "base/exceptions.h"
#include "base/float_text.h"

namespace zenavo {

namespace {

constexpr int kExtendedPrecision = 18;
constexpr int kThousandsDigitLimit = 15;
// Beyond this many integer digits the fixed form is unreadable in a 68-pixel box ("1E400"
// would be a 401-digit integer): such values take the general form instead.
constexpr int kFixedIntegerDigitLimit = 15;

// Integer digits of `d` (at least "0"), grouped by threes when `separator` is not '\0'.
std::string IntegerPart(const DecimalDigits& d, char separator) {
  std::string digits;
  for (int i = 0; i < d.exponent; ++i)
    digits += i < static_cast<int>(d.digits.size()) ? d.digits[i] : '0';
  if (digits.empty()) digits = "0";
  if (separator == '\0') return digits;
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += separator;
    grouped += digits[i];
  }
  return grouped;
}

// Decimal digits of `d` after the point: all it has, at least `minimum` (padded with zeros).
std::string Fraction(const DecimalDigits& d, int minimum) {
  std::string fraction;
  const int count = static_cast<int>(d.digits.size());
  const int length = std::max(minimum, count - d.exponent);
  for (int p = 0; p < length; ++p) {
    const int index = d.exponent + p;
    fraction += (index >= 0 && index < count) ? d.digits[index] : '0';
  }
  return fraction;
}

std::string Join(bool negative, const std::string& integer, const std::string& fraction,
                 char decimalSeparator) {
  std::string text = negative ? "-" : "";
  text += integer;
  if (!fraction.empty()) text += decimalSeparator + fraction;
  return text;
}

std::string FixedPoint(long double value, TNumberFormat format, int decimals,
                       const FormatSettings& settings) {
  const DecimalDigits exact = ExactDigits(value);
  const int integerDigits = std::max(exact.exponent, 1);
  int rounding = decimals == kFreeDecimals ? kMaxDecimals : decimals;
  if (format == TNumberFormat::Thousands || decimals != kFreeDecimals)
    rounding = std::min(rounding, std::max(0, kThousandsDigitLimit - integerDigits));
  const DecimalDigits d = Rounded(exact, kExtendedPrecision, rounding);
  if (d.exponent > kFixedIntegerDigitLimit) return FloatToStr(value);  // "1E400", "1,5E20"
  const char grouping = format == TNumberFormat::Thousands ? settings.ThousandSeparator : '\0';
  return Join(d.negative, IntegerPart(d, grouping),
              Fraction(d, decimals == kFreeDecimals ? 0 : decimals), settings.DecimalSeparator);
}

// Mantissa and exponent; the exponent a multiple of `step` (1 scientific, 3 engineering).
std::string WithExponent(const DecimalDigits& exact, int decimals, int step,
                         const FormatSettings& settings) {
  if (exact.digits.empty()) {
    return Join(false, "0", decimals > 0 ? std::string(decimals, '0') : "",
                settings.DecimalSeparator) + "E0";
  }
  const int freeOrFixed = decimals == kFreeDecimals ? kMaxDecimals : decimals;
  auto exponentFor = [step](int decimalExponent) {
    const int e = decimalExponent - 1;  // of the first significant digit
    return static_cast<int>(std::floor(static_cast<double>(e) / step)) * step;
  };
  int exponent = exponentFor(exact.exponent);
  DecimalDigits mantissa =
      Rounded(exact, std::min(kExtendedPrecision, exact.exponent - exponent + freeOrFixed), 99);
  if (exponentFor(mantissa.exponent) != exponent) {  // rounding carried into a new digit
    exponent = exponentFor(mantissa.exponent);
    mantissa = Rounded(mantissa, mantissa.exponent - exponent + freeOrFixed, 99);
  }
  mantissa.exponent -= exponent;
  return Join(mantissa.negative, IntegerPart(mantissa, '\0'),
              Fraction(mantissa, decimals == kFreeDecimals ? 0 : decimals),
              settings.DecimalSeparator) +
         "E" + std::to_string(exponent);
}

}  // namespace

std::string FormatNumEditValue(long double value, TNumberFormat format, int decimals) {
  const FormatSettings& settings = CurrentFormatSettings();
  if (!std::isfinite(value)) return FloatToStr(value);
  switch (format) {
    case TNumberFormat::Scientific: return WithExponent(ExactDigits(value), decimals, 1, settings);
    case TNumberFormat::Engineering: return WithExponent(ExactDigits(value), decimals, 3, settings);
    default: return FixedPoint(value, format, decimals, settings);
  }
}

std::string CleanNumEditText(const std::string& text) {
  const FormatSettings& settings = CurrentFormatSettings();
  std::string clean;
  for (char c : text)
    if (c != settings.ThousandSeparator) clean += c;
  if (clean.empty()) return "0";
  if (clean == "-") return "-0";
  return clean;
}

namespace {

// Whether `clean` is written as a number (sign, digits with at most one separator, an
// exponent with digits) whose non-zero value lies below 1: together with a failed conversion
// this means it lies below the extended range ("1E-4940") rather than above it.
bool WrittenAsTinyNumber(std::string_view clean, char separator) {
  std::size_t i = 0;
  const std::size_t n = clean.size();
  if (i < n && clean[i] == '-') ++i;
  long integerDigits = 0, zerosAfterSeparator = 0, digits = 0;
  bool nonZero = false;
  for (; i < n && IsDigit(clean[i]); ++i, ++digits) {
    nonZero = nonZero || clean[i] != '0';
    if (nonZero) ++integerDigits;
  }
  if (i < n && clean[i] == separator) {
    for (++i; i < n && IsDigit(clean[i]); ++i, ++digits) {
      if (!nonZero && clean[i] == '0') ++zerosAfterSeparator;
      nonZero = nonZero || clean[i] != '0';
    }
  }
  if (digits == 0 || !nonZero) return false;
  long exponent = 0;
  if (i < n && clean[i] == 'E') {
    const bool negative = ++i < n && clean[i] == '-';
    if (negative) ++i;
    if (i == n) return false;
    for (; i < n && IsDigit(clean[i]); ++i) exponent = std::min(exponent * 10 + (clean[i] - '0'), 1'000'000L);
    if (negative) exponent = -exponent;
  }
  if (i != n) return false;
  const long magnitude = (integerDigits > 0 ? integerDigits : -zerosAfterSeparator) + exponent;
  return magnitude <= 0;
}

}  // namespace

long double ReadNumEditValue(const std::string& text) {
  const std::string clean = CleanNumEditText(text);
  if (const std::optional<long double> value = TryStrToFloat(clean)) return *value;
  // Below the extended range the nearest value is zero (the box shows it as "0").
  if (WrittenAsTinyNumber(clean, CurrentFormatSettings().DecimalSeparator))
    return clean[0] == '-' ? -0.0L : 0.0L;
  throw EConvertError::NotAFloat(clean);
}

}  // namespace zenavo
