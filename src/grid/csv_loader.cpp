#include "grid/csv_loader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <new>

#include "base/byte_search.h"
#include "base/exceptions.h"
#include "base/line_reader.h"

namespace zenavo {

namespace {

constexpr char kQuote = '"';
constexpr int kRowGrowthStep = 1000;

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

// Appends `text` with every run of two or more quotes made one quote.
template <class Cells>
void AppendCollapsed(Cells& out, std::string_view text) {
  for (std::size_t quote; (quote = text.find(kQuote)) != std::string_view::npos;) {
    out.Append(text.substr(0, quote + 1));
    text.remove_prefix(RunEnd(text, quote, kQuote));
  }
  out.Append(text);
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

// Opens the file for reading; a folder or any failure is "cannot open". `size` is the file's
// size in bytes.
int OpenForReading(const std::string& path, std::size_t& size) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw ETableGridError("Cannot open file " + path);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    throw ETableGridError("Cannot open file " + path);
  }
  size = S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0;
  return fd;
}

struct FileCloser {
  int fd;
  ~FileCloser() { ::close(fd); }
};

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

// The fields of one line, appended to `fields` (a RowTexts or a table's RowWriter).
template <class Cells>
void AppendCsvFields(std::string_view rest, char delimiter, Cells& fields) {
  // Fields are taken from the front while the rest of the line holds a delimiter anywhere.
  while (delimiter != kNoDelimiter && !rest.empty()) {
    if (rest.front() != kQuote) {
      const char* stop = FindEitherByte(rest.data(), rest.data() + rest.size(), delimiter, kQuote);
      if (stop != rest.data() + rest.size() && *stop == delimiter) {  // a field without quotes
        fields.Append(std::string_view(rest.data(), stop - rest.data()));
        rest.remove_prefix(stop - rest.data() + 1);
      } else {
        const std::size_t next = rest.find(delimiter);
        if (next == std::string_view::npos) break;  // no delimiter left: the line's last field
        AppendCollapsed(fields, rest.substr(0, next));
        rest.remove_prefix(next + 1);
      }
    } else {
      const std::string_view quoted = rest.substr(1);
      const std::size_t closing = FindClosingQuote(quoted);
      const std::size_t after =
          closing == std::string_view::npos ? closing : quoted.find(delimiter, closing + 1);
      // Without a delimiter anywhere in the rest, this is the line's last field.
      if (after == std::string_view::npos && rest.find(delimiter) == std::string_view::npos) break;
      if (closing != std::string_view::npos) {
        AppendCollapsed(fields, quoted.substr(0, closing));
        // The text after the closing quote up to the next delimiter is dropped; with no
        // delimiter after it, so is the rest of the line.
        rest = after == std::string_view::npos ? std::string_view() : quoted.substr(after + 1);
      } else {
        rest.remove_prefix(rest.find(delimiter) + 1);  // an unclosed quote: empty field
      }
    }
    fields.CloseCell();
  }
  if (!rest.empty()) {
    if (rest.front() == kQuote) rest.remove_prefix(1);
    if (!rest.empty() && rest.back() == kQuote) rest.remove_suffix(1);
    AppendCollapsed(fields, rest);
    fields.CloseCell();
  }
}

// Room in the table's store for a file of `size` bytes, judged from its first two lines, so that
// a big file is stored without regrowing. Only a hint: the text is at most the file's bytes and
// the cells at most its bytes plus its lines; a reserve the machine refuses is skipped.
void ReserveRoomFor(StringTable& table, std::size_t size, const std::string& first,
                    const std::string& second, char delimiter) {
  constexpr std::size_t kShortestLineGuess = 16;
  RowTexts fields;
  SplitCsvLine(second.empty() ? first : second, delimiter, fields);
  const std::size_t lineBytes =
      std::max((first.size() + second.size()) / 2 + 1, kShortestLineGuess);
  const std::size_t lines = size / lineBytes * 5 / 4 + 1;
  const std::size_t cells = std::min(lines * std::max(1, fields.Count()), size + lines);
  try {
    table.Reserve(lines, cells, size);
  } catch (const std::bad_alloc&) {
  }
}

}  // namespace

void SplitCsvLine(std::string_view line, char delimiter, RowTexts& fields) {
  fields.Clear();
  AppendCsvFields(line, delimiter, fields);
}

void LoadCsvLine(StringTable& table, int row, std::string_view line, char delimiter) {
  StringTable::RowWriter fields(table, row);
  AppendCsvFields(line, delimiter, fields);
  if (fields.Count() > table.ColCount()) table.SetColCount(fields.Count());
  fields.Commit();
}

void LoadFromCsvFile(StringTable& table, const std::string& path) {
  std::size_t size = 0;
  const FileCloser file{OpenForReading(path, size)};
  LineReader reader(file.fd, path);
  std::string first, second;
  if (reader.NextLine(first)) reader.NextLine(second);
  const char delimiter = DetectDelimiter(first, second);
  reader.Rewind();

  ReserveRoomFor(table, size, first, second, delimiter);
  int row = 0;
  std::string_view line;
  while (reader.NextLine(line)) {
    if (row >= table.RowCount()) table.SetRowCount(row + kRowGrowthStep);
    LoadCsvLine(table, row, line, delimiter);
    ++row;
  }
  table.SetRowCount(row);
}

}  // namespace zenavo
