// The pen of the widgets' lines and outlines.
#pragma once

#include <QColor>
#include <QPen>

namespace zenavo {

// One logical pixel wide (two device pixels on a display scaled to 200 %), with flat caps so
// that a line leaves out its last point.
inline QPen LinePen(const QColor& color) {
  QPen pen(color, 1);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

}  // namespace zenavo
