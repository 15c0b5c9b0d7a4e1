// The string table: the cells of a grid as texts, addressed (column, row). Row 0 is the header
// row. Cell text is bytes, exactly as the 8-bit data files hold them.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace zenavo {

class StringTable {
 public:
  StringTable(int colCount = 5, int rowCount = 5);

  int ColCount() const { return colCount_; }
  int RowCount() const { return static_cast<int>(rows_.size()); }
  int FixedRows() const { return fixedRows_; }

  // A count below 1 becomes 1. Columns and rows beyond a lowered count drop out; new ones are
  // empty. When the new row count is not above FixedRows, FixedRows drops to RowCount - 1.
  void SetColCount(int count);
  void SetRowCount(int count);
  // Clamped into [0, RowCount - 1].
  void SetFixedRows(int count);

  // Reading outside the table gives an empty text. The reference stays valid until this very
  // cell is written or dropped (its row or column removed by lowering a count): writing other
  // cells, raising a count and swapping rows leave it valid; after a swap it still refers to
  // the same text, now in the other row.
  const std::string& Cells(int col, int row) const;
  // Writing outside raises EListError with the offending index.
  void SetCells(int col, int row, std::string text);

  // Exchanges two whole rows (used by sorting).
  void SwapRows(int a, int b);

  // A copy of the texts of one row, ColCount of them.
  std::vector<std::string> RowCells(int row) const;

 private:
  // A row holds its cells up to the last one written; cells beyond read as empty, so one very
  // wide line of a file does not widen every row. Deques, because growing or shrinking one at
  // its end leaves references to its other elements valid, and swapping two keeps them too.
  using Row = std::deque<std::string>;

  std::deque<Row> rows_;
  int colCount_;
  int fixedRows_ = 1;
};

}  // namespace zenavo
