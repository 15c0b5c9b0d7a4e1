#include "pointing/look_angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "base/exceptions.h"

namespace zenavo {
namespace {

constexpr double kTwoDecimals = 0.005;

struct LookCase {
  const char* name;
  long double satellite, latitude, longitude, altitudeKm;
  double azimuth, elevation, skew;
};

class LookAngles : public ::testing::TestWithParam<LookCase> {};

TEST_P(LookAngles, MatchTheWorkedExamples) {
  const LookCase& c = GetParam();
  if (!std::isnan(c.azimuth)) {
    EXPECT_NEAR(double(SatelliteAzimuth(c.satellite, c.latitude, c.longitude, c.altitudeKm)),
                c.azimuth, kTwoDecimals);
  }
  if (!std::isnan(c.elevation)) {
    EXPECT_NEAR(double(SatelliteElevation(c.satellite, c.latitude, c.longitude, c.altitudeKm)),
                c.elevation, kTwoDecimals);
  }
  if (!std::isnan(c.skew)) {
    EXPECT_NEAR(double(PolarizationSkew(c.satellite, c.latitude, c.longitude)), c.skew,
                kTwoDecimals);
  }
}

constexpr double kUnchecked = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Sites, LookAngles,
    ::testing::Values(
        LookCase{"SaoPaulo70W", -70, -23.55L, -46.63L, 0.76L, 312.76, 51.98, -42.31},
        LookCase{"SaoPauloMeridian", -46.63L, -23.55L, -46.63L, 0.76L, 0, kUnchecked, 0},
        LookCase{"NorthernMeridian", -46.63L, 23.55L, -46.63L, 0, 180, kUnchecked, kUnchecked},
        LookCase{"EquatorWest", -50, 0, -46.63L, 0, 270, kUnchecked, kUnchecked},
        LookCase{"EquatorEast", -40, 0, -46.63L, 0, 90, kUnchecked, kUnchecked},
        LookCase{"EquatorMeridian", -46.63L, 0, -46.63L, 0, 180, kUnchecked, kUnchecked},
        LookCase{"Horizon80West", -126.63L, -23.55L, -46.63L, 0, kUnchecked, 0.89, kUnchecked},
        LookCase{"Horizon81West", -127.63L, -23.55L, -46.63L, 0, kUnchecked, 0.11, kUnchecked},
        LookCase{"Horizon82West", -128.63L, -23.55L, -46.63L, 0, kUnchecked, -0.90, kUnchecked},
        LookCase{"FarSide85West", -131.63L, -23.55L, -46.63L, 0, kUnchecked, -99, kUnchecked},
        LookCase{"FarSide120West", -166.63L, -23.55L, -46.63L, 0, kUnchecked, -99, kUnchecked},
        LookCase{"OppositeSide", 133.37L, -23.55L, -46.63L, 0, kUnchecked, -99, kUnchecked}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RefractedElevation, FollowsThePolynomialAndTheCotangentLaw) {
  const struct {
    long double e0;
    double expected;
  } cases[] = {{0, 0.492239},      {5, 5.16038},       {10.2L, 10.289863}, {30, 30.028007},
               {45, 45.01617},     {90, 90},           {-0.589L, -0.000956}, {-1, -0.480816}};
  for (const auto& c : cases)
    EXPECT_NEAR(double(RefractedElevation(c.e0)), c.expected, 5e-6) << "E0 = " << double(c.e0);
}

TEST(PolarizationSkew, FailsOnTheEquator) {
  EXPECT_THROW(PolarizationSkew(-50, 0, -46.63L), EZeroDivide);
  EXPECT_THROW(PolarizationSkew(-40, 0, -46.63L), EZeroDivide);
  EXPECT_THROW(PolarizationSkew(-46.63L, 0, -46.63L), EInvalidOp);
}

// An independent check: the site on the WGS-84-like ellipsoid in Earth-centred coordinates, the
// satellite on the geostationary ring, and the line of sight turned into east/north/up.
struct Enu {
  double azimuth, elevation;
};

Enu IndependentLookAngles(double satLonDeg, double latDeg, double lonDeg, double altKm) {
  const double a = 6378.14, f = 1 / 298.257, e2 = f * (2 - f), ring = 42164.57;
  const double rad = M_PI / 180, lat = latDeg * rad, lon = lonDeg * rad, sat = satLonDeg * rad;
  const double n = a / std::sqrt(1 - e2 * std::sin(lat) * std::sin(lat));
  const double site[3] = {(n + altKm) * std::cos(lat) * std::cos(lon),
                          (n + altKm) * std::cos(lat) * std::sin(lon),
                          (n * (1 - e2) + altKm) * std::sin(lat)};
  const double d[3] = {ring * std::cos(sat) - site[0], ring * std::sin(sat) - site[1], -site[2]};
  const double east = -std::sin(lon) * d[0] + std::cos(lon) * d[1];
  const double north = -std::sin(lat) * std::cos(lon) * d[0] -
                       std::sin(lat) * std::sin(lon) * d[1] + std::cos(lat) * d[2];
  const double up = std::cos(lat) * std::cos(lon) * d[0] + std::cos(lat) * std::sin(lon) * d[1] +
                    std::sin(lat) * d[2];
  double azimuth = std::atan2(east, north) / rad;
  if (azimuth < 0) azimuth += 360;
  return {azimuth, std::atan2(up, std::hypot(east, north)) / rad};
}

TEST(LookAngles, AgreeWithAnEarthCentredComputation) {
  const struct {
    double lat, lon, alt;
  } sites[] = {{-23.55, -46.63, 0.76}, {-15.78, -47.93, 1.17}, {-3.12, -60.02, 0.09},
               {-30.03, -51.23, 0.01}, {-8.05, -34.9, 0.0},    {12.0, -40.0, 0.5}};
  for (const auto& s : sites) {
    for (double satellite = -119; satellite <= -5; satellite += 6) {
      const Enu reference = IndependentLookAngles(satellite, s.lat, s.lon, s.alt);
      if (reference.elevation < 3) continue;  // refraction near the horizon is not the point here
      SCOPED_TRACE(testing::Message() << "site " << s.lat << "," << s.lon << " sat " << satellite);
      // Spherical-Earth azimuth against the ellipsoid: a few hundredths of a degree.
      double azimuthError = std::fabs(double(SatelliteAzimuth(satellite, s.lat, s.lon, s.alt)) -
                                      reference.azimuth);
      if (azimuthError > 180) azimuthError = 360 - azimuthError;
      EXPECT_LT(azimuthError, 0.25);
      // The elevation differs from the geometric one by the refraction only (and the altitude's
      // tiny share of the polar component).
      const double expected = double(RefractedElevation(reference.elevation));
      EXPECT_NEAR(double(SatelliteElevation(satellite, s.lat, s.lon, s.alt)), expected, 0.01);
    }
  }
}

}  // namespace
}  // namespace zenavo
