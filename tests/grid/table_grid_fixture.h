// A window holding a table grid under test and a line edit to take the focus elsewhere, driven
// the way a user drives them: keys, clicks, drags, wheel notches. Pictures come from the
// viewport's own paint; the texts handed to painting are recorded by a paint device that keeps
// each text item with its position, so tests read decoded texts, never glyph pixels.
#pragma once

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/format_settings.h"
#include "grid/grid_configurations.h"
#include "grid/table_grid.h"
#include "support/text_recorder.h"
#include "support/widget_test_support.h"

namespace zenavo::testing {

class TableGridTest : public ::testing::Test {
 protected:
  TableGridTest() : format_(PointFormatSettings()) {}

  void SetUp() override {
    window_.resize(600, 260);
    grid_ = new TTableGrid(&window_);
    other_ = new QLineEdit(&window_);
    other_->move(0, 230);
    window_.show();
    QApplication::setActiveWindow(&window_);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window_));
  }

  // Grid1 or Grid2 as the main window configures it, with `rows` data rows: column 0 holds
  // "row <n>", column 1 the number n, the other columns "c<col>r<n>".
  void UsePointingGrid(int rows = 54) { Configure(ConfigurePointingGrid, rows); }
  void UseCityGrid(int rows = 54) { Configure(ConfigureCityGrid, rows); }
  void Configure(void (*configure)(TTableGrid&), int rows) {
    configure(*grid_);
    grid_->SetRowCount(rows + 1);
    for (int row = 1; row <= rows; ++row) {
      grid_->SetCells(0, row, "row " + std::to_string(row));
      grid_->SetCells(1, row, std::to_string(row));
      for (int col = 2; col < grid_->ColCount(); ++col)
        grid_->SetCells(col, row, "c" + std::to_string(col) + "r" + std::to_string(row));
    }
    grid_->OnSelectCell = [this](TTableGrid&, int col, int row, bool& canSelect) {
      events_.emplace_back(col, row);
      canSelect = !refuse_;
    };
    grid_->setFocus();
    // The scroll area shows or hides its scroll bars when its queued layout request runs.
    QApplication::processEvents();
  }

  // The (column, row) of every OnSelectCell since the last call.
  std::vector<std::pair<int, int>> TakeEvents() { return std::exchange(events_, {}); }
  // The data rows selected now.
  std::pair<int, int> SelectedRows() const {
    return {grid_->Selection().Top, grid_->Selection().Bottom};
  }

  QWidget* Viewport() const { return grid_->viewport(); }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(grid_, key, modifiers);
  }
  // A point `dx` pixels right of a cell's left edge, 10 pixels below its top.
  QPoint InCell(int col, int row, int dx = 10) const {
    const QRect cell = grid_->CellRect(col, row);
    EXPECT_FALSE(cell.isEmpty()) << "cell (" << col << ", " << row << ") is not shown";
    return QPoint(cell.left() + dx, cell.top() + 10);
  }
  void Click(QPoint point, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mouseClick(Viewport(), Qt::LeftButton, modifiers, point);
  }
  // Through the window, as the window system delivers it: press, release, double-click,
  // release.
  void DoubleClick(QPoint point) {
    QTest::mouseDClick(window_.windowHandle(), Qt::LeftButton, {}, Viewport()->mapTo(&window_, point));
  }
  void PressButton(QPoint point, Qt::MouseButton button = Qt::LeftButton,
                   Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::mousePress(Viewport(), button, modifiers, point);
  }
  void ReleaseButton(QPoint point, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseRelease(Viewport(), button, {}, point);
  }
  // A move with the left button held (QTest's own move carries no buttons).
  void DragTo(QPoint point, Qt::MouseButtons buttons = Qt::LeftButton) {
    QMouseEvent move(QEvent::MouseMove, point, Viewport()->mapToGlobal(point), Qt::NoButton,
                     buttons, Qt::NoModifier);
    QApplication::sendEvent(Viewport(), &move);
  }
  // A wheel turn of `delta` (120 = one notch away from the user) over `widget` at `point`.
  static void Wheel(QWidget* widget, QPoint point, int delta,
                    Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWheelEvent wheel(point, widget->mapToGlobal(point), QPoint(), QPoint(0, delta), Qt::NoButton,
                      modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &wheel);
  }
  void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Wheel(Viewport(), InCell(0, grid_->TopRow()), delta, modifiers);
  }

  // The viewport as painted now, at device pixel ratio 1.
  QImage Picture() const {
    QApplication::processEvents();
    return Viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
  }
  // The texts a paint of the viewport hands to the painter, in painting order.
  std::vector<TextRecorder::Item> PaintedTexts() const {
    TextRecorder recorder(Viewport()->width(), Viewport()->height());
    Viewport()->render(&recorder);
    return recorder.Items();
  }
  // The texts painted with their baseline start inside cell (col, row), joined.
  QString PaintedText(int col, int row) const {
    const QRect cell = grid_->CellRect(col, row);
    QString text;
    for (const TextRecorder::Item& item : PaintedTexts())
      if (cell.contains(item.Baseline.toPoint())) text += item.Text;
    return text;
  }
  QColor Palette(QPalette::ColorRole role) const { return grid_->palette().color(QPalette::Active, role); }

  ScopedFormatSettings format_;
  QWidget window_;
  TTableGrid* grid_ = nullptr;
  QLineEdit* other_ = nullptr;
  std::vector<std::pair<int, int>> events_;
  bool refuse_ = false;
};

using Events = std::vector<std::pair<int, int>>;

}  // namespace zenavo::testing
