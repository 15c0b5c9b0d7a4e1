// The line that names the site a pointing table was calculated for, printed in the page header
// and written as the saved table's caption.
#pragma once

#include <optional>
#include <string>

#include "base/clock.h"

namespace zenavo {

// What one "Calcular" used.
struct CalculatedSite {
  std::string City;   // the chosen city row's name (cell bytes); empty for a typed site
  std::string State;  // its state
  long double Latitude = 0;   // degrees, north positive
  long double Longitude = 0;  // degrees, east positive
  long double AltitudeMetres = 0;
  std::optional<long double> Declination;  // degrees east of true north; none when magc gave none
  LocalDate Date;
  LocalTime Time;
};

// The name a typed site goes by.
inline constexpr const char* kTypedSiteName = "Local digitado";

// One UTF-8 line in the window's language and the locale's notation, e.g.
//   "Local: São Paulo SP; Latitude -23.56739; Longitude -46.57038; Altitude 784 m;
//    Declinação -21.45°; Calculado em 15/03/2026 09:05"
// (one line): the coordinates as the boxes write them, the declination with two decimals
// ("sem declinação" when there was none), the date in the locale's short date format. A city
// name that is not valid UTF-8 is read as Latin-1.
std::string SiteLineText(const CalculatedSite& site);

// The line for a table that has no results (no "Calcular" since the site last changed): empty,
// so printouts and saved files then name no site rather than one the table does not belong to.
std::string SiteLineText(const std::optional<CalculatedSite>& site);

}  // namespace zenavo
