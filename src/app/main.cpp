// Zenavo: start-up. The application, the locale's number and date formats, Qt's dialog texts in
// the user's language, the window's fonts, then the main window until it is closed. With
// "--tabela" the pointing table for a site goes to standard output instead, without a window
// (and without a display: Qt's offscreen platform is used unless another one is asked for).
#include <QLocale>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "app/application.h"
#include "app/form1.h"
#include "app/form_fonts.h"
#include "app/locale_format.h"
#include "app/table_command.h"
#include "app/translations.h"

int main(int argc, char* argv[]) {
  // Answered before Qt starts: they need no display.
  const std::string first = argc > 1 ? argv[1] : "";
  if (first == "--help" || first == "-h") return std::cout << zenavo::TableCommandUsage(), 0;
  if (first == "--version") return std::cout << "zenavo 0.5.0\n", 0;
  const bool tableCommand = argc > 1 && std::strcmp(argv[1], zenavo::kTableOption) == 0;
  // Taken before Qt reads its own options out of argv.
  const std::vector<std::string> tableArgs(argv + std::min(argc, 2), argv + argc);
  if (tableCommand && !std::getenv("QT_QPA_PLATFORM")) ::setenv("QT_QPA_PLATFORM", "offscreen", 1);

  zenavo::TApplication application(argc, argv);
  zenavo::SetFormatSettings(zenavo::FormatSettingsFromLocale(QLocale::system()));
  if (tableCommand)
    return zenavo::RunTableCommand(tableArgs, zenavo::ExecutableFolder(), std::cout, std::cerr);

  zenavo::InstallQtTranslations(application, QLocale::system());
  const zenavo::FormFonts fonts;  // for as long as the window lives
  zenavo::TForm1 form;
  form.show();
  return application.exec();
}
