#include "app/site_line.h"

#include <gtest/gtest.h>

#include "base/format_settings.h"

namespace zenavo {
namespace {

TEST(SiteLineText, NamesTheSiteInTheLocalesNotation) {
  FormatSettings dashes = CommaFormatSettings();
  dashes.DateSeparator = '-';
  dashes.ShortDateFormat = "yyyy/MM/dd";
  const struct {
    const char* name;
    FormatSettings format;
    CalculatedSite site;
    const char* line;
  } cases[] = {
      {"city, point locale", PointFormatSettings(),
       {"São Paulo", "SP", -23.56739L, -46.57038L, 784, -21.456L, {2026, 3, 15}, {9, 5}},
       "Local: São Paulo SP; Latitude -23.56739; Longitude -46.57038; Altitude 784 m; "
       "Declinação -21.46°; Calculado em 15/03/2026 09:05"},
      {"typed site, comma locale, its date order", dashes,
       {"", "", -3.1L, -60.5L, 34.5L, 0.004L, {2026, 12, 8}, {18, 30}},
       "Local: Local digitado; Latitude -3,1; Longitude -60,5; Altitude 34,5 m; "
       "Declinação 0,00°; Calculado em 2026-12-08 18:30"},
      {"Latin-1 city, no declination", PointFormatSettings(),
       {"Chu\xed", "RS", -33.69L, -53.45L, 10, std::nullopt, {2026, 3, 15}, {12, 0}},
       "Local: Chuí RS; Latitude -33.69; Longitude -53.45; Altitude 10 m; sem declinação; "
       "Calculado em 15/03/2026 12:00"},
  };
  for (const auto& c : cases) {
    ScopedFormatSettings locale(c.format);
    EXPECT_EQ(SiteLineText(c.site), c.line) << c.name;
  }
  EXPECT_EQ(SiteLineText(std::optional<CalculatedSite>()), "") << "no results, no site named";
}

}  // namespace
}  // namespace zenavo
