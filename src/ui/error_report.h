// Showing an error that ends an event handler. Widgets catch what their handlers throw at their
// own event entry point and show it here: an exception passing through Qt's frames is not
// unwound there (state is left half-set, a guard block in QApplication::notify leaks).
//
// Messages reach the user in the user's language: every text shown in an error box or
// written to standard error is looked up in the installed translations (Qt's translation
// system, context kTranslationContext; the Brazilian Portuguese texts are
// translations/zenavo_pt_BR.ts), the English text being the source text.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace zenavo {

inline constexpr const char* kTranslationContext = "zenavo";

// A source text of the program in the user's language (UTF-8); the source text itself when
// no translation is installed for it.
std::string TranslatedText(const char* sourceText, const char* disambiguation = nullptr);

// An error's message in the user's language: an Exception's template translated and filled in
// with its arguments (base/exceptions.h); its what() when the template has no translation, and
// for any other exception.
std::string TranslatedMessage(const std::exception& error);

// The message as the error box shows it: a full stop is added when the last character sorts
// after "." (so messages ending in "!" or ")" get none).
std::string ErrorBoxText(const std::string& message);

using ErrorHandler = std::function<void(const std::string& message)>;

// Shows an error message, already in the user's language. The default is a critical message box captioned with the
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
    ShowError(TranslatedMessage(error));
  } catch (...) {
    ShowError(TranslatedText("Unknown error"));
  }
  return false;
}

}  // namespace zenavo
