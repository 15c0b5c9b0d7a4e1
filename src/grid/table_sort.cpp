#include "grid/table_sort.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string_view>
#include <vector>

namespace zenavo {

int TSortIndexList::IndexOf(int column) const {
  for (int i = 0; i < Count(); ++i)
    if (Column(i) == column) return i;
  return -1;
}

void TSortIndexList::Add(int column, bool descending) {
  entries_.push_back((static_cast<std::uint32_t>(column) & ~kDescendingBit) |
                     (descending ? kDescendingBit : 0));
}

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A number in the strict decimal syntax: blanks, sign, digits, '.' with digits, exponent.
// `text` already has the locale's separator replaced by '.'. On failure `value` is the integer
// of the digits read before the failing character (sign, point and exponent ignored).
bool StrictToDouble(std::string_view text, double& value) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  double digitsSoFar = 0;
  auto takeDigits = [&] {
    const std::size_t start = i;
    while (i < n && IsDigit(text[i])) digitsSoFar = digitsSoFar * 10 + (text[i++] - '0');
    return i > start;
  };
  auto fail = [&] {
    value = digitsSoFar;
    return false;
  };
  while (i < n && text[i] == ' ') ++i;
  const std::size_t numberStart = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  if (!takeDigits()) return fail();
  if (i < n && text[i] == '.') {
    ++i;
    if (!takeDigits()) return fail();
  }
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    if (!takeDigits()) return fail();
  }
  if (i != n) return fail();
  std::string_view number = text.substr(numberStart);
  if (number.front() == '+') number.remove_prefix(1);
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Beyond double range: an overflow is infinite, an underflow zero.
    const bool negativeExponent = number.find("e-") != std::string_view::npos ||
                                  number.find("E-") != std::string_view::npos;
    value = negativeExponent ? 0.0 : std::numeric_limits<double>::infinity();
    if (number.front() == '-') value = -value;
  }
  return true;
}

// The numeric value of a cell text for ssNumeric: the locale's separator (first occurrence)
// read as '.', thousands separators kept, empty text 0.
bool CellNumber(std::string_view text, const FormatSettings& settings, double& value) {
  if (text.empty()) {
    value = 0;
    return true;
  }
  if (settings.DecimalSeparator == '.') return StrictToDouble(text, value);
  const std::size_t separator = text.find(settings.DecimalSeparator);
  if (separator == std::string::npos) return StrictToDouble(text, value);
  char small[64];
  if (text.size() <= sizeof small) {
    text.copy(small, text.size());
    small[separator] = '.';
    return StrictToDouble(std::string_view(small, text.size()), value);
  }
  std::string copy(text);
  copy[separator] = '.';
  return StrictToDouble(copy, value);
}

// Days from 1899-12-30 (the date-time origin) to a civil date.
long long DaysFromOrigin(int year, int month, int day) {
  year -= month <= 2;
  const long long era = (year >= 0 ? year : year - 399) / 400;
  const long long yearOfEra = year - era * 400;
  const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468 + 25569;  // 1970-01-01 is day 25569
}

bool ReadNumber(std::string_view text, std::size_t& i, int& value, int maxDigits) {
  const std::size_t start = i;
  value = 0;
  while (i < text.size() && IsDigit(text[i]) && i - start < static_cast<std::size_t>(maxDigits))
    value = value * 10 + (text[i++] - '0');
  return i > start;
}

