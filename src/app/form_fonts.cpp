#include "app/form_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace zenavo {

bool InstallFormFonts(const QString& wineFontsFolder) {
  static bool tahomaFound = [&] {
    // Only the regular face: fonts-wine's bold one has Tahoma Bold's widths but regular strokes,
    // so bold text ("Calcular", the satellite's name) is emboldened from the regular face.
    const bool found = QFontDatabase::addApplicationFont(wineFontsFolder + "tahoma.ttf") >= 0;
    // Tried in order when a family is not installed; DejaVu Sans comes with every desktop.
    QFont::insertSubstitutions(QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")});
    QFont::insertSubstitutions(QStringLiteral("Arial"),
                               {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    return found;
  }();
  return tahomaFound;
}

}  // namespace zenavo
