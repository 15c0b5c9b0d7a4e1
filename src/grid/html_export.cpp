#include "grid/html_export.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "base/exceptions.h"
#include "base/line_reader.h"

namespace zenavo {

namespace {

// The pieces of one cell line that depend on its colours and font.
struct CellLook {
  const HtmlFont* font;
  const std::string* background;
  bool fixed;
};

CellLook ResolveCellLook(const StringTable& table, const HtmlGridLook& look, int col, int row) {
  const bool fixed = col < look.FixedCols || row < table.FixedRows();
  CellLook cell{fixed ? &look.FixedFont : &look.Font, &look.Color, fixed};
  const int period = look.BandPrimaryLength + look.BandSecondaryLength;
  if (look.BandsActive && !fixed && period > 0) {
    cell.background = (row - table.FixedRows()) % period < look.BandPrimaryLength
                          ? &look.BandPrimaryColor
                          : &look.BandSecondaryColor;
  }
  if (fixed) cell.background = &look.FixedColor;
  return cell;
}

std::string StyleOpen(const HtmlFont& font) {
  return std::string(font.Bold ? "<b>" : "") + (font.Italic ? "<i>" : "") +
         (font.Underline ? "<u>" : "");
}

std::string StyleClose(const HtmlFont& font) {
  return std::string(font.Underline ? "</u>" : "") + (font.Italic ? "</i>" : "") +
         (font.Bold ? "</b>" : "");
}

const char* AlignAttribute(CellAlignment alignment) {
  switch (alignment) {
    case CellAlignment::Right: return " align=\"right\"";
    case CellAlignment::Center: return " align=\"center\"";
    default: return "";
  }
}

// The cell text: every CR becomes <br>, an empty text is <br> (or `emptyText`).
void AppendCellText(std::string& line, const std::string& text, const char* emptyText) {
  if (text.empty()) {
    line += emptyText;
    return;
  }
  for (char c : text) {
    if (c == '\r')
      line += "<br>";
    else
      line += c;
  }
}

std::string CellLine(const StringTable& table, const THTMLSettings& settings,
                     const HtmlGridLook& look, int col, int row, bool headerRow) {
  const CellLook cell = ResolveCellLook(table, look, col, row);
  const std::string& text = table.Cells(col, row);
  std::string line = "<td";
  if (!look.WordWrap) line += " nowrap";
  if (look.Alignment && (headerRow || !text.empty())) line += AlignAttribute(look.Alignment(col, row));
  if (headerRow) {
    line += " bgcolor=\"" + look.FixedColor + "\"";
  } else if (cell.fixed || settings.SaveColor) {
    line += " bgcolor=\"" + *cell.background + "\"";
  }
  line += '>';
  const std::string styleOpen = settings.SaveFonts ? StyleOpen(*cell.font) : "";
  const std::string styleClose = settings.SaveFonts ? StyleClose(*cell.font) : "";
  std::string fontOpen, fontClose;
  if (headerRow || !settings.SaveFonts) {
    if (settings.SaveColor) fontOpen = "<font color=\"" + cell.font->Color + "\">", fontClose = "</font>";
  } else {
    const std::string colorPart = settings.SaveColor ? "color=\"" + cell.font->Color + "\"" : "";
    const std::string facePart =
        cell.font->Name != look.Font.Name ? "face=\"" + cell.font->Name + "\"" : "";
    if (!colorPart.empty() || !facePart.empty())
      fontOpen = "<font " + colorPart + " " + facePart + ">", fontClose = "</font>";
  }
  if (headerRow) {
    // Header cells: style tags outside the font element; closed with </td> alone.
    line += styleOpen + fontOpen;
    AppendCellText(line, text, "<br>");
    line += fontClose + styleClose + "</td>";
  } else {
    line += fontOpen + styleOpen;
    AppendCellText(line, text, settings.XHTML ? "<br/>" : "<br>");
    line += styleClose + fontClose + "</td>";
  }
  return line;
}

void AppendRow(std::vector<std::string>& lines, const StringTable& table,
               const THTMLSettings& settings, const HtmlGridLook& look, int row, bool headerRow) {
  lines.emplace_back("<tr>");
  for (int col = 0; col < table.ColCount(); ++col)
    lines.push_back(CellLine(table, settings, look, col, row, headerRow));
  lines.emplace_back("</tr>");
}

// Buffered writing to a file descriptor with the runtime's error texts.
class FileWriter {
 public:
  explicit FileWriter(int fd) : fd_(fd) {}
  ~FileWriter() {
    if (fd_ >= 0) ::close(fd_);
  }
  void WriteLine(const std::string& line) {
    buffer_ += line;
    buffer_ += "\r\n";
    if (buffer_.size() >= kFlushSize) Flush();
  }
  void Close() {
    Flush();
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0) Fail(errno);
  }

