// The "Calcular" loop over the satellite table: look angles, magnetic azimuth, Sun clock time
// and skew written into each satellite row's result cells.
#pragma once

#include <optional>

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

// The altitudes a site may have, in metres: from the shores of the Dead Sea to above the
// highest inhabited places.
inline constexpr long double kLowestSiteAltitude = -500;
inline constexpr long double kHighestSiteAltitude = 9000;

// Raises Exception when `altitudeMetres` lies outside kLowestSiteAltitude..kHighestSiteAltitude
// (or is not a number): no table is computed for such a site.
void CheckSiteAltitude(long double altitudeMetres);

// The magnetic azimuth cell: azimuth - declination (east positive) reduced to a compass bearing
// and written 0.00..359.99 (a value that would round to 360.00 is written 0.00).
std::string MagneticAzimuthText(long double azimuth, long double declination);

// Empties columns 2..6 of rows 1..RowCount-1: a table whose results belong to no site.
void ClearPointingResults(StringTable& table);

// For rows 1..RowCount-1 with a position in column 1, writes columns 2..6:
//   azimuth, elevation, magnetic azimuth (MagneticAzimuthText; empty without a declination),
//   and, above the horizon, the Sun clock time and the skew; "----" in all five for a
//   satellite below the horizon.
// The magnetic azimuth, Sun time and skew are each computed in a guarded block: a failure
// empties that cell and the row goes on. With the elevation exactly 0 the Sun time and skew
// cells are emptied. A position that is not a number raises EConvertError and stops the loop
// at that row. A position that is a number but not one from -360 to 360 empties that row's
// five result cells; the loop goes on, and at its end Exception names every such row.
// latitude, longitude in degrees (north, east positive), altitude in metres, declination in
// degrees east of true north (nullopt when the calculator gave none).
void ComputePointingTable(StringTable& table, long double latitude, long double longitude,
                          long double altitudeMetres, std::optional<long double> declination);

}  // namespace zenavo
