// Header clicks that sort: which releases sort, the column and direction each mode chooses,
// what a sort leaves of the selection, and the hooks.
#include <gtest/gtest.h>

#include <string>

#include "grid/table_grid_fixture.h"

namespace zenavo::testing {
namespace {

class SortTest : public TableGridTest {
 protected:
  void Configure(void (*configure)(TTableGrid&), int rows = 54) {
    TableGridTest::Configure(configure, rows);
    grid_->OnClickSort = [this](TTableGrid& grid, int col) {
      sorts_.push_back(col);
      EXPECT_EQ(col, grid.SortSettings().Column);
    };
  }
  void ClickHeader(int x, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    Click(QPoint(x, 10), modifiers);
  }
  // The index list as (column, descending) pairs.
  std::vector<std::pair<int, bool>> IndexList() const {
    std::vector<std::pair<int, bool>> list;
    const TSortIndexList& index = grid_->SortIndexList();
    for (int p = 0; p < index.Count(); ++p) list.emplace_back(index.Column(p), index.Descending(p));
    return list;
  }
  std::vector<std::string> Column(int col) const {
    std::vector<std::string> texts;
    for (int row = 1; row < grid_->RowCount(); ++row) texts.push_back(grid_->Cells(col, row));
    return texts;
  }

  std::vector<int> sorts_;  // the column OnClickSort reported, per sort
};

// Grid1's column 2 spans 192..255 (boundaries at 192 and 256); Grid2's spans 320..383.
TEST_F(SortTest, AReleaseSortsOnlyUnderTheHeaderRules) {
  const struct Case {
    const char* name;
    void (*configure)(TTableGrid&);
    QPoint press, release;
    bool sorts;
  } cases[] = {
      {"Grid2, middle of a header cell", ConfigureCityGrid, {350, 10}, {350, 10}, true},
      {"Grid2, 3 pixels from the left edge", ConfigureCityGrid, {323, 10}, {323, 10}, true},
      {"Grid1, 3 pixels from the left edge", ConfigurePointingGrid, {195, 10}, {195, 10}, false},
      {"Grid1, 4 pixels from the left edge", ConfigurePointingGrid, {196, 10}, {196, 10}, true},
      {"Grid1, 4 pixels from the right edge", ConfigurePointingGrid, {252, 10}, {252, 10}, true},
      {"Grid1, 3 pixels from the right edge", ConfigurePointingGrid, {253, 10}, {253, 10}, false},
      {"Grid1, a press 4 pixels right of a boundary without a drag is a click",
       ConfigurePointingGrid, {260, 10}, {260, 10}, true},
      {"Grid1, end of a resize 4 pixels into the next cell", ConfigurePointingGrid, {260, 10},
       {300, 10}, false},
      {"Grid1, end of a cancelled resize", ConfigurePointingGrid, {256, 10}, {100, 10}, false},
      {"pressed on another header cell", ConfigureCityGrid, {250, 10}, {350, 10}, true},
      {"pressed in the data area", ConfigureCityGrid, {350, 40}, {350, 10}, false},
      {"released in the data area", ConfigureCityGrid, {350, 10}, {350, 40}, false},
      {"released beyond the last column", ConfigurePointingGrid, {520, 10}, {520, 10}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Configure(c.configure);
    sorts_.clear();
    PressButton(c.press);
    if (c.press != c.release) DragTo(c.release);
    ReleaseButton(c.release);
    EXPECT_EQ(sorts_.size(), c.sorts ? 1u : 0u);
  }
}

TEST_F(SortTest, PlainModeFlipsTheSameColumnAndStartsAnotherAscending) {
  Configure(ConfigureCityGrid);
  const struct {
    int x;
    int column;
    TSortDirection direction;
    std::string first, last;  // of the sorted column
  } steps[] = {
      {30, 0, sdDescending, "row 9", "row 1"},  // column 0 starts ascending: its first click flips
      {250, 1, sdAscending, "1", "54"},  // numbers; a new column ascending, also after descending
      {250, 1, sdDescending, "54", "1"},
      {30, 0, sdAscending, "row 1", "row 9"},
      {30, 0, sdDescending, "row 9", "row 1"},
  };
  for (const auto& s : steps) {
    ClickHeader(s.x);
    EXPECT_EQ(grid_->SortSettings().Column, s.column);
    EXPECT_EQ(grid_->SortSettings().Direction, s.direction);
    EXPECT_EQ(grid_->Cells(s.column, 1), s.first);
    EXPECT_EQ(grid_->Cells(s.column, 54), s.last);
    EXPECT_EQ(grid_->SortIndexList().Count(), 0);
  }
  EXPECT_EQ(sorts_, (std::vector<int>{0, 1, 1, 0, 0}));
}

TEST_F(SortTest, IndexModeKeepsAListThatShiftClicksExtend) {
  Configure(ConfigurePointingGrid);
  using List = std::vector<std::pair<int, bool>>;
  const struct {
    int x;
    Qt::KeyboardModifiers modifiers;
    List list;
  } steps[] = {
      {160, {}, {{1, false}}},
      {160, {}, {{1, true}}},
      {224, Qt::ShiftModifier, {{1, true}, {2, false}}},
      {224, Qt::ShiftModifier, {{1, true}, {2, true}}},
      {160, Qt::ShiftModifier, {{1, false}, {2, true}}},
      {224, {}, {{2, false}}},
  };
  for (const auto& s : steps) {
    ClickHeader(s.x, s.modifiers);
    EXPECT_EQ(IndexList(), s.list);
    EXPECT_EQ(grid_->SortSettings().Column, 0);
  }
  EXPECT_EQ(sorts_, std::vector<int>(6, 0));  // index mode reports SortSettings.Column
  // The last sort ordered column 2 alone, ascending as text.
  std::vector<std::string> sorted = Column(2);
  EXPECT_TRUE(std::is_sorted(sorted.begin(), sorted.end()));
}

TEST_F(SortTest, DoubleClickOnANewColumnLeavesItDescending) {
  for (auto configure : {ConfigureCityGrid, ConfigurePointingGrid}) {
    Configure(configure);
    sorts_.clear();
    DoubleClick(QPoint(224, 10));  // column 1 of Grid2, column 2 of Grid1, away from edges
    EXPECT_EQ(sorts_.size(), 2u);
    if (configure == ConfigureCityGrid) {
      EXPECT_EQ(grid_->SortSettings().Column, 1);
      EXPECT_EQ(grid_->SortSettings().Direction, sdDescending);
    } else {
      EXPECT_EQ(IndexList(), (std::vector<std::pair<int, bool>>{{2, true}}));
    }
  }
}

// The record that was current stays current wherever the sort puts it, shown in the view, and
// a range selection shrinks to it; being the same record, it raises no event.
TEST_F(SortTest, ASortKeepsTheCurrentRecordInViewWithoutAnEventAndRepaintsOnce) {
  const struct {
    const char* name;
    void (*configure)(TTableGrid&);
    int x;  // a header cell's middle
    int current, anchor;
  } cases[] = {
      {"Grid2 by column 1", ConfigureCityGrid, 250, 5, 5},
      {"Grid2 with a range selected", ConfigureCityGrid, 250, 5, 6},
      {"Grid1 by column 2", ConfigurePointingGrid, 224, 5, 5},
      {"Grid1, the last row", ConfigurePointingGrid, 224, 54, 54},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Configure(c.configure);
    grid_->SetRow(c.current);
    if (c.anchor != c.current) Press(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(SelectedRows(), std::make_pair(c.current, c.anchor));
    const int before = grid_->Row();
    const std::vector<std::string> record = grid_->Table().RowCells(before);
    TakeEvents();
    const int repaints = grid_->RepaintRequests();
    ClickHeader(c.x);
    ClickHeader(c.x);  // descending: the record moves
    EXPECT_NE(grid_->Row(), before);
    EXPECT_EQ(grid_->Table().RowCells(grid_->Row()), record);
    EXPECT_EQ(SelectedRows(), std::make_pair(grid_->Row(), grid_->Row()));
    EXPECT_FALSE(grid_->CellRect(0, grid_->Row()).isEmpty()) << "scrolled into view";
    EXPECT_EQ(TakeEvents(), Events{});
    EXPECT_EQ(grid_->RepaintRequests(), repaints + 2);
  }
}

TEST_F(SortTest, OnCanSortCanRefuse) {
  Configure(ConfigureCityGrid);
  std::vector<int> asked;
  grid_->OnCanSort = [&asked](TTableGrid&, int col, bool& allow) {
    asked.push_back(col);
    allow = col != 2;
  };
  ClickHeader(350);
  ClickHeader(250);
  EXPECT_EQ(asked, (std::vector<int>{2, 1}));
  EXPECT_EQ(sorts_, std::vector<int>{1});
}

TEST_F(SortTest, AOneRowTableNeverSortsAndShowsNoIndicator) {
  for (auto configure : {ConfigureCityGrid, ConfigurePointingGrid}) {
    Configure(configure, 1);
    grid_->SetCells(0, 0, "");
    ClickHeader(30);
    ClickHeader(160);
    EXPECT_EQ(sorts_, std::vector<int>{});
    EXPECT_EQ(grid_->SortSettings().Direction, sdAscending);
    // Where Grid2's ascending arrow would have its white bottom edge (y 13, x 7..14).
    const QImage picture = Picture();
    for (int x = 7; x <= 14; ++x)
      EXPECT_NE(picture.pixelColor(x, 13), QColor(255, 255, 255)) << "x " << x;
  }
}

}  // namespace
}  // namespace zenavo::testing
