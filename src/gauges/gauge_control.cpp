#include "gauges/gauge_control.h"

#include <QEvent>
#include <QPainter>

#include <cmath>

#include "gauges/gauge_accessible.h"

namespace zenavo {

TGaugeControl::TGaugeControl(QWidget* parent) : QWidget(parent) {
  InstallGaugeAccessibility();
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TGaugeControl::SetCaption(const std::string& caption) {
  if (Store(caption_, caption) && !Loading()) AppearanceChanged();
}

void TGaugeControl::SetColor(TColor color) {
  if (Store(color_, color) && !Loading()) AppearanceChanged();
}

void TGaugeControl::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  const auto type = event->type();
  if (!Loading() && (type == QEvent::FontChange || type == QEvent::PaletteChange))
    AppearanceChanged();
}

void TGaugeControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (!Loading()) AppearanceChanged();
}

TGaugeImageControl::TGaugeImageControl(QWidget* parent) : TGaugeControl(parent) {}

void TGaugeImageControl::SetTransparent(bool transparent) {
  if (!Store(transparent_, transparent)) return;
  setAttribute(Qt::WA_OpaquePaintEvent, !transparent);
  setAttribute(Qt::WA_TranslucentBackground, transparent);
  RequestRepaint();
}

QSize TGaugeImageControl::DevicePixels() const {
  const qreal ratio = devicePixelRatioF();
  const QSize logical = size().expandedTo(QSize(1, 1));
  return QSize(static_cast<int>(std::ceil(logical.width() * ratio)),
               static_cast<int>(std::ceil(logical.height() * ratio)));
}

QImage TGaugeImageControl::NewImage() const {
  QImage image(DevicePixels(), QImage::Format_RGB32);
  image.setDevicePixelRatio(devicePixelRatioF());
  return image;
}

bool TGaugeImageControl::FitsControl(const QImage& image) const {
  return image.size() == DevicePixels() && image.devicePixelRatio() == devicePixelRatioF();
}

QImage TGaugeImageControl::RenderFrame() {
  if (!FitsControl(frame_)) frame_ = NewImage();
  {
    QPainter painter(&frame_);
    painter.setRenderHint(QPainter::Antialiasing, false);
    Paint(painter);
  }
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
  painter.drawImage(0, 0, frame);  // one copy of the whole frame, device pixel for pixel
}

}  // namespace zenavo
