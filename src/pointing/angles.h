// Angle helpers of the pointing maths. Angles are decimal degrees in extended precision.
//
// Two forms with the same names:
//   zenavo::Radians, ...            hold a floating-point guard of their own: an invalid
//                                   operation, a division by zero or an overflow raises
//                                   EInvalidOp, EZeroDivide or EOverflow (see base/fp_guard.h).
//   zenavo::unguarded::Radians, ... no guard: for routines that hold one guard around their
//                                   whole computation and check its flags once at the end (a
//                                   guard per helper would read the flags at every step).
#pragma once

namespace zenavo {

// Extended-precision pi.
inline constexpr long double kPi = 3.141592653589793238462643383279502884L;

// x degrees in radians: x * pi, then / 180.
long double Radians(long double x);
// x radians in degrees: x * 180, then / pi.
long double Degrees(long double x);
// x degrees reduced into [0, 360): x - 360 * k with k = floor(x / 360), which must fit a
// signed 32-bit integer (otherwise, and for NaN and infinities, EInvalidOp).
long double Normalize360(long double x);
// X - Y * trunc(X / Y): the remainder of X / Y with the sign of X. Y = 0 fails.
long double TruncMod(long double x, long double y);
// (X - TruncMod(X, Y)) / Y, which equals trunc(X / Y). Y = 0 fails.
long double TruncDiv(long double x, long double y);

namespace unguarded {
inline long double Radians(long double x) { return x * kPi / 180; }
inline long double Degrees(long double x) { return x * 180 / kPi; }
// Throws EInvalidOp itself when the turn count does not fit 32 bits.
long double Normalize360(long double x);
}  // namespace unguarded

}  // namespace zenavo
