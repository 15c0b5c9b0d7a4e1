// The grid as assistive technologies read it through Qt's accessibility API: a table of its
// data rows under column headers, each cell's text, the selection, and what a move of the
// current row announces.
#include <QAccessible>

#include <functional>
#include <vector>

#include "grid/table_grid_fixture.h"
#include "support/accessibility_events.h"

namespace zenavo::testing {
namespace {

QAccessibleInterface* Accessible(QObject* object) {
  return QAccessible::queryAccessibleInterface(object);
}

TEST_F(TableGridTest, ReadsAsATableOfItsDataRowsUnderColumnHeaders) {
  const struct Case {
    const char* name;
    void (*configure)(TTableGrid&);
    int cols;
    int headerCol;
    const char* header;
  } cases[] = {
      {"pointing table", ConfigurePointingGrid, 7, 3, "Elevação"},
      {"city table", ConfigureCityGrid, 5, 0, "Cidade"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Configure(c.configure, 12);
    grid_->SetRow(4);
    QAccessibleInterface* table = Accessible(grid_);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    EXPECT_EQ(table->role(), QAccessible::Table);
    EXPECT_EQ(table->tableInterface()->rowCount(), 12);
    EXPECT_EQ(table->tableInterface()->columnCount(), c.cols);
    EXPECT_EQ(table->childCount(), 13 * c.cols);
    // The header row's cells come first.
    QAccessibleInterface* header = table->child(c.headerCol);
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->role(), QAccessible::ColumnHeader);
    EXPECT_EQ(header->text(QAccessible::Name).toStdString(), c.header);
    // Data row 2 (grid row 3), column 2: "c2r3", under its column's header.
    QAccessibleInterface* cell = table->tableInterface()->cellAt(2, 2);
    ASSERT_NE(cell, nullptr);
    EXPECT_EQ(cell->role(), QAccessible::Cell);
    EXPECT_EQ(cell->text(QAccessible::Name), "c2r3");
    EXPECT_EQ(cell->parent(), table);
    EXPECT_EQ(table->indexOfChild(cell), 3 * c.cols + 2);
    EXPECT_EQ(table->child(3 * c.cols + 2), cell);
    ASSERT_EQ(cell->tableCellInterface()->columnHeaderCells().size(), 1);
    EXPECT_EQ(cell->tableCellInterface()->columnHeaderCells()[0], table->child(2));
    // The current row is the selected row.
    EXPECT_EQ(table->tableInterface()->selectedRows(), QList<int>{3});
    EXPECT_EQ(table->tableInterface()->selectedCellCount(), c.cols);
    EXPECT_TRUE(table->tableInterface()->cellAt(3, 1)->state().selected);
    EXPECT_FALSE(cell->state().selected);
  }
}

TEST_F(TableGridTest, MovingTheCurrentRowAnnouncesItsCell) {
  UsePointingGrid(12);
  AccessibilityEvents events;
  const struct Case {
    const char* name;
    bool focused;
    std::function<void()> move;
    int row;  // the new current row
  } cases[] = {
      {"Down in the focused grid", true, [this] { Press(Qt::Key_Down); }, 2},
      {"a click", true, [this] { Click(InCell(3, 5)); }, 5},
      {"set while the focus is elsewhere", false, [this] { grid_->SetRow(7); }, 7},
      {"selected by the screen reader", false,
       [this] { Accessible(grid_)->tableInterface()->selectRow(8); }, 9},
  };
  using Event = AccessibilityEvents::Event;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    (c.focused ? static_cast<QWidget*>(grid_) : other_)->setFocus();
    events.Take({});
    c.move();
    EXPECT_EQ(grid_->Row(), c.row);
    // The current cell (column 0 of the row) is selected, and focused in the focused grid.
    std::vector<Event> expected{{QAccessible::Selection, grid_, 7 * c.row}};
    if (c.focused) expected.push_back({QAccessible::Focus, grid_, 7 * c.row});
    EXPECT_EQ(events.Take({QAccessible::Selection, QAccessible::Focus}), expected);
  }
  TakeEvents();
}

}  // namespace
}  // namespace zenavo::testing
