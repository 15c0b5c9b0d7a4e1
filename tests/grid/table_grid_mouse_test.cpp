// The mouse and the wheel: clicks in Grid1 and Grid2, drag selection and its autoscroll, wheel
// notches and zoom, pan mode, column sizing and auto-size.
#include <QAbstractEventDispatcher>
#include <QFontMetrics>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/exceptions.h"
#include "grid/table_grid_fixture.h"

namespace zenavo::testing {
namespace {

struct ClickCase {
  const char* name;
  int col, row;
  Qt::KeyboardModifiers modifiers;
  int currentRow, selectedTop, selectedBottom;
  Events events;
};

class MouseTest : public TableGridTest {
 protected:
  // Each click from row 3 selected alone.
  void Clicks(const std::vector<ClickCase>& cases) {
    for (const ClickCase& c : cases) {
      SCOPED_TRACE(c.name);
      grid_->SetRow(1);
      grid_->SetRow(3);
      TakeEvents();
      Click(InCell(c.col, c.row), c.modifiers);
      EXPECT_EQ(grid_->Row(), c.currentRow);
      EXPECT_EQ(SelectedRows(), std::make_pair(c.selectedTop, c.selectedBottom));
      EXPECT_EQ(TakeEvents(), c.events);
    }
  }
};

TEST_F(MouseTest, Grid1ClicksSelectTheRowAndRaiseTheEventForTheClickedColumn) {
  UsePointingGrid();
  TSortSettings sort = grid_->SortSettings();
  sort.Show = false;  // header clicks that sort are tested on their own
  grid_->SetSortSettings(sort);
  Clicks({
      {"first column of the current row", 0, 3, {}, 3, 3, 3, {{0, 3}}},
      {"another column of the current row", 2, 3, {}, 3, 3, 3, {{2, 3}}},
      {"another row", 4, 5, {}, 5, 5, 5, {{4, 5}}},
      {"Shift-click is a plain click", 1, 5, Qt::ShiftModifier, 5, 5, 5, {{1, 5}}},
      {"header row", 2, 0, {}, 3, 3, 3, {}},
  });
}

TEST_F(MouseTest, Grid2ClicksSelectAndShiftClicksExtendWithoutAnEvent) {
  UseCityGrid();
  TSortSettings sort = grid_->SortSettings();
  sort.Show = false;
  grid_->SetSortSettings(sort);
  Clicks({
      {"another row", 2, 5, {}, 5, 5, 5, {{2, 5}}},
      {"the current cell again", 0, 3, {}, 3, 3, 3, {{0, 3}}},
      {"Shift-click below", 0, 5, Qt::ShiftModifier, 3, 3, 5, {}},
      {"Shift-click above", 3, 1, Qt::ShiftModifier, 3, 1, 3, {}},
      {"header row", 2, 0, {}, 3, 3, 3, {}},
  });
}

TEST_F(MouseTest, AClickTakesTheFocus) {
  UsePointingGrid();
  other_->setFocus();
  Click(InCell(1, 4));
  EXPECT_TRUE(grid_->hasFocus());
  EXPECT_EQ(grid_->Row(), 4);
}

TEST_F(MouseTest, ClicksOutsideTheCellsChangeNothing) {
  UsePointingGrid(2);
  Click(QPoint(520, 30));  // right of the last column
  Click(QPoint(30, 100));  // below the last row
  EXPECT_EQ(grid_->Row(), 1);
  EXPECT_EQ(TakeEvents(), Events{});
}

TEST_F(MouseTest, DraggingInGrid2MovesTheAnchorAndDraggingInGrid1DoesNot) {
  const struct {
    const char* name;
    void (*configure)(TTableGrid&);
    int pressRow;
    int dragY;  // viewport y the pointer is dragged to
    int selectedTop, selectedBottom;
  } cases[] = {
      {"Grid2 down", ConfigureCityGrid, 2, 4 * 21 + 10, 2, 4},
      {"Grid2 up into the header", ConfigureCityGrid, 4, 5, 1, 4},
      {"Grid1", ConfigurePointingGrid, 2, 4 * 21 + 10, 2, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Configure(c.configure, 54);
    grid_->SetRow(1);
    TakeEvents();
    PressButton(InCell(0, c.pressRow));
    DragTo(QPoint(30, c.dragY));
    ReleaseButton(QPoint(30, c.dragY));
    EXPECT_EQ(grid_->Row(), c.pressRow);
    EXPECT_EQ(SelectedRows(), std::make_pair(c.selectedTop, c.selectedBottom));
    EXPECT_EQ(TakeEvents(), (Events{{0, c.pressRow}}));
  }
}

TEST_F(MouseTest, AKeyPressedWhileDraggingDoesNotEndTheDrag) {
  UseCityGrid();
  PressButton(InCell(0, 2));
  QTest::keyPress(grid_, Qt::Key_Shift);
  DragTo(InCell(0, 4));
  QTest::keyRelease(grid_, Qt::Key_Shift);
  ReleaseButton(InCell(0, 4));
  EXPECT_EQ(SelectedRows(), std::make_pair(2, 4));
}

TEST_F(MouseTest, DraggingBelowTheViewScrollsUntilReleaseOrFocusLoss) {
  UseCityGrid();
  for (bool byFocusLoss : {false, true}) {
    SCOPED_TRACE(byFocusLoss ? "focus loss" : "release");
    Press(Qt::Key_Home);
    PressButton(InCell(0, 2));
    DragTo(QPoint(30, Viewport()->height() + 20));
    // One row a tick, a tick every 60 ms: the grid's only timer now.
    std::vector<int> intervals;
    for (const auto& timer : QAbstractEventDispatcher::instance()->registeredTimers(grid_))
      intervals.push_back(timer.interval);
    EXPECT_EQ(intervals, std::vector<int>{60});
    QTest::qWait(250);  // about four ticks; never more than five
    EXPECT_GT(grid_->TopRow(), 1);
    EXPECT_LE(grid_->TopRow(), 1 + 5);
    EXPECT_EQ(SelectedRows(), std::make_pair(2, grid_->LastFullyVisibleRow()));
    if (byFocusLoss)
      other_->setFocus();
    else
      ReleaseButton(QPoint(30, Viewport()->height() + 20));
    const int topRow = grid_->TopRow();
    QTest::qWait(150);
    EXPECT_EQ(grid_->TopRow(), topRow);
    if (byFocusLoss) ReleaseButton(QPoint(30, Viewport()->height() + 20));
    EXPECT_EQ(grid_->Row(), 2);
    grid_->setFocus();
  }
  EXPECT_EQ(TakeEvents(), (Events{{0, 2}, {0, 1}, {0, 2}}));  // Home from row 2 the second time
}

// --- Wheel ---------------------------------------------------------------------------------------

TEST_F(MouseTest, AWheelNotchMovesFourRowsWithTwoEvents) {
  UseCityGrid();
  const struct {
    const char* name;
    int start;
    std::vector<int> deltas;
    int row;
    Events events;
  } cases[] = {
      {"one notch down", 1, {-120}, 5, {{0, 4}, {0, 5}}},
      {"one notch up", 20, {120}, 16, {{0, 17}, {0, 16}}},
      {"near the end", 52, {-120}, 54, {{0, 54}}},
      {"at the end", 54, {-120}, 54, {}},
      {"near the start", 3, {120}, 1, {{0, 1}}},
      {"two notches at once", 1, {-240}, 9, {{0, 4}, {0, 5}, {0, 8}, {0, 9}}},
      {"quarter notches add up", 1, {-30, -30, -30, -30}, 5, {{0, 4}, {0, 5}}},
      {"three quarters do nothing", 1, {-30, -30, -30}, 1, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->SetRow(c.start);
    TakeEvents();
    int sum = 0;
    for (int delta : c.deltas) {
      Wheel(delta);
      sum += delta;
    }
    EXPECT_EQ(grid_->Row(), c.row);
    EXPECT_EQ(TakeEvents(), c.events);
    Wheel(-(sum % 120));  // spends what is left of a notch: nothing moves
    EXPECT_EQ(grid_->Row(), c.row);
  }
}

// The wheel acts on the grid under the pointer: with the focus it moves the current row; without
// it, it only scrolls or zooms, so the site the other grid drives never changes unseen.
TEST_F(MouseTest, TheWheelMovesTheFocusedGridsRowAndOnlyScrollsAnother) {
  UseCityGrid();
  const int lines = QApplication::wheelScrollLines();
  QApplication::setWheelScrollLines(5);
  const struct {
    const char* name;
    bool focused;
    int startTop, delta;
    Qt::KeyboardModifiers modifiers;
    int row, topRow, zoom;
    Events events;
  } cases[] = {
      {"focused: five rows and one more", true, 1, -120, {}, 7, 3, 0, {{0, 6}, {0, 7}}},
      {"not focused: the view scrolls five rows", false, 1, -120, {}, 1, 6, 0, {}},
      {"not focused: and back up", false, 20, 120, {}, 1, 15, 0, {}},
      {"not focused: Ctrl zooms, the row stays", false, 1, -120, Qt::ControlModifier, 1, 1, 5, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->SetRow(1);
    grid_->SetTopRow(c.startTop);
    TakeEvents();
    if (c.focused)
      grid_->setFocus();
    else
      other_->setFocus();
    Wheel(c.delta, c.modifiers);
    EXPECT_EQ(grid_->Row(), c.row);
    EXPECT_EQ(grid_->TopRow(), c.topRow);
    EXPECT_EQ(grid_->ZoomTotal(), c.zoom);
    EXPECT_EQ(grid_->hasFocus(), c.focused);
    EXPECT_EQ(TakeEvents(), c.events);
  }
  QApplication::setWheelScrollLines(lines);
  grid_->setFocus();
  grid_->SetEnableWheel(false);
  Wheel(-120);
  EXPECT_EQ(grid_->Row(), 1);
  EXPECT_EQ(TakeEvents(), Events{});
}

TEST_F(MouseTest, CtrlWheelZoomsWithinTenPixelsAndStillMovesOneRow) {
  UsePointingGrid();
  grid_->SetRowHeights(10, 2);
  const struct {
    int delta;
    int zoom, col0Width, rowHeight, row;
  } steps[] = {
      {-120, 3, 131, 24, 2},  // towards the user: bigger
      {-120, 6, 134, 27, 3},
      {-120, 9, 137, 30, 4},
      {-120, 9, 137, 30, 5},  // 12 is refused; the row still moves
      {120, 6, 134, 27, 4},
      {120, 3, 131, 24, 3},
      {120, 0, 128, 21, 2},
      {120, -3, 125, 18, 1},
      {120, -6, 122, 15, 1},
      {120, -9, 119, 12, 1},
      {120, -9, 119, 12, 1},  // -12 is refused
  };
  for (const auto& s : steps) {
    Wheel(s.delta, Qt::ControlModifier);
    EXPECT_EQ(grid_->ZoomTotal(), s.zoom);
    EXPECT_EQ(grid_->ColWidths(0), s.col0Width);
    EXPECT_EQ(grid_->RowHeights(1), s.rowHeight);
    EXPECT_EQ(grid_->RowHeights(0), s.rowHeight);
    EXPECT_EQ(grid_->Row(), s.row);
    for (const TextRecorder::Item& item : PaintedTexts())
      EXPECT_EQ(item.Font.pixelSize(), 11 + s.zoom) << item.Text.toStdString();
  }
  EXPECT_EQ(grid_->RowHeights(10), 2);  // never 0 or less
}

// --- Pan mode ------------------------------------------------------------------------------------

class PanTest : public TableGridTest {
 protected:
  void SetUp() override {
    TableGridTest::SetUp();
    UseCityGrid();
    grid_->SetRow(10);
    TakeEvents();
    origin_ = InCell(2, grid_->TopRow() + 2);
    PressButton(origin_, Qt::MiddleButton);
    ReleaseButton(origin_, Qt::MiddleButton);
  }
  void PointTo(int dy) { DragTo(origin_ + QPoint(0, dy), Qt::NoButton); }
  // Rows passed by the ticks of `ms` milliseconds.
  int RowsMovedIn(int ms) {
    const int before = grid_->Row();
    QTest::qWait(ms);
    return grid_->Row() - before;
  }
  QPoint origin_;
};

TEST_F(PanTest, RowsMoveWhileThePointerIsMoreThanFivePixelsAway) {
  const struct {
    int dy;
    int sign;  // of the rows moved
  } steps[] = {{5, 0}, {-5, 0}, {6, 1}, {-6, -1}, {40, 1}, {0, 0}};
  for (const auto& s : steps) {
    PointTo(s.dy);
    const int moved = RowsMovedIn(60);
    EXPECT_EQ((moved > 0) - (moved < 0), s.sign) << "dy " << s.dy << ", moved " << moved;
  }
  // Each tick is one cell-move step of one row.
  const Events events = TakeEvents();
  for (std::size_t i = 1; i < events.size(); ++i)
    EXPECT_EQ(std::abs(events[i].second - events[i - 1].second), 1) << "event " << i;
}

TEST_F(PanTest, AKeyEndsPanModeAndIsHandledAsUsual) {
  PointTo(20);
  QTest::qWait(30);
  Press(Qt::Key_Home);
  EXPECT_EQ(grid_->Row(), 1);
  EXPECT_EQ(RowsMovedIn(60), 0);
}

TEST_F(PanTest, ALeftPressEndsPanModeAndSelectsThePressedCell) {
  Click(InCell(1, grid_->TopRow() + 1));
  const int row = grid_->TopRow() + 1;
  EXPECT_EQ(grid_->Row(), row);
  PointTo(20);
  EXPECT_EQ(RowsMovedIn(60), 0);
}

TEST_F(PanTest, AMiddlePressOrAFocusLossOnlyEndsPanMode) {
  PressButton(origin_, Qt::MiddleButton);
  ReleaseButton(origin_, Qt::MiddleButton);
  PointTo(20);
  EXPECT_EQ(RowsMovedIn(60), 0);
  EXPECT_EQ(grid_->Row(), 10);
  PressButton(origin_, Qt::MiddleButton);  // a new pan
  ReleaseButton(origin_, Qt::MiddleButton);
  PointTo(20);
  QTest::qWait(30);
  other_->setFocus();
  EXPECT_EQ(RowsMovedIn(60), 0);
}

TEST_F(PanTest, AHandlerThatFailsOnEveryCallGivesOneError) {
  grid_->OnSelectCell = [](TTableGrid&, int, int, bool&) { throw EConvertError::NotAFloat("x"); };
  PointTo(20);
  QTest::qWait(100);
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{"'x' is not a valid floating point value"});
  EXPECT_EQ(grid_->Row(), 10);
}

// --- Column sizing and auto-size -------------------------------------------------------------------

TEST_F(MouseTest, Grid1ColumnBoundariesCanBeDraggedWithinLimits) {
  UsePointingGrid();
  // Column 0 spans 0..127, its boundary stands at 128; the grid is 545 pixels wide.
  const struct {
    const char* name;
    int pressX, releaseX;
    int width;
  } cases[] = {
      {"on the boundary", 128, 150, 150},
      {"4 right of it: the offset is kept", 132, 160, 156},
      {"3 left of it", 125, 140, 143},
      {"4 left of it is no boundary", 124, 140, 128},
      {"to 2 pixels", 128, 2, 2},
      {"to 1 pixel: kept", 128, 1, 128},
      {"left of the column: kept", 128, -10, 128},
      {"just inside the right edge", 128, 540, 540},
      {"beyond the right edge: kept", 128, 560, 128},
      {"5 right of it is no boundary", 133, 160, 128},
  };
  for (const auto& c : cases) {
    grid_->SetColWidths(0, 128);
    grid_->SetLeftCol(0);
    PressButton(QPoint(c.pressX, 10));
    DragTo(QPoint((c.pressX + c.releaseX) / 2, 10));
    DragTo(QPoint(c.releaseX, 10));
    ReleaseButton(QPoint(c.releaseX, 10));
    EXPECT_EQ(grid_->ColWidths(0), c.width) << c.name;
    EXPECT_EQ(grid_->ColWidths(1), 64) << c.name;
  }
  EXPECT_EQ(TakeEvents(), Events{});
}

TEST_F(MouseTest, TheSizingCursorShowsOverGrid1HeaderBoundariesOnly) {
  const struct {
    const char* name;
    void (*configure)(TTableGrid&);
    QPoint point;
    Qt::CursorShape cursor;
  } cases[] = {
      {"Grid1 boundary", ConfigurePointingGrid, {130, 10}, Qt::SplitHCursor},
      {"Grid1 boundary, zone's left end", ConfigurePointingGrid, {125, 10}, Qt::SplitHCursor},
      {"Grid1 boundary, left of the zone", ConfigurePointingGrid, {124, 10}, Qt::ArrowCursor},
      {"Grid1 boundary, zone's right end", ConfigurePointingGrid, {132, 10}, Qt::SplitHCursor},
      {"Grid1 boundary, right of the zone", ConfigurePointingGrid, {133, 10}, Qt::ArrowCursor},
      {"Grid1 inside a header cell", ConfigurePointingGrid, {100, 10}, Qt::ArrowCursor},
      {"Grid1 boundary in a data row", ConfigurePointingGrid, {128, 30}, Qt::ArrowCursor},
      {"Grid2 boundary", ConfigureCityGrid, {192, 10}, Qt::ArrowCursor},
  };
  for (const auto& c : cases) {
    Configure(c.configure, 54);
    QTest::mouseMove(Viewport(), c.point);
    DragTo(c.point, Qt::NoButton);
    EXPECT_EQ(Viewport()->cursor().shape(), c.cursor) << c.name;
  }
}

TEST_F(MouseTest, TheSizingLineFollowsThePointerAndLeavesNoTrace) {
  UsePointingGrid();
  const QImage before = Picture();
  PressButton(QPoint(130, 10));
  DragTo(QPoint(302, 10));  // the line stands at 300, keeping the press offset of -2
  const QImage during = Picture();
  int inverted = 0, changedElsewhere = 0;
  for (int y = 0; y < during.height(); ++y) {
    for (int x = 0; x < during.width(); ++x) {
      if (during.pixel(x, y) == before.pixel(x, y)) continue;
      const QColor was = before.pixelColor(x, y), now = during.pixelColor(x, y);
      if (x == 300 && now == QColor(255 - was.red(), 255 - was.green(), 255 - was.blue()))
        ++inverted;
      else
        ++changedElsewhere;
    }
  }
  EXPECT_GE(inverted, during.height() / 3);  // dotted
  EXPECT_EQ(changedElsewhere, 0);
  ReleaseButton(QPoint(560, 10));  // cancelled
  EXPECT_EQ(Picture(), before);
}

TEST_F(MouseTest, LoweringColCountWhileSizingEndsTheSizing) {
  UsePointingGrid();
  PressButton(QPoint(448, 10));  // the boundary of column 5
  DragTo(QPoint(470, 10));
  grid_->SetColCount(3);
  DragTo(QPoint(480, 10));
  ReleaseButton(QPoint(480, 10));
  EXPECT_EQ(grid_->ColCount(), 3);
  for (int col = 0; col < 3; ++col) EXPECT_EQ(grid_->ColWidths(col), col == 0 ? 128 : 64);
  EXPECT_TRUE(grid_->SortIndexList().Count() == 0);
}

TEST_F(MouseTest, DoubleClickingAHeaderEdgeFitsTheColumnToItsTexts) {
  UsePointingGrid();
  grid_->SetCells(0, 7, "a rather long satellite name");
  for (int row = 0; row < grid_->RowCount(); ++row) grid_->SetCells(6, row, "");
  const QFontMetrics metrics(grid_->CellFont());
  const int fitted = metrics.size(Qt::TextSingleLine, "a rather long satellite name").width() + 2 + 4;
  const struct {
    const char* name;
    int clickedCol;
    bool fromLeftEdge;  // 3 pixels in from the clicked cell's left edge, else from its right
    int sizedCol, width;
  } cases[] = {
      {"an empty column is 10 pixels", 6, false, 6, 10},
      {"3 left of column 0's right edge", 0, false, 0, fitted},
      {"3 right of column 1's left edge: the column to its left", 1, true, 0, fitted},
  };
  for (const auto& c : cases) {
    grid_->SetColWidths(c.sizedCol, 77);
    const QRect cell = grid_->CellRect(c.clickedCol, 0);
    DoubleClick(QPoint(c.fromLeftEdge ? cell.left() + 3 : cell.left() + cell.width() - 3, 10));
    EXPECT_EQ(grid_->ColWidths(c.sizedCol), c.width) << c.name;
  }
  EXPECT_EQ(grid_->SortIndexList().Count(), 0);  // no header click sorted
  EXPECT_EQ(TakeEvents(), Events{});
}

}  // namespace
}  // namespace zenavo::testing
