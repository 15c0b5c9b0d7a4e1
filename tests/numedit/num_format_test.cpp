#include "numedit/num_format.h"

#include <gtest/gtest.h>

#include <cmath>

#include "base/exceptions.h"
#include "support/expect_error.h"

namespace zenavo {
namespace {

struct FormatCase {
  const char* name;
  long double value;
  TNumberFormat format;
  int decimals;
  const char* comma;  // as shown in a comma locale; the point locale swaps the separators
};

std::string InPointLocale(std::string text) {
  for (char& c : text) c = c == ',' ? '.' : (c == '.' ? ',' : c);
  return text;
}

class FormatNumEditValueTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatNumEditValueTest, WritesThePicture) {
  const FormatCase& c = GetParam();
  {
    ScopedFormatSettings locale(CommaFormatSettings());
    EXPECT_EQ(FormatNumEditValue(c.value, c.format, c.decimals), c.comma);
  }
  ScopedFormatSettings locale(PointFormatSettings());
  EXPECT_EQ(FormatNumEditValue(c.value, c.format, c.decimals), InPointLocale(c.comma));
}

constexpr auto kStandard = TNumberFormat::Standard;
constexpr auto kThousands = TNumberFormat::Thousands;
constexpr auto kScientific = TNumberFormat::Scientific;
constexpr auto kEngineering = TNumberFormat::Engineering;

INSTANTIATE_TEST_SUITE_P(
    Pictures, FormatNumEditValueTest,
    ::testing::Values(
        FormatCase{"whole", -21, kStandard, -1, "-21"},
        FormatCase{"freeDecimals", -22.905L, kStandard, -1, "-22,905"},
        FormatCase{"belowOne", 0.5L, kStandard, -1, "0,5"},
        FormatCase{"noGrouping", 1234567, kStandard, -1, "1234567"},
        FormatCase{"fourteenDecimalsAtMost", 0.123456789012345678L, kStandard, -1,
                   "0,12345678901235"},
        FormatCase{"negativeZero", -0.0L, kStandard, -1, "0"},
        FormatCase{"roundsToZero", -1e-20L, kStandard, -1, "0"},
        FormatCase{"fixedDecimals", 2.5L, kStandard, 2, "2,50"},
        FormatCase{"fixedRounds", 3.14159L, kStandard, 3, "3,142"},
        FormatCase{"noDecimals", 2.5L, kStandard, 0, "3"},
        FormatCase{"fixedBeyondFifteenDigits", 123456789012.5L, kStandard, 5,
                   "123456789012,50000"},
        FormatCase{"grouped", 1234567.5L, kThousands, -1, "1.234.567,5"},
        FormatCase{"groupedFifteenDigits", 1234567.123456789L, kThousands, -1,
                   "1.234.567,12345679"},
        FormatCase{"groupedSmall", -123, kThousands, 2, "-123,00"},
        FormatCase{"scientific", 12345, kScientific, -1, "1,2345E4"},
        FormatCase{"scientificSmall", 0.00015L, kScientific, -1, "1,5E-4"},
        FormatCase{"scientificZero", 0, kScientific, -1, "0E0"},
        FormatCase{"scientificFixed", 12345, kScientific, 2, "1,23E4"},
        FormatCase{"scientificCarry", 9.999L, kScientific, 2, "1,00E1"},
        FormatCase{"engineering", 12345, kEngineering, -1, "12,345E3"},
        FormatCase{"engineeringSmall", 0.00015L, kEngineering, -1, "150E-6"},
        FormatCase{"engineeringCarry", 999999.9L, kEngineering, 0, "1E6"},
        FormatCase{"engineeringNegative", -4500, kEngineering, 1, "-4,5E3"},
        // Beyond 15 integer digits: the general form, as FloatToStr writes it.
        FormatCase{"fifteenIntegerDigits", 999999999999999.0L, kStandard, -1, "999999999999999"},
        FormatCase{"sixteenIntegerDigits", 1234567890123456.0L, kStandard, -1,
                   "1,23456789012346E15"},
        FormatCase{"roundingCarriesPastFifteen", 999999999999999.6L, kStandard, 0, "1E15"},
        FormatCase{"hugeValue", 1e400L, kStandard, -1, "1E400"},
        FormatCase{"hugeNegative", -2.5e30L, kStandard, 3, "-2,5E30"},
        FormatCase{"hugeGrouped", 1.5e20L, kThousands, -1, "1,5E20"},
        FormatCase{"largestValue", 1.18973149535723176502e4932L, kStandard, -1,
                   "1,18973149535723E4932"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadNumEditValue, ReadsNumbersBelowTheRangeAsZero) {
  for (const auto& settings : {PointFormatSettings(), CommaFormatSettings()}) {
    ScopedFormatSettings locale(settings);
    const std::string tiny = std::string("0") + settings.DecimalSeparator + "005E-4930";  // 5E-4933
    EXPECT_EQ(ReadNumEditValue("1E-4932"), 0);
    EXPECT_EQ(ReadNumEditValue(tiny), 0);
    EXPECT_TRUE(std::signbit(ReadNumEditValue("-1E-4940")));
    const std::string smallestNormal = std::string("3") + settings.DecimalSeparator + "4E-4932";
    EXPECT_EQ(ReadNumEditValue(smallestNormal), 3.4e-4932L) << "a normal number reads as itself";
  }
}

TEST(ReadNumEditValue, RemovesThousandsAndReadsLoneSigns) {
  ScopedFormatSettings locale(CommaFormatSettings());
  EXPECT_EQ(ReadNumEditValue("1.234,5"), 1234.5L);
  EXPECT_EQ(ReadNumEditValue(""), 0);
  EXPECT_EQ(ReadNumEditValue("-"), 0);
  EXPECT_EQ(ReadNumEditValue("5E2"), 500);
  testing::ExpectError<EConvertError>([] { ReadNumEditValue("1.2E"); },
                                      "'12E' is not a valid floating point value");
  testing::ExpectError<EConvertError>([] { ReadNumEditValue("2E4932"); },
                                      "'2E4932' is not a valid floating point value");
}

}  // namespace
}  // namespace zenavo
