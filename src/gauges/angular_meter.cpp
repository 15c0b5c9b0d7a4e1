#include "gauges/angular_meter.h"

#include <QPainter>
#include <QPolygon>

#include <cmath>
#include <cstdio>

#include "base/exceptions.h"
#include "gauges/gauge_accessible.h"
#include "base/format_settings.h"
#include "ui/geometry.h"
#include "ui/pens.h"

namespace zenavo {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The point at `angle` degrees (clockwise from twelve o'clock) and distance `r` from the
// centre, each offset cut toward zero.
QPoint DialPoint(int cx, int cy, double angle, double r) {
  return QPoint(cx + static_cast<int>(std::trunc(r * std::sin(angle * kPi / 180))),
                cy - static_cast<int>(std::trunc(r * std::cos(angle * kPi / 180))));
}

// A pie slice of `box` running clockwise from dial angle `from` to dial angle `to`.
void DrawPie(QPainter& painter, const QRect& box, double from, double to, const QColor& color) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  const double sweep = to - from;
  if (sweep >= 360) {
    painter.drawEllipse(box);
    return;
  }
  // Qt counts sixteenths of a degree counter-clockwise from three o'clock.
  painter.drawPie(box, static_cast<int>(std::lround((90 - from) * 16)),
                  -static_cast<int>(std::lround(sweep * 16)));
}

void FillCircle(QPainter& painter, const QRect& box, const QColor& color) {
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  painter.drawEllipse(box);
}

// "%.<decimals>f" of `value` with the locale's decimal separator.
std::string LabelText(double value, int decimals) {
  char buffer[128];
  std::snprintf(buffer, sizeof buffer, "%.*f", std::min(decimals, 60), value);
  std::string text = buffer;
  for (char& c : text)
    if (c == '.' || c == ',') c = CurrentFormatSettings().DecimalSeparator;
  return text;
}

}  // namespace

TAngularMeter::TAngularMeter(QWidget* parent) : TGaugeImageControl(parent) {
  BeginLoading();
  resize(310, 250);
  labelsFont_.setPixelSize(11);
  QFont font = this->font();
  font.setPixelSize(13);
  setFont(font);
  EndLoading();
}

template <class T>
void TAngularMeter::StoreAndRebuild(T& field, T value) {
  if (Store(field, value)) Rebuild();
}

void TAngularMeter::SetMaxValue(double value) {
  if (value == maxValue_) return;
  if (!Loading() && value < minValue_) throw EGaugeError();
  maxValue_ = value;
  if (maxValue_ < position_) position_ = maxValue_;
  Rebuild();
}

void TAngularMeter::SetMinValue(double value) {
  if (value == minValue_) return;
  if (!Loading() && value > maxValue_) throw EGaugeError();
  minValue_ = value;
  if (minValue_ > position_) position_ = minValue_;
  Rebuild();
}

void TAngularMeter::SetPosition(double value) {
  const double clamped = value < minValue_ ? minValue_ : (value > maxValue_ ? maxValue_ : value);
  if (clamped == position_) return;
  position_ = clamped;
  RequestRepaint();
  if (!Loading()) NotifyAccessibleValue(*this, position_);
  if (OnChange) OnChange(*this);
}

void TAngularMeter::SetDecimals(int value) { StoreAndRebuild(decimals_, std::max(0, value)); }
void TAngularMeter::SetAngle(int value) { StoreAndRebuild(angle_, value); }
void TAngularMeter::SetAngleOffset(int value) {
  StoreAndRebuild(angleOffset_, std::clamp(value, 0, 360));
}
void TAngularMeter::SetRadius(int value) { StoreAndRebuild(radius_, value); }
void TAngularMeter::SetSpacing(int value) { StoreAndRebuild(spacing_, value); }
void TAngularMeter::SetTicks(int value) { StoreAndRebuild(ticks_, std::max(0, value)); }
void TAngularMeter::SetTicksMin(int value) { StoreAndRebuild(ticksMin_, value); }
void TAngularMeter::SetTicksMax(int value) { StoreAndRebuild(ticksMax_, value); }
void TAngularMeter::SetTicksEnlarge(int value) {
  StoreAndRebuild(ticksEnlarge_, std::max(0, value));
}
void TAngularMeter::SetTicksColor(TColor value) { StoreAndRebuild(ticksColor_, value); }
void TAngularMeter::SetColorZone(int index, TColor value) {
  if (index >= 1 && index <= 3) StoreAndRebuild(zones_[index - 1], value);
}

