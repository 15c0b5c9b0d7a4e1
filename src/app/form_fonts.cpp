#include "app/form_fonts.h"

#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace zenavo {

bool InstallFormFonts(const QString& wineFontsFolder) {
  static bool tahomaFound = [&] {
    bool found = false;
    for (const char* face : {"tahoma.ttf", "tahomabd.ttf"})
      found = QFontDatabase::addApplicationFont(wineFontsFolder + QLatin1String(face)) >= 0 || found;
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
