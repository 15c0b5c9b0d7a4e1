// The magc command line: arguments, the result line, warnings and the whole run.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "wmm_model.h"

namespace magc {

enum class OutputKind { AllElements, DeclinationOnly };

// One request, as read from the arguments.
struct Request {
  double Latitude = 0;     // degrees, north positive
  double Longitude = 0;    // degrees, east positive
  double HeightKm = 0;     // above the WGS-84 ellipsoid
  int Day = 1, Month = 1, Year = 2025;
  OutputKind Output = OutputKind::AllElements;
  std::string OutputFile;  // empty: standard output
  bool Help = false;
};

// The arguments after the program name. Returns the request, or fills `error` with a one-line
// message and returns nothing.
std::optional<Request> ParseArguments(const std::vector<std::string>& args, std::string& error);

// The date as a decimal year: year + (day of year - 1) / days in the year.
double DecimalYear(int day, int month, int year);

// "LAT LON HEIGHT DECIMALYEAR MODEL D I H X Y Z F" (point decimals, single blanks), or the
// declination alone for OutputKind::DeclinationOnly.
std::string FormatResult(const Request& request, const std::string& modelName,
                         const MagneticElements& elements);

// Warnings for a date outside the model's validity and a site near the magnetic poles.
std::vector<std::string> Warnings(const MagneticModel& model, const Request& request,
                                  const MagneticElements& elements);

// The usage text of magc --help.
std::string HelpText();

// The whole program: parse, load the model from `coefficientPath`, compute, write. Returns
// the exit status (0 success, 1 bad arguments, 2 coefficient file, 3 output not written, with
// the reason on `err`). A result file is written with zenavo::WriteFileAtomically, not flushed
// to disk: like a shell's "> file", it is there for its reader at once (the window reads it
// back within milliseconds), and the flush cost more than the whole computation.
int RunMagc(const std::vector<std::string>& args, const std::string& coefficientPath,
            std::ostream& out, std::ostream& err);

}  // namespace magc
