#include "base/fp_guard.h"

#include <cfenv>

#include "base/exceptions.h"

namespace zenavo {

namespace {
// The flags that become errors. Underflow and inexact results stay silent and are left alone.
constexpr int kWatched = FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW;
}  // namespace

// Reading the flags is cheap; clearing and raising them rewrite the whole floating-point
// environment, so they happen only when a watched flag is actually set.
FloatingPointGuard::FloatingPointGuard() : setAside_(std::fetestexcept(kWatched)) {
  if (setAside_ != 0) std::feclearexcept(kWatched);
}

FloatingPointGuard::~FloatingPointGuard() {
  if (setAside_ != 0) std::feraiseexcept(setAside_);
}

void FloatingPointGuard::RaiseOnFlags() const {
  const int raised = std::fetestexcept(kWatched);
  if (raised == 0) return;
  // The error is reported by the exception; the flag is consumed with it.
  std::feclearexcept(kWatched);
  if (raised & FE_INVALID) throw EInvalidOp();
  if (raised & FE_DIVBYZERO) throw EZeroDivide();
  throw EOverflow();
}

}  // namespace zenavo
