#include "grid/table_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace zenavo {
namespace {

StringTable TableOf(const std::vector<std::vector<std::string>>& rows) {
  StringTable table(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int row = 0; row < static_cast<int>(rows.size()); ++row)
    for (int col = 0; col < static_cast<int>(rows[row].size()); ++col)
      table.SetCells(col, row, rows[row][col]);
  return table;
}

std::vector<std::string> Column(const StringTable& table, int col) {
  std::vector<std::string> texts;
  for (int row = 0; row < table.RowCount(); ++row) texts.emplace_back(table.Cells(col, row));
  return texts;
}

const FormatSettings kPoint = PointFormatSettings();
const FormatSettings kComma = CommaFormatSettings();

TEST(IsNumberText, FollowsTheNumberRule) {
  const struct {
    const char* text;
    bool point, comma;
  } cases[] = {
      {"-21.67", true, true},   // in a comma locale the point is the thousands separator
      {"-21,67", true, true},
      {"----", false, false},   {"12:30:00", false, false}, {"", false, false},
      {"5-", true, true},       {"1.234.567", false, true}, {"1,2", true, true},
      {",5", false, true},      {"1.2.3", false, false},   {"1e5", false, false},
      {"1,23,456", true, false}, {"007", true, true},      {" 5", false, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsNumberText(c.text, kPoint), c.point) << "point: " << c.text;
    EXPECT_EQ(IsNumberText(c.text, kComma), c.comma) << "comma: " << c.text;
  }
}

TEST(DetectSortStyle, LooksAtTheFirstTextAlone) {
  const struct {
    const char* text;
    TSortStyle style;
  } cases[] = {{"312.76", ssNumeric},   {"07/12/2026", ssDate}, {"7/12/26", ssDate},
               {"123/4", ssAlphabetic}, {"a/12", ssAlphabetic}, {"12/", ssAlphabetic},
               {"12/x", ssAlphabetic},  {"----", ssAlphabetic}, {"Sat 1", ssAlphabetic}};
  for (const auto& c : cases) EXPECT_EQ(DetectSortStyle(c.text, true, kPoint), c.style) << c.text;
  EXPECT_EQ(DetectSortStyle("312.76", false, kPoint), ssAlphabetic);
}

TEST(CompareCells, FollowsTheStyleOfTheFirstText) {
  const struct {
    const char* a;
    const char* b;
    const FormatSettings* format;
    int expected;
  } cases[] = {
      {"----", "5", &kPoint, -1},       // byte-wise: '-' before the digits
      {"5", "----", &kPoint, 1},        // numeric: "----" counts as 0
      {"-5", "----", &kPoint, -1},
      {"9,75", "10,5", &kComma, -1},    // as numbers, not as text
      {"9.75", "10.5", &kPoint, -1},
      {"10.5", "9.75", &kPoint, 1},
      {"1-2", "3-4", &kPoint, 0},       // both fail to convert: equal
      {"5", "", &kPoint, 1},            // empty is 0
      {"", "abc", &kPoint, -1},         // empty text is smallest
      {"12:30:00", "09:15:00", &kPoint, 1},
      {"abc", "abd", &kPoint, -1},
      {"B", "a", &kPoint, -1},          // case-sensitive bytes
      {"\xC3\xA9", "z", &kPoint, 1},    // unsigned bytes
      {"ab", "abc", &kPoint, -1},       // a prefix is smaller
      {"01/02/2026", "15/01/2026", &kPoint, 1},
      {"01/02/2026", "junk", &kPoint, 1},        // an unconvertible date is 0
      {"01/02/2026 10:00", "01/02/2026 09:59", &kPoint, 1},
      {"7", "1.5x", &kPoint, -1},       // a failed conversion keeps the digits read: 15
      {"7", "----", &kPoint, 1},        // no digit read: 0
      {"3", " 5", &kPoint, -1},         // leading blanks convert
      {"3", "5 ", &kPoint, -1},         // trailing ones fail, keeping the 5 read
      {"1e400", "5", &kPoint, -1},      // "1e400" is text (no number by the rule): '1' < '5'
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompareCells(c.a, c.b, true, *c.format), c.expected) << c.a << " vs " << c.b;
}

TEST(CompareCells, UsesTheLocalesDateOrder) {
  FormatSettings us = kPoint;
  us.ShortDateFormat = "M/d/yyyy";
  EXPECT_EQ(CompareCells("01/02/2026", "12/01/2025", true, us), 1);
  EXPECT_EQ(CompareCells("01/02/2026", "02/01/2026", true, us), -1);
  EXPECT_EQ(CompareCells("01/02/2026", "02/01/2026", true, kPoint), 1);
}

TEST(HeaderClickSorts, NeedsShowAHeaderAndTwoDataRows) {
  TSortSettings settings;
  settings.Show = true;
  StringTable table(3, 3);
  EXPECT_TRUE(HeaderClickSorts(table, settings, 2));
  EXPECT_FALSE(HeaderClickSorts(table, settings, 3));
  EXPECT_FALSE(HeaderClickSorts(table, settings, -1));
  StringTable oneDataRow(3, 2);
  EXPECT_FALSE(HeaderClickSorts(oneDataRow, settings, 0));
  table.SetFixedRows(0);
  EXPECT_FALSE(HeaderClickSorts(table, settings, 0));
  settings.Show = false;
  EXPECT_FALSE(HeaderClickSorts(StringTable(3, 3), settings, 0));
}

StringTable Cities() {
  return TableOf({{"Cidade", "Estado", "Latitude", "Longitude", "Altitude"},
                  {"Campinas", "SP", "-22.9", "-47.06", "685"},
                  {"Acrelândia", "AC", "-10.07", "-67.05", "206"},
                  {"Santos", "SP", "-23.96", "-46.33", "5"},
                  {"Atibaia", "SP", "-23.12", "-46.55", "803"},
                  {"Brasiléia", "AC", "-11.01", "-68.74", "188"}});
}

TEST(PlainModeSort, FirstClickOnColumnZeroSortsDescendingThenAscending) {
  StringTable table = Cities();
  TSortSettings settings;
  TSortIndexList index;
  index.Add(3);
  SortByHeaderClick(table, settings, index, 0, false, kPoint);
  EXPECT_EQ(settings.Direction, sdDescending);
  EXPECT_EQ(index.Count(), 0);  // a plain sort empties the index list
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"Cidade", "Santos", "Campinas",
                                                         "Brasiléia", "Atibaia", "Acrelândia"}));
  SortByHeaderClick(table, settings, index, 0, false, kPoint);
  EXPECT_EQ(settings.Direction, sdAscending);
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"Cidade", "Acrelândia", "Atibaia",
                                                         "Brasiléia", "Campinas", "Santos"}));
}

