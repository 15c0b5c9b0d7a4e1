#include "pointing/look_angles.h"

#include <cmath>

#include "base/fp_guard.h"
#include "pointing/angles.h"

namespace zenavo {

namespace {
constexpr long double kEquatorialRadiusKm = 6378.14L;
constexpr long double kFlattening = 0.0033528131778969144L;  // 1 / 298.257
constexpr long double kGeostationaryRadiusKm = 42164.57L;
constexpr long double kRefractionSwitchDeg = 10.2L;
constexpr long double kRefractionOffsetDeg = 0.589L;
constexpr long double kRefractionC0 = 0.58804392L;
constexpr long double kRefractionC1 = -0.17941557L;
constexpr long double kRefractionC2 = 0.029906946L;
constexpr long double kRefractionC3 = -0.00251874L;
constexpr long double kRefractionC4 = 0.000082622101L;
constexpr long double kRefractionFactor = 0.01617L;
constexpr long double kFarSideUpKm = -3000;
}  // namespace

long double SatelliteAzimuth(long double satelliteLongitude, long double latitude,
                             long double longitude, long double /*altitudeKm*/) {
  FloatingPointGuard guard;
  const long double t = std::tan(unguarded::Radians(longitude - satelliteLongitude));
  const long double angle = std::atan2(t, std::sin(unguarded::Radians(latitude)));
  long double azimuth = unguarded::Degrees(angle) + 180;
  if (azimuth == 360) azimuth = 0;
  return guard.Check(azimuth);
}

long double RefractedElevation(long double e0) {
  FloatingPointGuard guard;
  long double corrected;
  if (e0 <= kRefractionSwitchDeg) {
    const long double c = std::fabs(e0 + kRefractionOffsetDeg);
    const long double p = std::fabs(kRefractionC0 + kRefractionC1 * c + kRefractionC2 * c * c +
                                    kRefractionC3 * c * c * c + kRefractionC4 * c * c * c * c);
    corrected = e0 + p;
  } else {
    const long double r = unguarded::Radians(std::fabs(e0));
    corrected = e0 + kRefractionFactor * std::cos(r) / std::sin(r);
  }
  return guard.Check(corrected);
}

long double SatelliteElevation(long double satelliteLongitude, long double latitude,
                               long double longitude, long double altitudeKm) {
  FloatingPointGuard guard;
  const long double f = kFlattening;
  const long double s = std::sin(unguarded::Radians(latitude));
  const long double c = std::cos(unguarded::Radians(latitude));
  // Radius of curvature in the prime vertical: e^2 * s is formed first, then times s.
  const long double n = kEquatorialRadiusKm / std::sqrt(1 - s * ((2 - f) * f) * s);
  const long double xSite = (n + altitudeKm) * c;
  const long double zSite = n * ((1 - f) * (1 - f)) * s;  // the altitude does not enter here
  const long double delta = unguarded::Radians(satelliteLongitude - longitude);
  const long double u = kGeostationaryRadiusKm * std::cos(delta) - xSite;
  const long double east = kGeostationaryRadiusKm * std::sin(delta);
  const long double w = -zSite;
  const long double north = -u * s + w * c;
  const long double up = u * c + w * s;
  const long double e0 = unguarded::Degrees(std::atan2(up, std::sqrt(north * north + east * east)));
  const long double elevation = RefractedElevation(e0);
  if (up < kFarSideUpKm) return guard.Check(kFarSideElevation);
  return guard.Check(elevation);
}

long double PolarizationSkew(long double satelliteLongitude, long double latitude,
                             long double longitude) {
  FloatingPointGuard guard;
  const long double q =
      std::sin(unguarded::Radians(longitude - satelliteLongitude)) / std::tan(unguarded::Radians(latitude));
  return guard.Check(unguarded::Degrees(std::atan(q)));
}

}  // namespace zenavo
