#include "gauges/colors.h"

namespace zenavo {

QColor TColor::Resolve(const QPalette& palette) const {
  switch (system_) {
    case Window: return palette.color(QPalette::Active, QPalette::Base);
    case WindowText: return palette.color(QPalette::Active, QPalette::Text);
    case ButtonFace: return palette.color(QPalette::Active, QPalette::Button);
    case Highlight: return palette.color(QPalette::Active, QPalette::Highlight);
    case HighlightText: return palette.color(QPalette::Active, QPalette::HighlightedText);
    case InfoBackground: return palette.color(QPalette::Active, QPalette::ToolTipBase);
    case None: break;
  }
  return QColor(static_cast<int>((rgb_ >> 16) & 0xFF), static_cast<int>((rgb_ >> 8) & 0xFF),
                static_cast<int>(rgb_ & 0xFF));
}

}  // namespace zenavo