TEST(PlainModeSort, TiesAreBrokenByTheColumnsToTheRight) {
  StringTable table = Cities();
  TSortSettings settings;
  TSortIndexList index;
  SortByHeaderClick(table, settings, index, 1, false, kPoint);  // state, ascending
  EXPECT_EQ(settings.Column, 1);
  // Within SP by latitude (numerically), not by city name.
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"Cidade", "Brasiléia", "Acrelândia",
                                                         "Santos", "Atibaia", "Campinas"}));
}

StringTable Satellites() {
  return TableOf({{"Satelite", "Posição", "Azimute", "Elevação"},
                  {"S1", "-70", "312.76", "51.98"},
                  {"S2", "-61", "320.10", "60.02"},
                  {"S3", "-45", "312.76", "40.50"},
                  {"S4", "-30", "----", "----"},
                  {"S5", "-15", "45.20", "30.00"}});
}

TEST(IndexModeSort, ClicksBuildTheListAndShiftExtendsIt) {
  StringTable table = Satellites();
  TSortSettings settings;
  settings.IndexShow = true;
  TSortIndexList index;
  SortByHeaderClick(table, settings, index, 2, false, kPoint);
  ASSERT_EQ(index.Count(), 1);
  EXPECT_FALSE(index.Descending(0));
  EXPECT_EQ(Column(table, 0)[1], "S4");  // "----" first: byte-wise against numbers
  SortByHeaderClick(table, settings, index, 2, false, kPoint);
  EXPECT_TRUE(index.Descending(0));
  SortByHeaderClick(table, settings, index, 3, true, kPoint);
  ASSERT_EQ(index.Count(), 2);
  EXPECT_EQ(index.Column(1), 3);
  EXPECT_EQ(index.Entry(0), 2u | TSortIndexList::kDescendingBit);
  // Azimuth descending; equal azimuths by elevation ascending.
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"Satelite", "S2", "S3", "S1", "S5", "S4"}));
  SortByHeaderClick(table, settings, index, 3, true, kPoint);  // Shift on a listed column flips it
  EXPECT_TRUE(index.Descending(1));
  EXPECT_EQ(index.Column(1), 3);
  SortByHeaderClick(table, settings, index, 3, false, kPoint);  // plain click: elevation alone
  EXPECT_EQ(index.Count(), 1);
  EXPECT_EQ(index.Column(0), 3);
  EXPECT_EQ(settings.Column, 0);  // index mode never changes the plain-mode column
  EXPECT_EQ(Column(table, 3)[0], "Elevação");
}

