// The fonts the main window names, on a Linux desktop. "Tahoma" and "MS Sans Serif" are
// usually absent there; the free, metric-compatible Tahoma that Debian ships in fonts-wine lies
// outside fontconfig's folders, so it is registered with the application, and stands in for
// "MS Sans Serif" too (the small dialog font it replaced on later systems). "Verdana" becomes
// DejaVu Sans (Bitstream Vera, drawn to Verdana's wide proportions), "Arial" Liberation Sans
// (metric-compatible). Fonts keep the pixel heights the window gives them; an installed
// original of any family is used as it is.
#pragma once

#include <QString>

namespace zenavo {

// Where Debian's fonts-wine puts its faces.
inline constexpr const char* kWineFontsFolder = "/usr/share/wine/fonts/";

// Registers fonts-wine's regular Tahoma from `wineFontsFolder` (bold is emboldened from it) and
// the substitutions above, once per process. Returns whether the Tahoma face was found there.
bool InstallFormFonts(const QString& wineFontsFolder = QString::fromLatin1(kWineFontsFolder));

}  // namespace zenavo
