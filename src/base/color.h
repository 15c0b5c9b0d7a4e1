// A colour as the system sees it: a 24-bit RGB value or one of the system colours, which the
// widgets resolve from the application palette at the moment of drawing or exporting
// (ui/colors.h). Free of Qt, so the table core can hold colours too.
#pragma once

#include <cstdint>

namespace zenavo {

class TColor {
 public:
  // The system colours the system uses.
  enum SystemColor { None, Window, WindowText, ButtonFace, Highlight, HighlightText, InfoBackground };

  constexpr TColor() = default;
  constexpr TColor(int red, int green, int blue)
      : rgb_((static_cast<std::uint32_t>(red & 0xFF) << 16) |
             (static_cast<std::uint32_t>(green & 0xFF) << 8) | static_cast<std::uint32_t>(blue & 0xFF)) {}
  static constexpr TColor System(SystemColor color) {
    TColor c;
    c.system_ = color;
    return c;
  }

  bool IsSystem() const { return system_ != None; }
  SystemColor SystemId() const { return system_; }
  // The channels of a fixed colour (0 for a system colour, which has none until resolved).
  int Red() const { return static_cast<int>((rgb_ >> 16) & 0xFF); }
  int Green() const { return static_cast<int>((rgb_ >> 8) & 0xFF); }
  int Blue() const { return static_cast<int>(rgb_ & 0xFF); }
  std::uint32_t Rgb() const { return rgb_; }

  bool operator==(const TColor&) const = default;

 private:
  std::uint32_t rgb_ = 0;
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
