#include "ui/error_report.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

namespace zenavo {

namespace {
std::function<void(const std::string&)>& ErrorHandler() {
  static std::function<void(const std::string&)> handler;
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

void SetErrorHandler(std::function<void(const std::string&)> handler) {
  ErrorHandler() = std::move(handler);
}

void ShowError(const std::string& message) {
  if (ErrorHandler())
    ErrorHandler()(message);
  else
    ShowInMessageBox(message);
}

}  // namespace zenavo
