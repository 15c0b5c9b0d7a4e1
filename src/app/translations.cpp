#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

// The translations resource lies in a static library: nothing pulls it in by itself.
static void InitTranslationsResource() { Q_INIT_RESOURCE(zenavo_translations); }

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

QTranslator* InstallZenavoTranslations(QCoreApplication& application, const QLocale& locale) {
  if (locale.language() != QLocale::Portuguese) return nullptr;
  InitTranslationsResource();
  auto* translator = new QTranslator(&application);
  if (translator->load(QStringLiteral(":/translations/zenavo_pt_BR.qm"))) {
    application.installTranslator(translator);
    return translator;
  }
  delete translator;
  return nullptr;
}

}  // namespace zenavo
