// The current row, the selection and the view: the cell-move step, keys, and changes of the
// table under the current row.
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "base/exceptions.h"
#include "grid/table_grid_fixture.h"
#include "support/expect_error.h"

namespace zenavo::testing {
namespace {

// Grid1 with 54 data rows shows 6 rows whole (149-pixel viewport, 21-pixel rows under a
// 21-pixel header): a page is 5 rows.
TEST_F(TableGridTest, KeysMoveTheCurrentRowThroughTheCellMoveStep) {
  const struct Case {
    const char* name;
    int start;
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    int row, selectedTop, selectedBottom, topRow;
    Events events;
  } cases[] = {
      {"Down", 3, Qt::Key_Down, {}, 4, 4, 4, 1, {{0, 4}}},
      {"Up", 3, Qt::Key_Up, {}, 2, 2, 2, 1, {{0, 2}}},
      {"Down on the last row", 54, Qt::Key_Down, {}, 54, 54, 54, 49, {}},
      {"Up on the first data row", 1, Qt::Key_Up, {}, 1, 1, 1, 1, {}},
      {"Home on the first data row", 1, Qt::Key_Home, {}, 1, 1, 1, 1, {}},
      {"Home", 30, Qt::Key_Home, {}, 1, 1, 1, 1, {{0, 1}}},
      {"End", 1, Qt::Key_End, {}, 54, 54, 54, 49, {{0, 54}}},
      {"Ctrl+End", 1, Qt::Key_End, Qt::ControlModifier, 54, 54, 54, 49, {{0, 54}}},
      {"Ctrl+Home", 30, Qt::Key_Home, Qt::ControlModifier, 1, 1, 1, 1, {{0, 1}}},
      {"Page Down", 1, Qt::Key_PageDown, {}, 6, 6, 6, 6, {{0, 6}}},
      {"Page Down near the end", 52, Qt::Key_PageDown, {}, 54, 54, 54, 49, {{0, 54}}},
      {"Page Up", 30, Qt::Key_PageUp, {}, 25, 25, 25, 20, {{0, 25}}},
      {"Page Up near the start", 3, Qt::Key_PageUp, {}, 1, 1, 1, 1, {{0, 1}}},
      {"Ctrl+Page Down: last row shown whole", 1, Qt::Key_PageDown, Qt::ControlModifier, 6, 6, 6, 1, {{0, 6}}},
      {"Ctrl+Page Up: top row", 30, Qt::Key_PageUp, Qt::ControlModifier, 25, 25, 25, 25, {{0, 25}}},
      {"Shift+Down", 3, Qt::Key_Down, Qt::ShiftModifier, 4, 3, 4, 1, {{0, 4}}},
      {"Shift+Up", 3, Qt::Key_Up, Qt::ShiftModifier, 2, 2, 3, 1, {{0, 2}}},
      {"Shift+Page Down", 1, Qt::Key_PageDown, Qt::ShiftModifier, 6, 1, 6, 6, {{0, 6}}},
      {"Shift+Ctrl+Page Down", 2, Qt::Key_PageDown, Qt::ShiftModifier | Qt::ControlModifier, 6, 2, 6, 1, {{0, 6}}},
      {"Shift+Home moves the anchor too", 5, Qt::Key_Home, Qt::ShiftModifier, 1, 1, 1, 1, {{0, 1}}},
      {"Shift+End moves the anchor too", 5, Qt::Key_End, Qt::ShiftModifier, 54, 54, 54, 49, {{0, 54}}},
      {"Ctrl+Down scrolls one row", 1, Qt::Key_Down, Qt::ControlModifier, 1, 1, 1, 2, {}},
      {"Ctrl+Up scrolls one row", 30, Qt::Key_Up, Qt::ControlModifier, 30, 30, 30, 24, {}},
      {"Ctrl+A selects every data row", 5, Qt::Key_A, Qt::ControlModifier, 54, 1, 54, 1, {}},
      {"F2", 5, Qt::Key_F2, {}, 5, 5, 5, 1, {}},
      {"Enter", 5, Qt::Key_Return, {}, 5, 5, 5, 1, {}},
      {"a typed letter no name holds: a search that beeps", 5, Qt::Key_X, {}, 5, 5, 5, 1, {}},
      {"Delete", 5, Qt::Key_Delete, {}, 5, 5, 5, 1, {}},
      {"Insert", 5, Qt::Key_Insert, {}, 5, 5, 5, 1, {}},
      {"Ctrl+C", 5, Qt::Key_C, Qt::ControlModifier, 5, 5, 5, 1, {}},
      {"Ctrl+V", 5, Qt::Key_V, Qt::ControlModifier, 5, 5, 5, 1, {}},
      {"Shift+Insert", 5, Qt::Key_Insert, Qt::ShiftModifier, 5, 5, 5, 1, {}},
  };
  UsePointingGrid();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->SetRow(c.start);
    Press(Qt::Key_Home);  // start from a known view: the top
    grid_->SetRow(c.start);
    TakeEvents();
    Press(c.key, c.modifiers);
    EXPECT_EQ(grid_->Row(), c.row);
    EXPECT_EQ(SelectedRows(), std::make_pair(c.selectedTop, c.selectedBottom));
    EXPECT_EQ(grid_->TopRow(), c.topRow);
    EXPECT_EQ(TakeEvents(), c.events);
    EXPECT_EQ(TakeBeeps(), c.key == Qt::Key_X && !c.modifiers ? 1 : 0);
    EXPECT_TRUE(grid_->hasFocus());
  }
}

TEST_F(TableGridTest, CtrlASetsTheCurrentCellToTheLastColumnOfTheLastRow) {
  UseCityGrid();
  Press(Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(grid_->Selection(), (TGridRect{0, 1, 4, 54}));
  EXPECT_EQ(grid_->Col(), 4);
  Press(Qt::Key_Up);
  EXPECT_EQ(grid_->Selection(), (TGridRect{0, 53, 4, 53}));
  EXPECT_EQ(grid_->Col(), 0);
  EXPECT_EQ(TakeEvents(), (Events{{0, 53}}));
}

TEST_F(TableGridTest, LeftAndRightScrollColumnsAndKeepTheRow) {
  UsePointingGrid();
  for (int col = 0; col < 7; ++col) grid_->SetColWidths(col, 200);
  QApplication::processEvents();
  grid_->SetRow(3);
  TakeEvents();
  // 529 pixels show the last two columns whole from column 5 on.
  const struct {
    Qt::Key key;
    int presses, leftCol;
  } steps[] = {{Qt::Key_Right, 1, 1}, {Qt::Key_Right, 10, 5}, {Qt::Key_Left, 2, 3}, {Qt::Key_Left, 9, 0}};
  for (const auto& s : steps) {
    for (int i = 0; i < s.presses; ++i) Press(s.key);
    EXPECT_EQ(grid_->LeftCol(), s.leftCol);
    EXPECT_EQ(grid_->Row(), 3);
  }
  EXPECT_EQ(TakeEvents(), Events{});
}

TEST_F(TableGridTest, TabLeavesTheGrid) {
  UsePointingGrid();
  Press(Qt::Key_Tab);
  EXPECT_TRUE(other_->hasFocus());
  EXPECT_EQ(grid_->Row(), 1);
}

TEST_F(TableGridTest, SettingRowScrollsAsLittleAsNeeded) {
  UsePointingGrid();
  const struct {
    int row, topRow;
  } steps[] = {{6, 1}, {7, 2}, {20, 15}, {16, 15}, {14, 14}, {54, 49}, {1, 1}};
  for (const auto& s : steps) {
    grid_->SetRow(s.row);
    EXPECT_EQ(grid_->TopRow(), s.topRow) << "row " << s.row;
    EXPECT_EQ(grid_->LastFullyVisibleRow(), s.topRow + 5) << "row " << s.row;
  }
  EXPECT_EQ(TakeEvents(), (Events{{0, 6}, {0, 7}, {0, 20}, {0, 16}, {0, 14}, {0, 54}, {0, 1}}));
  grid_->SetRow(1);  // the current row: nothing happens
  EXPECT_EQ(TakeEvents(), Events{});
}

TEST_F(TableGridTest, AMoveOutsideTheGridFailsAndChangesNothing) {
  UsePointingGrid();
  grid_->SetRow(4);
  TakeEvents();
  for (int row : {-1, 55, 1000}) {
    ExpectError<ETableGridError>([&] { grid_->SetRow(row); }, "Grid index out of range");
    EXPECT_EQ(grid_->Row(), 4);
  }
  EXPECT_EQ(TakeEvents(), Events{});
}

TEST_F(TableGridTest, ARefusedMoveChangesNothing) {
  UsePointingGrid();
  refuse_ = true;
  Press(Qt::Key_Down);
  Press(Qt::Key_End);
  Click(InCell(2, 3));
  EXPECT_EQ(TakeEvents(), (Events{{0, 2}, {0, 54}, {2, 3}}));
  EXPECT_EQ(grid_->Row(), 1);
  EXPECT_EQ(SelectedRows(), std::make_pair(1, 1));
  EXPECT_EQ(grid_->TopRow(), 1);
}

TEST_F(TableGridTest, AnErrorFromOnSelectCellIsShownOnceAndChangesNothing) {
  UseCityGrid();
  grid_->OnSelectCell = [](TTableGrid&, int, int, bool&) {
    throw EConvertError::NotAFloat("");
  };
  Press(Qt::Key_Down);
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{"'' is not a valid floating point value"});
  EXPECT_EQ(grid_->Row(), 1);
  Click(InCell(0, 5));
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{"'' is not a valid floating point value"});
  EXPECT_EQ(grid_->Row(), 1);
  // The grid itself shows it: nothing is thrown on into the code that delivered the event.
  QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
  EXPECT_TRUE(static_cast<QObject*>(grid_)->event(&down));
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{"'' is not a valid floating point value"});
}

