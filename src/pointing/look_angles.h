// Look angles of a geostationary satellite from a site: azimuth from true north, elevation
// with atmospheric refraction, and the polarization skew of the LNB.
//
// Units and signs, for every routine here:
//   satelliteLongitude  orbital longitude, degrees, east positive (70 W is -70)
//   latitude            site latitude, degrees, north positive (geodetic)
//   longitude           site longitude, degrees, east positive
//   altitudeKm          site altitude above sea level, kilometres
// Arithmetic errors raise EInvalidOp, EZeroDivide or EOverflow.
#pragma once

namespace zenavo {

// Elevation reported for a satellite on the far side of the Earth.
inline constexpr long double kFarSideElevation = -99;

// Azimuth from true north, degrees in [0, 360), clockwise (90 = east). A spherical-Earth
// formula (the altitude is taken but not used): over every shipped city and satellite
// position above the horizon it lies within 0.03 degrees of the azimuth computed on the
// ellipsoid with the geodetic vertical (look_angles_test measures it).
long double SatelliteAzimuth(long double satelliteLongitude, long double latitude,
                             long double longitude, long double altitudeKm);

// Elevation above the horizon in degrees, refraction included (see RefractedElevation), the
// site on the oblate Earth (equatorial radius 6378.14 km, flattening 1/298.257) and the
// satellite on the ring of radius 42164.57 km. -99 (kFarSideElevation) when the satellite lies
// far below the horizon (up component of the line of sight below -3000 km).
long double SatelliteElevation(long double satelliteLongitude, long double latitude,
                               long double longitude, long double altitudeKm);

// Polarization skew in degrees, in (-90, 90): atan(sin(longitude - satelliteLongitude) /
// tan(latitude)), so negative for a satellite west of a southern site (São Paulo, 70 W:
// -42.31) and 0 on the site's meridian. Fails on the equator (latitude 0) with EZeroDivide, or
// EInvalidOp when the satellite is also on the site's meridian.
long double PolarizationSkew(long double satelliteLongitude, long double latitude,
                             long double longitude);

// The elevation in degrees at which a satellite appears whose geometric elevation is `e0`
// degrees: the atmosphere bends the ray and lifts the satellite. Up to e0 = 10.2 a quartic
// polynomial in |e0 + 0.589| adds 0.59 degrees near e0 = -0.59, 0.49 at the horizon and 0.09 at
// 10.2; above, 0.01617 * cot(e0) degrees (58" cot e0), 0.016 at 45 and 0 at 90. Both follow
// Saemundsson's optical formula for 10 degrees C and 1010 hPa within 0.011 degrees from e0 = -0.5
// to 90 (look_angles_test). Weather changes the real bending near the horizon by several
// hundredths of a degree, and humid air bends microwaves somewhat more than light.
long double RefractedElevation(long double e0);

}  // namespace zenavo
