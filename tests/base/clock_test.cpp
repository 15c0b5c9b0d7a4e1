#include "base/clock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "pointing/sun_time.h"

namespace zenavo {
namespace {

// Puts a POSIX TZ rule in force for one scope (rules written out, so no zone database is needed).
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* rule) {
    if (const char* old = std::getenv("TZ")) previous_ = old, hadPrevious_ = true;
    setenv("TZ", rule, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (hadPrevious_)
      setenv("TZ", previous_.c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::string previous_;
  bool hadPrevious_ = false;
};

struct ZoneCase {
  const char* name;
  const char* rule;
  LocalDate date;
  int expectedOffset;
};

class SystemClockOffset : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(SystemClockOffset, IsTheOneInForceAtNoon) {
  const ZoneCase& c = GetParam();
  ScopedTimeZone zone(c.rule);
  EXPECT_EQ(SystemClock().UtcOffsetMinutesAtNoon(c.date), c.expectedOffset);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, SystemClockOffset,
    ::testing::Values(
        // A zone without daylight-saving time (Brasília time since 2019).
        ZoneCase{"noDaylightSavingJune", "<-03>3", {2026, 6, 21}, -180},
        ZoneCase{"noDaylightSavingDecember", "<-03>3", {2026, 12, 7}, -180},
        // A zone with daylight-saving time (US Eastern rules).
        ZoneCase{"daylightSavingInForce", "EST5EDT,M3.2.0,M11.1.0", {2026, 7, 1}, -240},
        ZoneCase{"standardTime", "EST5EDT,M3.2.0,M11.1.0", {2026, 1, 15}, -300},
        // Brazil's former summer time, southern hemisphere rules.
        ZoneCase{"southernSummer", "<-03>3<-02>,M10.3.0/0,M2.3.0/0", {2018, 12, 7}, -120}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TimeZoneBias, IsMinusTheOffsetOfTodayIncludingDaylightSaving) {
  ScopedTimeZone zone("EST5EDT,M3.2.0,M11.1.0");
  struct FixedDate : SystemClock {
    LocalDate date;
    LocalDate Today() const override { return date; }
  };
  auto summer = std::make_shared<FixedDate>();
  summer->date = {2026, 7, 1};
  {
    ScopedClockSource clock(summer);
    EXPECT_EQ(TimeZoneBias(), 240);
  }
  auto winter = std::make_shared<FixedDate>();
  winter->date = {2026, 1, 15};
  ScopedClockSource clock(winter);
  EXPECT_EQ(TimeZoneBias(), 300);
}

}  // namespace
}  // namespace zenavo
