#include "table/csv_loader.h"

#include <algorithm>

#include "base/exceptions.h"
#include "base/file_descriptor.h"
#include "base/line_reader.h"
#include "base/text_file.h"

namespace zenavo {

namespace {

constexpr char kQuote = '"';
constexpr int kRowGrowthStep = 1000;
// What spreadsheets put at the start of a file saved as "CSV UTF-8".
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The end of the run of `c` that starts at `start`.
std::size_t RunEnd(std::string_view text, std::size_t start, char c) {
  while (start < text.size() && text[start] == c) ++start;
  return start;
}

// Runs of the candidate that count as marks: odd runs, and the run that ends the line.
int CountMarks(const std::string& line, char candidate) {
  int marks = 0;
  for (std::size_t i = line.find(candidate); i != std::string::npos; i = line.find(candidate, i)) {
    const std::size_t end = RunEnd(line, i, candidate);
    if ((end - i) % 2 == 1 || end == line.size()) ++marks;
    i = end;
  }
  return marks;
}

int CountPlain(const std::string& line, char candidate) {
  return static_cast<int>(std::count(line.begin(), line.end(), candidate));
}

// `text` with every run of two or more quotes made one quote: `text` itself when it holds no
// quote, otherwise the collapsed text built in `scratch`.
std::string_view CollapsedQuotes(std::string_view text, std::string& scratch) {
  if (text.find(kQuote) == std::string_view::npos) return text;
  scratch.clear();
  for (std::size_t quote; (quote = text.find(kQuote)) != std::string_view::npos;) {
    scratch.append(text.substr(0, quote + 1));
    text.remove_prefix(RunEnd(text, quote, kQuote));
  }
  scratch.append(text);
  return scratch;
}

// The position of the closing quote in `rest` (after the opening quote was removed), or npos:
// the last quote of the first odd run followed by another character; failing that, a quote
// that is the last character.
std::size_t FindClosingQuote(std::string_view rest) {
  for (std::size_t i = rest.find(kQuote); i != std::string_view::npos; i = rest.find(kQuote, i)) {
    const std::size_t end = RunEnd(rest, i, kQuote);
    if ((end - i) % 2 == 1 && end < rest.size()) return end - 1;
    i = end;
  }
  return !rest.empty() && rest.back() == kQuote ? rest.size() - 1 : std::string_view::npos;
}

// Opens the file for reading; anything but a regular file, or any failure, is "cannot open".
UniqueFd OpenForReading(const std::string& path) {
  std::string reason;
  UniqueFd file = OpenRegularFile(path, reason);
  if (!file.Valid()) throw ETableGridError("Cannot open file %1", {path});
  return file;
}

}  // namespace

char DetectDelimiter(const std::string& first, const std::string& second) {
  char delimiter = kNoDelimiter;
  int best = 0;
  for (char candidate : kCsvDelimiters) {  // pass A: marks, equal counts
    const int count = CountMarks(first, candidate);
    if (count == CountMarks(second, candidate) && count > best) delimiter = candidate, best = count;
  }
  if (best == 0) {
    for (char candidate : kCsvDelimiters) {  // pass B: plain counts, equal
      const int count = CountPlain(first, candidate);
      if (count == CountPlain(second, candidate) && count > best)
        delimiter = candidate, best = count;
    }
  }
  if (best == 0) {
    for (char candidate : kCsvDelimiters) {  // pass C: either line
      const int larger = std::max(CountPlain(first, candidate), CountPlain(second, candidate));
      if (larger > best) delimiter = candidate, best = larger;
    }
  }
  return delimiter;
}

namespace {

// Hands each field of one line, in order, to `take` as a std::string_view that lives until
// `take` returns.
template <class Take>
void ForEachCsvField(std::string_view rest, char delimiter, Take take) {
  std::string scratch;
  const auto field = [&](std::string_view text) { take(CollapsedQuotes(text, scratch)); };
  // Fields are taken from the front while the rest of the line holds a delimiter anywhere.
  for (std::size_t next; delimiter != kNoDelimiter &&
                         (next = rest.find(delimiter)) != std::string_view::npos;) {
    if (rest.front() != kQuote) {
      field(rest.substr(0, next));
      rest.remove_prefix(next + 1);
      continue;
    }
    const std::string_view quoted = rest.substr(1);
    const std::size_t closing = FindClosingQuote(quoted);
    if (closing == std::string_view::npos) {
      // An unclosed quote: an empty field; the text up to the delimiter is lost.
      take(std::string_view());
      rest.remove_prefix(next + 1);
      continue;
    }
    field(quoted.substr(0, closing));
    // The text after the closing quote up to the next delimiter is dropped; with no delimiter
    // after it, so is the rest of the line.
    const std::size_t after = quoted.find(delimiter, closing + 1);
    rest = after == std::string_view::npos ? std::string_view() : quoted.substr(after + 1);
  }
  if (!rest.empty()) {  // the line's last field
    if (rest.front() == kQuote) rest.remove_prefix(1);
    if (!rest.empty() && rest.back() == kQuote) rest.remove_suffix(1);
    field(rest);
  }
}

}  // namespace

std::vector<std::string> SplitCsvLine(std::string_view line, char delimiter) {
  std::vector<std::string> fields;
  ForEachCsvField(line, delimiter, [&](std::string_view field) { fields.emplace_back(field); });
  return fields;
}

std::string FormatCsvLine(const std::vector<std::string>& fields, char delimiter) {
  std::string line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += delimiter;
    const std::string& field = fields[i];
    const bool quoted = field.find_first_of(std::string{delimiter, kQuote, '\r', '\n'}) !=
                            std::string::npos ||
                        (!field.empty() && (field.front() == ' ' || field.back() == ' '));
    if (!quoted) {
      line += field;
      continue;
    }
    line += kQuote;
    for (const char c : field) {
      if (c == kQuote) line += kQuote;
      line += c;
    }
    line += kQuote;
  }
  return line;
}

void LoadCsvLine(StringTable& table, int row, std::string_view line, char delimiter) {
  int col = 0;
  ForEachCsvField(line, delimiter, [&](std::string_view field) {
    if (col >= table.ColCount()) table.SetColCount(col + 1);
    table.SetCells(col++, row, field);
  });
}

void LoadFromCsvFile(StringTable& table, const std::string& path) {
  const UniqueFd file = OpenForReading(path);
  LineReader reader(file.Get(), path);
  // The first two lines decide the delimiter. They are kept and loaded from memory rather than
  // read again, so a file that cannot be rewound (a pipe) loads whole.
  std::string first, second;
  const int firstLines = !reader.NextLine(first) ? 0 : reader.NextLine(second) ? 2 : 1;
  if (first.starts_with(kUtf8ByteOrderMark)) first.erase(0, kUtf8ByteOrderMark.size());
  const char delimiter = DetectDelimiter(first, second);

  int row = 0;
  const auto loadLine = [&](std::string_view line) {
    if (row >= table.RowCount()) table.SetRowCount(row + kRowGrowthStep);
    LoadCsvLine(table, row, line, delimiter);
    ++row;
  };
  if (firstLines >= 1) loadLine(first);
  if (firstLines == 2) loadLine(second);
  for (std::string line; reader.NextLine(line);) loadLine(line);
  table.SetRowCount(row);
}

}  // namespace zenavo
