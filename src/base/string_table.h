// The string table: the cells of a grid as texts, addressed (column, row). Row 0 is the header
// row. Cell text is bytes, exactly as the 8-bit data files hold them.
#pragma once

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

  // Reading outside the table gives the empty text; writing outside raises EListError with
  // the offending index.
  const std::string& Cells(int col, int row) const;
  void SetCells(int col, int row, std::string text);

  // Exchanges two whole rows (used by sorting).
  void SwapRows(int a, int b);

  // A copy of the texts of one row, ColCount of them.
  std::vector<std::string> RowCells(int row) const;

 private:
  // Each row stores only up to its last written cell; cells beyond read as empty. This keeps
  // growing the counts cheap, even for a table made very wide by one line of a file.
  std::vector<std::vector<std::string>> rows_;
  int colCount_;
  int fixedRows_ = 1;
};

}  // namespace zenavo
