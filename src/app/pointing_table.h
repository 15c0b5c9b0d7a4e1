// The "Calcular" loop over the satellite table: look angles, magnetic azimuth, Sun clock time
// and skew written into each satellite row's result cells.
#pragma once

#include "base/string_table.h"

namespace zenavo {

// Columns of the satellite (pointing) table.
enum PointingColumn {
  kColName = 0,          // "Satelite"
  kColPosition = 1,      // "Posição": orbital longitude, degrees, east positive
  kColAzimuth = 2,       // "Azimute"
  kColElevation = 3,     // "Elevação"
  kColMagneticAz = 4,    // "Az. Magnet"
  kColSunTime = 5,       // "Hora Az."
  kColSkew = 6,          // "Polarização"
};

// Placeholder of every result cell of a satellite below the horizon.
inline constexpr const char* kBelowHorizonText = "----";

// For rows 1..RowCount-1 with a position in column 1, writes columns 2..6:
//   azimuth, elevation, magnetic azimuth = azimuth - declination (declination east positive,
//   not reduced into [0, 360)), and, above the horizon, the Sun clock time and the skew;
//   "----" in all five for a satellite below the horizon.
// The magnetic azimuth, Sun time and skew are each computed in a guarded block: a failure
// empties that cell and the row goes on. With the elevation exactly 0 the Sun time and skew
// cells are emptied. A position that is not a number raises EConvertError and stops the loop
// at that row. latitude, longitude in degrees (north, east positive), altitude in metres,
// declination in degrees east of true north.
void ComputePointingTable(StringTable& table, long double latitude, long double longitude,
                          long double altitudeMetres, long double declination);

}  // namespace zenavo
