#include "base/string_table.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "base/exceptions.h"
#include "support/expect_error.h"

namespace zenavo {
namespace {

using zenavo::testing::ExpectError;

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
  table.SetFixedRows(20);
  EXPECT_EQ(table.FixedRows(), 9);
  table.SetFixedRows(-1);
  EXPECT_EQ(table.FixedRows(), 0);
}

TEST(StringTable, ShrinkingDropsRowsAndColumnsAndGrowingAddsEmptyOnes) {
  StringTable table(3, 3);
  table.SetCells(2, 2, "gone");
  table.SetCells(2, 0, "gone too");
  table.SetCells(0, 1, "kept");
  table.SetRowCount(2);
  table.SetColCount(2);
  table.SetRowCount(3);
  table.SetColCount(3);
  EXPECT_EQ(table.Cells(2, 2), "");
  EXPECT_EQ(table.Cells(2, 0), "");
  EXPECT_EQ(table.Cells(0, 1), "kept");
}

TEST(StringTable, ReadingOutsideIsEmptyAndWritingOutsideRaises) {
  StringTable table(2, 2);
  EXPECT_EQ(table.Cells(5, 0), "");
  EXPECT_EQ(table.Cells(-1, 0), "");
  EXPECT_EQ(table.Cells(0, -1), "");
  EXPECT_EQ(table.Cells(0, 2), "");
  ExpectError<EListError>([&] { table.SetCells(2, 0, "x"); }, "List index out of bounds (2)");
  ExpectError<EListError>([&] { table.SetCells(-1, 0, "x"); }, "List index out of bounds (-1)");
  ExpectError<EListError>([&] { table.SetCells(0, 7, "x"); }, "List index out of bounds (7)");
  ExpectError<EListError>([&] { table.SwapRows(0, 2); }, "List index out of bounds (2)");
  ExpectError<EListError>([&] { table.RowCells(-3); }, "List index out of bounds (-3)");
}

TEST(StringTable, RowCellsGivesColCountTexts) {
  StringTable table(4, 2);
  table.SetCells(0, 1, "a");
  table.SetCells(1, 1, "b");
  EXPECT_EQ(table.RowCells(1), (std::vector<std::string>{"a", "b", "", ""}));
  EXPECT_EQ(table.RowCells(0), std::vector<std::string>(4));
}

TEST(StringTable, SwapRowsExchangesWholeRows) {
  StringTable table(2, 3);
  table.SetCells(0, 1, "a");
  table.SetCells(1, 1, "1");
  table.SetCells(0, 2, "b");
  table.SwapRows(1, 2);
  EXPECT_EQ(table.Cells(0, 1), "b");
  EXPECT_EQ(table.Cells(1, 1), "");
  EXPECT_EQ(table.Cells(0, 2), "a");
  EXPECT_EQ(table.Cells(1, 2), "1");
}

TEST(StringTable, ACopyHoldsItsOwnTexts) {
  StringTable table(3, 3);
  table.SetCells(0, 1, "kept");
  table.SetCells(2, 2, std::string(50, 'L'));
  StringTable copy = table;
  copy.SetCells(0, 1, "changed");
  StringTable assigned(1, 1);
  assigned = table;
  assigned.SetCells(2, 2, "short");
  EXPECT_EQ(table.Cells(0, 1), "kept");
  EXPECT_EQ(table.Cells(2, 2), std::string(50, 'L'));
  EXPECT_EQ(copy.Cells(2, 2), std::string(50, 'L'));
  EXPECT_EQ(assigned.Cells(0, 1), "kept");
  EXPECT_EQ(assigned.RowCount(), 3);
  EXPECT_EQ(assigned.ColCount(), 3);
}

// A text read from the table may be written back into it, even into the cell it came from or
// into a cell that makes its row grow.
TEST(StringTable, WritesTextsReadFromItself) {
  const std::string longText(60, 'x');
  const struct {
    const char* name;
    int fromCol, fromRow, toCol, toRow;
  } cases[] = {
      {"sameCell", 0, 1, 0, 1},
      {"growsTheSameRow", 0, 1, 4, 1},
      {"otherRow", 0, 1, 3, 2},
  };
  for (const auto& c : cases) {
    for (const std::string& text : {std::string("short"), longText}) {
      StringTable table(5, 3);
      table.SetCells(c.fromCol, c.fromRow, text);
      table.SetCells(c.toCol, c.toRow, table.Cells(c.fromCol, c.fromRow));
      EXPECT_EQ(table.Cells(c.toCol, c.toRow), text) << c.name;
      EXPECT_EQ(table.Cells(c.fromCol, c.fromRow), text) << c.name;
    }
  }
}

// A reference to a cell stays valid, and keeps its text, through everything that neither
// writes nor drops that cell. Short texts (held inside the string object) and long ones (held
// on the heap) both; under AddressSanitizer a dangling reference fails at the read.
TEST(StringTable, ACellReferenceOutlivesOtherWritesCountRaisesAndSwaps) {
  const std::string longText(100, 'L');
  const struct {
    const char* name;
    std::function<void(StringTable&)> change;
    int rowNowHolding;  // where the held cell (0, 1) is afterwards
  } cases[] = {
      {"writeTheNextCell", [](StringTable& t) { t.SetCells(1, 1, "next"); }, 1},
      {"writeFarRightInTheSameRow", [](StringTable& t) { t.SetCells(2, 1, "far"); }, 1},
      {"emptyTheNextCell", [](StringTable& t) { t.SetCells(1, 1, ""); }, 1},
      {"writeEveryOtherCell",
       [](StringTable& t) {
         for (int row = 0; row < t.RowCount(); ++row)
           for (int col = 0; col < t.ColCount(); ++col)
             if (col != 0 || row != 1) t.SetCells(col, row, std::string(40, 'x'));
       },
       1},
      {"raiseColCountAndWriteThere",
       [](StringTable& t) {
         t.SetColCount(5000);
         t.SetCells(4999, 1, "wide");
       },
       1},
      {"raiseRowCount", [](StringTable& t) { t.SetRowCount(20000); }, 1},
      {"lowerOtherRowsAndColumns",
       [](StringTable& t) {
         t.SetRowCount(2);
         t.SetColCount(1);
       },
       1},
      {"swapRows", [](StringTable& t) { t.SwapRows(1, 2); }, 2},
      {"swapThenWriteWhereItWas",
       [](StringTable& t) {
         t.SwapRows(1, 2);
         t.SetCells(0, 1, "other");
       },
       2},
  };
  for (const auto& c : cases) {
    for (const std::string& text : {std::string("short"), longText}) {
      StringTable table(3, 3);
      table.SetCells(0, 1, text);
      table.SetCells(1, 1, "neighbour");
      table.SetCells(0, 2, "below");
      const std::string& held = table.Cells(0, 1);
      c.change(table);
      EXPECT_EQ(held, text) << c.name;
      EXPECT_EQ(&held, &table.Cells(0, c.rowNowHolding)) << c.name;
    }
  }
}

// Random edits against a plain table of strings: every cell must read the same after every
// step, whatever rows were rewritten, dropped, swapped or copied; and references taken along
// the way must keep their text until their own cell is written or dropped.
TEST(StringTable, RandomEditsMatchAPlainModel) {
  std::mt19937 random(7);
  const auto below = [&](int n) { return static_cast<int>(random() % n); };
  const auto randomText = [&] {
    const int length = below(10) == 0 ? 20 + below(300) : below(20);
    std::string text(length, 'a');
    for (char& c : text) c = static_cast<char>('a' + below(26));
    return text;
  };
  // A held reference follows its row through swaps by the row's identity.
  struct Held {
    int rowId, col;
    std::string text;
    const std::string* cell;
  };
  std::vector<Held> held;
  StringTable table(4, 6);
  std::vector<std::vector<std::string>> model(6, std::vector<std::string>(4));
  std::vector<int> rowIds = {0, 1, 2, 3, 4, 5};
  int nextRowId = 6;
  const auto cols = [&] { return static_cast<int>(model[0].size()); };
  const auto forget = [&](auto&& dropped) {
    std::erase_if(held, [&](const Held& h) { return dropped(h); });
  };
  for (int step = 0; step < 20000; ++step) {
    const int rows = static_cast<int>(model.size());
    switch (below(8)) {
      case 0: case 1: case 2: {
        const int col = below(cols()), row = below(rows);
        // Now and then a text read from the table itself.
        const std::string text =
            below(4) == 0 ? table.Cells(below(cols()), below(rows)) : below(4) == 0 ? "" : randomText();
        table.SetCells(col, row, text);
        model[row][col] = text;
        forget([&](const Held& h) { return h.rowId == rowIds[row] && h.col == col; });
        break;
      }
      case 3: {
        const int col = below(cols()), row = below(rows);
        if (held.size() < 8)
          held.push_back({rowIds[row], col, model[row][col], &table.Cells(col, row)});
        break;
      }
      case 4: {
        const int a = below(rows), b = below(rows);
        table.SwapRows(a, b);
        std::swap(model[a], model[b]);
        std::swap(rowIds[a], rowIds[b]);
        break;
      }
      case 5: {
        const int count = 1 + below(10);
        table.SetRowCount(count);
        for (int row = count; row < rows; ++row)
          forget([&](const Held& h) { return h.rowId == rowIds[row]; });
        model.resize(count, std::vector<std::string>(cols()));
        rowIds.resize(count);
        for (int row = rows; row < count; ++row) rowIds[row] = nextRowId++;
        break;
      }
      case 6: {
        const int count = 1 + below(6);
        table.SetColCount(count);
        forget([&](const Held& h) { return h.col >= count; });
        for (auto& row : model) row.resize(count);
        break;
      }
      default: {
        const StringTable copy = table;
        table = copy;
        held.clear();  // every cell written anew
        break;
      }
    }
    ASSERT_EQ(table.RowCount(), static_cast<int>(model.size()));
    ASSERT_EQ(table.ColCount(), cols());
    for (int row = 0; row < static_cast<int>(model.size()); ++row)
      for (int col = 0; col < cols(); ++col)
        ASSERT_EQ(table.Cells(col, row), model[row][col]) << "step " << step;
    for (const Held& h : held) ASSERT_EQ(*h.cell, h.text) << "step " << step;
  }
}

}  // namespace
}  // namespace zenavo
