// Reading a gauge's frame the way an installer reads it: is there ink (text or line pixels)
// in a box, and none around it. Boxes come from the geometry and from QFontMetrics of the
// font the gauge draws with; glyph shapes are never compared, since fonts differ between
// machines.
#pragma once

#include <QColor>
#include <QImage>
#include <QRegion>

#include <functional>

namespace zenavo::testing {

// How many pixels of `area` (clipped to the image) satisfy `is`.
inline int CountPixels(const QImage& image, const QRegion& area,
                       const std::function<bool(QPoint, QColor)>& is) {
  int count = 0;
  for (const QRect& rect : area.intersected(image.rect())) {
    for (int y = rect.top(); y <= rect.bottom(); ++y)
      for (int x = rect.left(); x <= rect.right(); ++x)
        if (is(QPoint(x, y), image.pixelColor(x, y))) ++count;
  }
  return count;
}

// The pixels within `margin` of `box` but outside it.
inline QRegion Surround(const QRect& box, int margin) {
  return QRegion(box.adjusted(-margin, -margin, margin, margin)) - QRegion(box);
}

// `box` in the device pixels of an image drawn at `ratio`.
inline QRect DevicePixels(const QRect& box, int ratio) {
  return QRect(box.left() * ratio, box.top() * ratio, box.width() * ratio, box.height() * ratio);
}

}  // namespace zenavo::testing
