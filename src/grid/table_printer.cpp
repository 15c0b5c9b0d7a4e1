#include "grid/table_printer.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

#include "base/clock.h"
#include "base/exceptions.h"
#include "base/format_settings.h"
#include "grid/cups_job.h"
#include "ui/colors.h"
#include "ui/cell_text.h"

namespace zenavo {

namespace {

constexpr double kTenthsMmPerInch = 254.0;

// Collects what Qt reports (warnings from QPainter::begin and the paint engines) while alive,
// so a failure can be raised with the platform's own words.
class QtMessageCapture {
 public:
  QtMessageCapture() : previous_(qInstallMessageHandler(&Record)) { Messages().clear(); }
  ~QtMessageCapture() { qInstallMessageHandler(previous_); }
  QtMessageCapture(const QtMessageCapture&) = delete;
  QtMessageCapture& operator=(const QtMessageCapture&) = delete;

  std::string Text() const { return Messages().join("; ").toStdString(); }

 private:
  static QStringList& Messages() {
    static QStringList messages;
    return messages;
  }
  static void Record(QtMsgType, const QMessageLogContext&, const QString& message) {
    Messages().append(message);
  }
  QtMessageHandler previous_;
};

std::string PrinterDescription(const QPrinter& printer) {
  if (printer.outputFormat() == QPrinter::PdfFormat)
    return "the PDF file \"" + printer.outputFileName().toStdString() + "\"";
  return "the printer \"" + printer.printerName().toStdString() + "\"";
}

[[noreturn]] void RaisePrinterError(const std::string& what, const std::string& qtSays) {
  throw Exception(qtSays.empty() ? what : what + ": " + qtSays);
}

// No printer at all, or one the system does not know.
void CheckPrinter(const QPrinter& printer) {
  const bool pdf = printer.outputFormat() == QPrinter::PdfFormat;
  if ((pdf && printer.outputFileName().isEmpty()) || (!pdf && printer.printerName().isEmpty()))
    throw Exception("There is no printer selected");
  // The queue is asked now, before anything is rendered: it may have gone or stopped accepting
  // jobs since it was chosen.
  if (!pdf) CheckCupsDestination(printer.printerName().toStdString());
  if (!printer.isValid()) throw Exception(PrinterDescription(printer) + " is not a valid printer");
}

Qt::PenStyle QtPenStyle(TPenStyle style) {
  switch (style) {
    case psDash: return Qt::DashLine;
    case psDot: return Qt::DotLine;
    case psDashDot: return Qt::DashDotLine;
    case psDashDotDot: return Qt::DashDotDotLine;
    case psClear: return Qt::NoPen;
    case psSolid: break;
  }
  return Qt::SolidLine;
}

QRectF ToQRectF(const PrintRect& rect) {
  return QRectF(rect.Left, rect.Top, rect.Right - rect.Left, rect.Bottom - rect.Top);
}

// Draws `text` with its top-left corner at (x, y), clipped to `clip` (nothing when no part of
// the clip rectangle lies right of and below the corner).
void DrawClippedText(QPainter& painter, int x, int y, const PrintRect& clip, const QString& text) {
  const QRectF box(x, y, clip.Right - x, clip.Bottom - y);
  if (box.width() <= 0 || box.height() <= 0) return;
  painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
}

// The pages of a layout of `pageCount` pages that the printer's page ranges choose (every
// page when they choose none), as indexes. Raises Exception when the ranges miss every page.
std::vector<std::size_t> ChosenPages(const QPrinter& printer, std::size_t pageCount) {
  const QPageRanges ranges = printer.pageRanges();
  std::vector<std::size_t> pages;
  for (std::size_t page = 0; page < pageCount; ++page)
    if (ranges.isEmpty() || ranges.contains(static_cast<int>(page) + 1)) pages.push_back(page);
  if (pages.empty()) {
    throw Exception("The pages chosen (" + ranges.toString().toStdString() +
                    ") are not in the printout, which has " + std::to_string(pageCount) +
                    (pageCount == 1 ? " page" : " pages"));
  }
  return pages;
}

// Draws `pages` of `layout` on `painter`, active on `device`, one device page each, in units
// of 0.1 mm.
void DrawPages(QPainter& painter, QPagedPaintDevice& device, const PrintLayout& layout,
               const std::vector<std::size_t>& pages, const std::string& target) {
  painter.scale(device.logicalDpiX() / kTenthsMmPerInch, device.logicalDpiY() / kTenthsMmPerInch);
  for (std::size_t i = 0; i < pages.size(); ++i) {
    if (i > 0 && !device.newPage())
      RaisePrinterError("Printing on " + target + " failed at page " + std::to_string(pages[i] + 1), "");
    DrawPrintedPage(painter, layout, layout.Pages[pages[i]]);
  }
}

// `pages` of `layout` as one PDF document in memory, on the page, margins and resolution of
// `printer`, so that it prints exactly as measured there; nothing is written to disk.
QByteArray RenderPdf(const PrintLayout& layout, const std::vector<std::size_t>& pages,
                     const QPrinter& printer, const std::string& target) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(printer.resolution());
    writer.setPageLayout(printer.pageLayout());
    writer.setTitle(printer.docName());
    writer.setCreator(printer.creator());
    QPainter painter;
    QtMessageCapture qtSays;
    if (!painter.begin(&writer))
      RaisePrinterError("Printing on " + target + " could not start", qtSays.Text());
    try {
      DrawPages(painter, writer, layout, pages, target);
    } catch (...) {
      painter.end();
      throw;
    }
    painter.end();
  }
  return buffer.data();
}

}  // namespace

