#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "app/run_and_capture.h"
#include "magc_cli.h"
#include "support/fifo.h"
#include "support/temp_folder.h"
#include "wmm_model.h"

namespace magc {
namespace {

using zenavo::testing::ExpectReturnsWithoutAWriter;
using zenavo::testing::MakeFifo;
using zenavo::testing::TempFolder;

const std::string kModelPath = std::string(ZENAVO_DATA_DIR) + "/WMM2025.COF";

// NOAA's published test values for WMM2025, all ten points. X, Y, Z, H and F are published to
// 1e-6 nT and must agree to kFieldTolerance; D and I are published rounded to 0.01 degree, so
// they must agree to half of that (plus a hair), and to kDerivedAngleTolerance with the D and I
// that the published X, Y and Z give. The header of wmm_model.h quotes these bounds and the
// worst errors printed here.
constexpr double kFieldTolerance = 0.001;           // nT
constexpr double kPublishedAngleTolerance = 0.0051;  // degrees
constexpr double kDerivedAngleTolerance = 1e-6;     // degrees

TEST(WorldMagneticModel, ReproducesThePublishedTestValues) {
  const MagneticModel model = LoadModel(kModelPath);
  std::ifstream file(std::string(ZENAVO_DATA_DIR) + "/WMM2025_test_values.csv");
  std::string line;
  double worstAngle = 0, worstDerived = 0, worstField = 0;
  int points = 0;
  while (std::getline(file, line)) {
    if (line.empty() || line[0] == '#' || line.rfind("date", 0) == 0) continue;
    std::replace(line.begin(), line.end(), ',', ' ');
    std::istringstream fields(line);
    double year, height, lat, lon, x, y, z, h, f, incl, decl;
    ASSERT_TRUE(fields >> year >> height >> lat >> lon >> x >> y >> z >> h >> f >> incl >> decl);
    const MagneticElements e = ComputeElements(model, lat, lon, height, year);
    SCOPED_TRACE(line);
    const double degrees = 180 / std::acos(-1.0);
    const double derivedD = std::atan2(y, x) * degrees, derivedI = std::atan2(z, h) * degrees;
    EXPECT_NEAR(e.Declination, decl, kPublishedAngleTolerance);
    EXPECT_NEAR(e.Inclination, incl, kPublishedAngleTolerance);
    EXPECT_NEAR(e.Declination, derivedD, kDerivedAngleTolerance);
    EXPECT_NEAR(e.Inclination, derivedI, kDerivedAngleTolerance);
    EXPECT_NEAR(e.North, x, kFieldTolerance);
    EXPECT_NEAR(e.East, y, kFieldTolerance);
    EXPECT_NEAR(e.Down, z, kFieldTolerance);
    EXPECT_NEAR(e.Horizontal, h, kFieldTolerance);
    EXPECT_NEAR(e.Total, f, kFieldTolerance);
    worstAngle = std::max({worstAngle, std::fabs(e.Declination - decl), std::fabs(e.Inclination - incl)});
    worstDerived = std::max({worstDerived, std::fabs(e.Declination - derivedD),
                             std::fabs(e.Inclination - derivedI)});
    worstField = std::max({worstField, std::fabs(e.North - x), std::fabs(e.East - y),
                           std::fabs(e.Down - z), std::fabs(e.Horizontal - h), std::fabs(e.Total - f)});
    ++points;
  }
  EXPECT_EQ(points, 10);
  RecordProperty("worst_angle_error_deg", std::to_string(worstAngle));
  RecordProperty("worst_field_error_nT", std::to_string(worstField));
  std::cout << "WMM2025 test values: " << points << " points, worst D/I error " << worstAngle
            << " deg (against the published X, Y, Z: " << worstDerived
            << " deg), worst field error " << worstField << " nT\n";
}

TEST(WorldMagneticModel, DamagedCoefficientFilesAreRefusedWithAReason) {
  std::ifstream original(kModelPath, std::ios::binary);
  const std::string good((std::istreambuf_iterator<char>(original)), {});
  const std::size_t secondLine = good.find('\n') + 1;
  const std::size_t thirdLine = good.find('\n', secondLine) + 1;
  const std::size_t endMarker = good.find("9999");
  const struct {
    const char* name;
    std::string bytes;
    const char* reason;
  } cases[] = {
      {"empty", "", "is empty"},
      {"noHeader", good.substr(secondLine), "no valid header"},
      {"truncated", good.substr(0, good.size() / 2), "bad line"},
      {"noEndLine", good.substr(0, endMarker), "truncated"},
      {"missingLine", good.substr(0, secondLine) + good.substr(thirdLine), "lacks degree 1 order 0"},
      {"repeatedLine", good.substr(0, thirdLine) + good.substr(secondLine), "bad line 3"},
      {"letters", good.substr(0, secondLine) + "  1  0  -29351.8  abc  12.0  0.0\n" +
                      good.substr(thirdLine), "bad line 2"},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    const std::string path = folder.Write("WMM2025.COF", c.bytes);
    try {
      LoadModel(path);
      ADD_FAILURE() << c.name << " accepted";
    } catch (const ModelError& e) {
      EXPECT_NE(std::string(e.what()).find(c.reason), std::string::npos) << c.name << ": " << e.what();
    }
  }
  // Only a regular file is read: a named pipe is refused at once, never waited on for a writer.
  TempFolder folder;
  const std::string fifo = MakeFifo(folder.Path() + "fifo.COF");
  const std::pair<std::string, std::string> notFiles[] = {
      {"/no/such/WMM2025.COF", "No such file or directory"},
      {folder.Path(), "Is a directory"},
      {fifo, "It is a named pipe, not a regular file"},
      {"/dev/null", "It is a device, not a regular file"}};
  for (const auto& [path, reason] : notFiles) {
    ExpectReturnsWithoutAWriter({fifo}, [&] {
      try {
        LoadModel(path);
        ADD_FAILURE() << path << " accepted";
      } catch (const ModelError& e) {
        EXPECT_EQ(std::string(e.what()), "cannot open coefficient file " + path + ": " + reason);
      }
    });
  }
}

TEST(MagcArguments, AcceptsTheSystemsCommandLineAndItsVariants) {
  const struct {
    std::vector<std::string> args;
    double lat, lon;
    int day, month, year;
    OutputKind output;
    const char* file;
  } cases[] = {
      {{"-23.55", "-46.63", "0", "7", "12", "26", "7", ">", "result.txt"}, -23.55, -46.63, 7, 12,
       2026, OutputKind::AllElements, "result.txt"},
      {{"-23,55", "-46,63", "0", "7", "12", "26", "7", ">", "result.txt"}, -23.55, -46.63, 7, 12,
       2026, OutputKind::AllElements, "result.txt"},
      {{"-21", "-45", "0", "29", "2", "2028"}, -21, -45, 29, 2, 2028, OutputKind::AllElements, ""},
      {{"90", "-360", "1,5", "1", "1", "05", "1"}, 90, -360, 1, 1, 2005,
       OutputKind::DeclinationOnly, ""},
  };
  for (const auto& c : cases) {
    std::string error;
    const auto request = ParseArguments(c.args, error);
    ASSERT_TRUE(request) << error;
    EXPECT_DOUBLE_EQ(request->Latitude, c.lat);
    EXPECT_DOUBLE_EQ(request->Longitude, c.lon);
    EXPECT_EQ(request->Day, c.day);
    EXPECT_EQ(request->Month, c.month);
    EXPECT_EQ(request->Year, c.year);
    EXPECT_EQ(request->Output, c.output);
    EXPECT_EQ(request->OutputFile, c.file);
  }
}

TEST(MagcArguments, RefusesBadInputWithAOneLineReason) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {"-23.55", "-46.63", "0", "7", "12"},
      {"-23.55", "-46.63", "0", "7", "12", "26", "7", "extra"},
      {"abc", "-46.63", "0", "7", "12", "26"},
      {"-23.5.5", "-46.63", "0", "7", "12", "26"},
      {"-23.55", "-46,6,3", "0", "7", "12", "26"},
      {"-23.55", "-46.63", "zero", "7", "12", "26"},
      {"90.01", "-46.63", "0", "7", "12", "26"},
      {"-91", "-46.63", "0", "7", "12", "26"},
      {"nan", "-46.63", "0", "7", "12", "26"},
      {"-23.55", "-46.63", "0", "30", "2", "26"},
      {"-23.55", "-46.63", "0", "29", "2", "2027"},
      {"-23.55", "-46.63", "0", "0", "12", "26"},
      {"-23.55", "-46.63", "0", "7", "13", "26"},
      {"-23.55", "-46.63", "0", "7", "12", "126"},
      {"-23.55", "-46.63", "0", "7.5", "12", "26"},
      {"-23.55", "-46.63", "0", "7", "12", "26", "9"},
      {"-23.55", "-46.63", "0", "7", "12", "26", "7", ">"},
      {"-23.55", "-46.63", "0", "7", "12", "26", ">", "a", "b"},
  };
  for (const auto& args : cases) {
    std::string error;
    EXPECT_FALSE(ParseArguments(args, error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
}

TEST(MagcResult, DeclinationIsTheSixthFieldWithPointDecimals) {
  Request request;
  request.Latitude = -23.55;
  request.Longitude = -46.63;
  request.Day = 7;
  request.Month = 12;
  request.Year = 2026;
  const MagneticElements elements{-21.90571, -40.969, 17205.06, 15962.94, -6418.93, -14939.8,
                                  22786.31};
  EXPECT_EQ(FormatResult(request, "WMM-2025", elements),
            "-23.55 -46.63 0 2026.9315 WMM2025 -21.9057 -40.9690 17205.1 15962.9 -6418.9 "
            "-14939.8 22786.3\n");
  request.Output = OutputKind::DeclinationOnly;
  EXPECT_EQ(FormatResult(request, "WMM-2025", elements), "-21.9057\n");
  EXPECT_DOUBLE_EQ(DecimalYear(1, 1, 2025), 2025.0);
  EXPECT_DOUBLE_EQ(DecimalYear(31, 12, 2028), 2028 + 365.0 / 366);
}

// The built executable, end to end, through the same runner the system uses.
class MagcProgram : public ::testing::Test {
 protected:
  // Runs magc with `arguments` in the temporary folder; returns the exit status.
  int Run(const std::string& arguments, std::string& output, const std::string& program = MAGC_PATH) {
    const zenavo::CapturedRun run = zenavo::RunAndCapture(program + " " + arguments, folder_.Path());
    output = run.Output;
    return run.ExitStatus;
  }
  TempFolder folder_;
};

TEST_F(MagcProgram, WritesTheResultFileInTheWorkingFolder) {
  std::string output;
  EXPECT_EQ(Run("-23,55 -46,63 0 7 12 26 7 > result.txt", output), 0);
  EXPECT_EQ(output, "");
  const std::string result = folder_.Read("result.txt");
  EXPECT_EQ(result.rfind("-23.55 -46.63 0 2026.9315 WMM2025 -21.", 0), 0u) << result;
  EXPECT_EQ(Run("-23.55 -46.63 0 7 12 2026", output), 0);
  EXPECT_EQ(output, result);  // without '> FILE' the same line goes to standard output
}

TEST_F(MagcProgram, BadInputWritesNoFileAndFails) {
  for (const char* arguments :
       {"91 0 0 7 12 26 7 > result.txt", "x 0 0 7 12 26 7 > result.txt",
        "0 0 0 31 11 26 7 > result.txt", "0 0 0 7 12 26 7 >", "0 0 0 7 12 7 > result.txt"}) {
    std::string output;
    EXPECT_NE(Run(arguments, output), 0) << arguments;
    EXPECT_EQ(output.rfind("magc: ", 0), 0u) << output;
    EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
    EXPECT_FALSE(folder_.Exists("result.txt")) << arguments;
  }
}

TEST_F(MagcProgram, WarnsButComputesOutsideTheModelsDatesAndNearThePole) {
  std::string output;
  EXPECT_EQ(Run("-23.55 -46.63 0 1 1 2031 7 > result.txt", output), 0);
  EXPECT_NE(output.find("outside the model's validity"), std::string::npos) << output;
  EXPECT_TRUE(folder_.Exists("result.txt"));
  EXPECT_EQ(Run("86.5 160 0 1 6 26 7 > pole.txt", output), 0);
  EXPECT_NE(output.find("polar blackout zone"), std::string::npos) << output;
  EXPECT_TRUE(folder_.Exists("pole.txt"));
}

TEST_F(MagcProgram, AMissingOrDamagedModelFileFailsWithoutAResult) {
  // A copy of magc with no coefficient file beside it, then with a damaged one.
  std::filesystem::copy_file(MAGC_PATH, folder_.Path() + "magc");
  std::string output;
  EXPECT_EQ(Run("-23.55 -46.63 0 7 12 26 7 > result.txt", output, folder_.Path() + "magc"), 2);
  EXPECT_NE(output.find("WMM2025.COF"), std::string::npos) << output;
  EXPECT_FALSE(folder_.Exists("result.txt"));
  folder_.Write("WMM2025.COF", "    2025.0            WMM-2025     11/13/2024\n  1  0  -29351.8\n");
  EXPECT_EQ(Run("-23.55 -46.63 0 7 12 26 7 > result.txt", output, folder_.Path() + "magc"), 2);
  EXPECT_FALSE(folder_.Exists("result.txt"));
}

TEST_F(MagcProgram, HelpDocumentsTheCommandLine) {
  std::string output;
  EXPECT_EQ(Run("--help", output), 0);
  EXPECT_NE(output.find("usage: magc LATITUDE LONGITUDE HEIGHT DAY MONTH YEAR"), std::string::npos);
}

// Where "> FILE" leads: a link is followed, a device or FIFO is written in place, and a write
// error is a message and exit status 3, never a report of success.
const std::vector<std::string> kSite = {"-23.55", "-46.63", "0", "7", "12", "26", "7"};

std::vector<std::string> WithOutput(const std::string& path) {
  std::vector<std::string> args = kSite;
  args.insert(args.end(), {">", path});
  return args;
}

TEST(MagcOutput, ALinkIsFollowedAndStaysALink) {
  TempFolder folder;
  ::symlink("real.txt", (folder.Path() + "link.txt").c_str());
  std::ostringstream out, err;
  EXPECT_EQ(RunMagc(WithOutput(folder.Path() + "link.txt"), kModelPath, out, err), 0) << err.str();
  struct stat info {};
  ::lstat((folder.Path() + "link.txt").c_str(), &info);
  EXPECT_TRUE(S_ISLNK(info.st_mode));
  EXPECT_EQ(folder.Read("real.txt").rfind("-23.55 -46.63 0 2026.9315 WMM2025 -21.", 0), 0u);
}

// A full device of the test's own (the full device's numbers; never the machine's /dev/full),
// as the result file and as standard output of the real program.
TEST(MagcOutput, AFullDeviceIsAnErrorAndIsNeverReplaced) {
  TempFolder folder;
  const std::string full = folder.Path() + "full";
  if (::mknod(full.c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
    GTEST_SKIP() << "cannot make a device node here (needs root): " << std::strerror(errno);
  std::ostringstream out, err;
  EXPECT_EQ(RunMagc(WithOutput(full), kModelPath, out, err), 3);
  EXPECT_EQ(err.str(), "magc: cannot write \"" + full + "\": No space left on device\n");

  const std::string command = std::string("'") + MAGC_PATH + "' -23.55 -46.63 0 7 12 26 7 > '" + full +
                              "' 2> '" + folder.Path() + "err.txt'";
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << status;
  EXPECT_EQ(folder.Read("err.txt"), "magc: cannot write the standard output\n");

  struct stat info {};
  ::lstat(full.c_str(), &info);
  EXPECT_TRUE(S_ISCHR(info.st_mode));
  EXPECT_EQ(info.st_rdev, makedev(1, 7));
}

TEST(MagcOutput, AMissingFolderOrAnUnwritableStandardOutputIsAnError) {
  TempFolder folder;
  std::ostringstream out, err;
  EXPECT_EQ(RunMagc(WithOutput(folder.Path() + "missing/result.txt"), kModelPath, out, err), 3);
  EXPECT_EQ(err.str(), "magc: cannot create \"" + folder.Path() +
                           "missing/result.txt\": No such file or directory\n");
  std::ostream broken(nullptr);  // standard output that cannot be written
  err.str("");
  EXPECT_EQ(RunMagc(kSite, kModelPath, broken, err), 3);
  EXPECT_EQ(err.str(), "magc: cannot write the standard output\n");
}

}  // namespace
}  // namespace magc
