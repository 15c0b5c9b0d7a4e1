#include "pointing/sun_time.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "base/clock.h"
#include "base/exceptions.h"
#include "pointing/look_angles.h"
#include "pointing/reference_sun.h"
#include "support/expect_error.h"

namespace zenavo {
namespace {

using testing::ExpectError;
using testing::ReferenceSun;
using testing::ReferenceSunCrossings;
using testing::SignedAngle;

constexpr long double kSaoPauloLat = -23.55L, kSaoPauloLon = -46.63L;
constexpr long double kBrasiliaLat = -15.78L, kBrasiliaLon = -47.93L;
constexpr const char* kInvalidOp = "Invalid floating point operation";

// The azimuth rule of the Sun time: at the time shown the Sun stands within this of the azimuth.
constexpr double kAzimuthToleranceDeg = 1;
// How far the reference series and the ephemeris may disagree on the Sun's place, degrees (the
// reference is itself good to about 0.01 degrees). The ephemeris test below checks it; a daily
// sampling of 2000 to 2050 found at most 0.0129.
constexpr double kEphemerisDifferenceDeg = 0.014;
// The clock text cuts the time to whole seconds: the Sun moves up to 0.0042 degrees in that.
constexpr double kOneClockSecondDeg = 15.0 / 3600;

// Hours of UTC for a clock text "hh:mm:ss" shown with the given UTC offset, taken in the middle
// of the second shown.
double UtcHoursOf(const std::string& clockText, int utcOffsetMinutes) {
  const int h = std::stoi(clockText.substr(0, 2)), m = std::stoi(clockText.substr(3, 2)),
            s = std::stoi(clockText.substr(6, 2));
  return h + m / 60.0 + (s + 0.5) / 3600 - utcOffsetMinutes / 60.0;
}

LocalDate DayOf2026(int dayOfYear) {
  using namespace std::chrono;
  const year_month_day date{sys_days{year{2026} / January / 1} + days{dayOfYear}};
  return {int(date.year()), int(unsigned(date.month())), int(unsigned(date.day()))};
}

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
  // North of the equator, away from the zenith (at +23.55 that day's Sun culminates 0.11
  // degrees from it, where its azimuth is refused: see NearTheZenith below).
  EXPECT_NEAR(double(SunAzimuthTime(9669.5L, 180, kSaoPauloLon, 30)), 15.13914, 1e-5);
}

TEST(SunAzimuthTime, NoTimeOnTheEquatorOffTheMeridian) {
  ExpectError<EInvalidOp>([] { SunAzimuthTime(9669.5L, 270, kSaoPauloLon, 0); }, kInvalidOp);
  ExpectError<EInvalidOp>([] { SunAzimuthTime(9669.5L, 90, kSaoPauloLon, 0); }, kInvalidOp);
  // December: the Sun culminates south of the equator, so due south is reached at noon.
  EXPECT_NO_THROW(SunAzimuthTime(DayNumber(7, 12, 2026, 12, 0, 0), 180, kSaoPauloLon, 0));
}

TEST(SunAzimuthTime, DueNorthInTheNorthHasNoHourAngle) {
  ExpectError<EZeroDivide>([] { SunAzimuthTime(9669.5L, 0, kSaoPauloLon, 10); },
                           "Floating point division by zero");
}

TEST(SunAzimuthTime, FailsWhereTheSunPassesOnTheFarSideOfTheZenith) {
  // Brasília in December: the Sun culminates south of the zenith and never stands at a
  // northern azimuth, where every satellite lies.
  const long double d = DayNumber(7, 12, 2026, 12, 0, 0);
  for (long double azimuth = 275; azimuth < 360; azimuth += 5) {
    SCOPED_TRACE(double(azimuth));
    ExpectError<EInvalidOp>([&] { SunAzimuthTime(d, azimuth, kBrasiliaLon, kBrasiliaLat); },
                            kInvalidOp);
  }
  for (long double azimuth = 5; azimuth < 90; azimuth += 5) {
    SCOPED_TRACE(double(azimuth));
    ExpectError<EInvalidOp>([&] { SunAzimuthTime(d, azimuth, kBrasiliaLon, kBrasiliaLat); },
                            kInvalidOp);
  }
  // North of the equator in June the Sun culminates north of the zenith: south-west is never
  // reached.
  ExpectError<EInvalidOp>([] { SunAzimuthTime(9669.5L, 200, -40, 12); }, kInvalidOp);
}

TEST(SunAzimuthTime, FailsWhenTheSunStandsThereBelowTheHorizon) {
  // São Paulo, 7 April 2026: the Sun reaches the azimuth of a satellite at 120 W (276.8
  // degrees) only after sunset, at about 21:05 UTC.
  const long double azimuth = SatelliteAzimuth(-120, kSaoPauloLat, kSaoPauloLon, 0.76L);
  EXPECT_LT(ReferenceSun(2026, 4, 7, 21.09, -23.55, -46.63).altitude, -1.5);
  ExpectError<EInvalidOp>(
      [&] { SunAzimuthTime(DayNumber(7, 4, 2026, 21, 5, 0), azimuth, kSaoPauloLon, kSaoPauloLat); },
      kInvalidOp);
  // In December the Sun sets further south and passes that azimuth in the afternoon.
  const long double december =
      SunAzimuthTime(DayNumber(7, 12, 2026, 12, 0, 0), azimuth, kSaoPauloLon, kSaoPauloLat);
  EXPECT_GT(ReferenceSun(2026, 12, 7, double(december), -23.55, -46.63).altitude, 10);
}

TEST(SunAzimuthTime, NearTheZenithTheAzimuthIsRefused) {
  // Ubatuba (23.43 S) on 21 December 2026: the Sun culminates within 0.01 degrees of the zenith
  // and sweeps every northern azimuth within a second; the reference series even has it pass on
  // the other side. No azimuth can be sighted there.
  const long double d = DayNumber(21, 12, 2026, 12, 0, 0);
  for (long double azimuth = 280; azimuth <= 440; azimuth += 20) {
    const long double northern = azimuth >= 360 ? azimuth - 360 : azimuth;
    SCOPED_TRACE(double(northern));
    ExpectError<EInvalidOp>([&] { SunAzimuthTime(d, northern, -45.07L, -23.43L); }, kInvalidOp);
  }
  // The meridian of a site at 23.55 N in June: the Sun culminates 0.11 degrees from the zenith.
  ExpectError<EInvalidOp>([] { SunAzimuthTime(9669.5L, 180, kSaoPauloLon, 23.55L); }, kInvalidOp);
}

// The time that SunAzimuthClockText finds, in hours of UTC on the date: a first pass at noon
// places the second (whose time may lie across 0:00 UT from the first's).
double TimeFoundUtc(const LocalDate& date, double azimuth, double latitude, double longitude) {
  const double noon = double(SunAzimuthTime(DayNumber(date.Day, date.Month, date.Year, 12, 0, 0),
                                            azimuth, longitude, latitude));
  const int h = int(std::floor(noon)), m = int(std::floor((noon - h) * 60)),
            s = int(std::floor(((noon - h) * 60 - m) * 60));
  const double found = double(SunAzimuthTime(DayNumber(date.Day, date.Month, date.Year, h, m, s),
                                             azimuth, longitude, latitude));
  return noon + SignedAngle(found * 15, noon * 15) / 15;
}

struct ClockCase {
  const char* name;
  LocalDate today;
  int utcOffset;
  long double azimuth, latitude;
  const char* expected;
  long double longitude = kSaoPauloLon;
};

class SunAzimuthClock : public ::testing::TestWithParam<ClockCase> {};

TEST_P(SunAzimuthClock, GivesTheLocalTimeWithinTheWindow) {
  const ClockCase& c = GetParam();
  ScopedClockSource clock(std::make_shared<FixedClock>(c.today, c.utcOffset));
  const std::string text = SunAzimuthClockText(c.azimuth, c.longitude, c.latitude);
  EXPECT_EQ(text, c.expected);
  if (text.empty()) return;
  // The time shown is daylight, with the Sun at the azimuth.
  const auto sun = ReferenceSun(c.today.Year, c.today.Month, c.today.Day,
                                UtcHoursOf(text, c.utcOffset), double(c.latitude),
                                double(c.longitude));
  EXPECT_GT(sun.altitude, 0);
  EXPECT_LT(std::fabs(SignedAngle(sun.azimuth, double(c.azimuth))), kAzimuthToleranceDeg);
}

constexpr LocalDate kJuneSolstice{2026, 6, 21};
constexpr LocalDate kSeptemberEquinox{2026, 9, 23};
INSTANTIATE_TEST_SUITE_P(
    Days, SunAzimuthClock,
    ::testing::Values(
        ClockCase{"June", kJuneSolstice, -180, 312.7575L, kSaoPauloLat, "15:14:49"},
        // The Sun 1.4 degrees from the zenith, still sighted.
        ClockCase{"December", {2026, 12, 7}, -180, 312.7575L, kSaoPauloLat, "12:02:13"},
        ClockCase{"MeridianSouth", kJuneSolstice, -180, 0, kSaoPauloLat, "12:08:22"},
        ClockCase{"MeridianNorth", kJuneSolstice, -180, 180, 30, "12:08:22"},
        // The same transit moved to the edges of the window by other zone offsets.
        ClockCase{"SixOClockShown", kJuneSolstice, -180 - 368, 0, kSaoPauloLat, "06:00:22"},
        ClockCase{"BeforeSixHidden", kJuneSolstice, -180 - 369, 0, kSaoPauloLat, ""},
        ClockCase{"EighteenFiftyNineShown", kJuneSolstice, -180 + 411, 0, kSaoPauloLat,
                  "18:59:22"},
        ClockCase{"NineteenHidden", kJuneSolstice, -180 + 412, 0, kSaoPauloLat, ""},
        // A day boundary: 02:08 local is outside the window.
        ClockCase{"WrapsPastMidnight", kJuneSolstice, -180 - 600, 0, kSaoPauloLat, ""},
        // Daytime across 0:00 UT: a morning at UTC+10 falls on the UT day before the local
        // date, an afternoon at UTC-10 on the UT day after it.
        ClockCase{"SydneyMorning", kSeptemberEquinox, 600, 80, -33.87L, "06:57:40", 151.21L},
        ClockCase{"TahitiAfternoon", kSeptemberEquinox, -600, 280, -17.53L, "15:44:30", -149.57L}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SunAzimuthClockText, DaylightSavingTimeMovesTheClockTime) {
  // One more hour of UTC offset (summer time in force) gives one hour later on the wall clock.
  ScopedClockSource clock(std::make_shared<FixedClock>(LocalDate{2026, 12, 7}, -120));
  EXPECT_EQ(SunAzimuthClockText(312.7575L, kSaoPauloLon, kSaoPauloLat), "13:02:13");
}

TEST(SunAzimuthClockText, EquatorFailsWithAnArithmeticError) {
  ScopedClockSource clock(std::make_shared<FixedClock>(kJuneSolstice, -180));
  ExpectError<EInvalidOp>([] { SunAzimuthClockText(270, kSaoPauloLon, 0); }, kInvalidOp);
}

TEST(SunAzimuthClockText, NoTimeAtDusk) {
  // São Paulo, 7 April 2026, satellite at 120 W: the Sun reaches its azimuth at 18:05:26 local
  // time (the time this column showed before it looked at the Sun's altitude), 2 degrees below
  // the horizon.
  ScopedClockSource clock(std::make_shared<FixedClock>(LocalDate{2026, 4, 7}, -180));
  const long double azimuth = SatelliteAzimuth(-120, kSaoPauloLat, kSaoPauloLon, 0.76L);
  const auto sun = ReferenceSun(2026, 4, 7, UtcHoursOf("18:05:26", -180), -23.55, -46.63);
  EXPECT_NEAR(sun.azimuth, double(azimuth), 0.1);
  EXPECT_NEAR(sun.altitude, -2, 0.2);
  ExpectError<EInvalidOp>([&] { SunAzimuthClockText(azimuth, kSaoPauloLon, kSaoPauloLat); },
                          kInvalidOp);
}

TEST(SunAzimuthClockText, NoTimeInPolarNight) {
  // 81 N, 15 E on 21 December 2026: the Sun stays below the horizon all day.
  constexpr double kLat = 81, kLon = 15;
  ScopedClockSource clock(std::make_shared<FixedClock>(LocalDate{2026, 12, 21}, 60));
  double highest = -90;
  for (double utc = 0; utc < 24; utc += 0.25)
    highest = std::max(highest, ReferenceSun(2026, 12, 21, utc, kLat, kLon).altitude);
  EXPECT_LT(highest, -10);
  int visible = 0;
  for (int satellite = -10; satellite <= 40; satellite += 2) {
    if (SatelliteElevation(satellite, kLat, kLon, 0) <= 0) continue;
    ++visible;
    SCOPED_TRACE(satellite);
    const long double azimuth = SatelliteAzimuth(satellite, kLat, kLon, 0);
    ExpectError<EInvalidOp>([&] { SunAzimuthClockText(azimuth, kLon, kLat); }, kInvalidOp);
  }
  EXPECT_GT(visible, 5);
}

// Sites from the equator to the south of Brazil, one near the Tropic (where the Sun passes the
// zenith), a northern site, two polar ones and two whose daylight spans 0:00 UT (UTC+10 and
// UTC-10); each with its zone's UTC offset.
struct SweepSite {
  const char* name;
  double latitude, longitude;
  int utcOffset;
};
constexpr SweepSite kSweepSites[] = {
    {"Boa Vista", 2.82, -60.67, -240},   {"Macapá", 0.03, -51.07, -180},
    {"Manaus", -3.12, -60.02, -240},     {"Noronha", -3.85, -32.42, -120},
    {"Recife", -8.05, -34.9, -180},      {"Rio Branco", -9.97, -67.81, -300},
    {"Salvador", -12.97, -38.5, -180},   {"Brasília", -15.78, -47.93, -180},
    {"Rio", -22.91, -43.17, -180},       {"Ubatuba", -23.43, -45.07, -180},
    {"São Paulo", -23.55, -46.63, -180}, {"Porto Alegre", -30.03, -51.23, -180},
    {"Chuí", -33.69, -53.46, -180},      {"12 N", 12.0, -40.0, -180},
    {"81 N", 81.0, 15.0, 60},            {"81 S", -81.0, -60.0, -180},
    {"Sydney", -33.87, 151.21, 600},     {"Tahiti", -17.53, -149.57, -600}};

// Every Sun time shown puts the reference Sun at the azimuth above the horizon; every daylight
// pass of the reference Sun clear of the zenith and of the window's edges gets a time.
TEST(SunAzimuthClockText, SweepAgreesWithTheReferenceSun) {
  int shown = 0, refused = 0;
  for (const SweepSite& site : kSweepSites) {
    for (int dayOfYear = 3; dayOfYear < 365; dayOfYear += 12) {
      const LocalDate date = DayOf2026(dayOfYear);
      ScopedClockSource clock(std::make_shared<FixedClock>(date, site.utcOffset));
      for (int satellite = int(site.longitude) - 70; satellite <= int(site.longitude) + 70; satellite += 5) {
        if (SatelliteElevation(satellite, site.latitude, site.longitude, 0) <= 0) continue;
        const double azimuth =
            double(SatelliteAzimuth(satellite, site.latitude, site.longitude, 0));
        std::string text;
        try {
          text = SunAzimuthClockText(azimuth, site.longitude, site.latitude);
        } catch (const EInvalidOp&) {
        }
        const auto where = [&] {
          return ::testing::Message() << site.name << " " << date.Year << "-" << date.Month << "-"
                                      << date.Day << " satellite " << satellite << " azimuth "
                                      << azimuth;
        };
        if (!text.empty()) {
          ++shown;
          const double utc = UtcHoursOf(text, site.utcOffset);
          const auto sun = ReferenceSun(date.Year, date.Month, date.Day, utc, site.latitude,
                                        site.longitude);
          if (sun.altitude < -kEphemerisDifferenceDeg)
            ADD_FAILURE() << where() << ": " << text << " with the Sun at " << sun.altitude;
          const double off = std::fabs(SignedAngle(sun.azimuth, azimuth));
          // Within the tolerance even when the Sun stands as far from the reference's place as
          // the ephemeris may put it: what that difference turns the azimuth by there is
          // counted too. Near the zenith it turns it by much, and a time is not shown.
          const double slack = std::asin(std::min(
              1.0, std::sin(kEphemerisDifferenceDeg * M_PI / 180) / std::cos(sun.altitude * M_PI / 180)));
          if (off + slack * 180 / M_PI > kAzimuthToleranceDeg)
            ADD_FAILURE() << where() << ": " << text << " with the Sun at azimuth " << sun.azimuth;
          continue;
        }
        ++refused;
        // No time: then no reference pass in daylight, clear of the zenith, inside the window.
        const double windowStart = 6 - site.utcOffset / 60.0 + 0.01;
        const double windowEnd = 19 - site.utcOffset / 60.0 - 0.01;
        for (double pass : ReferenceSunCrossings(date.Year, date.Month, date.Day, azimuth,
                                                 site.latitude, site.longitude, windowStart,
                                                 windowEnd)) {
          const auto sun = ReferenceSun(date.Year, date.Month, date.Day, pass, site.latitude,
                                        site.longitude);
          if (sun.altitude > 0.05 && sun.altitude < 88)
            ADD_FAILURE() << where() << ": no time, but the Sun passes at " << pass
                          << " h UTC at altitude " << sun.altitude;
        }
      }
    }
  }
  // Both outcomes are well represented.
  EXPECT_GT(shown, 5000);
  EXPECT_GT(refused, 2000);
}

// How far the ephemeris puts the Sun from the reference series, 2000 to 2050: at the time found
// for an azimuth, the reference Sun's distance from that azimuth's vertical circle, and its
// altitude.
TEST(SunAzimuthTime, EphemerisAgreesWithTheReferenceSun) {
  double worst = 0;
  int measured = 0;
  for (int year = 2000; year <= 2050; year += 5) {
    for (int month = 1; month <= 12; ++month) {
      const LocalDate date{year, month, 1 + (year + month) % 28};
      for (const SweepSite& site : kSweepSites) {
        for (double azimuth = 2.5; azimuth < 360; azimuth += 15) {
          double utc;
          try {
            utc = TimeFoundUtc(date, azimuth, site.latitude, site.longitude);
          } catch (const EInvalidOp&) {
            continue;
          }
          const auto sun = ReferenceSun(year, month, date.Day, utc, site.latitude, site.longitude);
          if (sun.altitude < -kEphemerisDifferenceDeg)
            ADD_FAILURE() << site.name << " " << year << "-" << month << " azimuth " << azimuth
                          << ": the Sun at " << sun.altitude;
          const double distance =
              std::asin(std::cos(sun.altitude * M_PI / 180) *
                        std::sin(std::fabs(SignedAngle(sun.azimuth, azimuth)) * M_PI / 180)) *
              180 / M_PI;
          worst = std::max(worst, distance);
          ++measured;
        }
      }
    }
  }
  EXPECT_GT(measured, 10000);
  EXPECT_LT(worst, kEphemerisDifferenceDeg);
}

}  // namespace
}  // namespace zenavo
