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

void AppendStyleOpen(std::string& out, const HtmlFont& font) {
  if (font.Bold) out += "<b>";
  if (font.Italic) out += "<i>";
  if (font.Underline) out += "<u>";
}

void AppendStyleClose(std::string& out, const HtmlFont& font) {
  if (font.Underline) out += "</u>";
  if (font.Italic) out += "</i>";
  if (font.Bold) out += "</b>";
}

const char* AlignAttribute(CellAlignment alignment) {
  switch (alignment) {
    case CellAlignment::Right: return " align=\"right\"";
    case CellAlignment::Center: return " align=\"center\"";
    default: return "";
  }
}

// The cell text: every CR becomes <br>, an empty text is `emptyText`.
void AppendCellText(std::string& out, std::string_view text, const char* emptyText) {
  if (text.empty()) {
    out += emptyText;
    return;
  }
  std::size_t start = 0;
  for (std::size_t cr; (cr = text.find('\r', start)) != std::string::npos; start = cr + 1) {
    out.append(text, start, cr - start);
    out += "<br>";
  }
  out.append(text, start, std::string::npos);
}

// The font start tag of a cell ("" when none), and whether one was written.
bool AppendFontOpen(std::string& out, const THTMLSettings& settings, const HtmlGridLook& look,
                    const HtmlFont& font, bool headerRow) {
  if (headerRow || !settings.SaveFonts) {
    if (!settings.SaveColor) return false;
    out += "<font color=\"";
    out += font.Color;
    out += "\">";
    return true;
  }
  const bool face = font.Name != look.Font.Name;
  if (!settings.SaveColor && !face) return false;
  out += "<font ";
  if (settings.SaveColor) out += "color=\"" + font.Color + "\"";
  out += ' ';
  if (face) out += "face=\"" + font.Name + "\"";
  out += '>';
  return true;
}

// One cell line, CR LF included.
void AppendCellLine(std::string& out, const StringTable& table, const THTMLSettings& settings,
                    const HtmlGridLook& look, int col, int row, bool headerRow) {
  const CellLook cell = ResolveCellLook(table, look, col, row);
  const std::string_view text = table.Cells(col, row);
  out += "<td";
  if (!look.WordWrap) out += " nowrap";
  if (look.Alignment && (headerRow || !text.empty())) out += AlignAttribute(look.Alignment(col, row));
  if (headerRow || cell.fixed || settings.SaveColor) {
    out += " bgcolor=\"";
    out += headerRow ? look.FixedColor : *cell.background;
    out += '"';
  }
  out += '>';
  if (headerRow) {
    // Header cells: style tags outside the font element; closed with </td> alone.
    if (settings.SaveFonts) AppendStyleOpen(out, *cell.font);
    const bool font = AppendFontOpen(out, settings, look, *cell.font, true);
    AppendCellText(out, text, "<br>");
    if (font) out += "</font>";
    if (settings.SaveFonts) AppendStyleClose(out, *cell.font);
  } else {
    const bool font = AppendFontOpen(out, settings, look, *cell.font, false);
    if (settings.SaveFonts) AppendStyleOpen(out, *cell.font);
    AppendCellText(out, text, settings.XHTML ? "<br/>" : "<br>");
    if (settings.SaveFonts) AppendStyleClose(out, *cell.font);
    if (font) out += "</font>";
  }
  out += "</td>\r\n";
}

void AppendLine(std::string& out, const std::string& line) {
  out += line;
  out += "\r\n";
}

void AppendRow(std::string& out, const StringTable& table, const THTMLSettings& settings,
               const HtmlGridLook& look, int row, bool headerRow) {
  out += "<tr>\r\n";
  for (int col = 0; col < table.ColCount(); ++col)
    AppendCellLine(out, table, settings, look, col, row, headerRow);
  out += "</tr>\r\n";
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
  // Bytes that already hold their line ends, written straight through.
  void WriteBytes(const std::string& bytes) {
    Flush();
    WriteAll(bytes.data(), bytes.size());
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
    WriteAll(buffer_.data(), buffer_.size());
    buffer_.clear();
  }
  void WriteAll(const char* data, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
      const ssize_t count = ::write(fd_, data + done, size - done);
      if (count < 0 && errno == EINTR) continue;
      if (count < 0) Fail(errno);
      done += static_cast<std::size_t>(count);
    }
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

// Generates the document's lines in order into `out`, handing it to `emit` whenever it holds
// about a block's worth of whole lines, and once at the end. `emit` may keep or empty `out`.
void GenerateHtml(const StringTable& table, const THTMLSettings& settings,
                  const HtmlGridLook& look, const std::function<void(std::string&)>& emit) {
  std::string out;
  out.reserve(HtmlDocument::kBlockSize + 4096);
  if (settings.XHTML) {
    out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
    out += "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"\r\n";
    out += "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">\r\n";
    out += "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">\r\n";
  }
  if (!settings.PrefixTag.empty()) AppendLine(out, settings.PrefixTag);
  out += "<table border=\"" + std::to_string(settings.BorderSize) + "\" cellspacing=\"" +
         std::to_string(settings.CellSpacing) + "\" cellpadding=\"" +
         std::to_string(settings.CellPadding) + "\" ";
  if (!settings.TableStyle.empty()) out += " " + settings.TableStyle + " ";
  out += " width=\"" + std::to_string(settings.Width) + "%\">\r\n";
  int bodyStart = 0;
  if (table.FixedRows() > 0) {
    AppendRow(out, table, settings, look, 0, true);
    bodyStart = 1;
  }
  for (int row = bodyStart; row < table.RowCount(); ++row) {
    AppendRow(out, table, settings, look, row, false);
    if (out.size() >= HtmlDocument::kBlockSize) emit(out);
  }
  out += "</table>\r\n";
  if (!settings.SuffixTag.empty()) AppendLine(out, settings.SuffixTag);
  if (settings.XHTML) out += "</html>\r\n";
  emit(out);
}

int CreateOutputFile(const std::string& fileName) {
  const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) throw ETableGridError("Cannot Create file " + fileName);
  return fd;
}

}  // namespace

HtmlDocument BuildHtmlDocument(const StringTable& table, const THTMLSettings& settings,
                               const HtmlGridLook& look) {
  HtmlDocument document;
  GenerateHtml(table, settings, look, [&](std::string& block) {
    document.Blocks.push_back(std::move(block));
    block = std::string();
    block.reserve(HtmlDocument::kBlockSize + 4096);
  });
  return document;
}

std::string HtmlDocument::Text() const {
  std::string text;
  for (const std::string& block : Blocks) text += block;
  return text;
}

void WriteHtmlFile(const std::string& fileName, const HtmlDocument& document,
                   const THTMLSettings& settings) {
  FileWriter writer(CreateOutputFile(fileName));
  CopyLinesOf(settings.HeaderFile, writer);
  for (const std::string& block : document.Blocks) writer.WriteBytes(block);
  CopyLinesOf(settings.FooterFile, writer);
  writer.Close();
}

void ExportHtmlFile(const StringTable& table, const std::string& fileName,
                    const THTMLSettings& settings, const HtmlGridLook& look) {
  // The same lines as BuildHtmlDocument, written block by block through one reused buffer:
  // a large table then needs about a megabyte instead of a copy of the whole file in memory.
  FileWriter writer(CreateOutputFile(fileName));
  CopyLinesOf(settings.HeaderFile, writer);
  GenerateHtml(table, settings, look, [&](std::string& block) {
    writer.WriteBytes(block);
    block.clear();
  });
  CopyLinesOf(settings.FooterFile, writer);
  writer.Close();
}

}  // namespace zenavo
