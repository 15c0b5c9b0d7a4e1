#include "app/declination_lookup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <future>
#include <memory>
#include <optional>

#include "base/clock.h"
#include "base/exceptions.h"
#include "base/format_settings.h"
#include "support/child_process.h"
#include "support/expect_error.h"
#include "support/fifo.h"
#include "support/temp_folder.h"

namespace zenavo {
namespace {

using zenavo::testing::ExpectError;
using zenavo::testing::ExpectReturnsWithoutAWriter;
using zenavo::testing::MakeFifo;
using zenavo::testing::RunUnprivileged;
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
  std::optional<long double> expected;  // nullopt: no declination
  const char* error;                    // the message when reading fails
};

class ReadDeclinationTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadDeclinationTest, ReadsTheSixthField) {
  const ReadCase& c = GetParam();
  ScopedFormatSettings locale(c.separator == '.' ? PointFormatSettings() : CommaFormatSettings());
  TempFolder folder;
  const std::string path = folder.Write("result.txt", c.file);
  if (c.error) {
    ExpectError<Exception>([&] { ReadDeclination(path); }, c.error);
    return;
  }
  const std::optional<long double> declination = ReadDeclination(path);
  EXPECT_EQ(declination.has_value(), c.expected.has_value());
  if (declination && c.expected) {
    EXPECT_NEAR(double(*declination), double(*c.expected), 1e-12);
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
        ReadCase{"emptySixthFieldIsNoDeclination", '.', "a b c d e \n", std::nullopt, nullptr},
        ReadCase{"fiveFields", '.', "a b c d -21.5\n", 0, "List index out of bounds (5)"},
        ReadCase{"emptyLine", '.', "\nnext line a b c d e 1", std::nullopt, nullptr},
        ReadCase{"blanksOnly", '.', "    \n", std::nullopt, nullptr},
        ReadCase{"emptyFile", '.', "", 0, "List index out of bounds (0)"},
        ReadCase{"commaLocaleReadsAPoint", ',', "a b c d e -21.50\n", -21.5L, nullptr},
        ReadCase{"commaLocaleReadsAComma", ',', "a b c d e -21,50\n", -21.5L, nullptr},
        ReadCase{"pointLocaleRejectsAComma", '.', "a b c d e -21,50\n", 0,
                 "'-21,50' is not a valid floating point value"},
        ReadCase{"secondParseMessageShowsTheChangedText", ',', "a b c d e 1.2.3\n", 0,
                 "'1,2.3' is not a valid floating point value"},
        ReadCase{"binaryBytes", '.', "\x01\x02 \xff", 0, "List index out of bounds (5)"}),
    [](const auto& info) { return std::string(info.param.name); });

// Only a regular file is read: anything else is refused at once (a named pipe is never
// waited on for a writer).
TEST(ReadDeclination, AMissingFileAFolderAPipeOrADeviceIsAFileOpenError) {
  TempFolder folder;
  ::mkdir((folder.Path() + "dir").c_str(), 0755);
  const std::string fifo = MakeFifo(folder.Path() + "fifo.txt");
  const struct {
    std::string path, reason;
  } cases[] = {
      {folder.Path() + "result.txt", "No such file or directory"},
      {folder.Path() + "dir", "Is a directory"},
      {fifo, "It is a named pipe, not a regular file"},
      {"/dev/null", "It is a device, not a regular file"},
  };
  for (const auto& c : cases) {
    ExpectReturnsWithoutAWriter({fifo}, [&] {
      ExpectError<EFOpenError>([&] { ReadDeclination(c.path); },
                               "Cannot open file \"" + c.path + "\". " + c.reason);
    });
  }
}