TEST_F(TableGridTest, LoweringRowCountClampsTheCurrentRowWithoutAnEvent) {
  UsePointingGrid();
  grid_->SetRow(30);
  Press(Qt::Key_Down, Qt::ShiftModifier);
  TakeEvents();
  grid_->SetRowCount(21);
  EXPECT_EQ(grid_->Row(), 20);
  EXPECT_EQ(SelectedRows(), std::make_pair(20, 20));
  EXPECT_EQ(grid_->TopRow(), 15);
  // Down from the last row does nothing; the table below the header keeps working.
  Press(Qt::Key_Down);
  Press(Qt::Key_Up);
  EXPECT_EQ(TakeEvents(), (Events{{0, 19}}));

  // A table of the header row alone has no fixed row left: its one row is the data row.
  grid_->SetRowCount(1);
  EXPECT_EQ(grid_->FixedRows(), 0);
  EXPECT_EQ(grid_->Row(), 0);
  EXPECT_EQ(SelectedRows(), std::make_pair(0, 0));
  Press(Qt::Key_Down);
  Press(Qt::Key_End);
  EXPECT_EQ(TakeEvents(), Events{});
}

TEST_F(TableGridTest, LoweringColCountClampsTheCurrentColumn) {
  UsePointingGrid();
  Press(Qt::Key_A, Qt::ControlModifier);
  grid_->SetColCount(3);
  EXPECT_EQ(grid_->Col(), 2);
  EXPECT_EQ(grid_->Selection(), (TGridRect{0, 1, 2, 54}));
}

TEST_F(TableGridTest, EditTableResyncsAndRepaintsOnceEvenWhenItFails) {
  UsePointingGrid();
  grid_->SetRow(40);
  TakeEvents();
  const int repaints = grid_->RepaintRequests();
  ExpectError<EListError>(
      [&] {
        grid_->EditTable([](StringTable& table) {
          table.SetRowCount(11);
          table.SetCells(99, 1, "x");  // beyond the columns
        });
      },
      "List index out of bounds (99)");
  EXPECT_EQ(grid_->RepaintRequests(), repaints + 1);
  EXPECT_EQ(grid_->Row(), 10);
  EXPECT_EQ(grid_->TopRow(), 5);
  EXPECT_EQ(grid_->RowHeights(10), 21);
  EXPECT_EQ(TakeEvents(), Events{});
}

}  // namespace
}  // namespace zenavo::testing
