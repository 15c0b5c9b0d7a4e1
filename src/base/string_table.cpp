#include "base/string_table.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

#include "base/exceptions.h"

namespace zenavo {

namespace {

// Room for `more` elements, growing geometrically (a plain vector reserve is exact, which
// would make row-by-row appends quadratic).
template <class Store>
void Grow(Store& store, std::size_t more) {
  const std::size_t needed = store.size() + more;
  if (needed > store.capacity()) store.reserve(std::max(needed, store.capacity() * 2));
}
}  // namespace

std::string_view RowTexts::Text(int cell) const {
  const std::uint32_t begin = cell ? ends_[cell - 1] : 0;
  return std::string_view(chars_).substr(begin, ends_[cell] - begin);
}

StringTable::StringTable(int colCount, int rowCount) : colCount_(std::max(1, colCount)) {
  SetRowCount(rowCount);
}

void StringTable::SetColCount(int count) {
  count = std::max(1, count);
  if (count < colCount_) {
    for (Row& row : rows_) {
      if (static_cast<int>(row.count) <= count) continue;
      const std::size_t bytes = RowBytes(row);
      deadEnds_ += row.count - count;
      row.count = count;
      deadChars_ += bytes - RowBytes(row);
    }
    CompactIfWasteful();
  }
  colCount_ = count;
}

void StringTable::SetRowCount(int count) {
  count = std::max(1, count);
  for (std::size_t row = count; row < rows_.size(); ++row) Forget(rows_[row]);
  rows_.resize(count);
  if (count <= fixedRows_) fixedRows_ = count - 1;
  CompactIfWasteful();
}

void StringTable::SetFixedRows(int count) { fixedRows_ = std::clamp(count, 0, RowCount() - 1); }

std::string_view StringTable::Cells(int col, int row) const {
  if (col < 0 || row < 0 || row >= RowCount()) return {};
  const Row& stored = rows_[row];
  if (col >= static_cast<int>(stored.count)) return {};
  const std::uint32_t* ends = ends_.data() + stored.firstEnd;
  const std::uint32_t begin = col ? ends[col - 1] : 0;
  if (ends[col] == begin) return {};
  return std::string_view(chars_.Data() + stored.firstChar + begin, ends[col] - begin);
}

void StringTable::SetCells(int col, int row, std::string_view text) {
  if (col < 0 || col >= colCount_) throw EListError(col);
  if (row < 0 || row >= RowCount()) throw EListError(row);
  // An empty cell beyond the stored ones is already empty.
  if (col >= static_cast<int>(rows_[row].count) && text.empty()) return;
  // A text read from this table would move while the store grows: copy it first.
  std::string ownText;
  if (chars_.Holds(text.data())) text = ownText.assign(text);
  RowWriter writer(*this, row);
  writer.CopyOldCells(col);
  while (writer.Count() < col) writer.CloseCell();  // empty cells up to this one
  writer.Append(text);
  writer.CloseCell();
  writer.Commit();
}

StringTable::RowWriter::RowWriter(StringTable& table, int row) : table_(table), index_(row) {
  if (row < 0 || row >= table.RowCount()) throw EListError(row);
  row_.firstChar = table.chars_.Size();
  row_.firstEnd = static_cast<std::uint32_t>(table.ends_.size());
}

StringTable::RowWriter::~RowWriter() {
  if (committed_) return;
  table_.chars_.Truncate(row_.firstChar);  // nothing refers to the unfinished texts
  table_.ends_.resize(row_.firstEnd);
}

void StringTable::RowWriter::CopyOldCells(int count) {
  StringTable& t = table_;
  const Row old = t.rows_[index_];
  const std::uint32_t from = row_.count, to = std::min<std::uint32_t>(count, old.count);
  if (from >= to) return;
  const std::uint32_t begin = from ? t.ends_[old.firstEnd + from - 1] : 0;
  const std::uint32_t end = t.ends_[old.firstEnd + to - 1];
  const auto shift = static_cast<std::uint32_t>(t.chars_.Size() - row_.firstChar) - begin;
  t.chars_.AppendOwn(old.firstChar + begin, end - begin);
  for (std::uint32_t i = from; i < to; ++i) t.ends_.push_back(t.ends_[old.firstEnd + i] + shift);
  row_.count = to;
}

void StringTable::RowWriter::Commit() {
  StringTable& t = table_;
  if (Count() > t.colCount_) throw EListError(Count() - 1);
  if (Count() == 0) return;  // nothing written: the row stays as it was
  const Row old = t.rows_[index_];
  if (old.count > row_.count) {
    // The old cells to the right of the new ones follow them, shifted to the new offsets
    // (copied by position: the store may move while it grows).
    const std::uint32_t keptStart = t.ends_[old.firstEnd + row_.count - 1];
    const std::size_t leadBytes = t.chars_.Size() - row_.firstChar;
    t.chars_.AppendOwn(old.firstChar + keptStart, t.RowBytes(old) - keptStart);
    for (std::uint32_t i = row_.count; i < old.count; ++i)
      t.ends_.push_back(t.ends_[old.firstEnd + i] - keptStart +
                        static_cast<std::uint32_t>(leadBytes));
    row_.count = old.count;
  }
  // Offsets within a row are 32-bit: a row of more than 4 GiB of text is refused (the
  // destructor then takes back what was written).
  if (t.chars_.Size() - row_.firstChar > UINT32_MAX) throw std::length_error("Row text too long");
  committed_ = true;
  t.Forget(old);
  t.rows_[index_] = row_;
  t.CompactIfWasteful();
}

void StringTable::Forget(const Row& row) {
  deadChars_ += RowBytes(row);
  deadEnds_ += row.count;
}

void StringTable::Compact() {
  const bool charsWasted = deadChars_ > kMinReclaimedChars && deadChars_ * 2 > chars_.Size();
  const bool endsWasted = deadEnds_ > kMinReclaimedEnds && deadEnds_ * 2 > ends_.size();
  if (!charsWasted && !endsWasted) return;
  ByteStore chars;
  Store<std::uint32_t> ends;
  chars.Reserve(chars_.Size() - deadChars_);
  ends.reserve(ends_.size() - deadEnds_);
  for (Row& row : rows_) {
    const std::size_t firstChar = chars.Size();
    const auto firstEnd = static_cast<std::uint32_t>(ends.size());
    chars.Append(chars_.View().substr(row.firstChar, RowBytes(row)));
    ends.insert(ends.end(), ends_.begin() + row.firstEnd, ends_.begin() + row.firstEnd + row.count);
    row.firstChar = firstChar;
    row.firstEnd = firstEnd;
  }
  chars_ = std::move(chars);
  ends_ = std::move(ends);
  deadChars_ = deadEnds_ = 0;
}

void StringTable::Reserve(std::size_t rows, std::size_t cells, std::size_t bytes) {
  Grow(rows_, rows);
  Grow(ends_, cells);
  chars_.Reserve(bytes);
}

std::vector<std::string> StringTable::RowCells(int row) const {
  if (row < 0 || row >= RowCount()) throw EListError(row);
  std::vector<std::string> cells;
  cells.reserve(colCount_);
  for (int col = 0; col < colCount_; ++col) cells.emplace_back(Cells(col, row));
  return cells;
}

void StringTable::SwapRows(int a, int b) {
  if (a < 0 || a >= RowCount()) throw EListError(a);
  if (b < 0 || b >= RowCount()) throw EListError(b);
  std::swap(rows_[a], rows_[b]);
}

}  // namespace zenavo
