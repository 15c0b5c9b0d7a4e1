#include "pointing/sun_time.h"

#include <cmath>

#include "base/clock.h"
#include "base/exceptions.h"
#include "base/fp_guard.h"
#include "pointing/angles.h"

namespace zenavo {

namespace {

using unguarded::Degrees;
using unguarded::Normalize360;
using unguarded::Radians;

constexpr long double kDegreesPerRadian = 57.29577951308232L;
constexpr long double kDegreesPerHour = 15;
constexpr int kDayNumberOffset = 730530;
constexpr int kFirstShownHour = 6;
constexpr int kLastShownHour = 18;

// The Sun's azimuth at the time found may lie at most this far from the one asked for.
constexpr double kAzimuthToleranceDeg = 1;
// How far the Sun may stand from the place that the ephemeris gives, degrees: the ephemeris
// agrees with Meeus's low-precision solar coordinates within 0.013 degrees (sun_time_test
// measures it), and the clock text, cut to whole seconds, shows a time up to a second early,
// when the Sun stood up to 0.0042 degrees back along its path.
constexpr double kSunPlaceUncertaintyDeg = 0.018;
constexpr double kRadiansPerDegree = 3.14159265358979323846 / 180;

// The Sun's place on day number d, as the clock-time search needs it.
struct SunPlace {
  long double rightAscension;  // degrees in [0, 360)
  long double declination;     // degrees, north positive
  long double sidereal0h;      // sidereal angle at 0 h, degrees, not reduced
};

SunPlace SunPlaceOn(long double d) {
  const long double w = 282.9404L + 0.0000470935L * d;
  const long double e = 0.016709L - 0.000000001151L * d;
  const long double m = 356.047L + 0.9856002585L * d;
  const long double obliquity = 23.4393L - 0.0000003563L * d;
  const long double meanLongitude = Normalize360(Normalize360(m) + w);
  const long double eccentric = Normalize360(
      m + e * kDegreesPerRadian * std::sin(Radians(m)) * (1 + e * std::cos(Radians(m))));
  const long double xv = std::cos(Radians(eccentric)) - e;
  const long double yv = std::sqrt(1 - e * e) * std::sin(Radians(Normalize360(eccentric)));
  const long double r = std::sqrt(xv * xv + yv * yv);
  const long double trueAnomaly = Degrees(std::atan2(yv, xv));
  const long double sunLongitude = Normalize360(trueAnomaly + w);
  const long double xs = r * std::cos(Radians(sunLongitude));
  const long double ys = r * std::sin(Radians(sunLongitude));
  const long double zs = 0;
  const long double cosTilt = std::cos(Radians(obliquity)), sinTilt = std::sin(Radians(obliquity));
  const long double xe = xs;
  const long double ye = ys * cosTilt + zs * sinTilt;
  const long double ze = ys * sinTilt + zs * cosTilt;
  return SunPlace{Normalize360(Degrees(std::atan2(ye, xe))),
                  Degrees(std::atan2(ze, std::sqrt(xe * xe + ye * ye))), meanLongitude + 180};
}

// A body at hour angle `hourAngle` and declination `declination` in the sky of `latitude` (all
// degrees), as a unit vector of the horizon frame. Double precision: it only checks a solution
// against tolerances of hundredths of a degree.
struct HorizonVector {
  double west, south, up;
  // Degrees from true north, clockwise, in [0, 360).
  double Azimuth() const {
    const double azimuth = std::atan2(west, south) / kRadiansPerDegree + 180;
    return azimuth >= 360 ? azimuth - 360 : azimuth;
  }
  // The sine of the distance from the zenith.
  double SinZenithDistance() const { return std::hypot(west, south); }
};

HorizonVector AtHourAngle(double hourAngle, double declination, double latitude) {
  const double h = hourAngle * kRadiansPerDegree, dec = declination * kRadiansPerDegree,
               lat = latitude * kRadiansPerDegree;
  return {std::sin(h) * std::cos(dec),
          std::cos(h) * std::cos(dec) * std::sin(lat) - std::sin(dec) * std::cos(lat),
          std::cos(h) * std::cos(dec) * std::cos(lat) + std::sin(dec) * std::sin(lat)};
}

// How far the azimuth of the Sun may turn while its place moves by kSunPlaceUncertaintyDeg, for
// a Sun at the given sine of its zenith distance: a little far from the zenith, any amount
// close to it.
double AzimuthUncertainty(double sinZenithDistance) {
  const double sinUncertainty = std::sin(kSunPlaceUncertaintyDeg * kRadiansPerDegree);
  if (sinZenithDistance <= sinUncertainty) return 180;
  return std::asin(sinUncertainty / sinZenithDistance) / kRadiansPerDegree;
}

// The smallest angle between two directions in [0, 360), degrees in [0, 180].
double AngleBetween(double a, double b) {
  const double difference = std::fmod(std::fabs(a - b), 360.0);
  return difference > 180 ? 360 - difference : difference;
}

struct ClockParts {
  int hour, minute, second;
};

// Hours, minutes and seconds of a time of day (each floored); `t` is finite. The times split
// are rounded to double precision first, so double arithmetic splits them exactly.
ClockParts SplitHours(double t) {
  const double hour = std::floor(t);
  const double minute = std::floor((t - hour) * 60);
  const double second = std::floor(((t - hour) * 60 - minute) * 60);
  return ClockParts{static_cast<int>(hour), static_cast<int>(minute), static_cast<int>(second)};
}

std::string TwoDigits(int value) {
  return (value < 10 ? "0" : "") + std::to_string(value);
}

// The hour-angle solution for `azimuth` on day number d, in hours of d's time scale. With
// `checkSolution`, fails unless the Sun then stands above the horizon at the azimuth: the
// formula also answers for the opposite azimuth, for a Sun below the horizon, and near the
// zenith for an azimuth that the Sun's uncertain place does not fix.
long double SolveSunAzimuthTime(long double d, long double azimuth, long double longitude,
                                long double latitude, bool checkSolution) {
  FloatingPointGuard guard;
  const SunPlace sun = SunPlaceOn(d);
  const long double meridianTime =
      (sun.rightAscension + 360 - sun.sidereal0h - longitude) / kDegreesPerHour;

  // South of the equator the azimuth is turned by 180 degrees.
  const long double working = latitude >= 0 ? azimuth : Normalize360(180 - (360 - azimuth));
  long double hours;
  if (working == 180) {
    hours = meridianTime;
  } else {
    const long double tanAz = std::tan(Radians(working));
    const long double sinLat = std::sin(Radians(latitude));
    const long double alpha = std::atan(sinLat * tanAz);
    const long double beta =
        std::asin(std::cos(Radians(latitude)) * std::tan(Radians(sun.declination)) /
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
    hours = Normalize360(((hourAngle + sun.rightAscension) / kDegreesPerHour) * kDegreesPerHour -
                         sun.sidereal0h - longitude) /
            kDegreesPerHour;
  }
  if (checkSolution) {
    const long double hourAngleFound =
        hours * kDegreesPerHour + sun.sidereal0h + longitude - sun.rightAscension;
    const HorizonVector sunAt = AtHourAngle(static_cast<double>(hourAngleFound),
                                            static_cast<double>(sun.declination),
                                            static_cast<double>(latitude));
    if (sunAt.up < 0) throw EInvalidOp();  // below the horizon
    if (AngleBetween(sunAt.Azimuth(), static_cast<double>(azimuth)) +
            AzimuthUncertainty(sunAt.SinZenithDistance()) >
        kAzimuthToleranceDeg)
      throw EInvalidOp();
  }
  return guard.Check(hours);
}

}  // namespace

long double DayNumber(int day, int month, int year, int hour, int minute, int second) {
  // Integer division truncates toward zero, as TruncDiv does.
  const int k1 = (month + 9) / 12;
  const int k2 = 7 * (year + k1) / 4;
  const int k3 = 275 * month / 9;
  const double d0 = 367 * year - k2 + k3 + day - kDayNumberOffset;
  const long double sum =
      static_cast<long double>(hour) / 24 + d0 + static_cast<long double>(minute) / 1440 +
      static_cast<long double>(second) / 86400;
  return static_cast<double>(sum);
}

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
  const double utcOffsetHours = -static_cast<double>(TimeZoneBias()) / 60;
  const long double noonDay = DayNumber(today.Day, today.Month, today.Year, 12, 0, 0);
  // The first pass only places the second; the second pass's solution is checked.
  const double firstPass =
      static_cast<double>(SolveSunAzimuthTime(noonDay, azimuth, longitude, latitude, false));
  // The first pass's time of day falls on the local date on the Universal Time day `today`
  // minus `daysBack`: the day before where the zone is far east of UT, the day after far west.
  const int daysBack = static_cast<int>(std::floor((firstPass + utcOffsetHours) / 24));
  const ClockParts first = SplitHours(firstPass);
  const long double refinedDay =
      DayNumber(today.Day, today.Month, today.Year, first.hour, first.minute, first.second) -
      daysBack;
  double utc = static_cast<double>(SunAzimuthTime(refinedDay, azimuth, longitude, latitude));
  // The same moment as the first pass's, give or take minutes, across 0:00 UT if need be.
  if (utc - firstPass > 12) utc -= 24;
  if (utc - firstPass < -12) utc += 24;
  const double t = utc + utcOffsetHours - 24.0 * daysBack;
  const ClockParts local = SplitHours(t);
  guard.Check(t);
  if (local.hour < kFirstShownHour || local.hour > kLastShownHour) return "";
  return TwoDigits(local.hour) + ":" + TwoDigits(local.minute) + ":" + TwoDigits(local.second);
}

}  // namespace zenavo
