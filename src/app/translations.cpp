#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zenavo {

QTranslator* InstallQtTranslations(QCoreApplication& application, const QLocale& locale,
                                   const QString& folder) {
  const QString path =
      folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
  auto* translator = new QTranslator(&application);
  if (translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"), path) ||
      translator->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"),
                       QStringLiteral("_"), path)) {
    application.installTranslator(translator);
    return translator;
  }
  delete translator;
  return nullptr;
}

}  // namespace zenavo
