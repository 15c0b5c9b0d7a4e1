// Formatting and reading the number of a numeric edit box, with the separators of the format
// settings in force.
#pragma once

#include <string>

#include "base/format_settings.h"

namespace zenavo {

enum class TNumberFormat { Standard, Thousands, Scientific, Engineering };

// Decimals of -1 mean "as many as needed, up to 14".
inline constexpr int kFreeDecimals = -1;
inline constexpr int kMaxDecimals = 14;

// The text a box shows for `value`, as picture formatting would write it:
//   Standard    "0.##############" (free decimals) or "0.000" (fixed): -22.905 -> "-22,905"
//   Thousands   the same with grouping; integer and decimal digits together at most 15
//   Scientific  one integer digit and an exponent "E" with only a minus sign: "1,5E-7"
//   Engineering an exponent that is a multiple of 3: "12,5E3"
// With fixed decimals, decimals beyond 15 minus the integer digits are written as zeros. A
// Standard or Thousands value of more than 15 integer digits takes the general form of
// FloatToStr instead ("1E400", "1,5E20"). Zero (negative zero included) is written without a
// sign.
std::string FormatNumEditValue(long double value, TNumberFormat format, int decimals);

// The value of a box's text: thousands separators removed, "" read as "0" and "-" as "-0",
// converted in the locale's notation; a number below the extended range ("1E-4940") reads as
// zero. Raises EConvertError with the cleaned text when it does not convert.
long double ReadNumEditValue(const std::string& text);

// The text without thousands separators, "" as "0" and "-" as "-0" (what Copy puts on the
// clipboard and what Value reads).
std::string CleanNumEditText(const std::string& text);

}  // namespace zenavo
