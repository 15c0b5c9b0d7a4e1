// The base of the gauges: a graphic control that takes no keyboard focus and follows the
// widgets' property pattern (ui/property_owner.h), and an off-screen frame image that each
// paint is composed in before it is copied to the screen in one operation. Frames are drawn at
// the display's device pixel ratio, so a dial stays sharp on a screen scaled to 200 %, while
// all geometry stays in the control's logical pixels.
#pragma once

#include <QImage>
#include <QWidget>

#include <string>

#include "ui/colors.h"
#include "ui/property_owner.h"

class QPainter;

namespace zenavo {

class TGaugeControl : public QWidget, public TPropertyOwner {
 public:
  explicit TGaugeControl(QWidget* parent = nullptr);

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  TColor Color() const { return color_; }
  void SetColor(TColor color);

 protected:
  void Repaint() override { update(); }
  // Called (outside loading) when something the whole picture depends on changed: caption,
  // font, colour, size, palette.
  virtual void AppearanceChanged() { RequestRepaint(); }
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  std::string caption_;
  TColor color_ = clBlack;
};

class TGaugeImageControl : public TGaugeControl {
 public:
  explicit TGaugeImageControl(QWidget* parent = nullptr);

  // When true the frame starts from what lies beneath the control (transparent), and pixels
  // of the gauge's Color let it show through.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);

  // Composes one frame exactly as a paint does, at the control's device pixel ratio, and
  // returns it (for tests, benchmarks and pictures).
  QImage RenderFrame();

 protected:
  // An image of the control's size at its device pixel ratio, contents undefined.
  QImage NewImage() const;
  // Whether `image` has the control's size at its device pixel ratio.
  bool FitsControl(const QImage& image) const;
  // Draws the whole gauge in the control's logical pixels with antialiasing off. The frame's
  // old contents are undefined: the gauge covers every pixel.
  virtual void Paint(QPainter& painter) = 0;
  void paintEvent(QPaintEvent* event) override;

 private:
  // The control's size in device pixels (at least 1 x 1).
  QSize DevicePixels() const;

  QImage frame_;
  bool transparent_ = false;
};

}  // namespace zenavo
