#include "pointing/sun_time.h"

#include <cmath>
#include <limits>

#include "base/clock.h"
#include "base/exceptions.h"
#include "base/fp_guard.h"
#include "pointing/angles.h"

namespace zenavo {

namespace {

constexpr long double kDegreesPerRadian = 57.29577951308232L;
constexpr long double kDegreesPerHour = 15;
constexpr int kDayNumberOffset = 730530;
constexpr int kFirstShownHour = 6;
constexpr int kLastShownHour = 18;
// A time whose Sun azimuth is further than this from the one asked for is the far-side
// solution of the hour-angle formula, not a real one.
constexpr double kOppositeSolutionDeg = 90;

// The Sun's place on day number d, as the clock-time search needs it.
struct SunPlace {
  long double rightAscension;  // degrees in [0, 360)
  long double declination;     // degrees
  long double sidereal0h;      // sidereal angle at 0 h, degrees, not reduced
};

// Sine and cosine of an angle in degrees, from one argument reduction (the same values as
// separate sine and cosine calls).
struct SinCos {
  long double sin, cos;
};

SinCos SinCosDeg(long double x) {
  SinCos result;
  sincosl(unguarded::Radians(x), &result.sin, &result.cos);
  return result;
}

SunPlace ComputeSunPlace(long double d) {
  const long double w = 282.9404L + 0.0000470935L * d;
  const long double e = 0.016709L - 0.000000001151L * d;
  const long double m = 356.047L + 0.9856002585L * d;
  const long double obliquity = 23.4393L - 0.0000003563L * d;
  const long double meanLongitude = unguarded::Normalize360(unguarded::Normalize360(m) + w);
  const SinCos anomaly = SinCosDeg(m);
  const long double eccentric =
      unguarded::Normalize360(m + e * kDegreesPerRadian * anomaly.sin * (1 + e * anomaly.cos));
  // The eccentric anomaly is already in [0, 360), so it is its own reduction.
  const SinCos eccentricAngle = SinCosDeg(eccentric);
  const long double xv = eccentricAngle.cos - e;
  const long double yv = std::sqrt(1 - e * e) * eccentricAngle.sin;
  const long double r = std::sqrt(xv * xv + yv * yv);
  const long double trueAnomaly = unguarded::Degrees(std::atan2(yv, xv));
  const SinCos sunLongitude = SinCosDeg(unguarded::Normalize360(trueAnomaly + w));
  const long double xs = r * sunLongitude.cos;
  const long double ys = r * sunLongitude.sin;
  const long double zs = 0;
  const SinCos tilt = SinCosDeg(obliquity);
  const long double xe = xs;
  const long double ye = ys * tilt.cos + zs * tilt.sin;
  const long double ze = ys * tilt.sin + zs * tilt.cos;
  return SunPlace{unguarded::Normalize360(unguarded::Degrees(std::atan2(ye, xe))),
                  unguarded::Degrees(std::atan2(ze, std::sqrt(xe * xe + ye * ye))),
                  meanLongitude + 180};
}

// The Sun's place for day number d. Every satellite row of one run asks first for noon of the
// same day, so the last answer is kept.
SunPlace SunPlaceOn(long double d) {
  thread_local long double lastDay = std::numeric_limits<long double>::quiet_NaN();
  thread_local SunPlace lastPlace{};
  if (d != lastDay) {
    lastPlace = ComputeSunPlace(d);
    lastDay = d;
  }
  return lastPlace;
}

// Azimuth from true north, degrees in [0, 360), of a body at hour angle `hourAngle` and
// declination `declination` seen from `latitude` (all degrees). Double precision: it only
// tells a real solution from the opposite one, 180 degrees away.
double AzimuthAtHourAngle(double hourAngle, double declination, double latitude) {
  constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180;
  const double h = hourAngle * kRadiansPerDegree;
  const double dec = declination * kRadiansPerDegree;
  const double lat = latitude * kRadiansPerDegree;
  const double y = std::sin(h) * std::cos(dec);
  const double xHorizon = std::cos(h) * std::cos(dec) * std::sin(lat) - std::sin(dec) * std::cos(lat);
  const double azimuth = std::atan2(y, xHorizon) / kRadiansPerDegree + 180;
  return azimuth >= 360 ? azimuth - 360 : azimuth;
}

// The smallest angle between two directions in [0, 360), degrees in [0, 180].
double AngleBetween(double a, double b) {
  const double difference = std::fmod(std::fabs(a - b), 360.0);
  return difference > 180 ? 360 - difference : difference;
}

struct ClockParts {
  int hour, minute, second;
};

// Hours, minutes and seconds of a time of day (each floored); `t` is finite.
ClockParts SplitHours(long double t) {
  const long double hour = unguarded::Floor(t);
  const long double minute = unguarded::Floor((t - hour) * 60);
  const long double second = unguarded::Floor(((t - hour) * 60 - minute) * 60);
  // Already whole numbers: converting in the current rounding mode is exact.
  return ClockParts{static_cast<int>(std::lrint(hour)), static_cast<int>(std::lrint(minute)),
                    static_cast<int>(std::lrint(second))};
}

std::string TwoDigits(int value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

}  // namespace

long double DayNumber(int day, int month, int year, int hour, int minute, int second) {
  FloatingPointGuard guard;
  const long double k1 = unguarded::TruncDiv(month + 9, 12);
  const long double k2 = unguarded::TruncDiv(7 * (year + k1), 4);
  const long double k3 = unguarded::TruncDiv(275 * month, 9);
  const double d0 = static_cast<double>(367 * year - k2 + k3 + day - kDayNumberOffset);
  const long double sum =
      static_cast<long double>(hour) / 24 + d0 + static_cast<long double>(minute) / 1440 +
      static_cast<long double>(second) / 86400;
  return guard.Check(static_cast<long double>(static_cast<double>(sum)));
}

namespace {

// The hour-angle solution for `azimuth` on day number d, and whether the Sun really stands near
// that azimuth then: the formula also answers for the opposite azimuth.
long double SolveSunAzimuthTime(long double d, long double azimuth, long double longitude,
                                long double latitude, bool checkSolution) {
  FloatingPointGuard guard;
  const SunPlace sun = SunPlaceOn(d);
  const long double meridianTime =
      (sun.rightAscension + 360 - sun.sidereal0h - longitude) / kDegreesPerHour;

  // South of the equator the azimuth is turned by 180 degrees.
  const long double working = latitude >= 0 ? azimuth : unguarded::Normalize360(180 - (360 - azimuth));
  long double hours;
  if (working == 180) {
    hours = meridianTime;
  } else {
    const long double tanAz = unguarded::TanDeg(working);
    const long double sinLat = unguarded::SinDeg(latitude);
    const long double alpha = std::atan(sinLat * tanAz);
    const long double beta = std::asin(unguarded::CosDeg(latitude) * unguarded::TanDeg(sun.declination) /
                                       std::sqrt(1 / (tanAz * tanAz) + sinLat * sinLat));
    guard.Check(beta);  // an arcsine argument outside [-1, 1]: no hour angle gives the azimuth
    long double hourAngle;
    if (working > 0 && working < 90)
      hourAngle = (alpha + beta) * kDegreesPerRadian + 180;
    else if (working >= 90 && working < 180)
      hourAngle = (alpha + beta) * kDegreesPerRadian;
    else if (working > 180 && working <= 270)
      hourAngle = (alpha - beta) * kDegreesPerRadian;
    else if (working > 270 && working < 360)
      hourAngle = (alpha - beta) * kDegreesPerRadian + 180;
    else
      throw EInvalidOp();  // due north (or outside [0, 360)): no hour-angle branch covers it
    hours = unguarded::Normalize360(((hourAngle + sun.rightAscension) / kDegreesPerHour) * kDegreesPerHour -
                         sun.sidereal0h - longitude) /
            kDegreesPerHour;
  }
  if (!checkSolution) return guard.Check(hours);
  const long double hourAngleFound =
      hours * kDegreesPerHour + sun.sidereal0h + longitude - sun.rightAscension;
  const double sunAzimuth =
      AzimuthAtHourAngle(static_cast<double>(hourAngleFound), static_cast<double>(sun.declination),
                         static_cast<double>(latitude));
  if (AngleBetween(sunAzimuth, static_cast<double>(azimuth)) > kOppositeSolutionDeg)
    throw EInvalidOp();
  return guard.Check(hours);
}

}  // namespace

long double SunAzimuthTime(long double d, long double azimuth, long double longitude,
                           long double latitude) {
  return SolveSunAzimuthTime(d, azimuth, longitude, latitude, true);
}

int TimeZoneBias() {
  const ClockSource& clock = Clock();
  return -clock.UtcOffsetMinutesAtNoon(clock.Today());
}

std::string SunAzimuthClockText(long double azimuth, long double longitude,
                                long double latitude) {
  FloatingPointGuard guard;
  const LocalDate today = Clock().Today();
  const long double noonDay = DayNumber(today.Day, today.Month, today.Year, 12, 0, 0);
  // The first pass only places the second; the second pass's solution is checked.
  const double firstPass =
      static_cast<double>(SolveSunAzimuthTime(noonDay, azimuth, longitude, latitude, false));
  const ClockParts first = SplitHours(firstPass);
  const long double refinedDay =
      DayNumber(today.Day, today.Month, today.Year, first.hour, first.minute, first.second);
  long double t = SunAzimuthTime(refinedDay, azimuth, longitude, latitude);
  t = static_cast<double>(t - static_cast<long double>(TimeZoneBias()) / 60);
  if (t < 0) t += 24;
  ClockParts local = SplitHours(t);
  if (local.hour < 0) local.hour += 24;
  guard.Check(t);
  if (local.hour < kFirstShownHour || local.hour > kLastShownHour) return "";
  return TwoDigits(local.hour) + ":" + TwoDigits(local.minute) + ":" + TwoDigits(local.second);
}

}  // namespace zenavo
