#include "app/pointing_table.h"

#include <string>

#include "base/float_text.h"
#include "base/fp_guard.h"
#include "pointing/look_angles.h"
#include "pointing/sun_time.h"

namespace zenavo {

namespace {

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

}  // namespace

void ComputePointingTable(StringTable& table, long double latitude, long double longitude,
                          long double altitudeMetres, long double declination) {
  const int lastRow = table.RowCount() - 1;
  const long double altitudeKm = altitudeMetres / 1000;
  for (int row = 1; row <= lastRow; ++row) {
    const std::string_view position = table.Cells(kColPosition, row);
    if (position.empty()) continue;
    const long double satellite = StrToFloat(position);
    const long double azimuth = SatelliteAzimuth(satellite, latitude, longitude, altitudeKm);
    const long double elevation = SatelliteElevation(satellite, latitude, longitude, altitudeKm);
    if (elevation >= 0) {
      table.SetCells(kColAzimuth, row, FormatResultCell(azimuth));
      table.SetCells(kColElevation, row, FormatResultCell(elevation));
      WriteGuarded(table, kColMagneticAz, row,
                   [&] {
                     FloatingPointGuard guard;
                     return FormatResultCell(guard.Check(azimuth - declination));
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
      for (int col = kColAzimuth; col <= kColSkew; ++col)
        table.SetCells(col, row, kBelowHorizonText);
    }
  }
}

}  // namespace zenavo