// A date (and optional time h:m[:s]) in the locale's short date format, as days from the
// date-time origin with the time as fraction; false when it is not one.
bool CellDate(std::string_view text, const FormatSettings& settings, double& value) {
  // The order of day, month and year comes from the letters of the short date format.
  std::string order;
  for (char c : settings.ShortDateFormat) {
    const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const char letter = lower == 'm' ? 'M' : lower;
    if ((letter == 'd' || letter == 'M' || letter == 'y') && order.find(letter) == std::string::npos)
      order += letter;
  }
  if (order.size() != 3) order = "dMy";
  std::string_view t = text;
  std::size_t i = 0;
  while (i < t.size() && t[i] == ' ') ++i;
  int parts[3];
  for (int k = 0; k < 3; ++k) {
    if (k > 0) {
      if (i >= t.size() || t[i] != settings.DateSeparator) return false;
      ++i;
    }
    if (!ReadNumber(t, i, parts[k], order[k] == 'y' ? 4 : 2)) return false;
  }
  int day = 0, month = 0, year = 0;
  for (int k = 0; k < 3; ++k)
    (order[k] == 'd' ? day : order[k] == 'M' ? month : year) = parts[k];
  if (year < 100) year += year < 50 ? 2000 : 1900;
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1]) return false;
  if (month == 2 && day == 29 && !((year % 4 == 0 && year % 100 != 0) || year % 400 == 0))
    return false;
  double fraction = 0;
  if (i < t.size() && t[i] == ' ') {
    while (i < t.size() && t[i] == ' ') ++i;
    int hour = 0, minute = 0, second = 0;
    if (!ReadNumber(t, i, hour, 2) || i >= t.size() || t[i] != ':') return false;
    ++i;
    if (!ReadNumber(t, i, minute, 2)) return false;
    if (i < t.size() && t[i] == ':') {
      ++i;
      if (!ReadNumber(t, i, second, 2)) return false;
    }
    if (hour > 23 || minute > 59 || second > 59) return false;
    fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
  }
  while (i < t.size() && t[i] == ' ') ++i;
  if (i != t.size()) return false;
  const double days = static_cast<double>(DaysFromOrigin(year, month, day));
  value = days >= 0 ? days + fraction : days - fraction;
  return true;
}

int Sign(double a, double b) { return a > b ? 1 : (a < b ? -1 : 0); }

bool LooksLikeDate(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash != 1 && slash != 2) return false;  // character position 2 or 3
  return slash + 1 < text.size() && IsDigit(text[slash - 1]) && IsDigit(text[slash + 1]);
}

// The row comparison and the quicksort of the sort run.
class RowSorter {
 public:
  RowSorter(StringTable& table, const TSortSettings& settings, const TSortIndexList& index,
            const FormatSettings& format, bool indexMode, int direction)
      : table_(table), settings_(settings), index_(index), format_(format),
        indexMode_(indexMode), direction_(direction) {}

  void Sort(int lo, int hi) {
    // The two halves of a partition are sorted independently, so the larger one is handled
    // by the loop and only the smaller one by recursion: the stack stays shallow.
    while (lo < hi) {
      int i = lo, j = hi;
      pivot_ = table_.RowCells((lo + hi) / 2);
      do {
        while (Compare(kPivot, i) == direction_ && i < hi) ++i;
        while (Compare(j, kPivot) == direction_ && j > lo) --j;
        if (i <= j) {
          if (i != j && (indexMode_ || Compare(i, j) != 0)) table_.SwapRows(i, j);
          ++i;
          --j;
        }
      } while (i <= j);
      if (j - lo < hi - i) {
        if (lo < j) Sort(lo, j);
        lo = i;
      } else {
        if (i < hi) Sort(i, hi);
        hi = j;
      }
    }
  }

  long long Comparisons() const { return comparisons_; }

 private:
  static constexpr int kPivot = -1;

  std::string_view Text(int row, int col) const {
    if (row != kPivot) return table_.Cells(col, row);
    if (col >= static_cast<int>(pivot_.size())) return {};
    return pivot_[col];
  }

  int Compare(int a, int b) {
    ++comparisons_;
    if (indexMode_) {
      for (int p = 0; p < index_.Count(); ++p) {
        const int col = index_.Column(p);
        int result = CompareCells(Text(a, col), Text(b, col), settings_.AutoFormat, format_);
        if (index_.Descending(p)) result = -result;
        if (result != 0 || !settings_.Full) return result;
      }
      return 0;
    }
    for (int col = settings_.Column;; ++col) {
      const int result = CompareCells(Text(a, col), Text(b, col), settings_.AutoFormat, format_);
      if (result != 0 || !settings_.Full || col >= table_.ColCount() - 1) return result;
    }
  }

