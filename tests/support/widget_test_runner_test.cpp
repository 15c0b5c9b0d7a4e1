// The widget test runner itself: dialogs go to the handlers tests queue for them, an
// unexpected dialog fails the test instead of waiting for a click, and a test that leaves an
// error message or a beep unread fails.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMessageBox>
#include <QProcess>

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

TEST(WidgetTestRunner, ATestLeavingSomethingUnreadFails) {
  for (const char* name : {"DISABLED_AnUnreadErrorBox", "DISABLED_AnUnheardBeep",
                           "DISABLED_AHandlerForADialogThatNeverOpens"}) {
    QProcess run;
    run.start(QCoreApplication::applicationFilePath(),
              {"--gtest_also_run_disabled_tests",
               QString("--gtest_filter=WidgetTestRunnerLeftovers.") + name});
    ASSERT_TRUE(run.waitForFinished(30000)) << name;
    const QString output = run.readAllStandardOutput();
    EXPECT_NE(run.exitCode(), 0) << name << "\n" << output.toStdString();
    EXPECT_TRUE(output.contains("[  FAILED  ]")) << name << "\n" << output.toStdString();
  }
}

}  // namespace
}  // namespace zenavo::testing
