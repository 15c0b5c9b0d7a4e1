// The application object. Widgets show their handlers' errors themselves (ui/error_report.h);
// the event loop is the last net: an exception that still escapes an event handler is shown
// to the user, the rest of the handler is skipped and the program goes on.
#pragma once

#include <QApplication>

namespace zenavo {

class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace zenavo
