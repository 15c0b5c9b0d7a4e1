// The widget test runner itself: dialogs go to the handlers tests queue for them, an
// unexpected dialog fails the test instead of waiting for a click, and a test that leaves an
// error message or a beep unread, or a box open, fails itself.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>
#include <QTest>

#include "numedit/beep.h"
#include "support/widget_test_support.h"
#include "ui/error_report.h"

namespace zenavo::testing {
namespace {

TEST(WidgetTestRunner, HandsADialogToTheQueuedHandler) {
  QString seenText;
  ExpectDialog([&seenText](QWidget* dialog) {
    auto* box = qobject_cast<QMessageBox*>(dialog);
    ASSERT_NE(box, nullptr);
    seenText = box->text();
    box->accept();
  });
  QMessageBox box(QMessageBox::Question, "t", "Salvar?", QMessageBox::Ok | QMessageBox::Cancel);
  box.exec();
  EXPECT_EQ(seenText, "Salvar?");
  EXPECT_EQ(PendingDialogHandlers(), 0);
}

TEST(WidgetTestRunner, AnUnexpectedDialogFailsAndIsClosed) {
  EXPECT_NONFATAL_FAILURE(
      {
        QMessageBox box(QMessageBox::Critical, "zenavo", "boom", QMessageBox::Ok);
        box.exec();  // returns because the watchdog closes it
      },
      "unexpected QMessageBox");
}

TEST(WidgetTestRunner, ErrorsAndBeepsAreTakenOnce) {
  ShowError("one");
  SystemBeep();
  SystemBeep();
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{"one"});
  EXPECT_EQ(TakeBeeps(), 2);
  EXPECT_TRUE(TakeErrors().empty());
  EXPECT_EQ(TakeBeeps(), 0);
}

// Run only by the test below, in a process of their own: each must fail.
TEST(WidgetTestRunnerLeftovers, DISABLED_AnUnreadErrorBox) { ShowError("x"); }
TEST(WidgetTestRunnerLeftovers, DISABLED_AnUnheardBeep) { SystemBeep(); }
TEST(WidgetTestRunnerLeftovers, DISABLED_AHandlerForADialogThatNeverOpens) {
  ExpectDialog([](QWidget* dialog) { dialog->close(); });
}
TEST(WidgetTestRunnerLeftovers, DISABLED_AModalBoxLeftOpen) {
  auto* box = new QMessageBox(QMessageBox::Warning, "zenavo", "left open", QMessageBox::Ok);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
}
TEST(WidgetTestRunnerLeftovers, DISABLED_AMouseButtonLeftPressed) {
  QWidget widget;
  QTest::mousePress(&widget, Qt::MiddleButton);
}
// Runs the event loop, where the watchdog would find a box an earlier test left open.
TEST(WidgetTestRunnerLeftovers, DISABLED_ThenATestThatWaits) { QTest::qWait(100); }

TEST(WidgetTestRunner, ATestLeavingSomethingUnreadOrOpenFailsItself) {
  const struct {
    const char* tests;  // run in this order
    const char* failed;
    const char* passed;  // or null
  } cases[] = {
      {"DISABLED_AnUnreadErrorBox", "DISABLED_AnUnreadErrorBox", nullptr},
      {"DISABLED_AnUnheardBeep", "DISABLED_AnUnheardBeep", nullptr},
      {"DISABLED_AHandlerForADialogThatNeverOpens", "DISABLED_AHandlerForADialogThatNeverOpens",
       nullptr},
      {"DISABLED_AMouseButtonLeftPressed", "DISABLED_AMouseButtonLeftPressed", nullptr},
      {"DISABLED_AModalBoxLeftOpen:*.DISABLED_ThenATestThatWaits",
       "DISABLED_AModalBoxLeftOpen", "DISABLED_ThenATestThatWaits"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.tests);
    QProcess run;
    run.start(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests",
               QString("--gtest_filter=WidgetTestRunnerLeftovers.") + c.tests});
    ASSERT_TRUE(run.waitForFinished(30000));
    const QString output = run.readAllStandardOutput();
    EXPECT_NE(run.exitCode(), 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QString("[  FAILED  ] WidgetTestRunnerLeftovers.") + c.failed))
        << output.toStdString();
    if (c.passed) {
      EXPECT_TRUE(output.contains(QString("[       OK ] WidgetTestRunnerLeftovers.") + c.passed))
          << output.toStdString();
    }
  }
}

}  // namespace
}  // namespace zenavo::testing
