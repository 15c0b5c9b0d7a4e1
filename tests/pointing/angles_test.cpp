#include "pointing/angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

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

TEST(UnguardedFloorAndTrunc, MatchTheLibrary) {
  std::vector<long double> values = {-0.5L, 0.5L, -1, 1, 2.9999999L, -2.9999999L,
                                     0x1p62L + 0.5L, -(0x1p62L + 0.5L), 0x1p62L - 0.25L,
                                     -(0x1p62L - 0.25L), 1e30L, -1e30L, 0x1p63L, 12345.5L};
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> spread(-1e7, 1e7);
  for (int i = 0; i < 100000; ++i) values.push_back(spread(random) / (1 + i % 1000));
  for (long double v : values) {
    ASSERT_EQ(unguarded::Floor(v), std::floor(v)) << double(v);
    ASSERT_EQ(unguarded::Trunc(v), std::trunc(v)) << double(v);
  }
  EXPECT_TRUE(std::isnan(unguarded::Floor(std::numeric_limits<long double>::quiet_NaN())));
}

TEST(RadiansAndDegrees, ConvertBothWays) {
  EXPECT_EQ(Radians(180), kPi);
  EXPECT_EQ(Degrees(kPi), 180);
  EXPECT_NEAR(static_cast<double>(Degrees(Radians(-46.63L))), -46.63, 1e-15);
}

}  // namespace
}  // namespace zenavo
