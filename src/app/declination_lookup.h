// The magnetic declination of the site, from the external calculator magc.
#pragma once

#include <string>

namespace zenavo {

// The file the calculator leaves in the data folder.
inline constexpr const char* kDeclinationResultFile = "result.txt";
// The declination stored when the result line's sixth field is empty.
inline constexpr long double kMissingDeclination = -9999;

// "magc <lat> <lon> 0 <day> <month> <yy> 7 > result.txt" for today's local date, the site in
// the general number form of the locale (latitude and longitude in degrees, north and east
// positive).
std::string BuildDeclinationCommand(long double latitude, long double longitude);

// Reads the declination (degrees east of true north) from the first line of the result file:
// blanks collapsed, the sixth blank-separated field. An empty or all-blank line leaves
// `declination` unchanged; an empty sixth field gives -9999; the field is parsed in the
// locale's notation, then with its first '.' made ',' (that second failure raises
// EConvertError). Raises EFOpenError for a missing file and EListError (index 0 or 5) for an
// empty file or a line with fewer than six fields.
void ReadDeclination(const std::string& path, long double& declination);

// One whole lookup in `folder` (ending with '/'): removes an earlier result file, runs the
// calculator there and reads the new result into `declination`. A run that leaves no result
// file ends with the file-open error. Raises Exception when the old result file cannot be
// removed, or when the calculator cannot be started.
void LookUpDeclination(const std::string& folder, long double latitude, long double longitude,
                       long double& declination);

}  // namespace zenavo
