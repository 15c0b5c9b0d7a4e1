#include "gauges/jog_meter.h"

#include <QPainter>

#include <cmath>

#include "base/float_text.h"
#include "gauges/gauge_accessible.h"
#include "ui/geometry.h"
#include "ui/pens.h"

namespace zenavo {

namespace {

// The built-in pin: a round head on a short needle, in the indicator's blue.
QImage PinPicture() {
  QImage pin(11, 16, QImage::Format_ARGB32);
  pin.fill(Qt::transparent);
  QPainter painter(&pin);
  painter.setPen(QColor(0, 0, 128));
  painter.drawLine(5, 8, 5, 15);
  painter.setBrush(QColor(0, 0, 255));
  painter.drawEllipse(QRect(1, 0, 9, 9));
  return pin;
}

// One channel of the gradient: from + (to - from) * numerator / half, truncated toward zero.
int Blend(int from, int to, int numerator, int half) {
  return half == 0 ? from : from + (to - from) * numerator / half;
}

// The label text: the value fixed with `decimals` decimals (at most 8 significant digits),
// put in place of the "%s" of `format` ("%%" stands for "%").
std::string LabelText(double value, int decimals, const std::string& format) {
  const std::string number = FloatToStrFixed(value, 8, std::max(0, decimals));
  std::string text;
  bool substituted = false;
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size()) {
      if (format[i + 1] == '%') {
        text += '%';
        ++i;
        continue;
      }
      if (format[i + 1] == 's' && !substituted) {
        text += number;
        substituted = true;
        ++i;
        continue;
      }
    }
    text += format[i];
  }
  return text;
}

}  // namespace

TLinearIndicator::TLinearIndicator(std::function<void()> changed)
    : TOwnedSettings(std::move(changed)), bitmap_(PinPicture()) {}

void TLinearIndicator::SetBitmap(const QImage& picture) {
  Set(bitmap_, picture.isNull() ? PinPicture() : picture);
}

int JogPixel(int length, double offset, double aperture) {
  if (!(aperture > 0)) return 0;
  return static_cast<int>(std::nearbyint(length * offset / aperture));  // halves to even
}

TJogMeter::TJogMeter(QWidget* parent)
    : TGaugeImageControl(parent),
      scale_([this] { RequestRepaint(); }),
      value_([this] {
        RequestRepaint();
        if (!Loading()) NotifyAccessibleValue(*this, value_.Value());
      }) {
  BeginLoading();
  resize(160, 40);
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(8);
  setFont(font);
  scale_.SetColor(clBlack);
  scale_.SetAperture(60.0);
  scale_.SetPosition(spBefore);
  scale_.SetSmallStep(2.0);
  scale_.SetHeightMax(15);
  scale_.SetHeightMin(8);
  value_.SetShape(isLine);
  value_.SetColor(clRed);
  EndLoading();
}

void TJogMeter::SetDirection(TGaugeDirection direction) {
  if (direction == direction_) return;
  if (!Loading()) resize(height(), width());
  direction_ = direction;
  RequestRepaint();
}

void TJogMeter::SetShowCaption(bool on) { StoreAndRepaint(showCaption_, on); }
void TJogMeter::SetFromColor(TColor color) { StoreAndRepaint(fromColor_, color); }
void TJogMeter::SetToColor(TColor color) { StoreAndRepaint(toColor_, color); }
void TJogMeter::SetFontColor(TColor color) { StoreAndRepaint(fontColor_, color); }

void TJogMeter::DrawGradient(QPainter& painter) const {
  const QColor from = Resolve(fromColor_, palette());
  const QColor to = Resolve(toColor_, palette());
  const bool vertical = direction_ == gdVertical;
  const int length = vertical ? height() : width();
  const int half = Half(length);
  for (int i = 0; i < length; ++i) {
    const int numerator = i < half ? i : 2 * half - i;
    const QColor band(Blend(from.red(), to.red(), numerator, half),
                      Blend(from.green(), to.green(), numerator, half),
                      Blend(from.blue(), to.blue(), numerator, half));
    painter.fillRect(vertical ? QRect(0, i, width(), 1) : QRect(i, 0, 1, height()), band);
  }
}

