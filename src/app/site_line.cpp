#include "app/site_line.h"

#include <cstdio>

#include "base/float_text.h"
#include "base/format_settings.h"
#include "base/utf8_text.h"
#include "table/print_layout.h"

namespace zenavo {

std::string SiteLineText(const CalculatedSite& site) {
  std::string name = kTypedSiteName;
  if (!site.City.empty()) name = ToUtf8(site.City + (site.State.empty() ? "" : " " + site.State));
  const FormatSettings& format = CurrentFormatSettings();
  char time[8];
  std::snprintf(time, sizeof time, "%02d:%02d", site.Time.Hour % 100, site.Time.Minute % 100);
  return "Local: " + name + "; Latitude " + FloatToStr(site.Latitude) + "; Longitude " +
         FloatToStr(site.Longitude) + "; Altitude " + FloatToStr(site.AltitudeMetres) + " m; " +
         (site.Declination ? "Declinação " + FormatResultCell(*site.Declination) + "°"
                           : std::string("sem declinação")) +
         "; Calculado em " + FormatPrintDate(format.ShortDateFormat, site.Date, format.DateSeparator) +
         " " + time;
}

std::string SiteLineText(const std::optional<CalculatedSite>& site) {
  return site ? SiteLineText(*site) : std::string();
}

}  // namespace zenavo
