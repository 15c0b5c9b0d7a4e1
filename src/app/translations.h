// Qt's own texts of the standard dialogs and message boxes ("Cancelar", "Salvar", "Imprimir")
// in the user's language, from the translations Debian ships in qt6-translations-l10n; and the
// program's own messages (error boxes, standard error) in Brazilian Portuguese where the user's
// language is Portuguese.
#pragma once

#include <QLocale>
#include <QString>

class QCoreApplication;
class QTranslator;

namespace zenavo {

// Installs Qt's "qtbase" translation for `locale` from `folder` (Qt's translations folder by
// default). When Qt has none for it (a "C" locale, or a language Qt's translators have not
// covered), Brazilian Portuguese is installed instead: the window itself speaks only Portuguese.
// Returns the translator installed (owned by `application`; its filePath() names the file), or
// null when none could be loaded and the dialogs stay in English.
QTranslator* InstallQtTranslations(QCoreApplication& application, const QLocale& locale,
                              const QString& folder = QString());

// Installs the program's messages in Brazilian Portuguese (built into the program from
// translations/zenavo_pt_BR.ts) when `locale` is a Portuguese one; other locales keep the
// English source texts. Returns the translator installed (owned by `application`) or null.
QTranslator* InstallZenavoTranslations(QCoreApplication& application, const QLocale& locale);

}  // namespace zenavo
