// Zenavo: start-up. The application, the locale's number and date formats, Qt's dialog texts in
// the user's language, the window's fonts, then the main window until it is closed.
#include <QLocale>

#include "app/application.h"
#include "app/form1.h"
#include "app/form_fonts.h"
#include "app/locale_format.h"
#include "app/translations.h"

int main(int argc, char* argv[]) {
  zenavo::TApplication application(argc, argv);
  zenavo::SetFormatSettings(zenavo::FormatSettingsFromLocale(QLocale::system()));
  zenavo::InstallQtTranslations(application, QLocale::system());
  zenavo::InstallFormFonts();
  zenavo::TForm1 form;
  form.show();
  return application.exec();
}
