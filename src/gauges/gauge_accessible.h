// The gauges for assistive technologies: each dial or scale is a read-only value object named
// by its accessible name, or else by its caption, whose value is the needle's position or the
// scale's value (the range: the dial's bounds, the span the scale shows).
#pragma once

class QWidget;

namespace zenavo {

// Registers the gauges' accessible interface with Qt, once; later calls do nothing.
void InstallGaugeAccessibility();

// Announces the new value of `gauge`. Nothing while no assistive technology listens.
void NotifyAccessibleValue(QWidget& gauge, double value);

}  // namespace zenavo
