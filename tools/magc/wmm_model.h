// The World Magnetic Model: spherical-harmonic coefficients and the synthesis of the seven
// field elements at a site and date.
//
// Conventions: geodetic latitude and longitude on the WGS-84 ellipsoid in degrees, north and
// east positive; height in kilometres above the ellipsoid; time as a decimal year. D is the
// declination in degrees east of true north (a compass needle points D degrees clockwise of
// true north; west is negative); I the inclination in degrees, positive when the field points
// down (northern magnetic hemisphere); X, Y, Z the north, east and downward components, H the
// horizontal and F the total intensity, all in nanotesla.
//
// Accuracy of this implementation against NOAA's ten published WMM2025 test values
// (data/WMM2025_test_values.csv, checked by tests/tools/magc_test.cpp): X, Y, Z, H and F agree
// to within 0.001 nT (worst measured 0.00036 nT); D and I agree with the published values,
// which are rounded to 0.01 degree, to within 0.0051 degree (worst measured 0.0050 degree, the
// rounding itself), and with the D and I computed from the published X, Y, Z to within 1e-6
// degree (worst measured 6e-7 degree). That is agreement with the model; the model's own
// uncertainty against the real field is far larger (NOAA's error model: a few tenths of a
// degree in D, growing as 1/H towards the magnetic poles, and over a hundred nT in F).
#pragma once

#include <array>
#include <stdexcept>
#include <string>

namespace magc {

inline constexpr int kMaxDegree = 12;

// Coefficients of one model, indexed [n][m] for degree n = 1..12, order m = 0..n.
struct MagneticModel {
  std::string Name;        // e.g. "WMM-2025"
  double Epoch = 0;        // decimal year of the main-field coefficients
  std::array<std::array<double, kMaxDegree + 1>, kMaxDegree + 1> G{}, H{};        // nT
  std::array<std::array<double, kMaxDegree + 1>, kMaxDegree + 1> GDot{}, HDot{};  // nT/year
};

// Raised when a coefficient file cannot be read or is not a complete model.
class ModelError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads a coefficient file in NOAA's layout: a header "EPOCH NAME DATE", one line
// "n m g h gdot hdot" for every degree n = 1..12 and order m = 0..n, then a line of 9s.
// Raises ModelError with what is wrong (missing file, bad header, missing, repeated or
// malformed line).
MagneticModel LoadModel(const std::string& path);

// The seven elements of the field.
struct MagneticElements {
  double Declination;  // D, degrees east of true north
  double Inclination;  // I, degrees, positive downward
  double Horizontal;   // H, nT
  double North;        // X, nT
  double East;         // Y, nT
  double Down;         // Z, nT
  double Total;        // F, nT
};

// The field at geodetic `latitudeDeg` (north positive), `longitudeDeg` (east positive),
// `heightKm` above the WGS-84 ellipsoid, at `decimalYear`, with the secular variation applied
// linearly from the model's epoch.
MagneticElements ComputeElements(const MagneticModel& model, double latitudeDeg,
                                 double longitudeDeg, double heightKm, double decimalYear);

}  // namespace magc
