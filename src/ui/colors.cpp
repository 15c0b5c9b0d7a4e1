#include "ui/colors.h"

namespace zenavo {

QColor Resolve(TColor color, const QPalette& palette) {
  switch (color.SystemId()) {
    case TColor::Window: return palette.color(QPalette::Active, QPalette::Base);
    case TColor::WindowText: return palette.color(QPalette::Active, QPalette::Text);
    case TColor::ButtonFace: return palette.color(QPalette::Active, QPalette::Button);
    case TColor::Highlight: return palette.color(QPalette::Active, QPalette::Highlight);
    case TColor::HighlightText: return palette.color(QPalette::Active, QPalette::HighlightedText);
    case TColor::InfoBackground: return palette.color(QPalette::Active, QPalette::ToolTipBase);
    case TColor::None: break;
  }
  return QColor(color.Red(), color.Green(), color.Blue());
}

}  // namespace zenavo
