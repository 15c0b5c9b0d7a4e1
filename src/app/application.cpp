#include "app/application.h"

#include "ui/error_report.h"

namespace zenavo {

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TApplication::notify(QObject* receiver, QEvent* event) {
  bool handled = false;
  ShowingErrors([&] { handled = QApplication::notify(receiver, event); });
  return handled;
}

}  // namespace zenavo