QPrinter& CurrentPrinter() {
  // Created once and kept until the process ends, never destroyed after the application object
  // it depends on.
  static QPrinter* const printer = new QPrinter(QPrinter::HighResolution);
  return *printer;
}

QFont PrintQFont(const TFontDescription& font) {
  QFont qfont(QString::fromStdString(font.Name));
  qfont.setPixelSize(std::max(1, PrintCharHeight(font.Size)));
  qfont.setBold(font.Style.Bold);
  qfont.setItalic(font.Style.Italic);
  qfont.setUnderline(font.Style.Underline);
  qfont.setStrikeOut(font.Style.StrikeOut);
  return qfont;
}

const QFontMetricsF& DeviceTextMeasurer::Metrics(const TFontDescription& font) {
  for (const auto& [description, metrics] : fonts_)
    if (description == font) return metrics;
  return fonts_.emplace_back(font, QFontMetricsF(PrintQFont(font), &device_)).second;
}

int DeviceTextMeasurer::TextWidth(std::string_view text, const TFontDescription& font) {
  return static_cast<int>(std::lround(Metrics(font).horizontalAdvance(CellTextToQString(text))));
}

int DeviceTextMeasurer::TextHeight(std::string_view, const TFontDescription& font) {
  return static_cast<int>(std::lround(Metrics(font).height()));
}

void PrintTable(const StringTable& table, const TPrintSettings& settings,
                const PrintGridLook& look, QPrinter& printer) {
  PrintCells(table, {0, 0, table.ColCount() - 1, table.RowCount() - 1}, false, {}, settings, look,
             printer);
}

void PrintCells(const StringTable& table, const PrintCellRect& rect, bool selectionOnly,
                const std::vector<int>& selectedRows, const TPrintSettings& settings,
                const PrintGridLook& look, QPrinter& printer) {
  PrintCellSelection cells = CellRange(rect.Left, rect.Top, rect.Right, rect.Bottom);
  if (selectionOnly) {
    std::erase_if(cells.Rows, [&](int row) {
      return std::find(selectedRows.begin(), selectedRows.end(), row) == selectedRows.end();
    });
  }
  PrintSelectedCells(table, cells, settings, look, printer);
}

