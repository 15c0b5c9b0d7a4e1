// The clock time at which the Sun stands at a given azimuth today, for the "Hora Az." column:
// where an installer sights the Sun (or a shadow) to find the satellite's direction.
//
// Units and signs, for every routine here:
//   azimuth    degrees from true north, clockwise (90 = east), in [0, 360)
//   longitude  site longitude, degrees, east positive
//   latitude   site latitude, degrees, north positive
//   d          day number, days (see DayNumber)
//   times      hours after 0:00
// Arithmetic errors raise EInvalidOp, EZeroDivide or EOverflow.
//
// The Sun's place comes from a low-precision ephemeris (mean elements linear in the day
// number, no nutation or aberration). Against Meeus's low-precision solar coordinates
// ("Astronomical Algorithms", ch. 25), at the times found from 2000 to 2050 the Sun stands
// within 0.013 degrees of the requested azimuth's vertical circle (sun_time_test checks 0.014).
// Where the Sun climbs almost along that circle (near the equator around the equinoxes, for
// azimuths near east and west) this moves the time found by tens of seconds, while the
// azimuth stays within a few hundredths of a degree.
#pragma once

#include <string>

namespace zenavo {

// Day number d: 0 at 2000 January 0.0 (31 December 1999, 0:00) on the time scale of the
// values given, whole days plus the fraction of the day. day 1..31, month 1..12, year in full.
long double DayNumber(int day, int month, int year, int hour, int minute, int second);

// Hours after 0:00 of day number d's time scale, in [0, 24), at which the Sun, placed for d,
// stands at `azimuth` above the horizon. Fails with EInvalidOp when no such time exists
// (EZeroDivide for due north at a northern site and due south at a southern one):
//   - no hour angle gives that azimuth on that day;
//   - the hour angle found puts the Sun at the opposite azimuth, or below the horizon
//     (geometric altitude below 0, no refraction);
//   - the Sun then stands more than 1 degree from `azimuth` once the ephemeris' uncertainty
//     (0.018 degrees of the Sun's place, whole clock seconds included) is counted. That
//     uncertainty turns the azimuth by 0.025 degrees at 45 degrees of altitude and 0.1 at 80;
//     within about 1 degree of the zenith by more than 1, and no azimuth is sighted there.
long double SunAzimuthTime(long double d, long double azimuth, long double longitude,
                           long double latitude);

// Whole minutes with UTC = local time + bias: minus the UTC offset in force at noon of
// today's local date, daylight-saving time included (São Paulo gives 180).
int TimeZoneBias();

// Today's local clock time at which the Sun stands at `azimuth`, as "hh:mm:ss" (cut to whole
// seconds); the empty text when that time falls before 06:00:00 or after 18:59:59. A first
// pass with the Sun placed at noon UT finds the time of day at which a second pass places the
// Sun, on the UT day on which that time of today's local date falls (the day before or after
// where the zone lies far from UT); the second pass's time is the one shown, and fails as
// SunAzimuthTime does.
std::string SunAzimuthClockText(long double azimuth, long double longitude,
                                long double latitude);

}  // namespace zenavo
