#include "table/table_sort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "base/float_text.h"

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

const std::string kTiny = "0." + std::string(400, '0') + "1";  // below double range
const std::string kHuge = "1" + std::string(400, '0');          // above it

TEST(CellSortStyle, ClassesEachTextOnItsOwn) {
  const struct {
    std::string text;
    TSortStyle point, comma;
  } cases[] = {
      {"312.76", ssNumeric, ssNumeric},  {"-21,67", ssAlphabetic, ssNumeric},
      {"", ssNumeric, ssNumeric},        {kTiny, ssNumeric, ssNumeric},
      {"07/12/2026", ssDate, ssDate},    {"7/12/26", ssDate, ssDate},
      {"31/02/2026", ssDate, ssDate},    // no valid date, but it looks like one: worth 0
      {"123/4", ssAlphabetic, ssAlphabetic}, {"a/12", ssAlphabetic, ssAlphabetic},
      {"12/", ssAlphabetic, ssAlphabetic},   {"12/x", ssAlphabetic, ssAlphabetic},
      {"----", ssAlphabetic, ssAlphabetic},  {"Sat 1", ssAlphabetic, ssAlphabetic},
      {"12:02:13", ssAlphabetic, ssAlphabetic},
      // Number-like texts that do not convert sort as texts.
      {"1-2", ssAlphabetic, ssAlphabetic},   {"12-", ssAlphabetic, ssAlphabetic},
      {"-", ssAlphabetic, ssAlphabetic},
      {"1,234", ssAlphabetic, ssNumeric},    // thousands separator; 1.234 in a comma locale
  };
  for (const auto& c : cases) {
    EXPECT_EQ(CellSortStyle(c.text, true, kPoint), c.point) << "point: " << c.text;
    EXPECT_EQ(CellSortStyle(c.text, true, kComma), c.comma) << "comma: " << c.text;
  }
  EXPECT_EQ(CellSortStyle("312.76", false, kPoint), ssAlphabetic);
}

