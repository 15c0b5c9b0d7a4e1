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

// Room a row gets when it is first written: the table's width, so that a row written left to
// right is allocated once; but no more than this, so that the rows of a very wide table take
// room only as far as they are written.
constexpr int kMaxFirstRoom = 64;

}  // namespace

StringTable::StringTable(int colCount, int rowCount) : colCount_(std::max(1, colCount)) {
  SetRowCount(rowCount);
}

StringTable::StringTable(const StringTable& other)
    : rows_(other.rows_.size()), colCount_(other.colCount_), fixedRows_(other.fixedRows_) {
  for (std::size_t row = 0; row < rows_.size(); ++row) {
    rows_[row].reserve(other.rows_[row].size());
    for (const auto& cell : other.rows_[row])
      rows_[row].push_back(cell ? std::make_unique<std::string>(*cell) : nullptr);
  }
}

StringTable& StringTable::operator=(const StringTable& other) {
  if (this != &other) *this = StringTable(other);
  return *this;
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
  if (col >= static_cast<int>(cells.size()) || !cells[col]) return EmptyText();
  return *cells[col];
}

void StringTable::SetCells(int col, int row, std::string_view text) {
  if (col < 0 || col >= colCount_) throw EListError(col);
  if (row < 0 || row >= RowCount()) throw EListError(row);
  Row& cells = rows_[row];
  if (col >= static_cast<int>(cells.size())) {
    if (text.empty()) return;  // a cell beyond the stored ones is already empty
    if (cells.empty()) cells.reserve(std::min(colCount_, kMaxFirstRoom));
    cells.resize(col + 1);
  }
  if (cells[col])
    cells[col]->assign(text);
  else if (!text.empty())
    cells[col] = std::make_unique<std::string>(text);
}

void StringTable::SwapRows(int a, int b) {
  if (a < 0 || a >= RowCount()) throw EListError(a);
  if (b < 0 || b >= RowCount()) throw EListError(b);
  rows_[a].swap(rows_[b]);
}

std::vector<std::string> StringTable::RowCells(int row) const {
  if (row < 0 || row >= RowCount()) throw EListError(row);
  std::vector<std::string> cells;
  cells.reserve(colCount_);
  for (int col = 0; col < colCount_; ++col) cells.push_back(Cells(col, row));
  return cells;
}

}  // namespace zenavo
