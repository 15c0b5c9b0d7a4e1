// Sorting the data rows of a string table by header clicks.
#pragma once

#include <string>

#include "base/format_settings.h"
#include "base/string_table.h"
#include "grid/sort_settings.h"

namespace zenavo {

// True when `text` is a number for style detection: non-empty; only digits, '-', and the
// locale's thousands and decimal separators; at most one '-' and one decimal separator; every
// thousands separator at least 3 characters after the previous one, the first not leading.
bool IsNumberText(std::string_view text, const FormatSettings& settings);

// The style a comparison takes from the first row's text `text`.
TSortStyle DetectSortStyle(std::string_view text, bool autoFormat,
                           const FormatSettings& settings);

// Compares two cell texts in the style the first one decides: -1, 0 or +1.
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
// stays. Returns the number of row comparisons made.
long long SortByHeaderClick(StringTable& table, TSortSettings& settings, TSortIndexList& index,
                            int column, bool shift, const FormatSettings& format);

// Sorts the data rows with the current settings and index list (no choice made).
long long SortRows(StringTable& table, const TSortSettings& settings,
                   const TSortIndexList& index, const FormatSettings& format);

}  // namespace zenavo
