#include "app/declination_lookup.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
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
constexpr std::size_t kMaxQuotedOutput = 200;  // of the calculator's output in a message

// The first line of `text` without surrounding blanks, at most kMaxQuotedOutput bytes.
std::string FirstLineOf(const std::string& text) {
  const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
  const std::size_t first = text.find_first_not_of(" \t");
  if (first >= end) return "";
  const std::size_t last = text.find_last_not_of(" \t", end - 1);
  return text.substr(first, std::min(last + 1 - first, kMaxQuotedOutput));
}

// The lines of the calculator's output that are warnings, each ending with '\n'.
std::string WarningLines(const std::string& output) {
  static constexpr std::string_view kWarning = "magc: warning:";
  std::string warnings;
  for (std::size_t start = 0; start < output.size();) {
    const std::size_t end = std::min(output.find('\n', start), output.size());
    std::string_view line(output.data() + start, end - start);
    if (line.ends_with('\r')) line.remove_suffix(1);
    if (line.starts_with(kWarning)) warnings.append(line).append("\n");
    start = end + 1;
  }
  return warnings;
}

// A fresh working folder (mode 0700) under TMPDIR or /tmp, removed with its content when the
// lookup ends.
class PrivateFolder {
 public:
  PrivateFolder() {
    const char* base = std::getenv("TMPDIR");
    std::string parent = base && *base ? base : "/tmp";
    while (parent.size() > 1 && parent.back() == '/') parent.pop_back();
    std::string pattern = parent + "/zenavo-magc-XXXXXX";
    if (!::mkdtemp(pattern.data()))
      throw EInOutError("Cannot create a working folder in \"%1\". %2",
                        {parent, std::strerror(errno)});
    path_ = pattern + "/";
  }
  ~PrivateFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;
  // The folder, ending with '/'.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

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

std::optional<long double> ReadDeclination(const std::string& path) {
  const std::vector<std::string> lines = LoadTextLines(path);
  if (lines.empty()) throw EListError(0);
  const std::string line = CollapseSeparators(lines[0], " ");
  if (line.empty() || line == " ") return std::nullopt;
  const std::vector<std::string> fields = SplitText(line, " ");
  if (fields.size() <= kDeclinationField) throw EListError(kDeclinationField);
  const std::string& field = fields[kDeclinationField];
  if (field.empty()) return std::nullopt;
  if (const std::optional<long double> value = TryStrToFloat(field)) return value;
  return StrToFloat(DotToComma(field));
}

std::optional<long double> LookUpDeclination(const std::string& programFolder,
                                             long double latitude, long double longitude) {
  return LookUpDeclinationAndWarnings(programFolder, latitude, longitude).Declination;
}

DeclinationLookup LookUpDeclinationAndWarnings(const std::string& programFolder,
                                               long double latitude, long double longitude) {
  const std::string command = BuildDeclinationCommand(latitude, longitude);
  const PrivateFolder folder;
  const CapturedRun run = RunAndCapture(command, folder.Path(), programFolder);
  const std::string resultPath = folder.Path() + kDeclinationResultFile;
  struct stat info {};
  if (::stat(resultPath.c_str(), &info) != 0) {
    // The calculator usually said why on its output: show that beside the file-open error.
    std::string systemText = std::strerror(errno);
    if (const std::string said = FirstLineOf(run.Output); !said.empty())
      systemText += " (" + said + ")";
    throw EFOpenError(resultPath, systemText, kMagcResultMessage);
  }
  return {ReadDeclination(resultPath), WarningLines(run.Output)};
}

}  // namespace zenavo
