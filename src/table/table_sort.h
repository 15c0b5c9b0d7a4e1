// Sorting the data rows of a string table by header clicks.
#pragma once

#include <string_view>

#include "base/format_settings.h"
#include "base/string_table.h"
#include "table/sort_settings.h"

namespace zenavo {

// True when `text` looks like a number: non-empty; only digits, '-', and the
// locale's thousands and decimal separators; at most one '-' and one decimal separator; every
// thousands separator at least 3 characters after the previous one, the first not leading.
bool IsNumberText(std::string_view text, const FormatSettings& settings);

// The class a cell text sorts in, as a style: ssAlphabetic when `autoFormat` is off. With it on:
// ssNumeric for the empty text (worth 0) and for a number by IsNumberText that converts (the
// locale's decimal separator read as '.', thousands separators kept, the strict decimal
// syntax); ssDate for a text with a "/" at character 2 or 3 that has a digit on both sides
// (worth 0 when it is no valid date in the locale's short date format); ssAlphabetic for every
// other text, including number-like texts that do not convert ("1-2", "12-", "-", "1,234" with
// a point decimal separator).
TSortStyle CellSortStyle(std::string_view text, bool autoFormat, const FormatSettings& settings);

// Compares two cell texts: -1, 0 or +1. With `autoFormat` off, byte-wise. With it on, by class
// first (numbers before dates before other texts), then numbers and dates by value and other
// texts byte-wise (unsigned bytes, case-sensitive, a prefix first). Each text is classed on its
// own, so the comparison is a total preorder on all texts and a quicksort over it orders a
// column that mixes numbers with "----".
int CompareCells(std::string_view a, std::string_view b, bool autoFormat,
                 const FormatSettings& settings);

// Whether a header click on `column` sorts, as far as the table and settings decide (the
// widget adds the mouse rules): a real column, not fixed unless FixedCols, FixedRows > 0,
// Show on and at least two data rows.
bool HeaderClickSorts(const StringTable& table, const TSortSettings& settings, int column,
                      int fixedCols = 0);

// A header click on `column`: chooses the column(s) and direction(s) (plain mode: same column
// flips Direction, another column sorts ascending and the index list is emptied; index mode:
// without Shift one entry for the column, flipped when it was the only one; with Shift the
// column is appended or flipped in place) and sorts rows FixedRows..RowCount-1 in place. Row 0
// stays. Returns the number of row comparisons made. When `followedRow` is given, it names a
// row before the sort and, after it, the row that now holds that same record.
long long SortByHeaderClick(StringTable& table, TSortSettings& settings, TSortIndexList& index,
                            int column, bool shift, const FormatSettings& format,
                            int* followedRow = nullptr);

// Sorts the data rows with the current settings and index list (no choice made); `followedRow`
// as for SortByHeaderClick.
long long SortRows(StringTable& table, const TSortSettings& settings,
                   const TSortIndexList& index, const FormatSettings& format,
                   int* followedRow = nullptr);

}  // namespace zenavo
