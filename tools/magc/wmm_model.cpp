#include "wmm_model.h"

#include <cmath>
#include <sstream>

#include "base/exceptions.h"
#include "base/text_file.h"

namespace magc {

namespace {

constexpr double kWgs84A = 6378.137;                 // km
constexpr double kWgs84F = 1 / 298.257223563;
constexpr double kReferenceRadius = 6371.2;          // km, geomagnetic reference sphere
constexpr double kDegree = 3.14159265358979323846 / 180;

bool IsEndLine(const std::string& line) {
  return line.size() >= 8 && line.find_first_not_of("9 \r") == std::string::npos;
}

}  // namespace

MagneticModel LoadModel(const std::string& path) {
  // A named pipe, a folder or a device in the file's place is refused at once, never waited on.
  std::string reason;
  const zenavo::UniqueFd fd = zenavo::OpenRegularFile(path, reason);
  if (!fd.Valid()) throw ModelError("cannot open coefficient file " + path + ": " + reason);
  std::istringstream file;
  try {
    file.str(zenavo::ReadFileBytes(fd.Get(), path));
  } catch (const zenavo::Exception& error) {
    throw ModelError(error.what());
  }
  MagneticModel model;
  std::string line;
  if (!std::getline(file, line))
    throw ModelError("coefficient file " + path + " is empty");
  {
    std::istringstream header(line);
    if (!(header >> model.Epoch >> model.Name) || model.Epoch < 1900 || model.Epoch > 2100)
      throw ModelError("coefficient file " + path + " has no valid header (epoch and name)");
  }
  std::array<std::array<bool, kMaxDegree + 1>, kMaxDegree + 1> seen{};
  int lineNumber = 1;
  bool ended = false;
  while (std::getline(file, line)) {
    ++lineNumber;
    if (IsEndLine(line)) {
      ended = true;
      break;
    }
    std::istringstream fields(line);
    int n = 0, m = 0;
    double g = 0, h = 0, gDot = 0, hDot = 0;
    std::string extra;
    if (!(fields >> n >> m >> g >> h >> gDot >> hDot) || (fields >> extra) ||
        n < 1 || n > kMaxDegree || m < 0 || m > n || seen[n][m])
      throw ModelError("coefficient file " + path + ": bad line " + std::to_string(lineNumber));
    seen[n][m] = true;
    model.G[n][m] = g;
    model.H[n][m] = h;
    model.GDot[n][m] = gDot;
    model.HDot[n][m] = hDot;
  }
  for (int n = 1; n <= kMaxDegree; ++n)
    for (int m = 0; m <= n; ++m)
      if (!seen[n][m])
        throw ModelError("coefficient file " + path + " lacks degree " + std::to_string(n) +
                         " order " + std::to_string(m));
  if (!ended) throw ModelError("coefficient file " + path + " is truncated (no end line)");
  return model;
}

MagneticElements ComputeElements(const MagneticModel& model, double latitudeDeg,
                                 double longitudeDeg, double heightKm, double decimalYear) {
  // Geodetic to geocentric spherical coordinates on WGS-84.
  const double e2 = kWgs84F * (2 - kWgs84F);
  const double lat = latitudeDeg * kDegree;
  const double sinLat = std::sin(lat), cosLat = std::cos(lat);
  const double primeVertical = kWgs84A / std::sqrt(1 - e2 * sinLat * sinLat);
  const double p = (primeVertical + heightKm) * cosLat;
  const double z = (primeVertical * (1 - e2) + heightKm) * sinLat;
  const double r = std::hypot(p, z);
  const double geocentricLat = std::asin(z / r);
  const double mu = std::sin(geocentricLat), cosPhi = std::cos(geocentricLat);

  // Schmidt semi-normalised associated Legendre functions P[n][m](sin phi') and their
  // derivatives with respect to phi'.
  double P[kMaxDegree + 1][kMaxDegree + 1] = {};
  double dP[kMaxDegree + 1][kMaxDegree + 1] = {};
  P[0][0] = 1;
  for (int m = 1; m <= kMaxDegree; ++m) {
    const double factor = m == 1 ? 1.0 : std::sqrt((2.0 * m - 1) / (2.0 * m));
    P[m][m] = factor * cosPhi * P[m - 1][m - 1];
    dP[m][m] = factor * (cosPhi * dP[m - 1][m - 1] - mu * P[m - 1][m - 1]);
  }
  for (int m = 0; m <= kMaxDegree; ++m) {
    for (int n = m + 1; n <= kMaxDegree; ++n) {
      const double previous = n >= 2 ? std::sqrt(double((n - 1) * (n - 1) - m * m)) : 0.0;
      const double older = n - 2 >= m ? P[n - 2][m] : 0.0;
      const double olderD = n - 2 >= m ? dP[n - 2][m] : 0.0;
      const double norm = std::sqrt(double(n * n - m * m));
      P[n][m] = ((2.0 * n - 1) * mu * P[n - 1][m] - previous * older) / norm;
      dP[n][m] = ((2.0 * n - 1) * (mu * dP[n - 1][m] + cosPhi * P[n - 1][m]) - previous * olderD) /
                 norm;
    }
  }

  // Field in the geocentric frame: north, east, down.
  const double dt = decimalYear - model.Epoch;
  const double lon = longitudeDeg * kDegree;
  double north = 0, east = 0, down = 0;
  double ratio = std::pow(kReferenceRadius / r, 3);  // (a/r)^(n+2) for n = 1
  for (int n = 1; n <= kMaxDegree; ++n, ratio *= kReferenceRadius / r) {
    for (int m = 0; m <= n; ++m) {
      const double g = model.G[n][m] + dt * model.GDot[n][m];
      const double h = model.H[n][m] + dt * model.HDot[n][m];
      const double cosM = std::cos(m * lon), sinM = std::sin(m * lon);
      const double cosine = g * cosM + h * sinM;
      north -= ratio * cosine * dP[n][m];
      east += ratio * m * (g * sinM - h * cosM) * P[n][m];
      down -= (n + 1) * ratio * cosine * P[n][m];
    }
  }
  east /= cosPhi;

  // Rotate into the geodetic frame.
  const double tilt = geocentricLat - lat;
  MagneticElements result{};
  result.North = north * std::cos(tilt) - down * std::sin(tilt);
  result.East = east;
  result.Down = north * std::sin(tilt) + down * std::cos(tilt);
  result.Horizontal = std::hypot(result.North, result.East);
  result.Total = std::hypot(result.Horizontal, result.Down);
  result.Declination = std::atan2(result.East, result.North) / kDegree;
  result.Inclination = std::atan2(result.Down, result.Horizontal) / kDegree;
  return result;
}

}  // namespace magc
