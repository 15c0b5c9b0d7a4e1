// The application object: the event loop catches every exception that escapes an event
// handler and shows it to the user, so the rest of the handler is skipped and the program
// goes on.
#pragma once

#include <QApplication>

#include <functional>
#include <string>

namespace zenavo {

// The message as the error box shows it: a full stop is added when the last character sorts
// after "." (so messages ending in "!" or ")" get none).
std::string ErrorBoxText(const std::string& message);

class TApplication : public QApplication {
 public:
  TApplication(int& argc, char** argv);

  bool notify(QObject* receiver, QEvent* event) override;

  // Shows an error message. The default is a critical message box captioned with the
  // executable's name; tests replace it to record the messages instead.
  static void SetErrorHandler(std::function<void(const std::string& message)> handler);
  static void ShowError(const std::string& message);
};

}  // namespace zenavo