void TAngularMeter::SetPercent1(int value) {
  value = std::clamp(value, 0, 100);
  if (!Loading() && value + percent2_ > 100) value = 100 - percent2_;
  StoreAndRebuild(percent1_, value);
}

void TAngularMeter::SetPercent2(int value) {
  value = std::clamp(value, 0, 100);
  if (!Loading() && value + percent1_ > 100) value = 100 - percent1_;
  StoreAndRebuild(percent2_, value);
}

void TAngularMeter::SetLabels(int value) { StoreAndRebuild(labels_, value); }
void TAngularMeter::SetLabelsOffset(int value) { StoreAndRebuild(labelsOffset_, value); }
void TAngularMeter::SetNeedleLength(int value) { StoreAndRepaint(needleLength_, value); }
void TAngularMeter::SetNeedleBaseWidth(int value) { StoreAndRepaint(needleBaseWidth_, value); }
void TAngularMeter::SetNeedleColor(TColor value) { StoreAndRepaint(needleColor_, value); }
void TAngularMeter::SetCenterDotColor(TColor value) { StoreAndRepaint(centerDotColor_, value); }
void TAngularMeter::SetCenterDotWidth(int value) { StoreAndRepaint(centerDotWidth_, value); }

void TAngularMeter::SetLabelsFont(const QFont& font, TColor color) {
  if (font == labelsFont_ && color == labelsFontColor_) return;
  labelsFont_ = font;
  labelsFontColor_ = color;
  Rebuild();
}

void TAngularMeter::SetFontColor(TColor value) { StoreAndRebuild(fontColor_, value); }

void TAngularMeter::Loaded() { Rebuild(); }

void TAngularMeter::AppearanceChanged() { Rebuild(); }

TAngularMeter::Geometry TAngularMeter::DialGeometry() const {
  const int w = radius_ < 0 ? width() : 2 * radius_;
  const int h = radius_ < 0 ? height() : 2 * radius_;
  const int cx = Half(w), cy = Half(h);
  const int b = radius_ < 0 ? std::min(cx, cy) - spacing_ : radius_ - spacing_;
  return Geometry{cx, cy, b};
}

void TAngularMeter::Rebuild() {
  if (Loading()) return;
  BuildDialImage();
  RequestRepaint();
}

