#include "ui/error_report.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <utility>

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
