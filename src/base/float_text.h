// Conversions between numbers and text in the locale's decimal notation.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zenavo {

// Parses a decimal number written with the locale's decimal separator: optional blanks, an
// optional sign, digits with at most one separator, an optional exponent (E or e, optional
// sign, digits), optional blanks. Anything else, including the other separator, thousands
// separators, "NAN", "INF", an empty text or a value beyond the extended range, raises
// EConvertError "'<text>' is not a valid floating point value".
long double StrToFloat(std::string_view text);

// Like StrToFloat, but gives no value instead of raising.
std::optional<long double> TryStrToFloat(std::string_view text);

// General conversion: shortest form with up to 15 significant digits, trailing zeros removed,
// the separator only when there are decimals; scientific ("1.5E-6", "1E20") for magnitudes
// below 0.00001 or with more than 15 integer digits. NaN and infinities give "NAN", "INF",
// "-INF".
std::string FloatToStr(long double value);

// Fixed-point text with `decimals` decimals after rounding to at most `precision` significant
// digits, halves away from zero; a value that rounds to zero is written without a minus sign.
// A value with more than `precision` integer digits is written in the general scientific form.
std::string FloatToStrFixed(long double value, int precision, int decimals);

// The number format of the pointing table's result cells: two decimals, at most 6 significant
// digits (312.76, -9686.24; 312,76 in a comma locale).
std::string FormatResultCell(long double value);

}  // namespace zenavo
