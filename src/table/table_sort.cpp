#include "table/table_sort.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <limits>
#include <string_view>
#include <vector>

#include "base/ascii.h"

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

// Whether a text of the strict decimal syntax whose value lies beyond double range is too
// large rather than too small: the decimal exponent of its first significant digit is
// positive (such a text is either above about 1e308 or below about 1e-324).
bool BeyondLargestDouble(std::string_view number) {
  std::size_t i = 0;
  const std::size_t n = number.size();
  if (i < n && (number[i] == '+' || number[i] == '-')) ++i;
  while (i < n && number[i] == '0') ++i;
  const std::size_t significant = i;
  while (i < n && IsDigit(number[i])) ++i;
  long long magnitude = static_cast<long long>(i - significant) - 1;
  bool zero = i == significant;
  if (i < n && number[i] == '.') {
    ++i;
    const std::size_t fractionStart = i;
    while (i < n && number[i] == '0') ++i;
    if (zero && i < n && IsDigit(number[i])) {
      magnitude = -static_cast<long long>(i - fractionStart) - 1;
      zero = false;
    }
    while (i < n && IsDigit(number[i])) ++i;
  }
  if (zero) return false;
  if (i < n && (number[i] == 'E' || number[i] == 'e')) {
    ++i;
    const bool negative = i < n && number[i] == '-';
    if (i < n && (number[i] == '+' || number[i] == '-')) ++i;
    long long exponent = 0;
    for (; i < n && IsDigit(number[i]); ++i)
      exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000'000'000LL);
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude > 0;
}

// A number in the strict decimal syntax: blanks, sign, digits, '.' with digits, exponent, and
// nothing after. `text` already has the locale's separator replaced by '.'. Beyond double range
// a value is infinite (too large) or zero (too small).
bool StrictToDouble(std::string_view text, double& value) {
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto takeDigits = [&] {
    const std::size_t start = i;
    while (i < n && IsDigit(text[i])) ++i;
    return i > start;
  };
  while (i < n && text[i] == ' ') ++i;
  const std::size_t numberStart = i;
  if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
  if (!takeDigits()) return false;
  if (i < n && text[i] == '.') {
    ++i;
    if (!takeDigits()) return false;
  }
  if (i < n && (text[i] == 'E' || text[i] == 'e')) {
    ++i;
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    if (!takeDigits()) return false;
  }
  if (i != n) return false;
  std::string_view number = text.substr(numberStart);
  if (number.front() == '+') number.remove_prefix(1);
  const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
  if (ec == std::errc::result_out_of_range) {
    value = BeyondLargestDouble(number) ? std::numeric_limits<double>::infinity() : 0.0;
    if (number.front() == '-') value = -value;
  }
  return true;
}

// The numeric value of a cell text: the locale's decimal separator (its first occurrence) read
// as '.', thousands separators kept, the empty text 0. False when the text does not convert.
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

int CompareBytes(std::string_view a, std::string_view b) {
  const int order = a.compare(b);  // bytes as unsigned values
  return order > 0 ? 1 : (order < 0 ? -1 : 0);
}

// A "/" at character position 2 or 3, not last, with a digit just before and after it.
bool LooksLikeDate(std::string_view text) {
  const std::size_t slash = text.find('/');
  if (slash != 1 && slash != 2) return false;
  return slash + 1 < text.size() && IsDigit(text[slash - 1]) && IsDigit(text[slash + 1]);
}

// What a cell sorts by with AutoFormat on: its style (the class) and, for numbers and dates,
// its value. A number-like text that does not convert ("1-2", "12-") is a text: any value given
// to it would be a guess, and it could not be equal to every other such text and still rank
// among the numbers by value.
struct SortKey {
  TSortStyle style;
  double value;
};

SortKey KeyOf(std::string_view text, const FormatSettings& settings) {
  double value = 0;
  if (text.empty()) return {ssNumeric, 0};
  if (IsNumberText(text, settings))
    return CellNumber(text, settings, value) ? SortKey{ssNumeric, value} : SortKey{ssAlphabetic, 0};
  if (LooksLikeDate(text)) return {ssDate, CellDate(text, settings, value) ? value : 0};
  return {ssAlphabetic, 0};
}

// The ascending order of the classes: numbers, dates, other texts.
int ClassRank(TSortStyle style) { return style == ssNumeric ? 0 : style == ssDate ? 1 : 2; }

// The row comparison and the quicksort of the sort run.
class RowSorter {
 public:
  RowSorter(StringTable& table, const TSortSettings& settings, const TSortIndexList& index,
            const FormatSettings& format, bool indexMode, int direction, int* followedRow)
      : table_(table), settings_(settings), index_(index), format_(format),
        indexMode_(indexMode), direction_(direction), followedRow_(followedRow) {}

  void Sort(int lo, int hi) {
    // The two halves of a partition are sorted independently, so the larger one is handled
    // by the loop and only the smaller one by recursion: the stack stays shallow.
    while (lo < hi) {
      int i = lo, j = hi;
      CopyPivot((lo + hi) / 2);
      do {
        while (Compare(kPivot, i) == direction_ && i < hi) ++i;
        while (Compare(j, kPivot) == direction_ && j > lo) --j;
        if (i <= j) {
          if (i != j && (indexMode_ || Compare(i, j) != 0)) Swap(i, j);
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

  void Swap(int a, int b) {
    table_.SwapRows(a, b);
    if (!followedRow_) return;
    if (*followedRow_ == a)
      *followedRow_ = b;
    else if (*followedRow_ == b)
      *followedRow_ = a;
  }

  // The whole row, copied into the scratch row.
  void CopyPivot(int row) {
    pivot_.resize(table_.ColCount());
    for (int col = 0; col < table_.ColCount(); ++col) pivot_[col].assign(table_.Cells(col, row));
  }

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
  int* followedRow_;
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

TSortStyle CellSortStyle(std::string_view text, bool autoFormat,
                         const FormatSettings& settings) {
  return autoFormat ? KeyOf(text, settings).style : ssAlphabetic;
}

int CompareCells(std::string_view a, std::string_view b, bool autoFormat,
                 const FormatSettings& settings) {
  if (!autoFormat) return CompareBytes(a, b);
  if (a == b) return 0;  // ties are frequent: skip classing them
  const SortKey x = KeyOf(a, settings);
  const SortKey y = KeyOf(b, settings);
  if (x.style != y.style) return ClassRank(x.style) < ClassRank(y.style) ? -1 : 1;
  return x.style == ssAlphabetic ? CompareBytes(a, b) : Sign(x.value, y.value);
}

bool HeaderClickSorts(const StringTable& table, const TSortSettings& settings, int column,
                      int fixedCols) {
  if (column < 0 || column >= table.ColCount()) return false;
  if (!settings.FixedCols && column < fixedCols) return false;
  return table.FixedRows() > 0 && settings.Show && table.RowCount() > 2;
}

long long SortRows(StringTable& table, const TSortSettings& settings,
                   const TSortIndexList& index, const FormatSettings& format, int* followedRow) {
  const bool indexMode = settings.IndexShow;
  const int direction = indexMode || settings.Direction == sdAscending ? 1 : -1;
  RowSorter sorter(table, settings, index, format, indexMode, direction, followedRow);
  sorter.Sort(table.FixedRows(), table.RowCount() - 1);
  return sorter.Comparisons();
}

long long SortByHeaderClick(StringTable& table, TSortSettings& settings, TSortIndexList& index,
                            int column, bool shift, const FormatSettings& format,
                            int* followedRow) {
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
  return SortRows(table, settings, index, format, followedRow);
}

}  // namespace zenavo
