// Pixel geometry as the widgets state it: rectangles given by left, top, right and bottom with
// right and bottom exclusive (QRect's right() and bottom() are inclusive), and half lengths
// taken by integer division.
#pragma once

#include <QRect>

namespace zenavo {

// The box (left, top)-(right, bottom), right and bottom exclusive: it covers the pixel columns
// left..right-1 and the pixel rows top..bottom-1.
inline QRect Box(int left, int top, int right, int bottom) {
  return QRect(left, top, right - left, bottom - top);
}

// Half of an integer length: integer division by 2, rounded toward zero.
inline int Half(int length) { return length / 2; }

}  // namespace zenavo
