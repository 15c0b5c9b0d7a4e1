// A paint device that records the texts handed to painting instead of drawing them, so tests
// read decoded texts and where their baselines start, never glyph pixels.
#pragma once

#include <QColor>
#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPointF>
#include <QString>
#include <QTextItem>
#include <QTransform>

#include <vector>

namespace zenavo::testing {

// A paint device that draws nothing and records every text item: its text and where its
// baseline starts, in the device's pixels.
class TextRecorder : public QPaintDevice {
 public:
  struct Item {
    QString Text;
    QPointF Baseline;
    QFont Font;
    QColor Color;
  };

  TextRecorder(int width, int height) : engine_(items_), width_(width), height_(height) {}
  QPaintEngine* paintEngine() const override { return &engine_; }
  const std::vector<Item>& Items() const { return items_; }

 protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth: return width_;
      case PdmHeight: return height_;
      case PdmDpiX: case PdmDpiY: case PdmPhysicalDpiX: case PdmPhysicalDpiY: return 96;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
      case PdmDepth: return 32;
      case PdmNumColors: return 1 << 24;
      default: return 0;
    }
  }

 private:
  class Engine : public QPaintEngine {
   public:
    explicit Engine(std::vector<Item>& items) : QPaintEngine(AllFeatures), items_(items) {}
    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    void updateState(const QPaintEngineState& state) override {
      if (state.state() & DirtyTransform) transform_ = state.transform();
      if (state.state() & DirtyPen) color_ = state.pen().color();
    }
    void drawTextItem(const QPointF& p, const QTextItem& item) override {
      items_.push_back({item.text(), transform_.map(p), item.font(), color_});
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPath(const QPainterPath&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
    void drawRects(const QRectF*, int) override {}
    void drawLines(const QLineF*, int) override {}
    void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
    Type type() const override { return User; }

   private:
    std::vector<Item>& items_;
    QTransform transform_;
    QColor color_;
  };

  std::vector<Item> items_;
  mutable Engine engine_;
  int width_, height_;
};

}  // namespace zenavo::testing
