#include "magc_cli.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <ostream>

#include "base/atomic_write.h"

namespace magc {

namespace {

// A decimal number with a point or a comma as separator: optional sign, digits, at most one
// separator, optional exponent.
std::optional<double> ParseNumber(const std::string& text) {
  std::string plain;
  bool separator = false, digits = false;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
    if (text[i] == '-') plain += '-';
    ++i;
  }
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      plain += c;
      digits = true;
    } else if ((c == '.' || c == ',') && !separator) {
      plain += '.';
      separator = true;
    } else if ((c == 'e' || c == 'E') && digits) {
      plain += text.substr(i);
      break;
    } else {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  double value = 0;
  const auto [end, ec] = std::from_chars(plain.data(), plain.data() + plain.size(), value);
  if (ec != std::errc() || end != plain.data() + plain.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::optional<int> ParseWholeNumber(const std::string& text) {
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int month, int year) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

// Fixed-point text with `decimals` decimals, trailing zeros of the fraction kept.
std::string Fixed(double value, int decimals) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
  std::string text = buffer;
  const bool roundsToZero = text.find_first_not_of("-0.") == std::string::npos;
  if (roundsToZero && text[0] == '-') text.erase(0, 1);  // no "-0.00"
  return text;
}

// Up to six decimals, trailing zeros dropped: how the site is echoed.
std::string Compact(double value) {
  std::string text = Fixed(value, 6);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string ModelToken(const std::string& name) {
  std::string token;
  for (char c : name)
    if (c != '-') token += c;
  return token;
}

}  // namespace

std::optional<Request> ParseArguments(const std::vector<std::string>& args, std::string& error) {
  Request request;
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h")) {
    request.Help = true;
    return request;
  }
  std::vector<std::string> positional = args;
  const auto redirect = std::find(positional.begin(), positional.end(), std::string(">"));
  if (redirect != positional.end()) {
    if (positional.end() - redirect != 2 || redirect[1].empty()) {
      error = "'>' must be followed by exactly one file name, at the end";
      return std::nullopt;
    }
    request.OutputFile = redirect[1];
    positional.erase(redirect, positional.end());
  }
  if (positional.size() != 6 && positional.size() != 7) {
    error = "expected LATITUDE LONGITUDE HEIGHT DAY MONTH YEAR [7] [> FILE] (see magc --help)";
    return std::nullopt;
  }
  const auto latitude = ParseNumber(positional[0]);
  const auto longitude = ParseNumber(positional[1]);
  const auto height = ParseNumber(positional[2]);
  if (!latitude) return error = "latitude '" + positional[0] + "' is not a number", std::nullopt;
  if (!longitude) return error = "longitude '" + positional[1] + "' is not a number", std::nullopt;
  if (!height) return error = "height '" + positional[2] + "' is not a number", std::nullopt;
  if (std::fabs(*latitude) > 90)
    return error = "latitude " + positional[0] + " lies outside -90..90", std::nullopt;
  if (std::fabs(*longitude) > 360)
    return error = "longitude " + positional[1] + " lies outside -360..360", std::nullopt;
  request.Latitude = *latitude;
  request.Longitude = *longitude;
  request.HeightKm = *height;

  const auto day = ParseWholeNumber(positional[3]);
  const auto month = ParseWholeNumber(positional[4]);
  const auto year = ParseWholeNumber(positional[5]);
  const std::size_t yearDigits = positional[5].size();
  if (!day || !month || !year || *year < 0 || (yearDigits != 2 && yearDigits != 4)) {
    error = "date '" + positional[3] + " " + positional[4] + " " + positional[5] +
            "' is not DAY MONTH YEAR (year of 2 or 4 digits)";
    return std::nullopt;
  }
  request.Year = yearDigits == 2 ? 2000 + *year : *year;
  if (*month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*month, request.Year)) {
    error = "no such date: " + positional[3] + " " + positional[4] + " " + positional[5];
    return std::nullopt;
  }
  request.Day = *day;
  request.Month = *month;

  if (positional.size() == 7) {
    if (positional[6] == "7") {
      request.Output = OutputKind::AllElements;
    } else if (positional[6] == "1") {
      request.Output = OutputKind::DeclinationOnly;
    } else {
      error = "output option '" + positional[6] + "' is not 7 (all elements) or 1 (declination)";
      return std::nullopt;
    }
  }
  return request;
}

double DecimalYear(int day, int month, int year) {
  int dayOfYear = day;
  for (int m = 1; m < month; ++m) dayOfYear += DaysInMonth(m, year);
  return year + (dayOfYear - 1) / (IsLeapYear(year) ? 366.0 : 365.0);
}

