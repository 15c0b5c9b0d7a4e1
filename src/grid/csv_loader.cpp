#include "grid/csv_loader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

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

// Every run of two or more quotes becomes one quote.
std::string CollapseQuoteRuns(std::string_view text) {
  if (text.find(kQuote) == std::string_view::npos) return std::string(text);
  std::string result;
  result.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    result += text[i];
    if (text[i] == kQuote)
      while (i + 1 < text.size() && text[i + 1] == kQuote) ++i;
  }
  return result;
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

void WriteField(StringTable& table, int col, int row, std::string text) {
  if (col + 1 > table.ColCount()) table.SetColCount(col + 1);
  table.SetCells(col, row, std::move(text));
}

// Opens the file for reading; a folder or any failure is "cannot open".
int OpenForReading(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw ETableGridError("Cannot open file " + path);
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    throw ETableGridError("Cannot open file " + path);
  }
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

void LoadCsvLine(StringTable& table, int row, const std::string& line, char delimiter) {
  std::string_view rest = line;
  int col = 0;
  if (delimiter != kNoDelimiter) {
    for (std::size_t next; (next = rest.find(delimiter)) != std::string_view::npos;) {
      std::string field;
      if (rest.front() == kQuote) {
        rest.remove_prefix(1);
        const std::size_t closing = FindClosingQuote(rest);
        if (closing != std::string_view::npos) {
          field = CollapseQuoteRuns(rest.substr(0, closing));
          rest.remove_prefix(closing + 1);
          const std::size_t after = rest.find(delimiter);
          rest = after == std::string_view::npos ? std::string_view() : rest.substr(after + 1);
        } else {
          rest.remove_prefix(rest.find(delimiter) + 1);  // an unclosed quote: empty field
        }
      } else {
        field = CollapseQuoteRuns(rest.substr(0, next));
        rest.remove_prefix(next + 1);
      }
      WriteField(table, col++, row, std::move(field));
    }
  }
  if (!rest.empty()) {
    if (rest.front() == kQuote) rest.remove_prefix(1);
    if (!rest.empty() && rest.back() == kQuote) rest.remove_suffix(1);
    WriteField(table, col, row, CollapseQuoteRuns(rest));
  }
}

void LoadFromCsvFile(StringTable& table, const std::string& path) {
  const FileCloser file{OpenForReading(path)};
  LineReader reader(file.fd, path);
  std::string first, second;
  if (reader.NextLine(first)) reader.NextLine(second);
  const char delimiter = DetectDelimiter(first, second);
  reader.Rewind();

  int row = 0;
  std::string line;
  while (reader.NextLine(line)) {
    if (row >= table.RowCount()) table.SetRowCount(row + kRowGrowthStep);
    LoadCsvLine(table, row, line, delimiter);
    ++row;
  }
  table.SetRowCount(row);
}

}  // namespace zenavo
