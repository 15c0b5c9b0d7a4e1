// Resolving a TColor (base/color.h) for drawing: system colours come from the palette at the
// moment of drawing, so a change of the desktop's colour scheme shows at the next paint.
#pragma once

#include <QColor>
#include <QPalette>

#include "base/color.h"

namespace zenavo {

// The RGB value now: fixed colours as they are, system colours from `palette` (a widget's
// palette, which follows the application palette).
QColor Resolve(TColor color, const QPalette& palette);

}  // namespace zenavo