int PrintSelectedCells(const StringTable& table, const PrintCellSelection& cells,
                       const TPrintSettings& settings, const PrintGridLook& look,
                       QPrinter& printer) {
  CheckPrinter(printer);
  // The orientation decides the printable area, so it is set before anything is measured.
  printer.setPageOrientation(settings.Orientation == poLandscape ? QPageLayout::Landscape
                                                                 : QPageLayout::Portrait);
  const PrintPageSetup setup{PrinterPageSize(printer), Clock().Today(),
                             CurrentFormatSettings().DateSeparator};
  DeviceTextMeasurer measurer(printer);
  const PrintLayout layout = LayOutTable(table, cells, settings, look, setup, measurer);
  PrintLayoutPages(layout, printer);
  return static_cast<int>(layout.Pages.size());
}

PrintPageSize PrinterPageSize(const QPrinter& printer) {
  return PageSizeFromDevice(printer.width(), printer.height(), printer.logicalDpiX(),
                            printer.logicalDpiY());
}

void PrintLayoutPages(const PrintLayout& layout, QPrinter& printer) {
  printer.setDocName(QString::fromStdString(layout.JobName));
  const std::string target = PrinterDescription(printer);
  const std::vector<std::size_t> pages = ChosenPages(printer, layout.Pages.size());
  if (printer.outputFormat() == QPrinter::NativeFormat) {
    // Handed to CUPS here rather than by Qt's print engine, which does not report a job that
    // the queue refuses.
    const QByteArray pdf = RenderPdf(layout, pages, printer, target);
    SubmitCupsPdfJob(printer.printerName().toStdString(), layout.JobName, CupsJobOptions(printer),
                     std::string_view(pdf.constData(), static_cast<std::size_t>(pdf.size())));
    return;
  }
  QPainter painter;
  {
    QtMessageCapture qtSays;
    if (!painter.begin(&printer))
      RaisePrinterError("Printing on " + target + " could not start", qtSays.Text());
  }
  if (printer.printerState() == QPrinter::Error) {
    painter.end();
    RaisePrinterError("Printing on " + target + " could not start", "");
  }
  try {
    DrawPages(painter, printer, layout, pages, target);
  } catch (...) {
    // Nothing of a failed run reaches the printer.
    printer.abort();
    painter.end();
    throw;
  }
  QtMessageCapture qtSays;
  if (!painter.end() || printer.printerState() == QPrinter::Error)
    RaisePrinterError("The print job on " + target + " failed", qtSays.Text());
}

QColor PrintedColor(TColor color) { return Resolve(color, QGuiApplication::palette()); }

void DrawPrintedPage(QPainter& painter, const PrintLayout& layout, const PrintedPage& page) {
  const PrintRect pageRect{0, 0, layout.Page.Width, layout.Page.Height};

  painter.setFont(PrintQFont(layout.HeaderFont));
  painter.setPen(PrintedColor(layout.HeaderFont.Color));
  for (const PrintedHeaderText& text : page.Header)
    DrawClippedText(painter, text.X, text.Y, pageRect, CellTextToQString(text.Text));

  const PrintedPageItems items = PageItems(layout, page);
  for (const PrintedFill& fill : items.Fills)
    painter.fillRect(ToQRectF(fill.Rect), PrintedColor(fill.Color));

  painter.setFont(PrintQFont(layout.CellFont));
  painter.setPen(PrintedColor(layout.CellFont.Color));
  for (const PrintedText& text : items.Texts)
    DrawClippedText(painter, text.X, text.Y, text.Clip, CellTextToQString(text.Text));

  painter.setPen(QPen(Qt::black, layout.LineWidth, QtPenStyle(layout.LineStyle)));
  for (const PrintedLine& line : items.Lines)
    painter.drawLine(QLineF(line.X1, line.Y1, line.X2, line.Y2));
}

}  // namespace zenavo
