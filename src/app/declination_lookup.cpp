#include "app/declination_lookup.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "app/run_and_capture.h"
#include "app/text_routines.h"
#include "base/clock.h"
#include "base/exceptions.h"
#include "base/float_text.h"
#include "base/text_file.h"

namespace zenavo {

namespace {
constexpr std::size_t kDeclinationField = 5;

// "day month yy": day and month without leading zeros, the last two digits of the year.
std::string DateText(const LocalDate& date) {
  std::string year = std::to_string(date.Year);
  while (year.size() < 4) year.insert(year.begin(), '0');
  return std::to_string(date.Day) + " " + std::to_string(date.Month) + " " + year.substr(2, 2);
}
}  // namespace

std::string BuildDeclinationCommand(long double latitude, long double longitude) {
  return "magc " + FloatToStr(latitude) + " " + FloatToStr(longitude) + " 0 " +
         DateText(Clock().Today()) + " 7 > " + kDeclinationResultFile;
}

void ReadDeclination(const std::string& path, long double& declination) {
  const std::vector<std::string> lines = LoadTextLines(path);
  if (lines.empty()) throw EListError(0);
  const std::string line = CollapseSeparators(lines[0], " ");
  if (line.empty() || line == " ") return;
  const std::vector<std::string> fields = SplitText(line, " ");
  if (fields.size() <= kDeclinationField) throw EListError(kDeclinationField);
  const std::string& field = fields[kDeclinationField];
  if (field.empty()) {
    declination = kMissingDeclination;
    return;
  }
  const std::optional<long double> value = TryStrToFloat(field);
  declination = value ? *value : StrToFloat(DotToComma(field));
}

void LookUpDeclination(const std::string& folder, long double latitude, long double longitude,
                       long double& declination) {
  const std::string command = BuildDeclinationCommand(latitude, longitude);
  // A result left by an earlier run must not pass for this one.
  const std::string resultPath = folder + kDeclinationResultFile;
  if (::unlink(resultPath.c_str()) != 0 && errno != ENOENT)
    throw Exception("Cannot delete file \"" + resultPath + "\". " + std::strerror(errno));
  std::string output;
  RunAndCapture(command, folder, output);
  ReadDeclination(resultPath, declination);
}

}  // namespace zenavo
