#include "base/string_table.h"

#include <algorithm>
#include <utility>

#include "base/exceptions.h"

namespace zenavo {

namespace {
const std::string kEmpty;
}

StringTable::StringTable(int colCount, int rowCount) : colCount_(std::max(1, colCount)) {
  SetRowCount(rowCount);
}

void StringTable::SetColCount(int count) {
  count = std::max(1, count);
  if (count == colCount_) return;
  colCount_ = count;
  for (auto& row : rows_) row.resize(count);
}

void StringTable::SetRowCount(int count) {
  count = std::max(1, count);
  rows_.resize(count, std::vector<std::string>(colCount_));
  if (count <= fixedRows_) fixedRows_ = count - 1;
}

void StringTable::SetFixedRows(int count) { fixedRows_ = std::clamp(count, 0, RowCount() - 1); }

const std::string& StringTable::Cells(int col, int row) const {
  if (col < 0 || col >= colCount_ || row < 0 || row >= RowCount()) return kEmpty;
  return rows_[row][col];
}

void StringTable::SetCells(int col, int row, std::string text) {
  if (col < 0 || col >= colCount_) throw EListError(col);
  if (row < 0 || row >= RowCount()) throw EListError(row);
  rows_[row][col] = std::move(text);
}

void StringTable::SwapRows(int a, int b) {
  if (a < 0 || a >= RowCount()) throw EListError(a);
  if (b < 0 || b >= RowCount()) throw EListError(b);
  std::swap(rows_[a], rows_[b]);
}

}  // namespace zenavo
