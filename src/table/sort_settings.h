// Sort settings of a table grid and the sort index list of index mode.
#pragma once

#include <cstdint>
#include <vector>

#include "base/color.h"

namespace zenavo {

enum TSortDirection { sdAscending, sdDescending };
enum TSortBlankPosition { blFirst, blLast };

// Comparison styles. With AutoFormat on every cell of this system sorts as ssNumeric, ssDate or
// ssAlphabetic (in that order of classes); with it off, as ssAlphabetic.
enum TSortStyle {
  ssAutomatic, ssAlphabetic, ssNumeric, ssDate, ssAlphaNoCase, ssAlphaCase, ssShortDateEU,
  ssShortDateUS, ssCustom, ssFinancial, ssAnsiAlphaCase, ssAnsiAlphaNoCase, ssRaw, ssHTML,
  ssImages, ssCheckBox, ssUnicode
};

// The published sort settings, in their published order. The glyph pictures (UpGlyph,
// DownGlyph, IndexUpGlyph, IndexDownGlyph) belong to the grid widget, which draws them.
struct TSortSettings {
  bool AutoColumnMerge = false;  // no merged cells in this system: no effect
  int Column = 0;                // sort column in plain mode
  bool Show = false;             // header clicks sort and the indicator is drawn
  bool IndexShow = false;        // index mode
  TColor IndexColor = clYellow;  // fill of the index triangles
  bool Full = true;              // break ties with further keys
  bool SingleColumn = false;     // move only the sort column's cells
  bool IgnoreBlanks = false;     // empty cells get the place BlankPos says
  TSortBlankPosition BlankPos = blFirst;
  bool AutoFormat = true;        // sort each cell as a number, a date or a text
  TSortDirection Direction = sdAscending;  // direction in plain mode
  bool FixedCols = false;        // clicks on fixed columns also sort
  bool NormalCellsOnly = false;  // keep fixed-column cells in place
  int Row = 0;                   // the header row whose clicks sort
};

// The ordered list of sort columns of index mode: each entry holds a column index in its low
// 31 bits and, in the top bit, whether that column sorts descending.
class TSortIndexList {
 public:
  static constexpr std::uint32_t kDescendingBit = 0x80000000u;

  int Count() const { return static_cast<int>(entries_.size()); }
  int Column(int position) const { return static_cast<int>(entries_[position] & ~kDescendingBit); }
  bool Descending(int position) const { return (entries_[position] & kDescendingBit) != 0; }
  std::uint32_t Entry(int position) const { return entries_[position]; }
  // The position of `column` in the list, or -1.
  int IndexOf(int column) const;

  void Add(int column, bool descending = false);
  void Flip(int position) { entries_[position] ^= kDescendingBit; }
  void Clear() { entries_.clear(); }

 private:
  std::vector<std::uint32_t> entries_;
};

}  // namespace zenavo