TEST(QuickSort, EqualRowsMoveOnlyInIndexMode) {
  // Three equal rows: the index quicksort exchanges rows 1 and 3, the plain one does not.
  for (bool indexMode : {false, true}) {
    StringTable table = TableOf({{"k", "n"}, {"1", "a"}, {"1", "a"}, {"1", "a"}});
    table.SetCells(1, 1, "first");  // column 1 is not listed in index mode...
    table.SetCells(1, 3, "last");
    TSortSettings settings;
    settings.IndexShow = indexMode;
    settings.Full = false;  // ...and plain mode does not look right of column 0 either
    TSortIndexList index;
    index.Add(0);
    settings.Direction = sdAscending;
    SortRows(table, settings, index, kPoint);
    EXPECT_EQ(table.Cells(1, 1), indexMode ? "last" : "first");
    EXPECT_EQ(table.Cells(1, 3), indexMode ? "first" : "last");
  }
}

TEST(QuickSort, SortsLargeTablesCompletelyInEveryMode) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> value(-500, 500);
  std::vector<std::vector<std::string>> rows = {{"name", "value", "tag"}};
  for (int i = 0; i < 5000; ++i)
    rows.push_back({"r" + std::to_string(i), std::to_string(value(random)) + ".5",
                    std::string(1, char('a' + i % 7))});
  for (int mode = 0; mode < 3; ++mode) {
    StringTable table = TableOf(rows);
    TSortSettings settings;
    TSortIndexList index;
    settings.IndexShow = mode == 2;
    if (mode == 1) settings.Direction = sdDescending;
    settings.Column = 1;
    index.Add(1);
    SortRows(table, settings, index, kPoint);
    std::vector<std::string> names = Column(table, 0);
    std::sort(names.begin() + 1, names.end());
    std::vector<std::string> before;
    for (const auto& row : rows) before.push_back(row[0]);
    std::sort(before.begin() + 1, before.end());
    EXPECT_EQ(names, before) << "rows lost or duplicated in mode " << mode;
    EXPECT_EQ(table.Cells(0, 0), "name");
    for (int row = 2; row < table.RowCount(); ++row) {
      const double previous = std::stod(std::string(table.Cells(1, row - 1)));
      const double current = std::stod(std::string(table.Cells(1, row)));
      if (mode == 1)
        ASSERT_GE(previous, current) << row;
      else
        ASSERT_LE(previous, current) << row;
    }
  }
}

TEST(QuickSort, EmptyCellsAndClockTimesSortByteWise) {
  StringTable table = TableOf({{"Hora Az."}, {"12:30:00"}, {""}, {"09:15:00"}, {""}});
  TSortSettings settings;
  TSortIndexList index;
  SortByHeaderClick(table, settings, index, 0, false, kPoint);  // column 0: descending first
  SortByHeaderClick(table, settings, index, 0, false, kPoint);
  EXPECT_EQ(Column(table, 0),
            (std::vector<std::string>{"Hora Az.", "", "", "09:15:00", "12:30:00"}));
}

}  // namespace
}  // namespace zenavo
