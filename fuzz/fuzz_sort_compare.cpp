// libFuzzer target: cell comparison and header-click sorting on arbitrary texts. The first
// byte picks the locale and the sort mode; the rest is rows (lines) of cells (tab-separated).
// Sorting must end, keep row 0 in place and keep every row.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "grid/table_sort.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const std::uint8_t flags = data[0];
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  std::vector<std::vector<std::string>> rows(1);
  for (char c : text) {
    if (c == '\n') {
      if (rows.size() == 64) break;
      rows.emplace_back();
    } else if (c == '\t' || rows.back().empty()) {
      if (rows.back().size() < 4) rows.back().emplace_back();
      if (c != '\t') rows.back().back() += c;
    } else {
      rows.back().back() += c;
    }
  }
  zenavo::FormatSettings format =
      flags & 1 ? zenavo::CommaFormatSettings() : zenavo::PointFormatSettings();
  if (flags & 2) format.ShortDateFormat = "M/d/yyyy";
  zenavo::StringTable table(4, static_cast<int>(rows.size()) + 1);
  table.SetCells(0, 0, "header");
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c)
      table.SetCells(static_cast<int>(c), static_cast<int>(r) + 1, rows[r][c]);

  // Every pair of cells of column 0 compares to -1, 0 or +1.
  for (int a = 1; a < table.RowCount(); ++a)
    for (int b = 1; b < std::min(table.RowCount(), 8); ++b) {
      const int result =
          zenavo::CompareCells(table.Cells(0, a), table.Cells(0, b), flags & 4, format);
      if (result < -1 || result > 1) std::abort();
    }

  // Each data row as one text, to check that sorting only reorders rows.
  const auto rowTexts = [&table] {
    std::vector<std::string> rows;
    for (int r = 1; r < table.RowCount(); ++r) {
      std::string& text = rows.emplace_back();
      for (int c = 0; c < 4; ++c) (text += table.Cells(c, r)) += '\t';
    }
    return rows;
  };
  std::vector<std::string> before = rowTexts();
  zenavo::TSortSettings settings;
  settings.Show = true;
  settings.IndexShow = flags & 8;
  settings.Full = flags & 16;
  settings.AutoFormat = flags & 4;
  zenavo::TSortIndexList index;
  zenavo::SortByHeaderClick(table, settings, index, (flags >> 5) & 3, false, format);
  zenavo::SortByHeaderClick(table, settings, index, ((flags >> 5) + 1) & 3, flags & 128, format);

  std::vector<std::string> after = rowTexts();
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  if (before != after || table.Cells(0, 0) != "header") std::abort();
  return 0;
}
