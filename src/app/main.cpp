// Zenavo: start-up. The application, the locale's number and date formats, the program's
// messages and Qt's dialog texts in the user's language, the window's fonts, then the main window until it is closed. With
// "--tabela" the pointing table for a site goes to standard output instead, without a window
// (and without a display: Qt's offscreen platform is used unless another one is asked for).
#include <QLocale>
#include <QScreen>

#include <cstdlib>
#include <iostream>
#include <optional>

#include "app/application.h"
#include "app/form1.h"
#include "app/form_fonts.h"
#include "app/locale_format.h"
#include "app/table_command.h"
#include "app/translations.h"

int main(int argc, char* argv[]) {
  // Read before Qt starts: help, the version and a mistake need no display.
  const zenavo::CommandLine command = zenavo::ParseCommandLine({argv + 1, argv + argc});
  if (const std::optional<int> status = zenavo::AnswerWithoutQt(command, std::cout, std::cerr))
    return *status;
  const bool tableCommand = command.action == zenavo::CommandLine::kWriteTable;
  if (tableCommand && !std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

  zenavo::TApplication application(argc, argv);
  zenavo::SetFormatSettings(zenavo::FormatSettingsFromLocale(QLocale::system()));
  zenavo::InstallZenavoTranslations(application, QLocale::system());
  if (tableCommand)
    return zenavo::RunTableCommand(command.table, zenavo::ExecutableFolder(), std::cout, std::cerr);

  zenavo::InstallQtTranslations(application, QLocale::system());
  const zenavo::FormFonts fonts;  // for as long as the window lives
  zenavo::TForm1 form;
  if (const QScreen* screen = form.screen()) form.FitToScreen(screen->availableGeometry());
  form.show();
  return application.exec();
}
