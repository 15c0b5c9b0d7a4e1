// Zenavo: start-up. Reads the locale into the format settings and opens the main window.
#include <QLocale>
#include <QMainWindow>

#include "app/application.h"
#include "app/locale_format.h"

int main(int argc, char* argv[]) {
  zenavo::TApplication application(argc, argv);
  zenavo::SetFormatSettings(zenavo::FormatSettingsFromLocale(QLocale::system()));
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("Zenavo v. 0.5 beta"));
  window.resize(800, 600);
  window.show();
  return application.exec();
}