void TAngularMeter::BuildDialImage() {
  ++rebuilds_;
  const QPalette& pal = palette();
  const QColor background = Resolve(Color(), pal);
  dial_ = NewImage();
  dial_.fill(background);
  QPainter painter(&dial_);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const auto [cx, cy, b] = DialGeometry();
  const int start = angle_ + 180;
  const int end = start + angleOffset_;

  // The zone ring: pie slices, then the hub over their middle.
  const double z1 = percent1_ > 0 ? start + angleOffset_ * percent1_ * 0.01 : start;
  const double z2 = percent2_ > 0 ? z1 + angleOffset_ * percent2_ * 0.01 : z1;
  const int outer = b + ticksMax_;
  const QRect ring = Box(cx - outer, cy - outer, cx + outer, cy + outer);
  if (percent1_ > 0) DrawPie(painter, ring, start, z1, Resolve(zones_[0], pal));
  if (percent2_ > 0) DrawPie(painter, ring, z1, z2, Resolve(zones_[1], pal));
  if (percent1_ + percent2_ < 100) DrawPie(painter, ring, z2, end, Resolve(zones_[2], pal));
  const int inset = ticksMax_ + 2;
  FillCircle(painter, ring.adjusted(inset, inset, -inset, -inset), background);

  // Ticks: every TicksEnlarge-th is long, the first always.
  if (ticks_ >= 1) {
    painter.setPen(LinePen(Resolve(ticksColor_, pal)));
    const double step = static_cast<double>(angleOffset_) / ticks_;
    for (int k = 0; k <= ticks_; ++k) {
      // TicksEnlarge 0 would divide by zero: every tick is then long.
      const bool isLong = ticksEnlarge_ == 0 || (ticksEnlarge_ + k) % ticksEnlarge_ == 0;
      const double at = start + k * step;
      DrawPixelLine(painter, DialPoint(cx, cy, at, b),
                    DialPoint(cx, cy, at, b + (isLong ? ticksMax_ : ticksMin_)));
    }
  }

  // Labels, on an opaque background of the dial's colour.
  if (labels_ >= 1) {
    painter.setFont(labelsFont_);
    painter.setPen(Resolve(labelsFontColor_, pal));
    painter.setBackgroundMode(Qt::OpaqueMode);
    painter.setBackground(background);
    const QFontMetrics metrics(labelsFont_);
    const double valueStep = (maxValue_ - minValue_) / labels_;
    const double angleStep = static_cast<double>(angleOffset_) / labels_;
    for (int k = 0; k <= labels_; ++k) {
      const QString text = QString::fromStdString(LabelText(minValue_ + k * valueStep, decimals_));
      const QPoint at = DialPoint(cx, cy, start + k * angleStep, b + labelsOffset_);
      const int w = metrics.horizontalAdvance(text), h = metrics.height();
      painter.drawText(QRect(at.x() - Half(w), at.y() - Half(h), w, h),
                       Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    }
  }

  // The caption, lines split at "|", from below the hub.
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.setFont(font());
  painter.setPen(Resolve(fontColor_, pal));
  const QFontMetrics metrics(font());
  int top = Half(height()) + needleBaseWidth_;
  const QString caption = QString::fromStdString(Caption());
  QStringList lines = caption.split('|');
  if (lines.size() > 1 && lines.back().isEmpty()) lines.removeLast();  // a trailing "|"
  for (const QString& line : lines) {
    if (line.isEmpty()) {
      top += metrics.boundingRect(QStringLiteral("gW")).height();
      continue;
    }
    const int w = metrics.horizontalAdvance(line), h = metrics.height();
    painter.drawText(QRect(cx - Half(w), top, w, h),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, line);
    top += h;
  }
}

void TAngularMeter::Paint(QPainter& painter) {
  const QPalette& pal = palette();
  // The cached dial image, then the needle over it. A new size or display scale shows only
  // here: the dial image is rebuilt to fit (outside loading).
  if (!FitsControl(dial_) && !Loading()) BuildDialImage();
  if (!FitsControl(dial_)) painter.fillRect(rect(), Resolve(Color(), pal));
  painter.drawImage(0, 0, dial_);
  const auto [cx, cy, b] = DialGeometry();
  const int start = angle_ + 180;
  const double length = needleLength_ >= 0 ? needleLength_ : b;
  const double span = maxValue_ - minValue_;
  // Equal bounds would divide by zero: the needle then rests at the start of the scale.
  const double needle = start + (span != 0 ? (position_ - minValue_) * angleOffset_ / span : 0);
  const QColor needleColor = Resolve(needleColor_, pal);
  painter.setPen(LinePen(needleColor));
  painter.setBrush(needleColor);
  const int halfBase = Half(needleBaseWidth_);
  const QPoint triangle[3] = {DialPoint(cx, cy, needle, length),
                              DialPoint(cx, cy, needle - 90, halfBase),
                              DialPoint(cx, cy, needle + 90, halfBase)};
  painter.drawPolygon(triangle, 3);
  FillCircle(painter,
             Box(cx - needleBaseWidth_, cy - needleBaseWidth_, cx + needleBaseWidth_,
                 cy + needleBaseWidth_),
             needleColor);
  FillCircle(painter,
             Box(cx - centerDotWidth_, cy - centerDotWidth_, cx + centerDotWidth_,
                 cy + centerDotWidth_),
             Resolve(centerDotColor_, pal));
}

}  // namespace zenavo
