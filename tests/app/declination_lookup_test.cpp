#include "app/declination_lookup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>

#include "base/clock.h"
#include "base/exceptions.h"
#include "base/format_settings.h"
#include "support/temp_folder.h"

namespace zenavo {
namespace {

using zenavo::testing::TempFolder;

TEST(BuildDeclinationCommand, UsesTheLocaleAndTodaysDate) {
  const struct {
    FormatSettings settings;
    LocalDate today;
    long double latitude, longitude;
    const char* expected;
  } cases[] = {
      {PointFormatSettings(), {2026, 12, 7}, -23.55L, -46.63L,
       "magc -23.55 -46.63 0 7 12 26 7 > result.txt"},
      {CommaFormatSettings(), {2026, 12, 7}, -23.55L, -46.63L,
       "magc -23,55 -46,63 0 7 12 26 7 > result.txt"},
      {PointFormatSettings(), {2026, 12, 7}, -21, -45, "magc -21 -45 0 7 12 26 7 > result.txt"},
      {PointFormatSettings(), {2009, 3, 5}, 0, 0.5L, "magc 0 0.5 0 5 3 09 7 > result.txt"},
      {CommaFormatSettings(), {2026, 12, 31}, 1e-6L, -0.00001L,
       "magc 1E-6 -0,00001 0 31 12 26 7 > result.txt"},
  };
  for (const auto& c : cases) {
    ScopedFormatSettings locale(c.settings);
    ScopedClockSource clock(std::make_shared<FixedClock>(c.today, -180));
    EXPECT_EQ(BuildDeclinationCommand(c.latitude, c.longitude), c.expected);
  }
}

struct ReadCase {
  const char* name;
  char separator;
  const char* file;
  long double expected;   // the declination after reading (it starts at 7)
  const char* error;      // the message when reading fails
};

class ReadDeclinationTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadDeclinationTest, ReadsTheSixthField) {
  const ReadCase& c = GetParam();
  ScopedFormatSettings locale(c.separator == '.' ? PointFormatSettings() : CommaFormatSettings());
  TempFolder folder;
  const std::string path = folder.Write("result.txt", c.file);
  long double declination = 7;
  if (c.error) {
    try {
      ReadDeclination(path, declination);
      FAIL() << "no error";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.error);
    }
    EXPECT_EQ(declination, 7);
  } else {
    ReadDeclination(path, declination);
    EXPECT_NEAR(double(declination), double(c.expected), 1e-12);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadDeclinationTest,
    ::testing::Values(
        ReadCase{"singleBlanks", '.', "a b c d e -21.5\n", -21.5L, nullptr},
        ReadCase{"magcLine", '.',
                 "-23.55 -46.63 0 2026.9315 WMM2025 -21.9057 -40.9690 17205.1 15962.9\r\n",
                 -21.9057L, nullptr},
        ReadCase{"onlyFirstLineCounts", '.', "a b c d e 3\nf g h i j 4\n", 3, nullptr},
        ReadCase{"crLineEnd", '.', "a b c d e 2.5\rx", 2.5L, nullptr},
        ReadCase{"blankRunsShiftTheFields", '.', "   a  b   c d  e   -21.5   ", 0,
                 "'e' is not a valid floating point value"},
        ReadCase{"emptySixthField", '.', "a b c d e \n", -9999, nullptr},
        ReadCase{"fiveFields", '.', "a b c d -21.5\n", 0, "List index out of bounds (5)"},
        ReadCase{"emptyLine", '.', "\nnext line a b c d e 1", 7, nullptr},
        ReadCase{"blanksOnly", '.', "    \n", 7, nullptr},
        ReadCase{"emptyFile", '.', "", 0, "List index out of bounds (0)"},
        ReadCase{"commaLocaleReadsAPoint", ',', "a b c d e -21.50\n", -21.5L, nullptr},
        ReadCase{"commaLocaleReadsAComma", ',', "a b c d e -21,50\n", -21.5L, nullptr},
        ReadCase{"pointLocaleRejectsAComma", '.', "a b c d e -21,50\n", 0,
                 "'-21,50' is not a valid floating point value"},
        ReadCase{"secondParseMessageShowsTheChangedText", ',', "a b c d e 1.2.3\n", 0,
                 "'1,2.3' is not a valid floating point value"},
        ReadCase{"binaryBytes", '.', "\x01\x02 \xff", 0,
                 "List index out of bounds (5)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadDeclination, AMissingFileOrAFolderIsAFileOpenError) {
  TempFolder folder;
  long double declination = 7;
  try {
    ReadDeclination(folder.Path() + "result.txt", declination);
    FAIL();
  } catch (const EFOpenError& e) {
    EXPECT_EQ(e.Message(),
              "Cannot open file \"" + folder.Path() + "result.txt\". No such file or directory");
  }
  ::mkdir((folder.Path() + "dir").c_str(), 0755);
  EXPECT_THROW(ReadDeclination(folder.Path() + "dir", declination), EFOpenError);
  EXPECT_EQ(declination, 7);
}

class LookUpDeclinationTest : public ::testing::Test {
 protected:
  ScopedFormatSettings locale_{PointFormatSettings()};
  ScopedClockSource clock_{std::make_shared<FixedClock>(LocalDate{2026, 12, 7}, -180)};
  TempFolder folder_;
};

TEST_F(LookUpDeclinationTest, ReadsWhatTheCalculatorWrote) {
  // The fake answers in its working folder, to the file named after '>'.
  folder_.WriteScript("magc", "echo \"$1 $2 $3 2026.9 WMM2025 -20.25 x\" > \"$9\"\n");
  long double declination = 0;
  LookUpDeclination(folder_.Path(), -23.55L, -46.63L, declination);
  EXPECT_EQ(declination, -20.25L);
}

TEST_F(LookUpDeclinationTest, AStaleResultIsNeverReadAgain) {
  folder_.Write("result.txt", "a b c d e 5.0\n");
  folder_.WriteScript("magc", "echo 'calculator failed' >&2\nexit 1\n");
  long double declination = -21.5L;
  EXPECT_THROW(LookUpDeclination(folder_.Path(), -23.55L, -46.63L, declination), EFOpenError);
  EXPECT_EQ(declination, -21.5L);
  EXPECT_FALSE(folder_.Exists("result.txt"));
}

TEST_F(LookUpDeclinationTest, ACalculatorThatCannotStartLeavesTheDeclination) {
  long double declination = -21.5L;
  const std::string savedPath = getenv("PATH") ? getenv("PATH") : "";
  setenv("PATH", folder_.Path().c_str(), 1);  // no magc anywhere
  try {
    LookUpDeclination(folder_.Path(), -23.55L, -46.63L, declination);
    ADD_FAILURE() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Could not execute command line!");
  }
  setenv("PATH", savedPath.c_str(), 1);
  EXPECT_EQ(declination, -21.5L);
}

// The real calculator, from the build's runnable folder, in both locales.
TEST_F(LookUpDeclinationTest, RealCalculatorInBothLocales) {
  std::filesystem::copy_file(MAGC_PATH, folder_.Path() + "magc");
  std::filesystem::copy_file(std::filesystem::path(MAGC_PATH).parent_path() / "WMM2025.COF",
                             folder_.Path() + "WMM2025.COF");
  for (const FormatSettings& settings : {PointFormatSettings(), CommaFormatSettings()}) {
    ScopedFormatSettings locale(settings);
    long double declination = 0;
    LookUpDeclination(folder_.Path(), -23.55L, -46.63L, declination);
    // São Paulo, December 2026: about 22 degrees west.
    EXPECT_NEAR(double(declination), -21.9, 0.3);
  }
}

}  // namespace
}  // namespace zenavo