  StringTable& table_;
  const TSortSettings& settings_;
  const TSortIndexList& index_;
  const FormatSettings& format_;
  bool indexMode_;
  int direction_;
  std::vector<std::string> pivot_;
  long long comparisons_ = 0;
};

}  // namespace

bool IsNumberText(std::string_view text, const FormatSettings& settings) {
  if (text.empty()) return false;
  int minus = 0, decimals = 0;
  std::size_t lastThousands = std::string::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDigit(c)) continue;
    if (c == '-') {
      if (++minus > 1) return false;
    } else if (c == settings.DecimalSeparator) {
      if (++decimals > 1) return false;
    } else if (c == settings.ThousandSeparator) {
      if (i == 0) return false;
      if (lastThousands != std::string::npos && i - lastThousands < 3) return false;
      lastThousands = i;
    } else {
      return false;
    }
  }
  return true;
}

TSortStyle DetectSortStyle(std::string_view text, bool autoFormat,
                           const FormatSettings& settings) {
  if (!autoFormat) return ssAlphabetic;
  if (IsNumberText(text, settings)) return ssNumeric;
  if (LooksLikeDate(text)) return ssDate;
  return ssAlphabetic;
}

int CompareCells(std::string_view a, std::string_view b, bool autoFormat,
                 const FormatSettings& settings) {
  switch (DetectSortStyle(a, autoFormat, settings)) {
    case ssNumeric: {
      double x = 0, y = 0;
      const bool convertedA = CellNumber(a, settings, x);
      const bool convertedB = CellNumber(b, settings, y);
      return !convertedA && !convertedB ? 0 : Sign(x, y);
    }
    case ssDate: {
      double x = 0, y = 0;
      if (!CellDate(a, settings, x)) x = 0;
      if (!CellDate(b, settings, y)) y = 0;
      return Sign(x, y);
    }
    default: {
      const int order = a.compare(b);  // bytes as unsigned values
      return order > 0 ? 1 : (order < 0 ? -1 : 0);
    }
  }
}

bool HeaderClickSorts(const StringTable& table, const TSortSettings& settings, int column,
                      int fixedCols) {
  if (column < 0 || column >= table.ColCount()) return false;
  if (!settings.FixedCols && column < fixedCols) return false;
  return table.FixedRows() > 0 && settings.Show && table.RowCount() > 2;
}

long long SortRows(StringTable& table, const TSortSettings& settings,
                   const TSortIndexList& index, const FormatSettings& format) {
  const bool indexMode = settings.IndexShow;
  const int direction = indexMode || settings.Direction == sdAscending ? 1 : -1;
  RowSorter sorter(table, settings, index, format, indexMode, direction);
  sorter.Sort(table.FixedRows(), table.RowCount() - 1);
  return sorter.Comparisons();
}

long long SortByHeaderClick(StringTable& table, TSortSettings& settings, TSortIndexList& index,
                            int column, bool shift, const FormatSettings& format) {
  if (settings.IndexShow) {
    const int position = index.IndexOf(column);
    if (shift) {
      if (position < 0)
        index.Add(column);
      else
        index.Flip(position);
    } else if (index.Count() == 1 && position == 0) {
      index.Flip(0);
    } else {
      index.Clear();
      index.Add(column);
    }
  } else {
    if (column == settings.Column) {
      settings.Direction = settings.Direction == sdAscending ? sdDescending : sdAscending;
    } else {
      settings.Column = column;
      settings.Direction = sdAscending;
    }
    index.Clear();
  }
  return SortRows(table, settings, index, format);
}

}  // namespace zenavo
