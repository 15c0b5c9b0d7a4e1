// Leaving the box, and what is not leaving it: a context menu or another window only lends
// the focus, and closing the window is no leaving either.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

#include "numedit/num_edit_fixture.h"
#include "support/widget_test_support.h"

namespace zenavo {
namespace {

using zenavo::testing::TakeBeeps;
using zenavo::testing::TakeErrors;

enum class Command { None, Paste, Cut, Copy };

struct LentFocusCase {
  const char* name;
  const char* text;  // comma notation; swapped in the point locale
  int selStart;
  int selLength;     // 0: the caret stands at selStart
  Command command;   // given after the focus came back (from the menu, or by keys)
  const char* typed;
  const char* expectedText;
  const char* expectedSelection;
  int expectedCaret;
  const char* expectedClipboard = nullptr;  // null: not looked at
  long double minValue = 0, maxValue = 0;
};

// Before the mend each of these acted on the whole text, selected again as the focus came
// back, or on the text reformatted as the focus went: "9", "0", "150", "5", an error box,
// "90" with a beep.
const LentFocusCase kLentFocusCases[] = {
    {"pasteGoesToTheCaret", "1234", 2, 0, Command::Paste, "", "12934", "", 3},
    {"cutTakesTheSelection", "12,34", 1, 3, Command::Cut, "", "1,4", "", 1, "2,3"},
    {"copyTakesTheSelection", "1,5E2", 3, 2, Command::Copy, "", "1,5E2", "E2", 5, "E2"},
    {"typingGoesToTheCaret", "1234", 2, 0, Command::None, "5", "12534", "", 3},
    {"unfinishedNumberStays", "1E", 2, 0, Command::None, "", "1E", "", 2},
    {"outOfRangeStays", "95,5", 4, 0, Command::None, "", "95,5", "", 4, nullptr, -90, 90},
};

const char* MenuItem(Command command) {
  switch (command) {
    case Command::Paste: return "Colar";
    case Command::Cut: return "Recortar";
    case Command::Copy: return "Copiar";
    default: return nullptr;
  }
}

Qt::Key ShortcutKey(Command command) {
  return command == Command::Paste ? Qt::Key_V : command == Command::Cut ? Qt::Key_X : Qt::Key_C;
}

enum class Lender { ContextMenu, AnotherWindow };

class LentFocusTest : public NumEditTest,
                      public ::testing::WithParamInterface<std::tuple<LocaleCase, Lender>> {
 protected:
  LentFocusTest() : NumEditTest(std::get<0>(GetParam()).settings()) {}
};

TEST_P(LentFocusTest, KeepsTextSelectionAndCaret) {
  const Lender lender = std::get<1>(GetParam());
  for (const LentFocusCase& c : kLentFocusCases) {
    SCOPED_TRACE(c.name);
    edit_->SetMinValue(0);
    edit_->SetMaxValue(0);
    edit_->SetMaxValue(c.maxValue);
    edit_->SetMinValue(c.minValue);
    edit_->setText(LocalQ(c.text));
    if (c.selLength > 0)
      edit_->setSelection(c.selStart, c.selLength);
    else
      edit_->setCursorPosition(c.selStart);
    QApplication::clipboard()->setText(c.command == Command::Paste ? "9" : "untouched");

    if (lender == Lender::ContextMenu) {
      RightClickAndChoose(MenuItem(c.command));
    } else {
      SwitchToAnotherWindowAndBack();
      if (c.command != Command::None) Press(ShortcutKey(c.command), Qt::ControlModifier);
    }
    Type(c.typed);

    EXPECT_TRUE(edit_->hasFocus());
    EXPECT_EQ(Text(), Local(c.expectedText));
    EXPECT_EQ(edit_->selectedText().toStdString(), Local(c.expectedSelection));
    EXPECT_EQ(edit_->cursorPosition(), c.expectedCaret);
    if (c.expectedClipboard) {
      EXPECT_EQ(QApplication::clipboard()->text().toStdString(), Local(c.expectedClipboard));
    }
    EXPECT_EQ(TakeBeeps(), 0);
    EXPECT_EQ(TakeErrors(), std::vector<std::string>{});
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lenders, LentFocusTest,
    ::testing::Combine(::testing::ValuesIn(kLocales),
                       ::testing::Values(Lender::ContextMenu, Lender::AnotherWindow)),
    [](const auto& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) == Lender::ContextMenu ? "ContextMenu" : "AnotherWindow");
    });

// Focus that goes to another control of the window leaves the box: the text is reformatted
// and the range corrected, whether by Tab, a click or a mnemonic.
enum class Way { Tab, Click, Mnemonic };

class LeavingTest : public NumEditTest,
                    public ::testing::WithParamInterface<std::tuple<LocaleCase, Way>> {
 protected:
  LeavingTest() : NumEditTest(std::get<0>(GetParam()).settings()) {}

  void Leave() {
    switch (std::get<1>(GetParam())) {
      case Way::Tab: Press(Qt::Key_Tab); break;
      case Way::Click:
        QTest::mouseClick(other_, Qt::LeftButton, Qt::NoModifier, QPoint(5, other_->height() / 2));
        break;
      case Way::Mnemonic: Press(Qt::Key_O, Qt::AltModifier); break;
    }
  }
};

TEST_P(LeavingTest, ReformatsAndCorrectsTheRange) {
  QLabel label("&Outro", &window_);
  label.setBuddy(other_);
  label.move(150, 40);
  label.show();

  edit_->setText(LocalQ("1,5E2"));
  Leave();
  EXPECT_TRUE(other_->hasFocus());
  EXPECT_EQ(Text(), "150");

  edit_->SetMaxValue(90);
  edit_->SetMinValue(-90);
  edit_->setFocus();
  edit_->setText(LocalQ("95,5"));
  Leave();
  EXPECT_EQ(Text(), "90");
  EXPECT_EQ(TakeBeeps(), 1);
  QTest::qWait(20);
  EXPECT_TRUE(edit_->hasFocus());  // the focus comes back to the corrected box
}

INSTANTIATE_TEST_SUITE_P(
    Ways, LeavingTest,
    ::testing::Combine(::testing::ValuesIn(kLocales),
                       ::testing::Values(Way::Tab, Way::Click, Way::Mnemonic)),
    [](const auto& info) {
      const Way way = std::get<1>(info.param);
      return std::string(std::get<0>(info.param).name) +
             (way == Way::Tab ? "Tab" : way == Way::Click ? "Click" : "Mnemonic");
    });

// Closing or destroying the window is no leaving: whatever the box holds, nothing is
// corrected, no beep sounds and no error box shows as the window goes away.
TEST_P(NumEditInEachLocale, ClosingTheWindowCorrectsNothing) {
  struct Case {
    const char* text;
    long double minValue, maxValue;
  };
  const Case cases[] = {{"95,5", -90, 90}, {"1E", 0, 0}};
  for (const Case& c : cases) {
    for (const bool destroyOnly : {false, true}) {
      SCOPED_TRACE(std::string(c.text) + (destroyOnly ? ", destroyed" : ", closed"));
      auto window = std::make_unique<QWidget>();
      auto* box = new TQvNumEdit(window.get());
      box->SetMaxValue(c.maxValue);
      box->SetMinValue(c.minValue);
      window->show();
      window->activateWindow();
      ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
      box->setFocus();
      box->setText(LocalQ(c.text));
      if (!destroyOnly) {
        window->close();
        EXPECT_EQ(box->text(), LocalQ(c.text));
      }
      window.reset();
      QTest::qWait(10);
      EXPECT_EQ(TakeBeeps(), 0);
      EXPECT_EQ(TakeErrors(), std::vector<std::string>{});
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Locales, NumEditInEachLocale, ::testing::ValuesIn(kLocales),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zenavo
