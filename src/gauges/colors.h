// Colours of the widgets: resolving a TColor from the application palette at drawing time.
#pragma once

#include <QColor>
#include <QPalette>

#include "base/color.h"

namespace zenavo {

// The RGB value now: fixed colours as they are, system colours from the palette.
QColor Resolve(TColor color, const QPalette& palette);

}  // namespace zenavo
