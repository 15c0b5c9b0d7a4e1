#include "gauges/gauge_accessible.h"

#include <QAccessibleWidget>

#include "base/float_text.h"
#include "gauges/angular_meter.h"
#include "gauges/jog_meter.h"
#include "ui/accessible_announce.h"

namespace zenavo {

namespace {

// The decimals a value is read out with: the gauges receive values rounded to two.
constexpr int kSpokenDecimals = 2;

struct GaugeReading {
  double value, minimum, maximum;
};

GaugeReading Read(TGaugeControl& gauge) {
  if (auto* dial = dynamic_cast<TAngularMeter*>(&gauge))
    return {dial->Position(), dial->MinValue(), dial->MaxValue()};
  auto& scale = static_cast<TJogMeter&>(gauge);
  const double value = scale.Value().Value(), half = scale.Scale().Aperture() / 2;
  return {value, value - half, value + half};
}

class AccessibleGauge : public QAccessibleWidget, public QAccessibleValueInterface {
 public:
  explicit AccessibleGauge(TGaugeControl* gauge) : QAccessibleWidget(gauge, QAccessible::Dial) {}

  QString text(QAccessible::Text t) const override {
    if (t == QAccessible::Value)
      return QString::fromStdString(FloatToStrFixed(Reading().value, 15, kSpokenDecimals));
    const QString text = QAccessibleWidget::text(t);
    if (t != QAccessible::Name || !text.isEmpty()) return text;
    return QString::fromStdString(static_cast<TGaugeControl*>(widget())->Caption());
  }
  QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.readOnly = true;
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::ValueInterface) return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }

  QVariant currentValue() const override { return Reading().value; }
  void setCurrentValue(const QVariant&) override {}  // read-only: the program sets it
  QVariant maximumValue() const override { return Reading().maximum; }
  QVariant minimumValue() const override { return Reading().minimum; }
  QVariant minimumStepSize() const override { return 0.01; }

 private:
  GaugeReading Reading() const { return Read(*static_cast<TGaugeControl*>(widget())); }
};

QAccessibleInterface* GaugeFactory(const QString&, QObject* object) {
  auto* gauge = dynamic_cast<TGaugeControl*>(object);
  if (!gauge || !(dynamic_cast<TAngularMeter*>(gauge) || dynamic_cast<TJogMeter*>(gauge)))
    return nullptr;
  return new AccessibleGauge(gauge);
}

}  // namespace

void InstallGaugeAccessibility() {
  static const bool installed = (QAccessible::installFactory(GaugeFactory), true);
  (void)installed;
}

void NotifyAccessibleValue(QWidget& gauge, double value) {
  if (!AnnouncingAccessibility()) return;
  QAccessibleValueChangeEvent changed(&gauge, value);
  AnnounceAccessibility(changed);
}

}  // namespace zenavo
