#include "app/form_fonts.h"

#include <QFont>
#include <QFontDatabase>

namespace zenavo {

FormFonts::FormFonts(const QString& wineFontsFolder) {
  // Only the regular face: fonts-wine's bold one has Tahoma Bold's widths but regular strokes,
  // so bold text ("Calcular", the satellite's name) is emboldened from the regular face.
  tahomaId_ = QFontDatabase::addApplicationFont(wineFontsFolder + "tahoma.ttf");
  // Tried in order when a family is not installed; DejaVu Sans comes with every desktop.
  const std::pair<QString, QStringList> substitutions[] = {
      {QStringLiteral("Tahoma"), {QStringLiteral("DejaVu Sans")}},
      {QStringLiteral("MS Sans Serif"), {QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans")}},
      {QStringLiteral("Verdana"), {QStringLiteral("DejaVu Sans")}},
      {QStringLiteral("Arial"), {QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")}},
  };
  for (const auto& [family, substitutes] : substitutions) {
    previous_.emplace_back(family, QFont::substitutes(family));
    QFont::insertSubstitutions(family, substitutes);
  }
}

FormFonts::~FormFonts() {
  for (const auto& [family, substitutes] : previous_) {
    QFont::removeSubstitutions(family);
    if (!substitutes.isEmpty()) QFont::insertSubstitutions(family, substitutes);
  }
  // Removing the face also empties Qt's font caches, so no font resolved meanwhile outlives it.
  if (tahomaId_ >= 0) QFontDatabase::removeApplicationFont(tahomaId_);
}

}  // namespace zenavo
