// Pasting into the box and very large values: a paste never silently turns into another
// number, and a value of any size stays readable.
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <gtest/gtest.h>

#include <cmath>

#include "numedit/num_edit_fixture.h"
#include "support/widget_test_support.h"

namespace zenavo {
namespace {

using zenavo::testing::TakeBeeps;

class PasteTest : public NumEditInEachLocale {};

struct PasteCase {
  const char* name;
  const char* text;       // comma notation; swapped in the point locale
  int selStart;
  int selLength;          // 0: the caret stands at selStart
  const char* clipboard;  // UTF-8, comma notation
  const char* expected;   // null: refused whole, with one beep and the box unchanged
};

// The rules themselves are tested on plain text (PasteTextTest); here the clipboard's way in:
// trimming, characters beyond Latin-1, one beep and an unchanged box.
const PasteCase kPasteCases[] = {
    // A coordinate copied from a web map: before, -22905 in a comma locale.
    {"pointCoordinateInCommaNotation", "0", 0, 1, "-22.905", nullptr},
    // A Unicode minus sign (U+2212): before, the hemisphere flipped.
    {"unicodeMinus", "0", 0, 1, "\u221222,9", nullptr},
    // Blanks around the other separator: before, -4788 in a point locale.
    {"blanksAroundTheOtherNotation", "0", 0, 1, " -47.88 ", nullptr},
    {"arabicDigits", "0", 0, 1, "\u0661\u0662", nullptr},
    {"cleanCoordinate", "0", 0, 1, "-22,905", "-22,905"},
    {"blanksAndLineEndTrimmed", "0", 0, 1, "\t -47,88 \r\n", "-47,88"},
    {"intoTheMiddle", "1234", 2, 0, "9", "12934"},
    {"blanksOnlyDeleteTheSelection", "1234", 1, 2, "   ", "14"},
};

TEST_P(PasteTest, IsTakenWholeOrRefusedWhole) {
  for (const PasteCase& c : kPasteCases) {
    SCOPED_TRACE(c.name);
    edit_->setText(LocalQ(c.text));
    if (c.selLength > 0)
      edit_->setSelection(c.selStart, c.selLength);
    else
      edit_->setCursorPosition(c.selStart);
    const QString selectedBefore = edit_->selectedText();
    const int caretBefore = edit_->cursorPosition();
    QApplication::clipboard()->setText(QString::fromStdString(Local(c.clipboard)));
    Press(Qt::Key_V, Qt::ControlModifier);
    if (c.expected) {
      EXPECT_EQ(Text(), Local(c.expected));
      EXPECT_EQ(TakeBeeps(), 0);
    } else {
      EXPECT_EQ(Text(), Local(c.text));
      EXPECT_EQ(edit_->selectedText(), selectedBefore);
      EXPECT_EQ(edit_->cursorPosition(), caretBefore);
      EXPECT_EQ(TakeBeeps(), 1);
    }
  }
}

TEST_P(PasteTest, FromTheContextMenuToo) {
  QApplication::clipboard()->setText(QString::fromStdString(Local("-22.905")));
  RightClickAndChoose("Colar");
  EXPECT_EQ(Text(), "0");
  EXPECT_EQ(TakeBeeps(), 1);
  QApplication::clipboard()->setText(QString::fromStdString(Local("-22,905")));
  RightClickAndChoose("Colar");
  EXPECT_EQ(Text(), Local("-22,905"));
}

// Beyond 15 integer digits the box shows the general form when it is left.
TEST_P(PasteTest, LargeValuesStayReadable) {
  struct Case {
    const char* pasted;
    const char* shown;
    long double value;
  };
  const Case cases[] = {{"1e400", "1E400", 1e400L},
                        {"15E19", "1,5E20", 1.5e20L},
                        {"-1234567890123456789", "-1,23456789012346E18", -1.23456789012346e18L},
                        {"999999999999999", "999999999999999", 999999999999999.0L}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.pasted);
    edit_->setFocus();
    edit_->selectAll();
    QApplication::clipboard()->setText(QString::fromStdString(Local(c.pasted)));
    Press(Qt::Key_V, Qt::ControlModifier);
    Press(Qt::Key_Tab);
    EXPECT_EQ(Text(), Local(c.shown));
    EXPECT_EQ(edit_->Value(), c.value);
  }
}

// The extended range ends near 1.19E4932: a number beyond it cannot be typed or pasted, so
// every text the box takes reads as a number.
TEST_P(PasteTest, NumbersBeyondTheExtendedRangeAreRefused) {
  Type("2E4932");
  EXPECT_EQ(Text(), "2E493");
  EXPECT_EQ(TakeBeeps(), 1);
  edit_->selectAll();
  QApplication::clipboard()->setText("2e4932");
  Press(Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(Text(), "2E493");
  EXPECT_EQ(TakeBeeps(), 1);

  edit_->selectAll();
  Type("2E-4932");
  Press(Qt::Key_Left);
  Type("-");  // would make it 2E4932
  EXPECT_EQ(Text(), "2E-4932");
  EXPECT_EQ(TakeBeeps(), 1);
  Press(Qt::Key_Tab);  // below the range: reads as zero
  EXPECT_EQ(Text(), "0");

  edit_->setFocus();
  Type(Local("1,1E4932").c_str());
  Press(Qt::Key_Tab);
  EXPECT_EQ(Text(), Local("1,1E4932"));
  EXPECT_EQ(edit_->Value(), 1.1e4932L);
}

INSTANTIATE_TEST_SUITE_P(Locales, PasteTest, ::testing::ValuesIn(kLocales),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zenavo
