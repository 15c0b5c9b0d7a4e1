// The string table: the cells of a grid as texts, addressed (column, row). Row 0 is the header
// row. Cell text is bytes, exactly as the 8-bit data files hold them.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zenavo {

class StringTable {
 public:
  StringTable(int colCount = 5, int rowCount = 5);
  StringTable(const StringTable& other);
  StringTable& operator=(const StringTable& other);
  StringTable(StringTable&&) noexcept = default;
  StringTable& operator=(StringTable&&) noexcept = default;
  ~StringTable() = default;

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
  // Writing outside raises EListError with the offending index. `text` may be read from this
  // table.
  void SetCells(int col, int row, std::string_view text);

  // Exchanges two whole rows (used by sorting).
  void SwapRows(int a, int b);

  // A copy of the texts of one row, ColCount of them.
  std::vector<std::string> RowCells(int row) const;

 private:
  // Each cell's text is a std::string of its own, held by pointer: growing a row, adding rows
  // or swapping two moves only pointers, never a text a reference refers to. A row holds its
  // cells up to the last one written; cells beyond, and null cells, read as empty, so one very
  // wide line of a file does not widen every row. (A std::deque per row keeps references too,
  // but at 576 bytes or more per row it made loading 100,000 lines 9 to 11 times as slow as
  // reading them with std::getline, against about 8 times with this layout.)
  using Row = std::vector<std::unique_ptr<std::string>>;

  std::vector<Row> rows_;
  int colCount_;
  int fixedRows_ = 1;
};

}  // namespace zenavo
