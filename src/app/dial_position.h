// Where the magnetic-north dial points for a magnetic azimuth of the pointing table.
#pragma once

namespace zenavo {

// The pointing table keeps the magnetic azimuth as the plain difference of the true azimuth and
// the declination, so within a declination's width of north it leaves 0..360 (350 - (-21.5) =
// 371.5), and the dial would clamp it to the top. A value in [-360, 720] is reduced into
// [0, 360) (371.5 gives 11.5, -19.5 gives 340.5); values farther out, such as those of a
// missing declination (near -9999), are returned unchanged and clamp as the dial does.
double MagneticDialPosition(double magneticAzimuth);

}  // namespace zenavo
