// The clock source: today's local date, the local time of day and the time-zone offset. One replaceable source, so
// that tests fix the date and the zone instead of reading the real clock.
#pragma once

#include <memory>

namespace zenavo {

struct LocalDate {
  int Year = 2000;
  int Month = 1;  // 1..12
  int Day = 1;    // 1..31
  bool operator==(const LocalDate&) const = default;
};

// A local clock time, to the minute.
struct LocalTime {
  int Hour = 0;    // 0..23
  int Minute = 0;  // 0..59
  bool operator==(const LocalTime&) const = default;
};

class ClockSource {
 public:
  virtual ~ClockSource() = default;
  // Today's calendar date in local time.
  virtual LocalDate Today() const = 0;
  // The local clock time now.
  virtual LocalTime TimeOfDay() const = 0;
  // The offset of local time from UTC in minutes (local = UTC + offset; São Paulo gives -180)
  // in force at 12:00 local time of `date`, daylight-saving time included when the zone's
  // rules put it in force then.
  virtual int UtcOffsetMinutesAtNoon(const LocalDate& date) const = 0;
};

// The system's clock and time zone (the TZ variable or the system's zone).
class SystemClock : public ClockSource {
 public:
  LocalDate Today() const override;
  LocalTime TimeOfDay() const override;
  int UtcOffsetMinutesAtNoon(const LocalDate& date) const override;
};

// A clock that always gives the same date, time (noon unless given) and offset.
class FixedClock : public ClockSource {
 public:
  FixedClock(LocalDate today, int utcOffsetMinutes, LocalTime time = {12, 0})
      : today_(today), time_(time), offset_(utcOffsetMinutes) {}
  LocalDate Today() const override { return today_; }
  LocalTime TimeOfDay() const override { return time_; }
  int UtcOffsetMinutesAtNoon(const LocalDate&) const override { return offset_; }

 private:
  LocalDate today_;
  LocalTime time_;
  int offset_;
};

// The source in force (the system clock unless replaced).
const ClockSource& Clock();
void SetClockSource(std::shared_ptr<const ClockSource> source);

// Puts a source in force for one scope and restores the previous one at its end.
class ScopedClockSource {
 public:
  explicit ScopedClockSource(std::shared_ptr<const ClockSource> source);
  ~ScopedClockSource();
  ScopedClockSource(const ScopedClockSource&) = delete;
  ScopedClockSource& operator=(const ScopedClockSource&) = delete;

 private:
  std::shared_ptr<const ClockSource> previous_;
};

}  // namespace zenavo
