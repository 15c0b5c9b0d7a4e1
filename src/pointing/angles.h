// Angle helpers of the pointing maths. Angles are decimal degrees in extended precision.
// Every routine raises EInvalidOp, EZeroDivide or EOverflow instead of returning NaN or
// infinity (see base/fp_guard.h).
#pragma once

#include <cmath>
#include <cstdint>

namespace zenavo {

// Extended-precision pi.
inline constexpr long double kPi = 3.141592653589793238462643383279502884L;

// x degrees in radians: x * pi, then / 180.
long double Radians(long double x);
// x radians in degrees: x * 180, then / pi.
long double Degrees(long double x);
// x reduced into [0, 360): x - 360 * k with k = floor(x / 360), which must fit a signed
// 32-bit integer (otherwise, and for NaN, EInvalidOp).
long double Normalize360(long double x);
// X - Y * trunc(X / Y): the remainder with the sign of X. Y = 0 fails.
long double TruncMod(long double x, long double y);
// (X - TruncMod(X, Y)) / Y, which equals trunc(X / Y).
long double TruncDiv(long double x, long double y);

// The same helpers without a floating-point guard of their own, for routines that already hold
// one around their whole computation (the guard costs more than the arithmetic it watches).
namespace unguarded {
inline long double Radians(long double x) { return x * kPi / 180; }
inline long double Degrees(long double x) { return x * 180 / kPi; }
// floor(x) and trunc(x), exact for every value. The library's versions switch the x87
// rounding mode twice per call, which costs more than the rest of a look-angle computation.
long double Floor(long double x);
long double Trunc(long double x);
// Throws EInvalidOp when the turn count does not fit 32 bits.
long double Normalize360(long double x);
inline long double TruncMod(long double x, long double y) { return x - y * Trunc(x / y); }
inline long double TruncDiv(long double x, long double y) { return (x - TruncMod(x, y)) / y; }
inline long double SinDeg(long double x) { return std::sin(Radians(x)); }
inline long double CosDeg(long double x) { return std::cos(Radians(x)); }
inline long double TanDeg(long double x) { return std::tan(Radians(x)); }
}  // namespace unguarded

}  // namespace zenavo
