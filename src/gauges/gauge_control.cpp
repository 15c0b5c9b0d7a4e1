#include "gauges/gauge_control.h"

#include <QEvent>
#include <QPainter>

namespace zenavo {

TGaugeControl::TGaugeControl(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGaugeControl::EndLoading() {
  loading_ = false;
  Loaded();
}

void TGaugeControl::RequestRepaint() {
  if (loading_) return;
  ++repaintRequests_;
  update();
}

void TGaugeControl::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (!loading_) AppearanceChanged();
}

void TGaugeControl::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  if (!loading_) AppearanceChanged();
}

void TGaugeControl::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  const auto type = event->type();
  if (!loading_ && (type == QEvent::FontChange || type == QEvent::PaletteChange))
    AppearanceChanged();
}

void TGaugeControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!loading_) AppearanceChanged();
}

TGaugeImageControl::TGaugeImageControl(QWidget* parent) : TGaugeControl(parent) {}

void TGaugeImageControl::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
  setAttribute(Qt::WA_TranslucentBackground, transparent);
  RequestRepaint();
}

QImage TGaugeImageControl::RenderFrame() {
  const QSize size = this->size().expandedTo(QSize(1, 1));
  if (!StartFrame(frame_)) {
    if (frame_.size() != size || frame_.format() != QImage::Format_RGB32)
      frame_ = QImage(size, QImage::Format_RGB32);
    frame_.fill(Resolve(Color(), palette()));
  }
  Compose(frame_);
  if (!transparent_) return frame_;
  // The gauge's Color becomes see-through, so what lies beneath shows.
  QImage see = frame_.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = Resolve(Color(), palette()).rgb();
  for (int y = 0; y < see.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(see.scanLine(y));
    for (int x = 0; x < see.width(); ++x)
      if ((line[x] & 0xFFFFFF) == (key & 0xFFFFFF)) line[x] = 0;
  }
  return see;
}

void TGaugeImageControl::paintEvent(QPaintEvent*) {
  const QImage frame = RenderFrame();
  QPainter painter(this);
  painter.drawImage(0, 0, frame);  // one copy of the whole frame
}

}  // namespace zenavo
