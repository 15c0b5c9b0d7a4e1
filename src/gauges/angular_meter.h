// TAngularMeter: a circular dial with a coloured zone ring, ticks, labels, a caption and a
// triangular needle. Angles on the dial run clockwise from twelve o'clock. Everything but the
// needle is kept in a cached dial image, rebuilt only when something it shows changes.
#pragma once

#include <QFont>
#include <QImage>

#include <functional>

#include "gauges/gauge_control.h"

namespace zenavo {

class TAngularMeter : public TGaugeImageControl {
 public:
  explicit TAngularMeter(QWidget* parent = nullptr);

  // Writers raise EGaugeError "Value out of range." when (outside loading) MinValue would
  // exceed MaxValue; the needle position follows a bound that passes it.
  double MaxValue() const { return maxValue_; }
  void SetMaxValue(double value);
  double MinValue() const { return minValue_; }
  void SetMinValue(double value);
  // Clamped into [MinValue, MaxValue]; a change repaints (no rebuild) and raises OnChange.
  double Position() const { return position_; }
  void SetPosition(double value);

  int Decimals() const { return decimals_; }
  void SetDecimals(int value);
  // The scale starts at Angle + 180 degrees and sweeps AngleOffset (0..360) degrees.
  int Angle() const { return angle_; }
  void SetAngle(int value);
  int AngleOffset() const { return angleOffset_; }
  void SetAngleOffset(int value);
  // Dial radius in pixels; negative: the dial fits the control.
  int Radius() const { return radius_; }
  void SetRadius(int value);
  int Spacing() const { return spacing_; }
  void SetSpacing(int value);
  int Ticks() const { return ticks_; }
  void SetTicks(int value);
  int TicksMin() const { return ticksMin_; }
  void SetTicksMin(int value);
  int TicksMax() const { return ticksMax_; }
  void SetTicksMax(int value);
  int TicksEnlarge() const { return ticksEnlarge_; }
  void SetTicksEnlarge(int value);
  TColor TicksColor() const { return ticksColor_; }
  void SetTicksColor(TColor value);
  // Zones 1..3.
  TColor ColorZone(int index) const { return zones_[index - 1]; }
  void SetColorZone(int index, TColor value);
  // Shares of the sweep, 0..100; together at most 100 (outside loading).
  int Percent1() const { return percent1_; }
  void SetPercent1(int value);
  int Percent2() const { return percent2_; }
  void SetPercent2(int value);
  int Labels() const { return labels_; }
  void SetLabels(int value);
  int LabelsOffset() const { return labelsOffset_; }
  void SetLabelsOffset(int value);
  // Negative: the inner radius.
  int NeedleLength() const { return needleLength_; }
  void SetNeedleLength(int value);
  int NeedleBaseWidth() const { return needleBaseWidth_; }
  void SetNeedleBaseWidth(int value);
  TColor NeedleColor() const { return needleColor_; }
  void SetNeedleColor(TColor value);
  TColor CenterDotColor() const { return centerDotColor_; }
  void SetCenterDotColor(TColor value);
  int CenterDotWidth() const { return centerDotWidth_; }
  void SetCenterDotWidth(int value);
  // The label font and its colour; a change rebuilds the dial image.
  const QFont& LabelsFont() const { return labelsFont_; }
  TColor LabelsFontColor() const { return labelsFontColor_; }
  void SetLabelsFont(const QFont& font, TColor color);
  // The caption font's colour (the font itself is the widget's font).
  TColor FontColor() const { return fontColor_; }
  void SetFontColor(TColor value);

  std::function<void(TAngularMeter&)> OnChange;

  // How many times the dial image was built.
  int Rebuilds() const { return rebuilds_; }
  // The cached dial image (everything but the needle).
  const QImage& DialImage() const { return dial_; }

 protected:
  void Loaded() override;
  void AppearanceChanged() override;
  void Paint(QPainter& painter) override;

 private:
  struct Geometry {
    int cx, cy, b;
  };
  Geometry DialGeometry() const;
  // Builds the dial image and repaints; nothing while loading.
  void Rebuild();
  void BuildDialImage();
  template <class T>
  void StoreAndRebuild(T& field, T value);

  double maxValue_ = 100.0, minValue_ = 0.0, position_ = 0.0;
  int decimals_ = 2, angle_ = 40, angleOffset_ = 280, radius_ = -1, spacing_ = 45;
  int ticks_ = 100, ticksMin_ = 5, ticksMax_ = 14, ticksEnlarge_ = 10;
  TColor ticksColor_ = clWhite;
  TColor zones_[3] = {clGreen, clBlue, clRed};
  int percent1_ = 60, percent2_ = 25, labels_ = 10, labelsOffset_ = 30;
  int needleLength_ = -1, needleBaseWidth_ = 8;
  TColor needleColor_ = clRed, centerDotColor_ = clWhite;
  int centerDotWidth_ = 2;
  QFont labelsFont_;
  TColor labelsFontColor_ = clWhite;
  TColor fontColor_ = clWhite;
  QImage dial_;
  int rebuilds_ = 0;
};

}  // namespace zenavo
