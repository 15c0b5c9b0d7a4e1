#include "numedit/num_format.h"

#include <algorithm>
#include <cmath>

#include "base/decimal_digits.h"
#include "base/float_text.h"

namespace zenavo {

namespace {

constexpr int kExtendedPrecision = 18;
constexpr int kThousandsDigitLimit = 15;

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

std::string FixedPoint(const DecimalDigits& exact, TNumberFormat format, int decimals,
                       const FormatSettings& settings) {
  const int integerDigits = std::max(exact.exponent, 1);
  int rounding = decimals == kFreeDecimals ? kMaxDecimals : decimals;
  if (format == TNumberFormat::Thousands || decimals != kFreeDecimals)
    rounding = std::min(rounding, std::max(0, kThousandsDigitLimit - integerDigits));
  const DecimalDigits d = Rounded(exact, kExtendedPrecision, rounding);
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
  const DecimalDigits exact = ExactDigits(value);
  switch (format) {
    case TNumberFormat::Scientific: return WithExponent(exact, decimals, 1, settings);
    case TNumberFormat::Engineering: return WithExponent(exact, decimals, 3, settings);
    default: return FixedPoint(exact, format, decimals, settings);
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

long double ReadNumEditValue(const std::string& text) {
  return StrToFloat(CleanNumEditText(text));
}

}  // namespace zenavo
