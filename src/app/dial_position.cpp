#include "app/dial_position.h"

#include <cmath>

namespace zenavo {

double MagneticDialPosition(double magneticAzimuth) {
  if (!(magneticAzimuth >= -360.0 && magneticAzimuth <= 720.0)) return magneticAzimuth;
  double reduced = std::fmod(magneticAzimuth, 360.0);
  if (reduced < 0) reduced += 360.0;
  // A tiny negative value plus 360 rounds to 360 itself.
  return reduced >= 360.0 ? 0.0 : reduced;
}

}  // namespace zenavo
