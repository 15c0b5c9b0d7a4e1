#include "pointing/angles.h"

#include <limits>

#include "base/exceptions.h"
#include "base/fp_guard.h"

namespace zenavo {

long double unguarded::Floor(long double x) {
  // Beyond 2^62 (and for NaN and infinities) the library does it.
  constexpr long double kFastRange = 0x1p62L;
  if (!(std::fabs(x) < kFastRange)) return std::floor(x);
  // Adding and removing 1.5 * 2^63 rounds to the nearest integer in the current (nearest)
  // mode, as the sum lies where the extended format's spacing is 1; one step down where that
  // went up.
  constexpr long double kRound = 0x1.8p63L;
  long double nearest = (x + kRound) - kRound;
  if (nearest > x) nearest -= 1;
  return nearest;
}

long double unguarded::Trunc(long double x) { return x < 0 ? -Floor(-x) : Floor(x); }

long double unguarded::Normalize360(long double x) {
  const long double quotient = x / 360;
  // The turn count is a signed 32-bit integer; beyond that (or NaN) there is no such integer.
  constexpr long double kLowest = std::numeric_limits<std::int32_t>::min();
  constexpr long double kBeyond = static_cast<long double>(std::numeric_limits<std::int32_t>::max()) + 1;
  if (!(quotient >= kLowest && quotient < kBeyond)) throw EInvalidOp();
  // 360 * k is an integer below 2^40, exact in the extended format as in integer arithmetic.
  return x - 360 * Floor(quotient);
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

long double TruncMod(long double x, long double y) {
  FloatingPointGuard guard;
  return guard.Check(unguarded::TruncMod(x, y));
}

long double TruncDiv(long double x, long double y) {
  FloatingPointGuard guard;
  return guard.Check(unguarded::TruncDiv(x, y));
}

}  // namespace zenavo
