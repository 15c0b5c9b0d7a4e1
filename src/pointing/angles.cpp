#include "pointing/angles.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/exceptions.h"
#include "base/fp_guard.h"

namespace zenavo {

long double unguarded::Normalize360(long double x) {
  const long double turns = std::floor(x / 360);
  // The turn count is a signed 32-bit integer; beyond that (or NaN) there is no such integer.
  constexpr long double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr long double kHighest = std::numeric_limits<std::int32_t>::max();
  if (!(turns >= kLowest && turns <= kHighest)) throw EInvalidOp();
  // 360 * turns is an integer below 2^41, exact in the extended format as in integer arithmetic.
  return x - 360 * turns;
}

long double Radians(long double x) {
  FloatingPointGuard guard;
  return guard.Check(unguarded::Radians(x));
}

long double Degrees(long double x) {
  FloatingPointGuard guard;
  return guard.Check(unguarded::Degrees(x));
}

long double Normalize360(long double x) {
  FloatingPointGuard guard;
  return guard.Check(unguarded::Normalize360(x));
}

namespace {
long double RemainderTowardZero(long double x, long double y) { return x - y * std::trunc(x / y); }
}  // namespace

long double TruncMod(long double x, long double y) {
  FloatingPointGuard guard;
  return guard.Check(RemainderTowardZero(x, y));
}

long double TruncDiv(long double x, long double y) {
  FloatingPointGuard guard;
  return guard.Check((x - RemainderTowardZero(x, y)) / y);
}

}  // namespace zenavo
