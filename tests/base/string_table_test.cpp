#include "base/string_table.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

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

TEST(StringTable, TextsReadStayValidAcrossRowSwaps) {
  StringTable table(1, 3);
  table.SetCells(0, 1, "first");
  table.SetCells(0, 2, "second");
  const std::string_view first = table.Cells(0, 1);
  table.SwapRows(1, 2);
  EXPECT_EQ(first, "first");
  EXPECT_EQ(table.Cells(0, 2), "first");
}

TEST(StringTable, AWriterNotCommittedLeavesTheRowAndTheStoreAsTheyWere) {
  StringTable table(3, 2);
  table.SetCells(1, 1, "old");
  const std::size_t stored = table.StoredBytes();
  {
    StringTable::RowWriter writer(table, 1);
    writer.Append("new");
    writer.CloseCell();
  }
  EXPECT_EQ(table.Cells(0, 1), "");
  EXPECT_EQ(table.Cells(1, 1), "old");
  EXPECT_EQ(table.StoredBytes(), stored);
  StringTable::RowWriter tooWide(table, 1);
  for (int i = 0; i < 4; ++i) tooWide.CloseCell();
  EXPECT_THROW(tooWide.Commit(), EListError);
}

// Random edits against a plain table of strings: every cell must read the same after every
// step, whatever rows were rewritten, dropped, swapped or copied, and the store must give back
// the space of rewritten texts.
TEST(StringTable, RandomEditsMatchAPlainModel) {
  std::mt19937 random(7);
  const auto below = [&](int n) { return static_cast<int>(random() % n); };
  const auto randomText = [&] {
    // Mostly short texts, now and then a long one so that dead space piles up quickly.
    const int length = below(10) == 0 ? 500 + below(3000) : below(12);
    std::string text(length, 'a');
    for (char& c : text) c = static_cast<char>('a' + below(26));
    return text;
  };
  StringTable table(4, 6);
  std::vector<std::vector<std::string>> model(6, std::vector<std::string>(4));
  const auto cols = [&] { return static_cast<int>(model[0].size()); };
  for (int step = 0; step < 20000; ++step) {
    const int rows = static_cast<int>(model.size());
    switch (below(8)) {
      case 0: case 1: case 2: {
        const int col = below(cols()), row = below(rows);
        if (below(4) == 0) {  // a text read from the table itself
          const int fromCol = below(cols()), fromRow = below(rows);
          table.SetCells(col, row, table.Cells(fromCol, fromRow));
          model[row][col] = model[fromRow][fromCol];
          break;
        }
        const std::string text = below(4) == 0 ? "" : randomText();
        table.SetCells(col, row, text);
        model[row][col] = text;
        break;
      }
      case 3: {  // leading cells through a row writer, the rest of the row kept
        const int row = below(rows), count = below(cols() + 1);
        StringTable::RowWriter writer(table, row);
        std::vector<std::string> texts;
        for (int i = 0; i < count; ++i) {
          writer.Append(texts.emplace_back(randomText()));
          writer.CloseCell();
        }
        writer.Commit();
        for (int i = 0; i < count; ++i) model[row][i] = texts[i];
        break;
      }
      case 4: {
        const int a = below(rows), b = below(rows);
        table.SwapRows(a, b);
        std::swap(model[a], model[b]);
        break;
      }
      case 5: {
        const int count = 1 + below(10);
        table.SetRowCount(count);
        model.resize(count, std::vector<std::string>(cols()));
        break;
      }
      case 6: {
        const int count = 1 + below(6);
        table.SetColCount(count);
        for (auto& row : model) row.resize(count);
        break;
      }
      default: {
        const StringTable copy = table;
        table = copy;
        break;
      }
    }
    ASSERT_EQ(table.RowCount(), static_cast<int>(model.size()));
    ASSERT_EQ(table.ColCount(), cols());
    std::size_t live = 0;
    for (int row = 0; row < static_cast<int>(model.size()); ++row)
      for (int col = 0; col < cols(); ++col) {
        ASSERT_EQ(table.Cells(col, row), model[row][col]) << "step " << step;
        live += model[row][col].size();
      }
    ASSERT_LE(table.StoredBytes(), 2 * live + 64 * 1024 + 4096) << "step " << step;
  }
}

}  // namespace
}  // namespace zenavo
