// Entry point of the widget tests: the application object on Qt's offscreen platform, with the
// error box and the beep recorded instead of shown, a check after every test that it took
// every message and beep, closed every dialog it opened and released every mouse button it
// pressed, and a watchdog that hands each modal dialog or popup to the handler a test queued
// for it, or fails the test and closes it.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <deque>
#include <iostream>
#include <vector>

#include "app/application.h"
#include "numedit/beep.h"
#include "support/cups_queue.h"
#include "support/widget_test_support.h"
#include "ui/error_report.h"

namespace zenavo::testing {

namespace {

struct Observed {
  std::vector<std::string> errors;
  int beeps = 0;
  std::deque<std::function<void(QWidget*)>> dialogHandlers;
};

Observed& Seen() {
  static Observed observed;
  return observed;
}

// The dialog or popup that blocks the test now, if any.
QWidget* BlockingWidget() {
  if (QWidget* popup = QApplication::activePopupWidget()) return popup;
  return QApplication::activeModalWidget();
}

void CloseWidget(QWidget* widget) {
  if (auto* dialog = qobject_cast<QDialog*>(widget))
    dialog->reject();
  else
    widget->close();
}

// Dialogs, modal windows and popups still shown: what a test must not leave behind.
std::vector<QPointer<QWidget>> LeftOpen() {
  std::vector<QPointer<QWidget>> open;
  for (QWidget* widget : QApplication::topLevelWidgets())
    if (widget->isVisible() && (qobject_cast<QDialog*>(widget) || widget->isModal() ||
                                widget->windowType() == Qt::Popup))
      open.emplace_back(widget);
  return open;
}

// Fails the running test for whatever it left unread or open, and starts the next one clean.
class LeftoverCheck : public ::testing::EmptyTestEventListener {
  void OnTestStart(const ::testing::TestInfo&) override { Seen() = Observed{}; }
  void OnTestEnd(const ::testing::TestInfo&) override {
    Observed& seen = Seen();
    for (const std::string& message : seen.errors)
      ADD_FAILURE() << "error box shown but not expected: \"" << message << "\"";
    if (seen.beeps > 0) ADD_FAILURE() << seen.beeps << " beep(s) not expected";
    if (!seen.dialogHandlers.empty())
      ADD_FAILURE() << seen.dialogHandlers.size() << " expected dialog(s) never opened";
    // A button left down would turn later tests' clicks into drags and their double-clicks
    // into single clicks: released again.
    if (const Qt::MouseButtons buttons = QApplication::mouseButtons(); buttons != Qt::NoButton) {
      ADD_FAILURE() << "mouse button(s) " << buttons.toInt() << " left pressed; released them";
      QWidget elsewhere;
      for (Qt::MouseButton button : {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton})
        if (buttons & button) QTest::mouseRelease(&elsewhere, button);
    }
    for (const QPointer<QWidget>& widget : LeftOpen()) {
      if (!widget) continue;  // closing an earlier one took it along
      ADD_FAILURE() << widget->metaObject()->className() << " \""
                    << widget->windowTitle().toStdString() << "\" left open; closed it";
      CloseWidget(widget);
    }
    seen = Observed{};
  }
};

// Runs on every pass of any event loop, the loops of modal dialogs and popups included.
void Watch() {
  static QPointer<QWidget> handling;  // a handler may itself run an event loop
  static int ticksWithSameWidget = 0;
  static QPointer<QWidget> lastSeen;
  QWidget* widget = BlockingWidget();
  if (!widget || !widget->isVisible()) {
    ticksWithSameWidget = 0;
    return;
  }
  if (widget == handling) {
    // A handler that leaves its dialog open for a few seconds has hung: close it.
    if (widget == lastSeen && ++ticksWithSameWidget > 250) {
      ADD_FAILURE() << "a dialog handler left " << widget->metaObject()->className() << " open";
      CloseWidget(widget);
    }
    lastSeen = widget;
    return;
  }
  Observed& seen = Seen();
  if (seen.dialogHandlers.empty()) {
    ADD_FAILURE() << "unexpected " << widget->metaObject()->className() << " \""
                  << widget->windowTitle().toStdString() << "\" opened; closed it";
    CloseWidget(widget);
    return;
  }
  auto handler = std::move(seen.dialogHandlers.front());
  seen.dialogHandlers.pop_front();
  handling = widget;
  lastSeen = widget;
  ticksWithSameWidget = 0;
  handler(widget);
  handling = nullptr;
}

}  // namespace

std::vector<std::string> TakeErrors() { return std::exchange(Seen().errors, {}); }

int TakeBeeps() { return std::exchange(Seen().beeps, 0); }

void ExpectDialog(std::function<void(QWidget*)> handler) {
  Seen().dialogHandlers.push_back(std::move(handler));
}

int PendingDialogHandlers() { return static_cast<int>(Seen().dialogHandlers.size()); }

bool SavePictureToLookAt(const QImage& picture, const std::string& name) {
  const QString folder = QDir::currentPath() + "/gauge-pictures";
  const QString path = folder + "/" + QString::fromStdString(name);
  if (!QDir().mkpath(folder) || !picture.save(path)) return false;
  std::cout << "picture to look at: " << path.toStdString() << "\n";
  return true;
}

}  // namespace zenavo::testing

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  // No test sees the machine's printers: a print test starts a scheduler of its own.
  zenavo::testing::IsolateFromTheMachinesCups();
  zenavo::TApplication application(argc, argv);
  zenavo::SetErrorHandler(
      [](const std::string& message) { zenavo::testing::Seen().errors.push_back(message); });
  zenavo::SetBeepHandler([] { ++zenavo::testing::Seen().beeps; });
  ::testing::InitGoogleTest(&argc, argv);
  // Appended listeners hear a test's end before the result printer does.
  ::testing::UnitTest::GetInstance()->listeners().Append(new zenavo::testing::LeftoverCheck);
  QTimer watchdog;
  QObject::connect(&watchdog, &QTimer::timeout, &zenavo::testing::Watch);
  watchdog.start(20);
  return RUN_ALL_TESTS();
}
