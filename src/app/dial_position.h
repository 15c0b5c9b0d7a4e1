// Where the magnetic-north dial points for a magnetic azimuth of the pointing table.
#pragma once

namespace zenavo {

// The pointing table writes magnetic azimuths already reduced to 0..359.99, but a cell may hold
// any text (a file's own column, an edit): beyond 0..360 the dial would clamp it to the top
// (371.5 for 350 - (-21.5)). A value in [-360, 720] is reduced into
// [0, 360) (371.5 gives 11.5, -19.5 gives 340.5); values farther out, such as those of a
// missing declination (near -9999), are returned unchanged and clamp as the dial does.
double MagneticDialPosition(double magneticAzimuth);

}  // namespace zenavo
