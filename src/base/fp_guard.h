// Floating-point error guard: the pointing maths reports invalid operations, divisions by zero
// and overflows as exceptions instead of returning NaN or infinity. Hardware traps stay off;
// the guard reads the status flags after the computation.
#pragma once

namespace zenavo {

class FloatingPointGuard {
 public:
  // Sets aside the error flags already raised and clears them, so that only this computation
  // counts.
  FloatingPointGuard();
  // Gives the set-aside flags back, so an enclosing guard still sees what happened before it.
  ~FloatingPointGuard();
  FloatingPointGuard(const FloatingPointGuard&) = delete;
  FloatingPointGuard& operator=(const FloatingPointGuard&) = delete;

  // Throws EInvalidOp, EZeroDivide or EOverflow when the matching flag was raised since the
  // guard was made. `result` is the computed value; taking it makes sure the computation has
  // finished before the flags are read.
  template <class T>
  T Check(T result) const {
    asm volatile("" : : "m"(result) : "memory");
    RaiseOnFlags();
    return result;
  }

 private:
  void RaiseOnFlags() const;
  int setAside_;
};

}  // namespace zenavo
