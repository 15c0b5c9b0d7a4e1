#include "base/string_table.h"

#include <gtest/gtest.h>

#include "base/exceptions.h"

namespace zenavo {
namespace {

TEST(StringTable, CountsBelowOneBecomeOne) {
  StringTable table(3, 4);
  table.SetRowCount(0);
  table.SetColCount(-5);
  EXPECT_EQ(table.RowCount(), 1);
  EXPECT_EQ(table.ColCount(), 1);
}

TEST(StringTable, FixedRowsDropWhenRowCountIsNotAboveThem) {
  StringTable table(2, 5);
  EXPECT_EQ(table.FixedRows(), 1);
  table.SetRowCount(1);
  EXPECT_EQ(table.FixedRows(), 0);
  table.SetRowCount(10);
  EXPECT_EQ(table.FixedRows(), 0);  // growing does not bring them back
}

TEST(StringTable, ShrinkingDropsRowsAndColumnsAndGrowingAddsEmptyOnes) {
  StringTable table(3, 3);
  table.SetCells(2, 2, "gone");
  table.SetCells(0, 1, "kept");
  table.SetRowCount(2);
  table.SetColCount(2);
  table.SetRowCount(3);
  table.SetColCount(3);
  EXPECT_EQ(table.Cells(2, 2), "");
  EXPECT_EQ(table.Cells(0, 1), "kept");
}

TEST(StringTable, ReadingOutsideIsEmptyAndWritingOutsideRaises) {
  StringTable table(2, 2);
  EXPECT_EQ(table.Cells(5, 0), "");
  EXPECT_EQ(table.Cells(0, -1), "");
  EXPECT_THROW(table.SetCells(2, 0, "x"), EListError);
  try {
    table.SetCells(0, 7, "x");
    FAIL();
  } catch (const EListError& e) {
    EXPECT_EQ(e.Message(), "List index out of bounds (7)");
  }
}

TEST(StringTable, SwapRowsExchangesWholeRows) {
  StringTable table(2, 3);
  table.SetCells(0, 1, "a");
  table.SetCells(1, 1, "1");
  table.SetCells(0, 2, "b");
  table.SwapRows(1, 2);
  EXPECT_EQ(table.Cells(0, 1), "b");
  EXPECT_EQ(table.Cells(0, 2), "a");
  EXPECT_EQ(table.Cells(1, 2), "1");
}

}  // namespace
}  // namespace zenavo
