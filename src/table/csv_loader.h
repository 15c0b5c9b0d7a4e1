// Filling a string table from a delimited text file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/string_table.h"

namespace zenavo {

// The candidate delimiters, in their order of preference.
inline constexpr char kCsvDelimiters[] = {',', ';', '#', '\t', '|'};
inline constexpr char kNoDelimiter = '\0';

// The delimiter found from a file's first two lines (`second` empty for a one-line file), or
// kNoDelimiter.
char DetectDelimiter(const std::string& first, const std::string& second);

// The fields of one line under the loader's quote rules (an empty line has none).
std::vector<std::string> SplitCsvLine(std::string_view line, char delimiter);

// One line of fields joined by `delimiter`, for writing: a field holding the delimiter, a
// quote, a line break or a blank at either end is quoted, its quotes doubled, so SplitCsvLine
// gives the fields back up to the last one that is not empty (the cells of the others stay
// empty anyway). A field with a run of quotes comes back with one (the loader's rule); one with
// a line break only from a reader that keeps quoted line breaks (the loader reads by line).
std::string FormatCsvLine(const std::vector<std::string>& fields, char delimiter);

// Writes the fields of `line` into row `row` from column 0, growing ColCount as needed (it is
// never lowered). Fields follow the quote rules of the loader; an empty line writes nothing.
void LoadCsvLine(StringTable& table, int row, std::string_view line, char delimiter);

// Loads the file at `path` into `table` from cell (0, 0): the delimiter is detected among
// , ; # tab |, every line becomes a row, RowCount ends at the number of lines, ColCount at
// least at the widest line. Cells the file does not reach keep their text. A UTF-8 byte-order
// mark at the start of the file is skipped. The file is read once from start to end. Raises
// ETableGridError "Cannot open file <path>" when the file cannot be opened or is not a regular
// file (a named pipe, a folder, a device: refused at once, never waited on; the table is then
// untouched) and EInOutError when reading fails later.
void LoadFromCsvFile(StringTable& table, const std::string& path);

}  // namespace zenavo
