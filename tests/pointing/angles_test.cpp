#include "pointing/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/exceptions.h"

namespace zenavo {
namespace {

struct BinaryCase {
  long double x, y, expected;
};

TEST(Normalize360, ReducesIntoOneTurn) {
  const BinaryCase cases[] = {{360, 0, 0},   {-90, 0, 270},   {725, 0, 5},
                              {0, 0, 0},     {-720, 0, 0},    {359.5L, 0, 359.5L},
                              {-0.25L, 0, 359.75L}, {1e9L, 0, 280}};
  for (const auto& c : cases) EXPECT_EQ(Normalize360(c.x), c.expected) << "x = " << double(c.x);
}

TEST(Normalize360, FailsWhenTheTurnCountLeavesThirtyTwoBits) {
  EXPECT_THROW(Normalize360(1e12L), EInvalidOp);
  EXPECT_THROW(Normalize360(std::numeric_limits<long double>::quiet_NaN()), EInvalidOp);
  EXPECT_THROW(Normalize360(-std::numeric_limits<long double>::infinity()), EInvalidOp);
}

TEST(TruncModAndTruncDiv, RoundTowardZero) {
  const BinaryCase mods[] = {{370, 360, 10}, {-370, 360, -10}, {7, 4, 3}, {-7, 4, -3}};
  for (const auto& c : mods) EXPECT_EQ(TruncMod(c.x, c.y), c.expected);
  const BinaryCase divs[] = {{7, 4, 1}, {-7, 4, -1}, {21, 12, 1}, {275, 9, 30}, {8, 4, 2}};
  for (const auto& c : divs) EXPECT_EQ(TruncDiv(c.x, c.y), c.expected);
}

TEST(TruncModAndTruncDiv, ZeroDivisorIsAnArithmeticError) {
  EXPECT_THROW(TruncMod(5, 0), EMathError);
  EXPECT_THROW(TruncDiv(5, 0), EMathError);
}

TEST(RadiansAndDegrees, ConvertBothWays) {
  EXPECT_EQ(Radians(180), kPi);
  EXPECT_EQ(Degrees(kPi), 180);
  EXPECT_NEAR(static_cast<double>(Degrees(Radians(-46.63L))), -46.63, 1e-15);
}

}  // namespace
}  // namespace zenavo
