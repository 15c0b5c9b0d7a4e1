#include "base/float_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "base/exceptions.h"
#include "base/format_settings.h"

namespace zenavo {
namespace {

struct ParseCase {
  const char* name;
  char separator;
  const char* text;
  long double expected;
};

class StrToFloatAccepts : public ::testing::TestWithParam<ParseCase> {};

TEST_P(StrToFloatAccepts, ReadsTheValue) {
  const ParseCase& c = GetParam();
  ScopedFormatSettings locale(c.separator == '.' ? PointFormatSettings() : CommaFormatSettings());
  EXPECT_NEAR(static_cast<double>(StrToFloat(c.text)), static_cast<double>(c.expected), 1e-12);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, StrToFloatAccepts,
    ::testing::Values(ParseCase{"point", '.', "-23.55", -23.55L},
                      ParseCase{"comma", ',', "-23,55", -23.55L},
                      ParseCase{"blanks", '.', "  12.5  ", 12.5L},
                      ParseCase{"plus", '.', "+3", 3},
                      ParseCase{"exponent", '.', "1.5E-2", 0.015L},
                      ParseCase{"lowerExponent", ',', "2,5e3", 2500},
                      ParseCase{"leadingSeparator", '.', ".5", 0.5L},
                      ParseCase{"trailingSeparator", ',', "5,", 5},
                      ParseCase{"integer", '.', "-70", -70}),
    [](const auto& info) { return std::string(info.param.name); });

struct RejectCase {
  const char* name;
  char separator;
  const char* text;
};

class StrToFloatRejects : public ::testing::TestWithParam<RejectCase> {};

TEST_P(StrToFloatRejects, WithTheConversionMessage) {
  const RejectCase& c = GetParam();
  ScopedFormatSettings locale(c.separator == '.' ? PointFormatSettings() : CommaFormatSettings());
  try {
    StrToFloat(c.text);
    FAIL() << "accepted " << c.text;
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), std::string("'") + c.text + "' is not a valid floating point value");
  }
  EXPECT_EQ(TryStrToFloat(c.text), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(
    Locales, StrToFloatRejects,
    ::testing::Values(RejectCase{"empty", '.', ""}, RejectCase{"blank", '.', " "},
                      RejectCase{"commaInPointLocale", '.', "1,5"},
                      RejectCase{"pointInCommaLocale", ',', "-21.50"},
                      RejectCase{"thousands", '.', "1,000.5"}, RejectCase{"letters", '.', "12A"},
                      RejectCase{"twoSeparators", '.', "1.2.3"}, RejectCase{"nan", '.', "NAN"},
                      RejectCase{"inf", '.', "INF"}, RejectCase{"bareExponent", '.', "1e"},
                      RejectCase{"signOnly", '.', "-"}, RejectCase{"separatorOnly", ',', ","},
                      RejectCase{"beyondExtendedRange", '.', "1e99999"},
                      RejectCase{"innerBlank", '.', "1 2"}),
    [](const auto& info) { return std::string(info.param.name); });

struct FormatCase {
  const char* name;
  long double value;
  const char* point;
  const char* comma;
};

// A number-to-text conversion checked in a point and a comma locale.
template <std::string (*Convert)(long double)>
class ConversionInBothLocales : public ::testing::TestWithParam<FormatCase> {
 protected:
  void Check() {
    const FormatCase& c = GetParam();
    {
      ScopedFormatSettings locale(PointFormatSettings());
      EXPECT_EQ(Convert(c.value), c.point);
    }
    ScopedFormatSettings locale(CommaFormatSettings());
    EXPECT_EQ(Convert(c.value), c.comma);
  }
};

using FloatToStrGeneral = ConversionInBothLocales<FloatToStr>;
TEST_P(FloatToStrGeneral, InBothLocales) { Check(); }

INSTANTIATE_TEST_SUITE_P(
    Values, FloatToStrGeneral,
    ::testing::Values(FormatCase{"latitude", -23.55L, "-23.55", "-23,55"},
                      FormatCase{"whole", -21, "-21", "-21"},
                      FormatCase{"zero", 0, "0", "0"},
                      FormatCase{"negativeZero", -0.0L, "0", "0"},
                      FormatCase{"fifteenDigits", 0.1L + 0.2L, "0.3", "0,3"},
                      FormatCase{"doubleInput", -46.63, "-46.63", "-46,63"},
                      FormatCase{"smallestFixed", 0.00001L, "0.00001", "0,00001"},
                      FormatCase{"belowFixed", 0.0000015L, "1.5E-6", "1,5E-6"},
                      FormatCase{"fifteenIntegerDigits", 999999999999999.0L, "999999999999999",
                                 "999999999999999"},
                      FormatCase{"sixteenIntegerDigits", 1e15L, "1E15", "1E15"},
                      FormatCase{"roundedMantissa", 123456789012345678.0L, "1.23456789012346E17",
                                 "1,23456789012346E17"},
                      FormatCase{"carryIntoNewDigit", 9.9999999999999999L, "10", "10"},
                      FormatCase{"infinite", -std::numeric_limits<long double>::infinity(),
                                 "-INF", "-INF"}),
    [](const auto& info) { return std::string(info.param.name); });

using ResultCellFormat = ConversionInBothLocales<FormatResultCell>;
TEST_P(ResultCellFormat, InBothLocales) { Check(); }

INSTANTIATE_TEST_SUITE_P(
    Values, ResultCellFormat,
    ::testing::Values(FormatCase{"azimuth", 312.7575L, "312.76", "312,76"},
                      FormatCase{"padsDecimals", 371.5L, "371.50", "371,50"},
                      FormatCase{"halfAwayFromZero", 0.125L, "0.13", "0,13"},
                      FormatCase{"negativeHalfAwayFromZero", -0.125L, "-0.13", "-0,13"},
                      FormatCase{"noNegativeZero", -0.004L, "0.00", "0,00"},
                      FormatCase{"negativeZero", -0.0L, "0.00", "0,00"},
                      FormatCase{"missingDeclination", -9686.2425L, "-9686.24", "-9686,24"},
                      FormatCase{"sixSignificantDigits", 12345.678L, "12345.70", "12345,70"},
                      FormatCase{"roundsUpToNextTen", 9.996L, "10.00", "10,00"},
                      FormatCase{"sixIntegerDigits", 999999.4L, "999999.00", "999999,00"},
                      FormatCase{"scientificBeyondSixDigits", 1234567.0L, "1.23457E6",
                                 "1,23457E6"},
                      FormatCase{"smallRoundsUp", 0.006L, "0.01", "0,01"},
                      // The half is judged on the value as 18 digits show it: 2.675L lies
                      // 4E-20 below 2.675, the double 2.675 is 1.8E-16 below it.
                      FormatCase{"extendedHalfAwayFromZero", 2.675L, "2.68", "2,68"},
                      FormatCase{"doubleBelowHalf", 2.675, "2.67", "2,67"},
                      FormatCase{"extendedNegativeHalf", -1.005L, "-1.01", "-1,01"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FloatText, RoundTripsThroughBothLocales) {
  for (const FormatSettings& settings : {PointFormatSettings(), CommaFormatSettings()}) {
    ScopedFormatSettings locale(settings);
    for (long double value : {-23.55L, -46.63L, 0.00001L, 1234.5678L, -1e-7L, 4.2e20L})
      EXPECT_NEAR(static_cast<double>(StrToFloat(FloatToStr(value))), static_cast<double>(value),
                  std::fabs(static_cast<double>(value)) * 1e-14);
  }
}

}  // namespace
}  // namespace zenavo
