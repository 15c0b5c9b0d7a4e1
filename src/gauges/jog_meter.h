// TJogMeter: a linear scale that scrolls under a fixed indicator in the middle of the control,
// over a gradient that is dark at both ends and bright in the middle, like the edge of a thumb
// wheel. Nothing is cached: every paint draws everything.
#pragma once

#include <QImage>

#include <functional>
#include <string>

#include "gauges/gauge_control.h"

namespace zenavo {

enum TGaugeDirection { gdVertical = 0, gdHorizontal = 1 };
enum TScalePosition { spAfter = 0, spBefore = 1 };
enum TIndicatorShape { isLine = 0, isBitmap = 1, isTriangle = 2 };

// The scale settings; every change that differs tells the owner.
class TJogMeterScale : public TOwnedSettings {
 public:
  explicit TJogMeterScale(std::function<void()> changed) : TOwnedSettings(std::move(changed)) {}

  TColor Color() const { return color_; }
  void SetColor(TColor v) { Set(color_, v); }
  int Decimals() const { return decimals_; }
  void SetDecimals(int v) { Set(decimals_, v); }
  // The label text: "%s" stands for the number.
  const std::string& FormatText() const { return formatText_; }
  void SetFormatText(const std::string& v) { Set(formatText_, v); }
  // Value units visible across the control.
  double Aperture() const { return aperture_; }
  void SetAperture(double v) { Set(aperture_, v); }
  // spBefore: ticks on the left (vertical) or top (horizontal) edge.
  TScalePosition Position() const { return position_; }
  void SetPosition(TScalePosition v) { Set(position_, v); }
  double Step() const { return step_; }
  void SetStep(double v) { Set(step_, v); }
  double SmallStep() const { return smallStep_; }
  void SetSmallStep(double v) { Set(smallStep_, v); }
  int HeightMax() const { return heightMax_; }
  void SetHeightMax(int v) { Set(heightMax_, v); }
  int HeightMin() const { return heightMin_; }
  void SetHeightMin(int v) { Set(heightMin_, v); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { Set(visible_, v); }

 private:
  TColor color_ = clNavy;
  int decimals_ = 0;
  std::string formatText_ = "%s";
  double aperture_ = 100.0;
  TScalePosition position_ = spAfter;
  double step_ = 10.0, smallStep_ = 1.0;
  int heightMax_ = 8, heightMin_ = 5;
  bool visible_ = true;
};

// The current value and the look of the indicator; every change that differs tells the owner.
class TLinearIndicator : public TOwnedSettings {
 public:
  explicit TLinearIndicator(std::function<void()> changed);

  double Value() const { return value_; }
  void SetValue(double v) { Set(value_, v); }
  // An empty picture is replaced by the built-in pin.
  const QImage& Bitmap() const { return bitmap_; }
  void SetBitmap(const QImage& picture);
  TIndicatorShape Shape() const { return shape_; }
  void SetShape(TIndicatorShape v) { Set(shape_, v); }
  TColor Color() const { return color_; }
  void SetColor(TColor v) { Set(color_, v); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { Set(visible_, v); }

 private:
  double value_ = 0.0;
  QImage bitmap_;
  TIndicatorShape shape_ = isBitmap;
  TColor color_ = clBlue;
  bool visible_ = true;
};

// Where a value offset from the start edge lands along a scale of `length` pixels showing
// `aperture` units: round(length * offset / aperture), halves to even; 0 for a non-positive
// aperture.
int JogPixel(int length, double offset, double aperture);

class TJogMeter : public TGaugeImageControl {
 public:
  explicit TJogMeter(QWidget* parent = nullptr);

  TGaugeDirection Direction() const { return direction_; }
  // A change (outside loading) swaps width and height.
  void SetDirection(TGaugeDirection direction);
  bool ShowCaption() const { return showCaption_; }
  void SetShowCaption(bool on);
  TJogMeterScale& Scale() { return scale_; }
  TLinearIndicator& Value() { return value_; }
  TColor FromColor() const { return fromColor_; }
  void SetFromColor(TColor color);
  TColor ToColor() const { return toColor_; }
  void SetToColor(TColor color);
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor color);

 protected:
  void Paint(QPainter& painter) override;

 private:
  void DrawGradient(QPainter& painter) const;
  void DrawLabels(QPainter& painter, int length, double lo) const;
  void DrawTicks(QPainter& painter, int length, double lo, double step,
                 int tickLength) const;
  void DrawIndicator(QPainter& painter) const;

  TGaugeDirection direction_ = gdHorizontal;
  bool showCaption_ = false;
  TJogMeterScale scale_;
  TLinearIndicator value_;
  TColor fromColor_ = clBlack, toColor_ = clWhite, fontColor_ = clBlack;
};

}  // namespace zenavo
