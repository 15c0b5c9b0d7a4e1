// Look angles of a geostationary satellite from a site: azimuth from true north, elevation
// with atmospheric refraction, and the polarization skew of the LNB.
//
// Units and signs, for every routine here:
//   satelliteLongitude  orbital longitude, degrees, east positive (70 W is -70)
//   latitude            site latitude, degrees, north positive
//   longitude           site longitude, degrees, east positive
//   altitudeKm          site altitude above sea level, kilometres
// Arithmetic errors raise EInvalidOp, EZeroDivide or EOverflow.
#pragma once

namespace zenavo {

// Elevation reported for a satellite on the far side of the Earth.
inline constexpr long double kFarSideElevation = -99;

// Azimuth from true north, degrees in [0, 360), clockwise (90 = east). Spherical-Earth
// formula; the altitude is taken but not used.
long double SatelliteAzimuth(long double satelliteLongitude, long double latitude,
                             long double longitude, long double altitudeKm);

// Elevation above the horizon in degrees, refraction included, on an oblate Earth; -99 when
// the satellite lies far below the horizon (up component below -3000 km).
long double SatelliteElevation(long double satelliteLongitude, long double latitude,
                               long double longitude, long double altitudeKm);

// Polarization skew in degrees, in (-90, 90). Fails on the equator (latitude 0) with
// EZeroDivide, or EInvalidOp when the satellite is also on the site's meridian.
long double PolarizationSkew(long double satelliteLongitude, long double latitude,
                             long double longitude);

// The refraction-corrected elevation for a geometric elevation `e0` in degrees.
long double RefractedElevation(long double e0);

}  // namespace zenavo
