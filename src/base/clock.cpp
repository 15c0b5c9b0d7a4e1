#include "base/clock.h"

#include <ctime>

namespace zenavo {

namespace {
std::shared_ptr<const ClockSource>& Source() {
  static std::shared_ptr<const ClockSource> source = std::make_shared<SystemClock>();
  return source;
}

std::tm LocalNow() {
  tzset();
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}
}  // namespace

LocalDate SystemClock::Today() const {
  const std::tm local = LocalNow();
  return LocalDate{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

LocalTime SystemClock::TimeOfDay() const {
  const std::tm local = LocalNow();
  return LocalTime{local.tm_hour, local.tm_min};
}

int SystemClock::UtcOffsetMinutesAtNoon(const LocalDate& date) const {
  tzset();
  std::tm noon{};
  noon.tm_year = date.Year - 1900;
  noon.tm_mon = date.Month - 1;
  noon.tm_mday = date.Day;
  noon.tm_hour = 12;
  noon.tm_isdst = -1;  // let the zone's rules decide whether daylight-saving time is in force
  const std::time_t instant = std::mktime(&noon);
  std::tm local{};
  localtime_r(&instant, &local);
  return static_cast<int>(local.tm_gmtoff / 60);
}

const ClockSource& Clock() { return *Source(); }

void SetClockSource(std::shared_ptr<const ClockSource> source) { Source() = std::move(source); }

ScopedClockSource::ScopedClockSource(std::shared_ptr<const ClockSource> source)
    : previous_(Source()) {
  SetClockSource(std::move(source));
}

ScopedClockSource::~ScopedClockSource() { SetClockSource(std::move(previous_)); }

}  // namespace zenavo
