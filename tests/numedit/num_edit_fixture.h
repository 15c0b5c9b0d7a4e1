// A window holding the numeric edit box under test and another focusable box, driven the way a
// user drives them: keys, clicks, the context menu, another window.
#pragma once

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>

#include "base/format_settings.h"
#include "numedit/qv_num_edit.h"
#include "support/widget_test_support.h"

namespace zenavo {

class NumEditTest : public ::testing::Test {
 protected:
  explicit NumEditTest(const FormatSettings& settings = CommaFormatSettings()) : locale_(settings) {}

  void SetUp() override {
    window_.resize(300, 100);
    edit_ = new TQvNumEdit(&window_);
    other_ = new TQvNumEdit(&window_);
    other_->move(0, 40);
    window_.show();
    QApplication::setActiveWindow(&window_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
    edit_->setFocus();
  }

  void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) QTest::keyClick(edit_, *k);
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(edit_, key, modifiers);
  }
  std::string Text() const { return edit_->text().toStdString(); }

  // A text written with a comma separator and point grouping, in the notation in force: the
  // point locale swaps the two.
  static std::string Local(std::string commaText) {
    if (CurrentFormatSettings().DecimalSeparator == '.')
      for (char& c : commaText) c = c == ',' ? '.' : (c == '.' ? ',' : c);
    return commaText;
  }
  static QString LocalQ(const char* commaText) {
    return QString::fromStdString(Local(commaText));
  }

  // Right-clicks the box as a user does and clicks `item` of its context menu, or dismisses
  // the menu when `item` is null.
  void RightClickAndChoose(const char* item) {
    testing::ExpectDialog([item](QWidget* popup) {
      // The offscreen platform announces the menu's window asynchronously; a real window
      // system has done so before any click, so let it arrive while the menu is still open.
      QApplication::processEvents();
      auto* menu = qobject_cast<QMenu*>(popup);
      if (!menu) {
        ADD_FAILURE() << "not a menu: " << popup->metaObject()->className();
        popup->close();
        return;
      }
      if (!item) {
        QTest::keyClick(menu, Qt::Key_Escape);
        return;
      }
      for (QAction* action : menu->actions()) {
        if (action->text() == QString::fromUtf8(item)) {
          QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
          return;
        }
      }
      ADD_FAILURE() << "no menu item \"" << item << "\"";
      menu->close();
    });
    const QPoint inBox(edit_->width() / 2, edit_->height() / 2);
    QTest::mouseClick(window_.windowHandle(), Qt::RightButton, Qt::NoModifier, edit_->mapTo(&window_, inBox));
    EXPECT_EQ(testing::PendingDialogHandlers(), 0) << "no context menu opened";
  }

  // Activates another top-level window, then this one again.
  void SwitchToAnotherWindowAndBack() {
    QWidget elsewhere;
    elsewhere.resize(120, 60);
    elsewhere.show();
    elsewhere.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    EXPECT_FALSE(edit_->hasFocus());
    window_.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window_));
    EXPECT_TRUE(edit_->hasFocus());
  }

  ScopedFormatSettings locale_;
  QWidget window_;
  TQvNumEdit* edit_ = nullptr;
  TQvNumEdit* other_ = nullptr;
};

// The same window in the point and in the comma locale.
struct LocaleCase {
  const char* name;
  FormatSettings (*settings)();
};

class NumEditInEachLocale : public NumEditTest, public ::testing::WithParamInterface<LocaleCase> {
 protected:
  NumEditInEachLocale() : NumEditTest(GetParam().settings()) {}
};

inline const LocaleCase kLocales[] = {{"point", PointFormatSettings}, {"comma", CommaFormatSettings}};

}  // namespace zenavo
