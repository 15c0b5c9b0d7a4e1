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
  if (count < colCount_)
    for (auto& row : rows_)
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
  if (col < 0 || row < 0 || row >= RowCount()) return kEmpty;
  const auto& cells = rows_[row];
  return col < static_cast<int>(cells.size()) ? cells[col] : kEmpty;
}

void StringTable::SetCells(int col, int row, std::string text) {
  if (col < 0 || col >= colCount_) throw EListError(col);
  if (row < 0 || row >= RowCount()) throw EListError(row);
  auto& cells = rows_[row];
  const int stored = static_cast<int>(cells.size());
  if (col < stored) {
    cells[col] = std::move(text);
    return;
  }
  if (text.empty()) return;  // an empty cell beyond the stored ones is already empty
  if (cells.capacity() == 0) cells.reserve(std::min(colCount_, 64));
  if (col > stored) cells.resize(col);
  cells.push_back(std::move(text));
}

std::vector<std::string> StringTable::RowCells(int row) const {
  std::vector<std::string> cells = rows_.at(row);
  cells.resize(colCount_);
  return cells;
}

void StringTable::SwapRows(int a, int b) {
  if (a < 0 || a >= RowCount()) throw EListError(a);
  if (b < 0 || b >= RowCount()) throw EListError(b);
  std::swap(rows_[a], rows_[b]);
}

}  // namespace zenavo
