#include "base/fp_guard.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "base/exceptions.h"

namespace zenavo {
namespace {

// Values the compiler cannot fold, so the operations really run.
volatile long double zero = 0;
volatile long double one = 1;
volatile long double huge = 1e4000L;

TEST(FloatingPointGuard, TurnsFlagsIntoTheMatchingErrors) {
  {
    FloatingPointGuard guard;
    EXPECT_THROW(guard.Check(zero / zero), EInvalidOp);
  }
  {
    FloatingPointGuard guard;
    EXPECT_THROW(guard.Check(one / zero), EZeroDivide);
  }
  {
    FloatingPointGuard guard;
    EXPECT_THROW(guard.Check(huge * huge), EOverflow);
  }
  {
    FloatingPointGuard guard;
    EXPECT_THROW(guard.Check(std::sqrt(-one)), EInvalidOp);
  }
  try {
    FloatingPointGuard guard;
    guard.Check(one / zero);
  } catch (const EMathError& e) {
    EXPECT_EQ(e.Message(), "Floating point division by zero");
  }
}

TEST(FloatingPointGuard, UnderflowAndInexactStaySilent) {
  FloatingPointGuard guard;
  volatile long double tiny = 1e-4000L;
  EXPECT_NO_THROW(guard.Check(tiny * tiny));
  EXPECT_NO_THROW(guard.Check(one / 3));
}

TEST(FloatingPointGuard, EarlierFlagsDoNotCountButAreGivenBack) {
  FloatingPointGuard outer;
  volatile long double bad = zero / zero;  // raised before the inner guard
  (void)bad;
  {
    FloatingPointGuard inner;
    EXPECT_NO_THROW(inner.Check(one + one));
  }
  EXPECT_THROW(outer.Check(one), EInvalidOp);
  std::feclearexcept(FE_ALL_EXCEPT);
}

}  // namespace
}  // namespace zenavo