TEST(CompareCells, NumbersThenDatesThenTexts) {
  const struct {
    std::string a, b;
    const FormatSettings* format;
    int expected;
  } cases[] = {
      {"----", "5", &kPoint, 1},          // texts after numbers, whichever comes first
      {"5", "----", &kPoint, -1},
      {"----", "-33.51", &kPoint, 1},
      {"-33.51", "-13.63", &kPoint, -1},
      {"-21,67", "----", &kComma, -1},
      {"9,75", "10,5", &kComma, -1},      // as numbers, not as text
      {"9.75", "10.5", &kPoint, -1},
      {"10.5", "9.75", &kPoint, 1},
      {"1.0", "1", &kPoint, 0},
      {"1,5", "1.5", &kComma, 0},         // the point converts too (thousands kept)
      {"1.234", "5", &kComma, -1},
      {"5", "", &kPoint, 1},              // the empty text is the number 0
      {"", "-5", &kPoint, 1},
      {"0", "", &kPoint, 0},
      {"-0", "0", &kPoint, 0},
      {kTiny, "0", &kPoint, 0},           // below double range: zero, never infinite
      {kTiny, "1", &kPoint, -1},
      {"-" + kTiny, "-1", &kPoint, 1},
      {kHuge, "9", &kPoint, 1},
      {"-" + kHuge, "-9", &kPoint, -1},
      {"", "abc", &kPoint, -1},
      {"", "01/02/2026", &kPoint, -1},
      {"01/02/2026", "5", &kPoint, 1},    // dates after numbers...
      {"01/02/2026", "junk", &kPoint, -1},  // ...and before texts
      {"01/02/2026", "15/01/2026", &kPoint, 1},
      {"01/02/2026 10:00", "01/02/2026 09:59", &kPoint, 1},
      {"31/02/2026", "01/01/1900", &kPoint, -1},  // an invalid date is 0: 30/12/1899
      {"1-2", "3-4", &kPoint, -1},        // number-like texts that do not convert: bytes
      {"1-2", "----", &kPoint, 1},
      {"12-", "5", &kPoint, 1},
      {"1,234", "5", &kPoint, 1},
      {"12:30:00", "09:15:00", &kPoint, 1},
      {"abc", "abd", &kPoint, -1},
      {"B", "a", &kPoint, -1},            // case-sensitive bytes
      {"\xC3\xA9", "z", &kPoint, 1},      // unsigned bytes
      {"ab", "abc", &kPoint, -1},         // a prefix is smaller
      {"3", " 5", &kPoint, -1},           // a blank makes a text
      {"1e400", "5", &kPoint, 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(CompareCells(c.a, c.b, true, *c.format), c.expected) << c.a << " vs " << c.b;
  EXPECT_EQ(CompareCells("----", "5", false, kPoint), -1);  // AutoFormat off: bytes alone
  EXPECT_EQ(CompareCells("9.75", "10.5", false, kPoint), 1);
}

// Texts of every class and of the borders between them.
const std::vector<std::string> kAwkwardTexts = {
    "", "0", "-0", "5", "-5", "10", "9.75", "10.5", "9,75", "10,5", "-33.51", "-13.63",
    "1.234", "1,234", "1.234,5", "1,234.5", "007", "1-2", "12-", "-", "----", "--", " 5", "5 ",
    "1e5", kTiny, kHuge, "01/02/2026", "15/01/2026", "1/2/26", "31/02/2026", "99/99/9999",
    "01/02/2026 10:00", "1/2", "12:02:13", "09:15:00", "abc", "B", "a", "\xC3\xA9", "Sat 1"};

TEST(CompareCells, IsATotalPreorder) {
  for (const FormatSettings* format : {&kPoint, &kComma})
    for (bool autoFormat : {true, false}) {
      const auto cmp = [&](const std::string& a, const std::string& b) {
        return CompareCells(a, b, autoFormat, *format);
      };
      int faults = 0;
      for (const auto& a : kAwkwardTexts)
        for (const auto& b : kAwkwardTexts) {
          const int ab = cmp(a, b);
          if (ab != -cmp(b, a) && ++faults <= 5)
            ADD_FAILURE() << "not antisymmetric: '" << a << "' '" << b << "'";
          if (ab > 0) continue;
          for (const auto& c : kAwkwardTexts)
            if (cmp(b, c) <= 0 && cmp(a, c) > 0 && ++faults <= 5)
              ADD_FAILURE() << "not transitive: '" << a << "' <= '" << b << "' <= '" << c << "'";
        }
      EXPECT_EQ(faults, 0) << "decimal '" << format->DecimalSeparator << "', AutoFormat "
                           << autoFormat;
    }
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
  EXPECT_EQ(Column(table, 0).back(), "S4");  // "----" after the numbers
  SortByHeaderClick(table, settings, index, 2, false, kPoint);
  EXPECT_TRUE(index.Descending(0));
  SortByHeaderClick(table, settings, index, 3, true, kPoint);
  ASSERT_EQ(index.Count(), 2);
  EXPECT_EQ(index.Column(1), 3);
  EXPECT_EQ(index.Entry(0), 2u | TSortIndexList::kDescendingBit);
  // Azimuth descending ("----" first); equal azimuths by elevation ascending.
  EXPECT_EQ(Column(table, 0), (std::vector<std::string>{"Satelite", "S4", "S2", "S3", "S1", "S5"}));
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

TEST(QuickSort, TiesFollowFullInBothModes) {
  // Rows "1 x 1", "1 x 2", "0 y 3": the first two tie in columns 0 and 1 and differ only in the
  // last column, which also names the row.
  struct Key {
    int column;
    bool descending;
  };
  const struct {
    const char* name;
    bool indexMode, full;
    TSortDirection direction;
    std::vector<Key> keys;  // index mode: the list; plain mode: the sort column alone
    std::vector<std::string> order;
  } cases[] = {
      {"plain, Full: up to the last column", false, true, sdAscending, {{0, false}},
       {"3", "1", "2"}},
      {"plain, Full, descending", false, true, sdDescending, {{0, false}}, {"2", "1", "3"}},
      {"plain, no Full: ties as the quicksort leaves them", false, false, sdAscending,
       {{0, false}}, {"3", "2", "1"}},
      {"index, Full: the next entry", true, true, sdAscending, {{0, false}, {2, false}},
       {"3", "1", "2"}},
      {"index, Full, descending entries", true, true, sdAscending, {{0, true}, {2, true}},
       {"2", "1", "3"}},
      {"index, no Full: the first entry alone", true, false, sdAscending,
       {{0, false}, {2, false}}, {"3", "2", "1"}},
  };
  for (const auto& c : cases) {
    StringTable table =
        TableOf({{"k", "a", "b"}, {"1", "x", "1"}, {"1", "x", "2"}, {"0", "y", "3"}});
    TSortSettings settings;
    settings.IndexShow = c.indexMode;
    settings.Full = c.full;
    settings.Direction = c.direction;
    settings.Column = c.keys[0].column;
    TSortIndexList index;
    for (const Key& key : c.keys) index.Add(key.column, key.descending);
    SortRows(table, settings, index, kPoint);
    std::vector<std::string> order = Column(table, 2);
    order.erase(order.begin());
    EXPECT_EQ(order, c.order) << c.name;
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
    int followed = 2500;  // "r2499": it is told where it went
    SortRows(table, settings, index, kPoint, &followed);
    EXPECT_EQ(table.Cells(0, followed), "r2499") << "mode " << mode;
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

// A column of LNB skews after "Calcular" (satellites below the horizon read "----"), sorted
// through the grid's quicksort, must give the same sequence of keys as std::stable_sort with the
// same comparison, and its numbers must read in order.
TEST(MixedColumns, SortLikeAStableSortWithTheSameComparison) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> skew(-90, 90);
  std::bernoulli_distribution belowHorizon(0.4);
  for (const FormatSettings* format : {&kPoint, &kComma})
    for (TSortDirection direction : {sdAscending, sdDescending}) {
      const ScopedFormatSettings locale(*format);
      const int d = direction == sdAscending ? 1 : -1;
      int columnsOutOfOrder = 0;
      for (int trial = 0; trial < 250; ++trial) {  // 1,000 columns in all
        // Column 0 names the row, column 1 holds the skews: ties never reach column 0.
        std::vector<std::vector<std::string>> rows = {{"Satelite", "Polarização"}};
        for (int r = 1; r <= 55; ++r)
          rows.push_back({"S" + std::to_string(r),
                          belowHorizon(random) ? "----" : FormatResultCell(skew(random))});
        StringTable table = TableOf(rows);
        TSortSettings settings;
        settings.Column = 1;
        settings.Direction = direction;
        SortRows(table, settings, TSortIndexList{}, *format);

        std::vector<std::string> expected;
        for (std::size_t r = 1; r < rows.size(); ++r) expected.push_back(rows[r][1]);
        std::stable_sort(expected.begin(), expected.end(), [&](const auto& a, const auto& b) {
          return CompareCells(a, b, true, *format) * d < 0;
        });
        bool ordered = true;
        std::vector<double> numbers;
        std::vector<int> classes;  // d for "----", 0 for a number: sorted ascending
        for (int r = 1; r < table.RowCount(); ++r) {
          std::string text(table.Cells(1, r));
          ordered = ordered && CompareCells(text, expected[r - 1], true, *format) == 0;
          const int original = std::stoi(std::string(table.Cells(0, r)).substr(1));
          ordered = ordered && rows[original][1] == text;  // the whole row moved
          classes.push_back(text == "----" ? d : 0);
          if (text == "----") continue;
          std::replace(text.begin(), text.end(), ',', '.');
          numbers.push_back(d * std::stod(text));
        }
        // The numbers in order; "----" after them ascending, before them descending.
        ordered = ordered && std::is_sorted(numbers.begin(), numbers.end()) &&
                  std::is_sorted(classes.begin(), classes.end());
        if (!ordered && ++columnsOutOfOrder <= 3) ADD_FAILURE() << "trial " << trial;
      }
      EXPECT_EQ(columnsOutOfOrder, 0)
          << "decimal '" << format->DecimalSeparator << "', direction " << d;
    }
}

TEST(MixedColumns, EveryClassInOneColumnSortsInClassOrder) {
  StringTable table = TableOf({{"k"}, {"----"}, {"12:02:13"}, {"-33.51"}, {"01/02/2026"},
                               {""}, {"junk"}, {"15/01/2026"}, {"-13.63"}, {"1-2"}, {"7"}});
  TSortSettings settings;
  settings.Column = 1;  // a click on column 0 then sorts ascending
  TSortIndexList index;
  SortByHeaderClick(table, settings, index, 0, false, kPoint);
  EXPECT_EQ(Column(table, 0),
            (std::vector<std::string>{"k", "-33.51", "-13.63", "", "7", "15/01/2026",
                                      "01/02/2026", "----", "1-2", "12:02:13", "junk"}));
  SortByHeaderClick(table, settings, index, 0, false, kPoint);  // reversed as a whole
  EXPECT_EQ(Column(table, 0),
            (std::vector<std::string>{"k", "junk", "12:02:13", "1-2", "----", "01/02/2026",
                                      "15/01/2026", "7", "", "-13.63", "-33.51"}));
}

// The quicksort of the sort run read literally, on a plain copy of the rows.
class ReferenceQuicksort {
 public:
  using Row = std::vector<std::string>;
  ReferenceQuicksort(std::vector<Row>& rows, const TSortSettings& settings,
                     const TSortIndexList& index, const FormatSettings& format)
      : rows_(rows), settings_(settings), index_(index), format_(format) {
    indexMode_ = settings.IndexShow;
    d_ = indexMode_ || settings.Direction == sdAscending ? 1 : -1;
  }

  void Sort(int lo, int hi) {
    int i = lo;
    int j = hi;
    const Row p = rows_[(lo + hi) / 2];
    do {
      while (Cmp(p, rows_[i]) == d_ && i < hi) i = i + 1;
      while (Cmp(rows_[j], p) == d_ && j > lo) j = j - 1;
      if (i <= j) {
        if (i != j) {
          if (indexMode_ || Cmp(rows_[i], rows_[j]) != 0) std::swap(rows_[i], rows_[j]);
        }
        i = i + 1;
        j = j - 1;
      }
    } while (!(i > j));
    if (lo < j) Sort(lo, j);
    if (i < hi) Sort(i, hi);
  }

 private:
  int Cell(const Row& a, const Row& b, int col) const {
    return CompareCells(a[col], b[col], settings_.AutoFormat, format_);
  }

  int Cmp(const Row& a, const Row& b) const {
    const int colCount = static_cast<int>(a.size());
    if (!indexMode_) {
      int k = settings_.Column;
      int result = Cell(a, b, k);
      while (result == 0 && settings_.Full && k < colCount - 1) {
        k = k + 1;
        result = Cell(a, b, k);
      }
      return result;
    }
    int p = 0;
    int result = 0;
    while (true) {
      result = Cell(a, b, index_.Column(p));
      if (index_.Descending(p)) result = -result;
      if (result == 0 && settings_.Full && p != index_.Count() - 1)
        p = p + 1;
      else
        return result;
    }
  }

  std::vector<Row>& rows_;
  const TSortSettings& settings_;
  const TSortIndexList& index_;
  const FormatSettings& format_;
  bool indexMode_;
  int d_;
};

TEST(QuickSort, LeavesTheRowsInTheOrderOfTheLiteralQuicksort) {
  // Small alphabets of every class, so that ties are frequent.
  const std::vector<std::string> pool = {
      "1", "2", "-1", "0", "10", "1.5", "1,5", "-0", "007", "2.50", "----", "", "",
      "01/02/2026", "1/2/26", "31/12/2025", "15/01/2026 10:00", "99/99/9999",
      "a", "b", "B", "ab", "12:30:00", "09:15:00", "1-2", "12-", "-"};
  std::mt19937 random(2026);
  const auto below = [&random](int n) {
    return std::uniform_int_distribution<int>(0, n - 1)(random);
  };
  for (const FormatSettings* format : {&kPoint, &kComma})
    for (bool indexMode : {false, true}) {
      int mismatches = 0;
      for (int trial = 0; trial < 1000; ++trial) {
        const int cols = 1 + below(4);
        const int rowCount = 2 + below(40);
        std::vector<std::vector<std::string>> alphabets(cols);
        for (auto& alphabet : alphabets)
          for (int n = 1 + below(5); n > 0; --n) alphabet.push_back(pool[below(pool.size())]);
        std::vector<std::vector<std::string>> rows(rowCount);
        for (int c = 0; c < cols; ++c) rows[0].push_back("h" + std::to_string(c));
        for (int r = 1; r < rowCount; ++r)
          for (int c = 0; c < cols; ++c)
            rows[r].push_back(alphabets[c][below(alphabets[c].size())]);

        TSortSettings settings;
        settings.IndexShow = indexMode;
        settings.Full = below(4) != 0;
        settings.AutoFormat = below(8) != 0;
        settings.Column = below(cols);
        settings.Direction = below(2) ? sdAscending : sdDescending;
        TSortIndexList index;
        for (int n = 1 + below(cols); n > 0; --n) {
          const int col = below(cols);
          if (index.IndexOf(col) < 0) index.Add(col, below(2));
        }
        StringTable table = TableOf(rows);
        SortRows(table, settings, index, *format);
        ReferenceQuicksort(rows, settings, index, *format).Sort(1, rowCount - 1);

        bool same = true;
        for (int r = 0; r < rowCount; ++r)
          for (int c = 0; c < cols; ++c) same = same && table.Cells(c, r) == rows[r][c];
        if (!same && ++mismatches <= 3)
          ADD_FAILURE() << "trial " << trial << ": " << cols << " columns, " << rowCount
                        << " rows, column " << settings.Column << ", Full " << settings.Full;
      }
      EXPECT_EQ(mismatches, 0) << "decimal '" << format->DecimalSeparator << "', index mode "
                               << indexMode;
    }
}

}  // namespace
}  // namespace zenavo
