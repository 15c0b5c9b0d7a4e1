// The magnetic declination of the site, from the external calculator magc.
#pragma once

#include <optional>
#include <string>

namespace zenavo {

// The file the calculator leaves in its working folder.
inline constexpr const char* kDeclinationResultFile = "result.txt";

// "magc <lat> <lon> 0 <day> <month> <yy> 7 > result.txt" for today's local date, the site in
// the general number form of the locale (latitude and longitude in degrees, north and east
// positive).
std::string BuildDeclinationCommand(long double latitude, long double longitude);

// The declination (degrees east of true north) in the first line of the result file: blanks
// collapsed, the sixth blank-separated field, parsed in the locale's notation, then with its
// first '.' made ',' (that second failure raises EConvertError). nullopt (no declination) when
// the sixth field is empty or the first line is empty or all blanks. Raises EFOpenError for a missing file and EListError
// (index 0 or 5) for an empty file or a line with fewer than six fields.
std::optional<long double> ReadDeclination(const std::string& path);

// One whole lookup: runs the calculator, taken from `programFolder` (the folder of the
// program, ending with '/'), in a fresh private working folder under TMPDIR (or /tmp), reads
// its result file there as ReadDeclination does, and removes the folder again, also on failure.
// Each lookup has its folder of its own, so a read-only program folder works and two running
// copies never read each other's result. A run that leaves no result file ends with the
// file-open error followed by the first line the calculator wrote, in parentheses. Raises
// Exception "Could not execute command line!" when the calculator cannot be started, and
// EInOutError when no working folder can be made.
std::optional<long double> LookUpDeclination(const std::string& programFolder,
                                             long double latitude, long double longitude);

// What one lookup gave: the declination (none when the calculator wrote none) and the warnings
// the calculator wrote ("magc: warning: ..." lines, such as a date outside the model's years),
// one a line, each as written.
struct DeclinationLookup {
  std::optional<long double> Declination;
  std::string Warnings;
};

// LookUpDeclination, with the calculator's warnings.
DeclinationLookup LookUpDeclinationAndWarnings(const std::string& programFolder,
                                               long double latitude, long double longitude);

// The message for a lookup that gave no declination.
inline constexpr const char* kNoDeclinationMessage =
    "The declination calculator gave no magnetic declination for this site, so the magnetic "
    "azimuths are left empty";

}  // namespace zenavo
