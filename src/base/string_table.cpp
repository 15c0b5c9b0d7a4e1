#include "base/string_table.h"

#include <algorithm>
#include <utility>

#include "base/exceptions.h"

namespace zenavo {

namespace {
const std::string& EmptyText() {
  static const std::string empty;
  return empty;
}
}  // namespace

StringTable::StringTable(int colCount, int rowCount) : colCount_(std::max(1, colCount)) {
  SetRowCount(rowCount);
}

void StringTable::SetColCount(int count) {
  count = std::max(1, count);
  if (count < colCount_)
    for (Row& row : rows_)
      if (static_cast<int>(row.size()) > count) row.resize(count);
  colCount_ = count;
}

void StringTable::SetRowCount(int count) {
  count = std::max(1, count);
  rows_.resize(count);
  if (count <= fixedRows_) fixedRows_ = count - 1;
}

void StringTable::SetFixedRows(int count) { fixedRows_ = std::clamp(count, 0, RowCount() - 1); }

const std::string& StringTable::Cells(int col, int row) const {
  if (row < 0 || row >= RowCount() || col < 0) return EmptyText();
  const Row& cells = rows_[row];
  return col < static_cast<int>(cells.size()) ? cells[col] : EmptyText();
}

void StringTable::SetCells(int col, int row, std::string text) {
  if (col < 0 || col >= colCount_) throw EListError(col);
  if (row < 0 || row >= RowCount()) throw EListError(row);
  Row& cells = rows_[row];
  if (col >= static_cast<int>(cells.size())) {
    if (text.empty()) return;  // a cell beyond the stored ones is already empty
    cells.resize(col + 1);
  }
  cells[col] = std::move(text);
}

void StringTable::SwapRows(int a, int b) {
  if (a < 0 || a >= RowCount()) throw EListError(a);
  if (b < 0 || b >= RowCount()) throw EListError(b);
  rows_[a].swap(rows_[b]);
}

std::vector<std::string> StringTable::RowCells(int row) const {
  if (row < 0 || row >= RowCount()) throw EListError(row);
  std::vector<std::string> cells(rows_[row].begin(), rows_[row].end());
  cells.resize(colCount_);
  return cells;
}

}  // namespace zenavo
