// The fonts the main window names, on a Linux desktop. "Tahoma" and "MS Sans Serif" are
// usually absent there; the free, metric-compatible Tahoma that Debian ships in fonts-wine lies
// outside fontconfig's folders, so it is registered with the application, and stands in for
// "MS Sans Serif" too (the small dialog font it replaced on later systems). "Verdana" becomes
// DejaVu Sans (Bitstream Vera, drawn to Verdana's wide proportions), "Arial" Liberation Sans
// (metric-compatible). Fonts keep the pixel heights the window gives them; an installed
// original of any family is used as it is.
#pragma once

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace zenavo {

// Where Debian's fonts-wine puts its faces.
inline constexpr const char* kWineFontsFolder = "/usr/share/wine/fonts/";

// The window's fonts, installed for as long as this object lives: fonts-wine's regular Tahoma
// from `wineFontsFolder` registered with the application (bold is emboldened from it) and the
// substitutions above. The destructor removes the face and puts back the substitutions it
// found, so nothing stays installed process-wide once the window is gone. Objects may nest;
// they end in the reverse order of their creation.
class FormFonts {
 public:
  explicit FormFonts(const QString& wineFontsFolder = QString::fromLatin1(kWineFontsFolder));
  ~FormFonts();
  FormFonts(const FormFonts&) = delete;
  FormFonts& operator=(const FormFonts&) = delete;

  // Whether the Tahoma face was found in the folder and registered.
  bool TahomaFound() const { return tahomaId_ >= 0; }

 private:
  int tahomaId_ = -1;
  std::vector<std::pair<QString, QStringList>> previous_;  // each family's substitutes before
};

}  // namespace zenavo