 private:
  static constexpr std::size_t kFlushSize = 1 << 20;

  void Flush() {
    std::size_t done = 0;
    while (done < buffer_.size()) {
      const ssize_t count = ::write(fd_, buffer_.data() + done, buffer_.size() - done);
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) Fail(errno);
      done += static_cast<std::size_t>(count);
    }
    buffer_.clear();
  }
  [[noreturn]] static void Fail(int error) {
    throw EInOutError(error == ENOSPC ? "Disk full" : "I/O error " + std::to_string(error));
  }

  int fd_;
  std::string buffer_;
};

// Copies the lines of a text file; a file that cannot be opened is skipped.
void CopyLinesOf(const std::string& path, FileWriter& writer) {
  if (path.empty()) return;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return;
  try {
    LineReader reader(fd, path);
    std::string line;
    while (reader.NextLine(line)) writer.WriteLine(line);
  } catch (...) {
    ::close(fd);
    throw;
  }
  ::close(fd);
}

}  // namespace

std::vector<std::string> BuildHtmlDocument(const StringTable& table,
                                           const THTMLSettings& settings,
                                           const HtmlGridLook& look) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<std::size_t>(table.RowCount()) * (table.ColCount() + 2) + 12);
  if (settings.XHTML) {
    lines.emplace_back("<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
    lines.emplace_back("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"");
    lines.emplace_back("\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">");
    lines.emplace_back(
        "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">");
  }
  if (!settings.PrefixTag.empty()) lines.push_back(settings.PrefixTag);
  std::string tableTag = "<table border=\"" + std::to_string(settings.BorderSize) +
                         "\" cellspacing=\"" + std::to_string(settings.CellSpacing) +
                         "\" cellpadding=\"" + std::to_string(settings.CellPadding) + "\" ";
  if (!settings.TableStyle.empty()) tableTag += " " + settings.TableStyle + " ";
  tableTag += " width=\"" + std::to_string(settings.Width) + "%\">";
  lines.push_back(std::move(tableTag));
  int bodyStart = 0;
  if (table.FixedRows() > 0) {
    AppendRow(lines, table, settings, look, 0, true);
    bodyStart = 1;
  }
  for (int row = bodyStart; row < table.RowCount(); ++row)
    AppendRow(lines, table, settings, look, row, false);
  lines.emplace_back("</table>");
  if (!settings.SuffixTag.empty()) lines.push_back(settings.SuffixTag);
  if (settings.XHTML) lines.emplace_back("</html>");
  return lines;
}

void WriteHtmlFile(const std::string& fileName, const std::vector<std::string>& lines,
                   const THTMLSettings& settings) {
  const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) throw ETableGridError("Cannot Create file " + fileName);
  FileWriter writer(fd);
  CopyLinesOf(settings.HeaderFile, writer);
  for (const std::string& line : lines) writer.WriteLine(line);
  CopyLinesOf(settings.FooterFile, writer);
  writer.Close();
}

void ExportHtmlFile(const StringTable& table, const std::string& fileName,
                    const THTMLSettings& settings, const HtmlGridLook& look) {
  WriteHtmlFile(fileName, BuildHtmlDocument(table, settings, look), settings);
}

}  // namespace zenavo
