// The pen of the widgets' lines and outlines, and their one-pixel lines.
#pragma once

#include <QColor>
#include <QPainter>
#include <QPen>

namespace zenavo {

// One logical pixel wide (two device pixels on a display scaled to 200 %), with flat caps so
// that a line leaves out one of its end points.
inline QPen LinePen(const QColor& color) {
  QPen pen(color, 1);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

// A line from `from` to `to` with the painter's pen (LinePen), covering at any device pixel
// ratio the logical pixels it covers at ratio 1: from the smaller end up to but not including
// the larger. At ratio 1 a one-pixel line lies right of and below its points; above 1 a pen is a
// band centred on its line, so the line is moved half a pixel across, onto those pixels.
inline void DrawPixelLine(QPainter& painter, QPoint from, QPoint to) {
  if (painter.device()->devicePixelRatio() == 1) {
    painter.drawLine(from, to);
    return;
  }
  const QPointF across(from.y() == to.y() ? 0 : 0.5, from.x() == to.x() ? 0 : 0.5);
  painter.drawLine(QPointF(from) + across, QPointF(to) + across);
}

}  // namespace zenavo
