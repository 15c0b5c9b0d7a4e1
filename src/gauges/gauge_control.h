// The base of the gauges: a graphic control that takes no keyboard focus, with a loading
// bracket during which property writers store but neither rebuild nor repaint, and an
// off-screen frame image that each paint is composed in before it is copied to the screen in
// one operation.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>

#include "gauges/colors.h"

namespace zenavo {

class TGaugeControl : public QWidget {
 public:
  explicit TGaugeControl(QWidget* parent = nullptr);

  // The loading bracket: while the stored settings are applied, nothing is rebuilt or
  // repainted; EndLoading then calls Loaded() once.
  void BeginLoading() { loading_ = true; }
  void EndLoading();
  bool Loading() const { return loading_; }

  // Asks for a repaint; does nothing while loading.
  void RequestRepaint();

  // How many repaints were requested (outside loading): for tests and benchmarks.
  int RepaintRequests() const { return repaintRequests_; }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& caption);

  TColor Color() const { return color_; }
  void SetColor(TColor color);

 protected:
  // The writer of a setting that only repaints: nothing when the value is unchanged.
  template <class T>
  void StoreAndRepaint(T& field, const T& value) {
    if (field == value) return;
    field = value;
    RequestRepaint();
  }

  // Called once when loading completes.
  virtual void Loaded() { RequestRepaint(); }
  // Called when something the whole picture depends on changed (caption, font, colour, size,
  // palette).
  virtual void AppearanceChanged() { RequestRepaint(); }
  void changeEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  bool loading_ = false;
  int repaintRequests_ = 0;
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

  // Composes one frame exactly as a paint does and returns it (for tests, benchmarks and
  // pictures).
  QImage RenderFrame();

 protected:
  // Draws the whole gauge onto `frame`, which has the control's size and is filled with Color
  // unless StartFrame() already gave it its whole picture.
  virtual void Compose(QImage& frame) = 0;
  // A gauge with a cached picture of the control's size can hand it over as the frame's
  // start (one copy instead of a fill and a copy); returns false to have the frame filled.
  virtual bool StartFrame(QImage& /*frame*/) { return false; }
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage frame_;
  bool transparent_ = false;
};

// A sub-object of a gauge (a scale, an indicator) that tells its owner when one of its
// settings changes to a different value.
class TGaugeSettings {
 protected:
  explicit TGaugeSettings(std::function<void()> changed) : changed_(std::move(changed)) {}
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void Changed() {
    if (changed_) changed_();
  }

 private:
  std::function<void()> changed_;
};

// Integer division by 2 rounded toward zero, as every half length of the gauges is taken.
inline int Half(int length) { return length / 2; }

}  // namespace zenavo
