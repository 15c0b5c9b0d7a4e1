// Colours of the widgets: a fixed RGB value or a system colour, resolved from the application
// palette at the moment of drawing.
#pragma once

#include <QColor>
#include <QPalette>

namespace zenavo {

class TColor {
 public:
  // The system colours the system uses.
  enum SystemColor { None, Window, WindowText, ButtonFace, Highlight, HighlightText, InfoBackground };

  constexpr TColor() = default;
  constexpr TColor(int red, int green, int blue) : rgb_((red << 16) | (green << 8) | blue) {}
  static constexpr TColor System(SystemColor color) {
    TColor c;
    c.system_ = color;
    return c;
  }

  // The RGB value now: fixed colours as they are, system colours from the palette.
  QColor Resolve(const QPalette& palette) const;
  bool IsSystem() const { return system_ != None; }

  bool operator==(const TColor&) const = default;

 private:
  unsigned rgb_ = 0;
  SystemColor system_ = None;
};

inline constexpr TColor clBlack{0, 0, 0};
inline constexpr TColor clWhite{255, 255, 255};
inline constexpr TColor clRed{255, 0, 0};
inline constexpr TColor clLime{0, 255, 0};
inline constexpr TColor clGreen{0, 128, 0};
inline constexpr TColor clBlue{0, 0, 255};
inline constexpr TColor clNavy{0, 0, 128};
inline constexpr TColor clYellow{255, 255, 0};
inline constexpr TColor clSilver{192, 192, 192};
inline constexpr TColor clGray{128, 128, 128};
inline constexpr TColor clWindow = TColor::System(TColor::Window);
inline constexpr TColor clWindowText = TColor::System(TColor::WindowText);
inline constexpr TColor clBtnFace = TColor::System(TColor::ButtonFace);
inline constexpr TColor clHighlight = TColor::System(TColor::Highlight);
inline constexpr TColor clHighlightText = TColor::System(TColor::HighlightText);
inline constexpr TColor clInfoBk = TColor::System(TColor::InfoBackground);

}  // namespace zenavo
