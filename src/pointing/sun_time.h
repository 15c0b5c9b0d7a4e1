// The clock time at which the Sun stands at a given azimuth today, for the "Hora Az." column.
// Angles in degrees (azimuth from true north, longitude east positive, latitude north
// positive); times in hours. Arithmetic errors raise EInvalidOp, EZeroDivide or EOverflow.
#pragma once

#include <string>

namespace zenavo {

// Day number d: 0 at 2000 January 0.0 (31 December 1999, 0:00) on the time scale of the
// values given, whole days plus the fraction of the day.
long double DayNumber(int day, int month, int year, int hour, int minute, int second);

// Hours after 0:00 of day number `d`'s time scale, in [0, 24), at which the Sun stands at
// `azimuth`. Fails with EInvalidOp when the Sun never stands at that azimuth on that day:
// when no hour angle gives it, and when the hour angle found puts the Sun at the opposite
// azimuth (the Sun passing on the far side of the zenith).
long double SunAzimuthTime(long double d, long double azimuth, long double longitude,
                           long double latitude);

// Whole minutes with UTC = local time + bias: minus the UTC offset in force at noon of
// today's local date, daylight-saving time included (São Paulo gives 180).
int TimeZoneBias();

// Today's local clock time at which the Sun stands at `azimuth`, as "hh:mm:ss"; the empty
// text when that time falls before 06:00:00 or after 18:59:59.
std::string SunAzimuthClockText(long double azimuth, long double longitude,
                                long double latitude);

}  // namespace zenavo