// Sets an environment variable for one scope.
class ScopedEnvironment {
 public:
  ScopedEnvironment(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnvironment() {
    if (old_) ::setenv(name_, old_->c_str(), 1);
    else ::unsetenv(name_);
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A program folder holding the calculator, and a TMPDIR of the test's own, so that the
// lookup's working folders can be watched.
class LookUpDeclinationTest : public ::testing::Test {
 protected:
  void CopyRealCalculator(bool withModel = true) {
    std::filesystem::copy_file(MAGC_PATH, program_.Path() + "magc");
    if (withModel)
      std::filesystem::copy_file(std::filesystem::path(MAGC_PATH).parent_path() / "WMM2025.COF",
                                 program_.Path() + "WMM2025.COF");
  }
  // What is left in TMPDIR: every lookup removes its working folder.
  std::vector<std::string> Leftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(temp_.Path()))
      names.push_back(entry.path().filename().string());
    return names;
  }

  ScopedFormatSettings locale_{PointFormatSettings()};
  ScopedClockSource clock_{std::make_shared<FixedClock>(LocalDate{2026, 12, 7}, -180)};
  TempFolder program_, temp_;
  ScopedEnvironment tmpdir_{"TMPDIR", temp_.Path()};
};

TEST_F(LookUpDeclinationTest, RunsTheCalculatorInAPrivateFolderAndRemovesIt) {
  // The fake answers in its working folder, to the file named after '>', and notes where it ran.
  program_.WriteScript("magc", "pwd > \"$(dirname \"$0\")/ran-in\"\n"
                               "echo \"$1 $2 $3 2026.9 WMM2025 -20.25 x\" > \"$9\"\n");
  program_.Write("result.txt", "a b c d e 5.0\n");  // an old result beside the program: never read
  EXPECT_EQ(LookUpDeclination(program_.Path(), -23.55L, -46.63L), -20.25L);
  const std::string ranIn = program_.Read("ran-in");
  EXPECT_EQ(ranIn.rfind(temp_.Path() + "zenavo-magc-", 0), 0u) << ranIn;
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
  EXPECT_EQ(program_.Read("result.txt"), "a b c d e 5.0\n");
}

// The calculator's warnings come back with the declination; its other output does not.
TEST_F(LookUpDeclinationTest, TheCalculatorsWarningsComeWithTheDeclination) {
  const struct {
    const char* name;
    int year;
    bool real;
    std::string warnings;
  } cases[] = {
      {"realWithinTheModel", 2026, true, ""},
      {"realAfterTheModel", 2031, true,
       "magc: warning: date 2031.9315 lies outside the model's validity (2025.0 to 2030.0)\n"},
      {"fakeWithOtherOutput", 2026, false, "magc: warning: one\nmagc: warning: two\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(program_.Path());
    std::filesystem::create_directory(program_.Path());
    if (c.real)
      CopyRealCalculator();
    else
      program_.WriteScript("magc", "echo 'a b c d e 1.5' > \"$9\"\necho noise\n"
                                   "printf 'magc: warning: one\\r\\nmagc: warning: two' >&2\n");
    ScopedClockSource clock(std::make_shared<FixedClock>(LocalDate{c.year, 12, 7}, -180));
    const DeclinationLookup lookup = LookUpDeclinationAndWarnings(program_.Path(), -23.55L, -46.63L);
    EXPECT_TRUE(lookup.Declination.has_value());
    EXPECT_EQ(lookup.Warnings, c.warnings);
  }
}

TEST_F(LookUpDeclinationTest, ABlankResultLineGivesNoDeclination) {
  program_.WriteScript("magc", "echo '   ' > \"$9\"\n");
  EXPECT_EQ(LookUpDeclination(program_.Path(), -23.55L, -46.63L), std::nullopt);
}

// A run that leaves no result file: the file-open error, followed by what the calculator said.
TEST_F(LookUpDeclinationTest, AFailedRunNamesWhatTheCalculatorSaid) {
  const struct {
    const char* name;
    std::function<void()> setUp;
    long double latitude;
    std::string said;  // the end of the message after the system text
  } cases[] = {
      {"fakeWithAMessage",
       [&] { program_.WriteScript("magc", "printf '  calculator failed \\t\\nsecond line\\n' >&2\nexit 1\n"); },
       -23.55L, " (calculator failed)"},
      {"fakeSilent", [&] { program_.WriteScript("magc", "exit 1\n"); }, -23.55L, ""},
      {"realWithoutItsModel", [&] { CopyRealCalculator(false); }, -23.55L,
       " (magc: cannot open coefficient file " + program_.Path() +
           "WMM2025.COF: No such file or directory)"},
      {"realWithLatitude95", [&] { CopyRealCalculator(); }, 95,
       " (magc: latitude 95 lies outside -90..90)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove_all(program_.Path());
    std::filesystem::create_directory(program_.Path());
    c.setUp();
    try {
      LookUpDeclination(program_.Path(), c.latitude, -46.63L);
      ADD_FAILURE() << "no error";
    } catch (const EFOpenError& e) {
      const std::string message = e.what();
      const std::string start = "Cannot open file \"" + temp_.Path() + "zenavo-magc-";
      const std::string end = "/result.txt\". No such file or directory" + c.said;
      EXPECT_EQ(message.rfind(start, 0), 0u) << message;
      EXPECT_TRUE(message.size() >= end.size() && message.substr(message.size() - end.size()) == end)
          << message;
    }
    EXPECT_EQ(Leftovers(), std::vector<std::string>{});
  }
}

TEST_F(LookUpDeclinationTest, ACalculatorThatCannotStartFailsWithTheMessage) {
  ScopedEnvironment path("PATH", program_.Path());  // no magc anywhere
  ExpectError<Exception>([&] { LookUpDeclination(program_.Path(), -23.55L, -46.63L); },
                         "Could not execute command line!");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

TEST_F(LookUpDeclinationTest, NoWorkingFolderIsAnInputOutputError) {
  ScopedEnvironment tmpdir("TMPDIR", temp_.Path() + "missing");
  CopyRealCalculator();
  ExpectError<EInOutError>([&] { LookUpDeclination(program_.Path(), -23.55L, -46.63L); },
                           "Cannot create a working folder in \"" + temp_.Path() +
                               "missing\". No such file or directory");
}

// The real calculator, from the build's runnable folder, in both locales.
TEST_F(LookUpDeclinationTest, RealCalculatorInBothLocales) {
  CopyRealCalculator();
  for (const FormatSettings& settings : {PointFormatSettings(), CommaFormatSettings()}) {
    ScopedFormatSettings locale(settings);
    const std::optional<long double> declination = LookUpDeclination(program_.Path(), -23.55L, -46.63L);
    // São Paulo, December 2026: about 22 degrees west.
    ASSERT_TRUE(declination);
    EXPECT_NEAR(double(*declination), -21.9, 0.3);
  }
}

// An installed program: its folder belongs to another user and is read-only for this one.
TEST_F(LookUpDeclinationTest, AReadOnlyProgramFolderWorks) {
  CopyRealCalculator();
  ::chmod(program_.Path().c_str(), 0555);
  ::chmod(temp_.Path().c_str(), 01777);  // TMPDIR open to every user, as /tmp is
  if (::geteuid() != 0 && ::access(program_.Path().c_str(), W_OK) == 0)
    GTEST_SKIP() << "the program folder stays writable for this user";
  const std::string report = RunUnprivileged([&]() -> std::string {
    const std::optional<long double> declination = LookUpDeclination(program_.Path(), -23.55L, -46.63L);
    if (!declination || *declination > -21.6L || *declination < -22.2L) return "wrong declination";
    return "";
  });
  ::chmod(program_.Path().c_str(), 0755);
  EXPECT_EQ(report, "");
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
  EXPECT_FALSE(program_.Exists("result.txt"));
}

// Two lookups at the same time, as two running copies of the program make: each reads the
// declination of its own site. The fake answers the latitude as the declination and lingers
// between writing and ending, so the two runs overlap.
TEST_F(LookUpDeclinationTest, TwoLookupsAtOnceEachReadTheirOwnSite) {
  program_.WriteScript("magc", "sleep 0.2\necho \"$1 $2 0 2026.9 WMM2025 $1 x\" > \"$9\"\nsleep 0.3\n");
  auto lookUp = [&](long double latitude) { return LookUpDeclination(program_.Path(), latitude, -46.63L); };
  auto north = std::async(std::launch::async, lookUp, -10.0L);
  auto south = std::async(std::launch::async, lookUp, -30.0L);
  EXPECT_EQ(north.get(), -10.0L);
  EXPECT_EQ(south.get(), -30.0L);
  EXPECT_EQ(Leftovers(), std::vector<std::string>{});
}

}  // namespace
}  // namespace zenavo
