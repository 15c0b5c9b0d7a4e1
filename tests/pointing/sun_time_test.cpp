#include "pointing/sun_time.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "base/clock.h"
#include "base/exceptions.h"

namespace zenavo {
namespace {

constexpr long double kSaoPauloLat = -23.55L, kSaoPauloLon = -46.63L;
constexpr long double kBrasiliaLat = -15.78L, kBrasiliaLon = -47.93L;

TEST(DayNumber, CountsFromTheLastDayOf1999) {
  EXPECT_EQ(DayNumber(1, 1, 2000, 0, 0, 0), 1);
  EXPECT_EQ(DayNumber(19, 4, 1990, 0, 0, 0), -3543);
  EXPECT_EQ(DayNumber(21, 6, 2026, 12, 0, 0), 9669.5);
  EXPECT_NEAR(double(DayNumber(21, 6, 2026, 18, 14, 46)), 9669 + (18 * 3600 + 14 * 60 + 46) / 86400.0,
              1e-9);
}

TEST(SunAzimuthTime, SaoPauloWinterSolstice) {
  EXPECT_NEAR(double(SunAzimuthTime(9669.5L, 312.7575L, kSaoPauloLon, kSaoPauloLat)), 18.24617,
              1e-5);
}

TEST(SunAzimuthTime, MeridianGivesTheTransitTimeAtEitherLatitudeSign) {
  EXPECT_NEAR(double(SunAzimuthTime(9669.5L, 0, kSaoPauloLon, kSaoPauloLat)), 15.13914, 1e-5);
  EXPECT_NEAR(double(SunAzimuthTime(9669.5L, 180, kSaoPauloLon, -kSaoPauloLat)), 15.13914, 1e-5);
}

TEST(SunAzimuthTime, NoTimeOnTheEquatorOffTheMeridian) {
  EXPECT_THROW(SunAzimuthTime(9669.5L, 270, kSaoPauloLon, 0), EMathError);
  EXPECT_THROW(SunAzimuthTime(9669.5L, 90, kSaoPauloLon, 0), EMathError);
  // December: the Sun culminates south of the equator, so due south is reached at noon.
  EXPECT_NO_THROW(SunAzimuthTime(DayNumber(7, 12, 2026, 12, 0, 0), 180, kSaoPauloLon, 0));
}

TEST(SunAzimuthTime, DueNorthInTheNorthHasNoHourAngle) {
  EXPECT_THROW(SunAzimuthTime(9669.5L, 0, kSaoPauloLon, 10), EMathError);
}

// The Sun's azimuth and altitude from a different, low-precision ephemeris (NOAA's
// fractional-year series), so the clock times are checked against something this code did
// not compute.
struct SunDirection {
  double azimuth, altitude;
};

SunDirection ReferenceSun(int dayOfYear, double utcHours, double latDeg, double lonDeg) {
  const double rad = M_PI / 180;
  const double g = 2 * M_PI / 365 * (dayOfYear - 1 + (utcHours - 12) / 24);
  const double equationOfTime =
      229.18 * (0.000075 + 0.001868 * std::cos(g) - 0.032077 * std::sin(g) -
                0.014615 * std::cos(2 * g) - 0.040849 * std::sin(2 * g));
  const double declination = 0.006918 - 0.399912 * std::cos(g) + 0.070257 * std::sin(g) -
                             0.006758 * std::cos(2 * g) + 0.000907 * std::sin(2 * g) -
                             0.002697 * std::cos(3 * g) + 0.00148 * std::sin(3 * g);
  const double trueSolarMinutes = utcHours * 60 + equationOfTime + 4 * lonDeg;
  const double hourAngle = (trueSolarMinutes / 4 - 180) * rad;
  const double lat = latDeg * rad;
  const double east = -std::cos(declination) * std::sin(hourAngle);
  const double north = std::cos(lat) * std::sin(declination) -
                       std::sin(lat) * std::cos(declination) * std::cos(hourAngle);
  const double up = std::sin(lat) * std::sin(declination) +
                    std::cos(lat) * std::cos(declination) * std::cos(hourAngle);
  double azimuth = std::atan2(east, north) / rad;
  if (azimuth < 0) azimuth += 360;
  return {azimuth, std::asin(up) / rad};
}

double AngleBetween(double a, double b) {
  double d = std::fabs(a - b);
  return d > 180 ? 360 - d : d;
}

struct SightCase {
  const char* name;
  int day, month, dayOfYear;
  double latitude, longitude, azimuth;
};

class SunAzimuthTimeSolution : public ::testing::TestWithParam<SightCase> {};

TEST_P(SunAzimuthTimeSolution, PutsTheSunAtTheAzimuth) {
  const SightCase& c = GetParam();
  const long double hours = SunAzimuthTime(DayNumber(c.day, c.month, 2026, 12, 0, 0), c.azimuth,
                                           c.longitude, c.latitude);
  const SunDirection sun = ReferenceSun(c.dayOfYear, double(hours), c.latitude, c.longitude);
  const double azimuthError = AngleBetween(sun.azimuth, c.azimuth);
  // On the azimuth's side of the sky, and within half a degree of its vertical circle (near the
  // zenith the azimuth itself turns fast, so the distance on the sky is what is compared).
  EXPECT_LT(azimuthError, 90);
  EXPECT_LT(std::cos(sun.altitude * M_PI / 180) * std::sin(azimuthError * M_PI / 180),
            std::sin(0.5 * M_PI / 180));
}

INSTANTIATE_TEST_SUITE_P(
    Sites, SunAzimuthTimeSolution,
    ::testing::Values(SightCase{"SaoPauloJune70W", 21, 6, 172, -23.55, -46.63, 312.7575},
                      SightCase{"SaoPauloDecember70W", 7, 12, 341, -23.55, -46.63, 312.7575},
                      SightCase{"SaoPauloDecemberEast", 7, 12, 341, -23.55, -46.63, 40},
                      SightCase{"BrasiliaJuneWest", 21, 6, 172, -15.78, -47.93, 300},
                      SightCase{"PortoAlegreMarch", 20, 3, 79, -30.03, -51.23, 330},
                      SightCase{"RecifeJuneEast", 21, 6, 172, -8.05, -34.9, 60},
                      SightCase{"NorthernSiteSouthWest", 7, 12, 341, 12.0, -40.0, 200}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SunAzimuthTime, FailsWhereTheSunPassesOnTheFarSideOfTheZenith) {
  // Brasília in December: the Sun culminates south of the zenith and never stands at a
  // northern azimuth, where every satellite lies.
  const long double d = DayNumber(7, 12, 2026, 12, 0, 0);
  for (long double azimuth = 275; azimuth < 360; azimuth += 5)
    EXPECT_THROW(SunAzimuthTime(d, azimuth, kBrasiliaLon, kBrasiliaLat), EInvalidOp)
        << double(azimuth);
  for (long double azimuth = 5; azimuth < 90; azimuth += 5)
    EXPECT_THROW(SunAzimuthTime(d, azimuth, kBrasiliaLon, kBrasiliaLat), EInvalidOp)
        << double(azimuth);
  // North of the equator in June the Sun culminates north of the zenith: south-west is never
  // reached.
  EXPECT_THROW(SunAzimuthTime(9669.5L, 200, -40, 12), EInvalidOp);
}

struct ClockCase {
  const char* name;
  LocalDate today;
  int utcOffset;
  long double azimuth, latitude;
  const char* expected;
};

class SunAzimuthClock : public ::testing::TestWithParam<ClockCase> {};

TEST_P(SunAzimuthClock, GivesTheLocalTimeWithinTheWindow) {
  const ClockCase& c = GetParam();
  ScopedClockSource clock(std::make_shared<FixedClock>(c.today, c.utcOffset));
  EXPECT_EQ(SunAzimuthClockText(c.azimuth, kSaoPauloLon, c.latitude), c.expected);
}

constexpr LocalDate kJuneSolstice{2026, 6, 21};
INSTANTIATE_TEST_SUITE_P(
    Days, SunAzimuthClock,
    ::testing::Values(
        ClockCase{"June", kJuneSolstice, -180, 312.7575L, kSaoPauloLat, "15:14:49"},
        ClockCase{"December", {2026, 12, 7}, -180, 312.7575L, kSaoPauloLat, "12:02:13"},
        ClockCase{"MeridianSouth", kJuneSolstice, -180, 0, kSaoPauloLat, "12:08:22"},
        ClockCase{"MeridianNorth", kJuneSolstice, -180, 180, -kSaoPauloLat, "12:08:22"},
        // The same transit moved to the edges of the window by other zone offsets.
        ClockCase{"SixOClockShown", kJuneSolstice, -180 - 368, 0, kSaoPauloLat, "06:00:22"},
        ClockCase{"BeforeSixHidden", kJuneSolstice, -180 - 369, 0, kSaoPauloLat, ""},
        ClockCase{"EighteenFiftyNineShown", kJuneSolstice, -180 + 411, 0, kSaoPauloLat,
                  "18:59:22"},
        ClockCase{"NineteenHidden", kJuneSolstice, -180 + 412, 0, kSaoPauloLat, ""},
        // A day boundary: 02:08 local is outside the window.
        ClockCase{"WrapsPastMidnight", kJuneSolstice, -180 - 600, 0, kSaoPauloLat, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SunAzimuthClockText, DaylightSavingTimeMovesTheClockTime) {
  // One more hour of UTC offset (summer time in force) gives one hour later on the wall clock.
  ScopedClockSource clock(std::make_shared<FixedClock>(LocalDate{2026, 12, 7}, -120));
  EXPECT_EQ(SunAzimuthClockText(312.7575L, kSaoPauloLon, kSaoPauloLat), "13:02:13");
}

TEST(SunAzimuthClockText, EquatorFailsWithAnArithmeticError) {
  ScopedClockSource clock(std::make_shared<FixedClock>(kJuneSolstice, -180));
  EXPECT_THROW(SunAzimuthClockText(270, kSaoPauloLon, 0), EMathError);
}

}  // namespace
}  // namespace zenavo
