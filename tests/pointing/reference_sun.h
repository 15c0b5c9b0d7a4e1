// An independent Sun position for checking the Sun clock times against something the production
// code did not compute: the low-precision solar coordinates of Meeus, "Astronomical Algorithms"
// (2nd ed., ch. 25, apparent longitude with the main nutation term) and the mean sidereal time
// of ch. 12, the series NOAA's solar calculator uses. About 0.01 degrees over this century.
// Universal time stands in for dynamical time (about 70 s, 0.001 degrees of solar longitude).
#pragma once

#include <algorithm>
#include <chrono>
#include <cmath>
#include <vector>

namespace zenavo::testing {

struct SunDirection {
  double azimuth;   // degrees from true north, clockwise, in [0, 360)
  double altitude;  // degrees above the geometric horizon, no refraction
};

// The Sun seen from latitude `latitude` (degrees, north positive) and longitude `longitude`
// (degrees, east positive) at `utcHours` hours after 0:00 UTC of the civil date given (hours
// may run past 24 or below 0).
inline SunDirection ReferenceSun(int year, int month, int day, double utcHours, double latitude,
                                 double longitude) {
  using namespace std::chrono;
  constexpr double kRad = 3.14159265358979323846 / 180;
  const double unixDays =
      sys_days{std::chrono::year{year} / month / day}.time_since_epoch().count() + utcHours / 24;
  const double daysJ2000 = unixDays + 2440587.5 - 2451545.0;
  const double t = daysJ2000 / 36525;  // Julian centuries from J2000.0
  const double meanLongitude = 280.46646 + t * (36000.76983 + t * 0.0003032);
  const double meanAnomaly = (357.52911 + t * (35999.05029 - t * 0.0001537)) * kRad;
  const double center = std::sin(meanAnomaly) * (1.914602 - t * (0.004817 + t * 0.000014)) +
                        std::sin(2 * meanAnomaly) * (0.019993 - t * 0.000101) +
                        std::sin(3 * meanAnomaly) * 0.000289;
  const double node = (125.04 - 1934.136 * t) * kRad;
  const double apparentLongitude =
      (meanLongitude + center - 0.00569 - 0.00478 * std::sin(node)) * kRad;
  const double meanObliquity =
      23 + (26 + (21.448 - t * (46.815 + t * (0.00059 - t * 0.001813))) / 60) / 60;
  const double obliquity = (meanObliquity + 0.00256 * std::cos(node)) * kRad;
  const double declination = std::asin(std::sin(obliquity) * std::sin(apparentLongitude));
  const double rightAscension = std::atan2(std::cos(obliquity) * std::sin(apparentLongitude),
                                           std::cos(apparentLongitude));
  const double siderealDeg =
      280.46061837 + 360.98564736629 * daysJ2000 + t * t * (0.000387933 - t / 38710000);
  const double hourAngle = siderealDeg * kRad + longitude * kRad - rightAscension;
  const double lat = latitude * kRad;
  const double east = -std::cos(declination) * std::sin(hourAngle);
  const double north = std::cos(lat) * std::sin(declination) -
                       std::sin(lat) * std::cos(declination) * std::cos(hourAngle);
  const double up = std::sin(lat) * std::sin(declination) +
                    std::cos(lat) * std::cos(declination) * std::cos(hourAngle);
  double azimuth = std::atan2(east, north) / kRad;
  if (azimuth < 0) azimuth += 360;
  return {azimuth, std::asin(up) / kRad};
}

// a - b folded into (-180, 180], degrees.
inline double SignedAngle(double a, double b) {
  const double d = std::remainder(a - b, 360.0);
  return d == -180 ? 180 : d;
}

// The times in hours of UTC on the date, between `fromHours` and `toHours`, at which the
// reference Sun passes the vertical circle of `azimuth` (degrees from true north), found to
// a millisecond. Passes of the opposite half circle (azimuth + 180) are not counted.
inline std::vector<double> ReferenceSunCrossings(int year, int month, int day, double azimuth,
                                                 double latitude, double longitude,
                                                 double fromHours, double toHours) {
  const auto offset = [&](double hours) {
    return SignedAngle(ReferenceSun(year, month, day, hours, latitude, longitude).azimuth, azimuth);
  };
  constexpr double kStep = 2.0 / 60;  // fine enough away from the zenith
  std::vector<double> crossings;
  double before = fromHours, offsetBefore = offset(before);
  for (double after = fromHours + kStep; before < toHours; before = after, after += kStep) {
    after = std::min(after, toHours);
    const double offsetAfter = offset(after);
    if ((offsetBefore <= 0) != (offsetAfter <= 0) && std::fabs(offsetBefore - offsetAfter) < 180) {
      double low = before, high = after, offsetLow = offsetBefore;
      while (high - low > 1e-3 / 3600) {
        const double middle = (low + high) / 2, offsetMiddle = offset(middle);
        if ((offsetMiddle <= 0) == (offsetLow <= 0))
          low = middle, offsetLow = offsetMiddle;
        else
          high = middle;
      }
      crossings.push_back((low + high) / 2);
    }
    offsetBefore = offsetAfter;
  }
  return crossings;
}

}  // namespace zenavo::testing
