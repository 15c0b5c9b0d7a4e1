// Showing an error that ends an event handler. Widgets catch what their handlers throw at their
// own event entry point and show it here: an exception passing through Qt's frames is not
// unwound there (state is left half-set, a guard block in QApplication::notify leaks).
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace zenavo {

// The message as the error box shows it: a full stop is added when the last character sorts
// after "." (so messages ending in "!" or ")" get none).
std::string ErrorBoxText(const std::string& message);

using ErrorHandler = std::function<void(const std::string& message)>;

// Shows an error message. The default is a critical message box captioned with the
// executable's name; tests replace it to record the messages instead, and the command line
// to write them to the standard error. SetErrorHandler returns the handler it replaces.
void ShowError(const std::string& message);
ErrorHandler SetErrorHandler(ErrorHandler handler);

// Runs `handler`; an exception it throws is shown and false is returned, so the rest of the
// handler is skipped and the program goes on.
template <class Handler>
bool ShowingErrors(Handler&& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    ShowError(error.what());
  } catch (...) {
    ShowError("Unknown error");
  }
  return false;
}

}  // namespace zenavo
