// The string table: the cells of a grid as texts, addressed (column, row). Row 0 is the header
// row. Cell text is bytes, exactly as the 8-bit data files hold them.
//
// The texts live packed in one character store with one end offset per cell, not as one string
// object per cell: a 100,000-row file then costs about its own size in memory, in a handful of
// allocations. A changed row is written anew at the end of the store; the space it left is
// reclaimed once it outweighs the live text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "base/byte_store.h"
#include "base/large_block_allocator.h"

namespace zenavo {

// The texts of one row's cells, gathered on their own (the loader's field splitting yields them).
class RowTexts {
 public:
  void Clear() {
    chars_.clear();
    ends_.clear();
  }
  void Add(std::string_view text) {
    Append(text);
    CloseCell();
  }
  // Building a cell piece by piece: append its bytes, then close it.
  void Append(std::string_view text) { chars_.append(text); }
  void CloseCell() { ends_.push_back(static_cast<std::uint32_t>(chars_.size())); }

  int Count() const { return static_cast<int>(ends_.size()); }
  std::string_view Text(int cell) const;

 private:
  std::string chars_;
  std::vector<std::uint32_t> ends_;  // end of each cell's text in chars_
};

class StringTable {
  // Where a row's texts are: its cells' end offsets (relative to the row's first byte) at
  // ends_[firstEnd ...], its bytes at chars_[firstChar ...]. Only cells up to the last one
  // written are stored; cells beyond read as empty, which keeps a table made very wide by one
  // line of a file cheap.
  struct Row {
    std::uint64_t firstChar = 0;
    std::uint32_t firstEnd = 0;
    std::uint32_t count = 0;
  };

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
  // the offending index. A text read stays valid until the table next changes (SwapRows
  // excepted).
  std::string_view Cells(int col, int row) const;
  void SetCells(int col, int row, std::string_view text);

  // Writes a row's leading cells straight into the store, as a loader does: Append() adds
  // bytes to the open cell, CloseCell() ends it, Commit() makes the closed cells the row's
  // first cells (the cells to their right keep their text; ColCount must cover them by then).
  // Nothing but a raise of ColCount may change the table while a writer is open, and appended
  // texts must not be read from this table (the store may move); a writer not committed leaves
  // the row as it was.
  class RowWriter {
   public:
    RowWriter(StringTable& table, int row);
    ~RowWriter();
    RowWriter(const RowWriter&) = delete;
    RowWriter& operator=(const RowWriter&) = delete;

    void Append(std::string_view text) { table_.chars_.Append(text); }
    void CloseCell() {
      table_.ends_.push_back(static_cast<std::uint32_t>(table_.chars_.Size() - row_.firstChar));
      ++row_.count;
    }
    int Count() const { return static_cast<int>(row_.count); }
    // Copies the next cells of the row's current content, up to `count` cells in all (fewer
    // when the row stores fewer).
    void CopyOldCells(int count);
    void Commit();

   private:
    StringTable& table_;
    int index_;
    Row row_;  // the new content, growing at the end of the store
    bool committed_ = false;
  };

  // Room for this many more rows, cells and bytes of text, when the caller can tell (a file's
  // size); room never touched costs no memory.
  void Reserve(std::size_t rows, std::size_t cells, std::size_t bytes);

  // Exchanges two whole rows (used by sorting); texts already read stay valid.
  void SwapRows(int a, int b);

  // A copy of the texts of one row, ColCount of them.
  std::vector<std::string> RowCells(int row) const;

  // Bytes the text store holds, dead space included (it stays below about twice the live text).
  std::size_t StoredBytes() const { return chars_.Size(); }

 private:
  std::size_t RowBytes(const Row& row) const {
    return row.count ? ends_[row.firstEnd + row.count - 1] : 0;
  }
  void Forget(const Row& row);
  void CompactIfWasteful() {
    if (deadChars_ > kMinReclaimedChars || deadEnds_ > kMinReclaimedEnds) Compact();
  }
  // Rewrites the store without dead space when that space outweighs the live part.
  void Compact();
  static constexpr std::size_t kMinReclaimedChars = 64 * 1024;
  static constexpr std::size_t kMinReclaimedEnds = 16 * 1024;

  template <class T>
  using Store = std::vector<T, LargeBlockAllocator<T>>;

  Store<Row> rows_;
  ByteStore chars_;
  Store<std::uint32_t> ends_;
  std::size_t deadChars_ = 0, deadEnds_ = 0;  // store space no row refers to any more
  int colCount_;
  int fixedRows_ = 1;
};

}  // namespace zenavo
