#include "ui/error_report.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <utility>

#include "base/exceptions.h"

namespace zenavo {

namespace {
ErrorHandler& CurrentHandler() {
  static ErrorHandler handler;
  return handler;
}

void ShowInMessageBox(const std::string& message) {
  // The caption is the executable's name without its extension.
  const QString caption = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
  QMessageBox::critical(QApplication::activeWindow(), caption,
                        QString::fromStdString(ErrorBoxText(message)), QMessageBox::Ok);
}
}  // namespace

std::string TranslatedText(const char* sourceText, const char* disambiguation) {
  return QCoreApplication::translate(kTranslationContext, sourceText, disambiguation).toStdString();
}

std::string TranslatedMessage(const std::exception& error) {
  const auto* own = dynamic_cast<const Exception*>(&error);
  if (!own) return error.what();
  const QString source = QString::fromStdString(own->Template());
  const QString translated = QCoreApplication::translate(
      kTranslationContext, own->Template().c_str(), own->Disambiguation());
  // Untranslated, the message keeps its exact bytes (a file name that is not UTF-8, say).
  if (translated == source) return error.what();
  // An argument that is one of the system's own reasons ("It is a named pipe, ...") has its
  // translation under the disambiguation "reason"; file names and numbers have none.
  std::vector<std::string> arguments = own->Arguments();
  for (std::string& argument : arguments) {
    const QString reason =
        QCoreApplication::translate(kTranslationContext, argument.c_str(), "reason");
    if (reason != QString::fromStdString(argument)) argument = reason.toStdString();
  }
  return FillMessage(translated.toStdString(), arguments);
}

std::string ErrorBoxText(const std::string& message) {
  if (!message.empty() && static_cast<unsigned char>(message.back()) > '.') return message + ".";
  return message;
}

ErrorHandler SetErrorHandler(ErrorHandler handler) {
  return std::exchange(CurrentHandler(), std::move(handler));
}

void ShowError(const std::string& message) {
  if (CurrentHandler())
    CurrentHandler()(message);
  else
    ShowInMessageBox(message);
}

}  // namespace zenavo
