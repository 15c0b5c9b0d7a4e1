#include "base/fp_guard.h"

#include <gtest/gtest.h>

#include <cfenv>
#include <cmath>

#include "base/exceptions.h"
#include "support/expect_error.h"

namespace zenavo {
namespace {

using testing::ExpectError;

// Values the compiler cannot fold, so the operations really run.
volatile long double zero = 0;
volatile long double one = 1;
volatile long double huge = 1e4000L;

TEST(FloatingPointGuard, TurnsFlagsIntoTheMatchingErrors) {
  const auto checked = [](auto computation) {
    return [computation] {
      FloatingPointGuard guard;
      guard.Check(computation());
    };
  };
  constexpr const char* kInvalid = "Invalid floating point operation";
  ExpectError<EInvalidOp>(checked([] { return zero / zero; }), kInvalid);
  ExpectError<EInvalidOp>(checked([] { return std::sqrt(-one); }), kInvalid);
  ExpectError<EZeroDivide>(checked([] { return one / zero; }), "Floating point division by zero");
  ExpectError<EOverflow>(checked([] { return huge * huge; }), "Floating point overflow");
}

TEST(FloatingPointGuard, AnErrorIsReportedOnce) {
  FloatingPointGuard guard;
  ExpectError<EZeroDivide>([&] { guard.Check(one / zero); }, "Floating point division by zero");
  // The flag went with the exception: the next check of the same guard passes.
  EXPECT_NO_THROW(guard.Check(one + one));
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

TEST(FloatingPointGuard, AnInnerGuardThatIsNotCheckedLeavesItsErrorToTheOuter) {
  FloatingPointGuard outer;
  {
    FloatingPointGuard inner;
    volatile long double bad = one / zero;
    (void)bad;
  }
  ExpectError<EZeroDivide>([&] { outer.Check(one); }, "Floating point division by zero");
}

}  // namespace
}  // namespace zenavo