void TJogMeter::DrawLabels(QPainter& painter, int length, double lo) const {
  const double step = scale_.Step();
  const double aperture = scale_.Aperture();
  const int count = static_cast<int>(std::trunc(aperture / step));
  const double first = std::trunc(lo / step) * step;
  const double offset = first - lo;
  const QFontMetrics metrics(font());
  const bool vertical = direction_ == gdVertical;
  const bool before = scale_.Position() == spBefore;
  const int baseline = before ? 0 : (vertical ? width() : height());
  for (int k = 0; k <= count; ++k) {
    const int pixel = JogPixel(length, offset + k * step, aperture);
    if (pixel < 0) continue;
    if (pixel > length) break;
    const QString label = QString::fromStdString(
        LabelText(first + k * step, scale_.Decimals(), scale_.FormatText()));
    const int w = metrics.horizontalAdvance(label), h = metrics.height();
    int left, top;
    if (vertical) {
      top = pixel - Half(h);
      left = before ? baseline + scale_.HeightMax() : baseline - scale_.HeightMax() - w;
    } else {
      left = pixel - Half(w);
      top = before ? baseline + scale_.HeightMax() : baseline - scale_.HeightMax() - h;
    }
    painter.drawText(QRect(left, top, std::max(0, width() - left), h),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, label);
  }
}

void TJogMeter::DrawTicks(QPainter& painter, int length, double lo, double step,
                          int tickLength) const {
  const double aperture = scale_.Aperture();
  const int count = static_cast<int>(std::trunc(aperture / step));
  const double firstOffset = std::trunc(lo / step) * step - lo;
  const bool vertical = direction_ == gdVertical;
  const bool before = scale_.Position() == spBefore;
  const int baseline = before ? 0 : (vertical ? width() : height());
  const int tip = before ? baseline + tickLength : baseline - tickLength;
  for (int k = 0; k <= count; ++k) {
    const int pixel = JogPixel(length, firstOffset + k * step, aperture);
    if (pixel < 0) continue;
    if (pixel > length) break;
    if (vertical)
      DrawPixelLine(painter, QPoint(baseline, pixel), QPoint(tip, pixel));
    else
      DrawPixelLine(painter, QPoint(pixel, baseline), QPoint(pixel, tip));
  }
}

void TJogMeter::DrawIndicator(QPainter& painter) const {
  const bool vertical = direction_ == gdVertical;
  const int c = Half(vertical ? height() : width());
  const QColor color = Resolve(value_.Color(), palette());
  switch (value_.Shape()) {
    case isLine:
      painter.setPen(LinePen(color));
      if (vertical)
        DrawPixelLine(painter, QPoint(width(), c), QPoint(0, c));
      else
        DrawPixelLine(painter, QPoint(c, 0), QPoint(c, height()));
      break;
    case isTriangle: {
      // A small arrowhead on the tick edge, pointing into the scale at the current value.
      const bool before = scale_.Position() == spBefore;
      const int edge = before ? 0 : (vertical ? width() - 1 : height() - 1);
      const int depth = before ? 8 : -8;
      QPoint points[3];
      if (vertical) {
        points[0] = QPoint(edge, c - 6);
        points[1] = QPoint(edge, c + 6);
        points[2] = QPoint(edge + depth, c);
      } else {
        points[0] = QPoint(c - 6, edge);
        points[1] = QPoint(c + 6, edge);
        points[2] = QPoint(c, edge + depth);
      }
      painter.setPen(LinePen(color));
      painter.setBrush(color);
      painter.drawPolygon(points, 3);
      break;
    }
    case isBitmap: {
      const QImage& pin = value_.Bitmap();
      if (vertical)
        painter.drawImage(QPoint(Half(width() - pin.width()), c - Half(pin.height())), pin);
      else
        painter.drawImage(QPoint(c - Half(pin.width()), Half(height() - pin.height())), pin);
      break;
    }
  }
}

void TJogMeter::Paint(QPainter& painter) {
  painter.fillRect(rect(), Resolve(Color(), palette()));
  DrawGradient(painter);
  painter.setFont(font());
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.setPen(Resolve(fontColor_, palette()));
  const bool vertical = direction_ == gdVertical;
  const int length = vertical ? height() : width();
  if (showCaption_) {
    const QFontMetrics metrics(font());
    const QString caption = QString::fromStdString(Caption());
    const int w = metrics.horizontalAdvance(caption), h = metrics.height();
    const bool bottom = !vertical && scale_.Position() == spBefore;
    painter.drawText(QRect(Half(width()) - Half(w), bottom ? height() - h : 0, w, h),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, caption);
  }
  const double lo = value_.Value() - scale_.Aperture() / 2;
  // Steps of zero or below would never end: such a scale draws no labels or ticks.
  const bool drawable = scale_.Visible() && scale_.Step() > 0 && scale_.SmallStep() > 0;
  if (drawable) {
    DrawLabels(painter, length, lo);
    painter.setPen(LinePen(Resolve(scale_.Color(), palette())));
    DrawTicks(painter, length, lo, scale_.SmallStep(), scale_.HeightMin());
    DrawTicks(painter, length, lo, scale_.Step(), scale_.HeightMax());
  }
  if (value_.Visible()) DrawIndicator(painter);
}

}  // namespace zenavo