std::string FormatResult(const Request& request, const std::string& modelName,
                         const MagneticElements& e) {
  if (request.Output == OutputKind::DeclinationOnly) return Fixed(e.Declination, 4) + "\n";
  return Compact(request.Latitude) + " " + Compact(request.Longitude) + " " +
         Compact(request.HeightKm) + " " +
         Fixed(DecimalYear(request.Day, request.Month, request.Year), 4) + " " +
         ModelToken(modelName) + " " + Fixed(e.Declination, 4) + " " + Fixed(e.Inclination, 4) +
         " " + Fixed(e.Horizontal, 1) + " " + Fixed(e.North, 1) + " " + Fixed(e.East, 1) + " " +
         Fixed(e.Down, 1) + " " + Fixed(e.Total, 1) + "\n";
}

std::vector<std::string> Warnings(const MagneticModel& model, const Request& request,
                                  const MagneticElements& elements) {
  std::vector<std::string> warnings;
  const double when = DecimalYear(request.Day, request.Month, request.Year);
  if (when < model.Epoch || when >= model.Epoch + 5)
    warnings.push_back("warning: date " + Fixed(when, 4) + " lies outside the model's validity (" +
                       Fixed(model.Epoch, 1) + " to " + Fixed(model.Epoch + 5, 1) + ")");
  if (elements.Horizontal < 2000)
    warnings.push_back("warning: the site lies in the polar blackout zone (H < 2000 nT): "
                       "compass bearings and the declination are unreliable");
  else if (elements.Horizontal < 6000)
    warnings.push_back("warning: the site lies in the polar caution zone (H < 6000 nT): "
                       "compass bearings may be unreliable");
  return warnings;
}

std::string HelpText() {
  return "usage: magc LATITUDE LONGITUDE HEIGHT DAY MONTH YEAR [OUTPUT] [> FILE]\n"
         "\n"
         "Magnetic field of the World Magnetic Model 2025 at a site and date.\n"
         "  LATITUDE, LONGITUDE  decimal degrees, north and east positive; point or comma\n"
         "                       as decimal separator (-23.55 or -23,55)\n"
         "  HEIGHT               kilometres above the WGS-84 ellipsoid\n"
         "  DAY MONTH YEAR       the date; a year of two digits means 20YY\n"
         "  OUTPUT               7 (default): one line\n"
         "                         LAT LON HEIGHT DECIMALYEAR WMM2025 D I H X Y Z F\n"
         "                       D declination (degrees east of true north), I inclination\n"
         "                       (degrees, down positive), H X Y Z F in nT (X north, Y east,\n"
         "                       Z down)\n"
         "                       1: the declination alone\n"
         "  > FILE               write the result to FILE instead of standard output; '>'\n"
         "                       and FILE are ordinary arguments. A regular file is\n"
         "                       replaced whole (through a temporary file beside it, its\n"
         "                       permissions kept), a link is followed, a device or FIFO is\n"
         "                       written in place\n"
         "\n"
         "The coefficient file WMM2025.COF must lie beside the magc executable. Dates outside\n"
         "2025.0-2030.0 and sites near the magnetic poles give a warning on standard error.\n"
         "Exit status: 0 done, 1 bad arguments, 2 coefficient file missing or damaged,\n"
         "3 output file not written.\n";
}

int RunMagc(const std::vector<std::string>& args, const std::string& coefficientPath,
            std::ostream& out, std::ostream& err) {
  std::string error;
  const std::optional<Request> request = ParseArguments(args, error);
  if (!request) {
    err << "magc: " << error << "\n";
    return 1;
  }
  if (request->Help) {
    out << HelpText();
    return 0;
  }
  MagneticModel model;
  try {
    model = LoadModel(coefficientPath);
  } catch (const ModelError& e) {
    err << "magc: " << e.what() << "\n";
    return 2;
  }
  const MagneticElements elements =
      ComputeElements(model, request->Latitude, request->Longitude, request->HeightKm,
                      DecimalYear(request->Day, request->Month, request->Year));
  for (const std::string& warning : Warnings(model, *request, elements))
    err << "magc: " << warning << "\n";
  const std::string result = FormatResult(*request, model.Name, elements);
  if (request->OutputFile.empty()) {
    if (out << result << std::flush) return 0;
    err << "magc: cannot write the standard output\n";
    return 3;
  }
  try {
    zenavo::WriteFileAtomically(request->OutputFile, result, zenavo::Durability::kReadersOnly);
  } catch (const zenavo::AtomicWriteError& e) {
    err << "magc: " << e.what() << "\n";
    return 3;
  }
  return 0;
}

}  // namespace magc
