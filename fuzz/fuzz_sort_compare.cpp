// libFuzzer target: cell comparison and header-click sorting on arbitrary texts. The first
// byte picks the locale and the sort mode; the rest is rows (lines) of cells (tab-separated).
// The cell comparison must be a total preorder (antisymmetric and transitive) on any bytes, with
// AutoFormat on and off; sorting must end, keep row 0 in place, keep every row and leave the
// rows in order by the row comparison.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "table/table_sort.h"

namespace {

using namespace zenavo;

constexpr int kColumns = 4;

void CheckTotalPreorder(const std::vector<std::string>& texts, bool autoFormat,
                        const FormatSettings& format) {
  const auto cmp = [&](const std::string& a, const std::string& b) {
    return CompareCells(a, b, autoFormat, format);
  };
  for (const auto& a : texts)
    for (const auto& b : texts) {
      const int ab = cmp(a, b);
      if (ab < -1 || ab > 1 || ab != -cmp(b, a)) std::abort();
      if (ab > 0) continue;
      for (const auto& c : texts)
        if (cmp(b, c) <= 0 && cmp(a, c) > 0) std::abort();
    }
}

// The row comparison of the sort run, as the settings and index list left by the clicks say.
int CompareRows(const StringTable& table, int a, int b, const TSortSettings& settings,
                const TSortIndexList& index, const FormatSettings& format) {
  const auto cell = [&](int col) {
    return CompareCells(table.Cells(col, a), table.Cells(col, b), settings.AutoFormat, format);
  };
  int result = 0;
  if (settings.IndexShow) {
    for (int p = 0; p < index.Count(); ++p) {
      result = index.Descending(p) ? -cell(index.Column(p)) : cell(index.Column(p));
      if (result != 0 || !settings.Full) break;
    }
    return result;
  }
  for (int col = settings.Column; col < table.ColCount(); ++col) {
    result = cell(col);
    if (result != 0 || !settings.Full) break;
  }
  return settings.Direction == sdAscending ? result : -result;
}

}  // namespace

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
      if (rows.back().size() < kColumns) rows.back().emplace_back();
      if (c != '\t') rows.back().back() += c;
    } else {
      rows.back().back() += c;
    }
  }
  FormatSettings format = flags & 1 ? CommaFormatSettings() : PointFormatSettings();
  if (flags & 2) format.ShortDateFormat = "M/d/yyyy";

  // The comparison on the first dozen different texts (every triple of them).
  std::vector<std::string> texts;
  for (const auto& row : rows)
    for (const auto& cell : row)
      if (texts.size() < 12 && std::find(texts.begin(), texts.end(), cell) == texts.end())
        texts.push_back(cell);
  CheckTotalPreorder(texts, true, format);
  CheckTotalPreorder(texts, false, format);

  StringTable table(kColumns, static_cast<int>(rows.size()) + 1);
  table.SetCells(0, 0, "header");
  for (std::size_t r = 0; r < rows.size(); ++r)
    for (std::size_t c = 0; c < rows[r].size(); ++c)
      table.SetCells(static_cast<int>(c), static_cast<int>(r) + 1, rows[r][c]);

  // Each data row as one text, to check that sorting only reorders rows.
  const auto rowTexts = [&table] {
    std::vector<std::string> all;
    for (int r = 1; r < table.RowCount(); ++r) {
      std::string& row = all.emplace_back();
      for (int c = 0; c < kColumns; ++c) (row += table.Cells(c, r)) += '\t';
    }
    return all;
  };
  std::vector<std::string> before = rowTexts();
  TSortSettings settings;
  settings.Show = true;
  settings.IndexShow = flags & 8;
  settings.Full = flags & 16;
  settings.AutoFormat = flags & 4;
  TSortIndexList index;
  SortByHeaderClick(table, settings, index, (flags >> 5) & 3, false, format);
  SortByHeaderClick(table, settings, index, ((flags >> 5) + 1) & 3, flags & 128, format);

  for (int r = 2; r < table.RowCount(); ++r)
    if (CompareRows(table, r - 1, r, settings, index, format) > 0) std::abort();
  std::vector<std::string> after = rowTexts();
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  if (before != after || table.Cells(0, 0) != "header") std::abort();
  return 0;
}
