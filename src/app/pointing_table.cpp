#include "app/pointing_table.h"

#include <cmath>
#include <string>

#include "base/exceptions.h"
#include "base/float_text.h"
#include "base/fp_guard.h"
#include "pointing/angles.h"
#include "pointing/look_angles.h"
#include "pointing/sun_time.h"

namespace zenavo {

namespace {

constexpr long double kLargestPosition = 360;

// Runs one optional result step; any failure empties the cell instead of leaving the previous
// site's value standing as if it were current.
template <class Step>
void WriteGuarded(StringTable& table, int col, int row, Step step) {
  std::string text;
  try {
    text = step();
  } catch (...) {
    text.clear();
  }
  table.SetCells(col, row, std::move(text));
}

void WriteResults(StringTable& table, int row, const char* text) {
  for (int col = kColAzimuth; col <= kColSkew; ++col) table.SetCells(col, row, text);
}

// "row 5 (Star One C4): "1e999"" for the message about positions out of range.
std::string DescribeRow(const StringTable& table, int row) {
  return "row " + std::to_string(row) + " (" + table.Cells(kColName, row) + "): \"" +
         table.Cells(kColPosition, row) + "\"";
}

}  // namespace

void ClearPointingResults(StringTable& table) {
  for (int row = 1; row < table.RowCount(); ++row) WriteResults(table, row, "");
}

void CheckSiteAltitude(long double altitudeMetres) {
  if (altitudeMetres >= kLowestSiteAltitude && altitudeMetres <= kHighestSiteAltitude) return;
  throw Exception("The altitude %1 m lies outside -500 to 9,000 m; type the site's altitude in metres",
                  {FloatToStr(altitudeMetres)});
}

std::string MagneticAzimuthText(long double azimuth, long double declination) {
  FloatingPointGuard guard;
  const std::string text = FormatResultCell(Normalize360(guard.Check(azimuth - declination)));
  return text == FormatResultCell(360) ? FormatResultCell(0) : text;
}

void ComputePointingTable(StringTable& table, long double latitude, long double longitude,
                          long double altitudeMetres, std::optional<long double> declination) {
  const int lastRow = table.RowCount() - 1;
  const long double altitudeKm = altitudeMetres / 1000;
  std::string badRows;
  for (int row = 1; row <= lastRow; ++row) {
    const std::string_view position = table.Cells(kColPosition, row);
    if (position.empty()) continue;
    const long double satellite = StrToFloat(position);
    if (!(std::fabs(satellite) <= kLargestPosition)) {
      badRows += (badRows.empty() ? "" : "; ") + DescribeRow(table, row);
      WriteResults(table, row, "");
      continue;
    }
    const long double azimuth = SatelliteAzimuth(satellite, latitude, longitude, altitudeKm);
    const long double elevation = SatelliteElevation(satellite, latitude, longitude, altitudeKm);
    if (elevation >= 0) {
      table.SetCells(kColAzimuth, row, FormatResultCell(azimuth));
      table.SetCells(kColElevation, row, FormatResultCell(elevation));
      WriteGuarded(table, kColMagneticAz, row, [&]() -> std::string {
        return declination ? MagneticAzimuthText(azimuth, *declination) : "";
      });
      if (elevation > 0) {
        WriteGuarded(table, kColSunTime, row,
                     [&] { return SunAzimuthClockText(azimuth, longitude, latitude); });
        WriteGuarded(table, kColSkew, row, [&] {
          return FormatResultCell(PolarizationSkew(satellite, latitude, longitude));
        });
      } else {
        table.SetCells(kColSunTime, row, "");
        table.SetCells(kColSkew, row, "");
      }
    } else {
      WriteResults(table, row, kBelowHorizonText);
    }
  }
  if (!badRows.empty())
    throw Exception(
        "A satellite position must be a number from -360 to 360; these rows have no results: %1",
        {badRows});
}

}  // namespace zenavo
