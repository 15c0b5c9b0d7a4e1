// The stored settings of the main window's gauges: the two compass dials and the elevation
// scale, applied inside each gauge's loading bracket.
#pragma once

#include <string>

#include "gauges/angular_meter.h"
#include "gauges/jog_meter.h"

namespace zenavo {

// A 361 x 361 compass dial: 0 at the top, 90 at the right, zones green (right half) and blue.
void ApplyCompassDialSettings(TAngularMeter& dial, const std::string& caption);

// The 40 x 362 vertical elevation scale: 60 degrees visible, long ticks every 5, short every 1.
void ApplyElevationScaleSettings(TJogMeter& scale);

}  // namespace zenavo
