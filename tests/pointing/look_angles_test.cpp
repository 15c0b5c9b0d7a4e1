#include "pointing/look_angles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "support/expect_error.h"

namespace zenavo {
namespace {

using testing::ExpectError;

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

// Saemundsson's refraction for a true altitude h (degrees), 10 degrees C and 1010 hPa, as given
// by Meeus, "Astronomical Algorithms", ch. 16: R = 1.02' / tan(h + 10.3 / (h + 5.11)).
double SaemundssonRefractionDeg(double h) {
  return 1.02 / std::tan((h + 10.3 / (h + 5.11)) * M_PI / 180) / 60;
}

TEST(RefractedElevation, FollowsSaemundssonsFormula) {
  constexpr double kStatedAgreementDeg = 0.011;  // as look_angles.h states it
  for (int hundredths = -50; hundredths <= 9000; hundredths += 5) {
    const double e0 = hundredths / 100.0;
    const double lift = double(RefractedElevation(e0)) - e0;
    const double difference = std::fabs(lift - SaemundssonRefractionDeg(e0));
    if (difference > kStatedAgreementDeg)
      ADD_FAILURE() << "E0 = " << e0 << ": lifted by " << lift << ", Saemundsson "
                    << SaemundssonRefractionDeg(e0);
  }
}

TEST(PolarizationSkew, FailsOnTheEquator) {
  constexpr const char* kZeroDivide = "Floating point division by zero";
  ExpectError<EZeroDivide>([] { PolarizationSkew(-50, 0, -46.63L); }, kZeroDivide);
  ExpectError<EZeroDivide>([] { PolarizationSkew(-40, 0, -46.63L); }, kZeroDivide);
  ExpectError<EInvalidOp>([] { PolarizationSkew(-46.63L, 0, -46.63L); },
                          "Invalid floating point operation");
}

// An independent check: the site on the ellipsoid in Earth-centred coordinates, the satellite on
// the geostationary ring, and the line of sight turned into east/north/up about the geodetic
// vertical (the same Earth and ring sizes as the production code).
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

struct Site {
  double latitude, longitude, altitudeKm;
};

// The shipped cities (latitude, longitude, altitude in metres in columns 2 to 4) and the
// distinct satellite positions (column 1), read straight from the data files.
std::vector<std::vector<std::string>> CsvRows(const std::string& name) {
  std::ifstream file(std::string(ZENAVO_DATA_DIR) + "/" + name);
  std::vector<std::vector<std::string>> rows;
  std::string line;
  std::getline(file, line);  // the header row
  while (std::getline(file, line)) {
    std::vector<std::string> fields;
    std::stringstream fieldStream(line);
    for (std::string field; std::getline(fieldStream, field, ',');) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

TEST(LookAngles, AgreeWithAnEllipsoidalComputationOverTheShippedData) {
  std::vector<Site> cities;
  for (const auto& row : CsvRows("municipios.csv"))
    cities.push_back({std::stod(row.at(2)), std::stod(row.at(3)), std::stod(row.at(4)) / 1000});
  std::set<double> positions;
  for (const auto& row : CsvRows("satelite.csv")) positions.insert(std::stod(row.at(1)));
  ASSERT_GT(cities.size(), 5000u);
  ASSERT_GT(positions.size(), 40u);

  constexpr double kStatedAzimuthAgreementDeg = 0.03;  // as look_angles.h states it
  int compared = 0;
  for (const Site& city : cities) {
    for (double satellite : positions) {
      const double elevation =
          double(SatelliteElevation(satellite, city.latitude, city.longitude, city.altitudeKm));
      if (elevation <= 0) continue;
      ++compared;
      const Enu reference =
          IndependentLookAngles(satellite, city.latitude, city.longitude, city.altitudeKm);
      double azimuthError = std::fabs(
          double(SatelliteAzimuth(satellite, city.latitude, city.longitude, city.altitudeKm)) -
          reference.azimuth);
      if (azimuthError > 180) azimuthError = 360 - azimuthError;
      // The elevation differs from the geometric one by the refraction only, and by the
      // altitude's small share that the polar component leaves out.
      const double expected = double(RefractedElevation(reference.elevation));
      if (azimuthError > kStatedAzimuthAgreementDeg || std::fabs(elevation - expected) > 0.005)
        ADD_FAILURE() << "city " << city.latitude << "," << city.longitude << " satellite "
                      << satellite << ": azimuth off by " << azimuthError << ", elevation "
                      << elevation << " against " << expected;
    }
  }
  EXPECT_GT(compared, 200000);
}

}  // namespace
}  // namespace zenavo
