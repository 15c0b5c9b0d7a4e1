// Printing a string table on a QPrinter: the table is laid out once with the printer's own
// font metrics (table/print_layout.h), then exactly those pages are drawn in a painter whose
// units are tenths of a millimetre. Printer failures raise Exception; a job that fails after
// it started is aborted, never left half-printed without a word. A printer's queue is asked
// before anything is drawn, so a queue that is gone or refuses jobs is reported at once.
#pragma once

#include <QColor>
#include <QFont>
#include <QFontMetricsF>

#include <utility>
#include <vector>

#include "base/string_table.h"
#include "table/print_layout.h"
#include "table/print_settings.h"

class QPainter;
class QPaintDevice;
class QPrinter;

namespace zenavo {

// The process-wide printer that the main window's print dialog configures and the grid prints
// on; created on first use, in high resolution.
QPrinter& CurrentPrinter();

// `font` realised at its print character height (PrintCharHeight) in pixels; in a painter
// scaled to 0.1 mm units, one pixel is 0.1 mm.
QFont PrintQFont(const TFontDescription& font);

// Measures texts with a paint device's font metrics (the printer's, for a print run), in the
// 0.1 mm units of the layout.
class DeviceTextMeasurer : public PrintTextMeasurer {
 public:
  explicit DeviceTextMeasurer(QPaintDevice& device) : device_(device) {}
  int TextWidth(std::string_view text, const TFontDescription& font) override;
  int TextHeight(std::string_view text, const TFontDescription& font) override;

 private:
  const QFontMetricsF& Metrics(const TFontDescription& font);
  QPaintDevice& device_;
  std::vector<std::pair<TFontDescription, QFontMetricsF>> fonts_;  // the run's two or three fonts
};

// The inclusive cell rectangle a grid prints: columns Left..Right, rows Top..Bottom.
struct PrintCellRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// Prints every cell of the table (PrintCells over the whole table, not only the selection).
void PrintTable(const StringTable& table, const TPrintSettings& settings,
                const PrintGridLook& look, QPrinter& printer);

// Prints the cells of `rect`; with `selectionOnly`, only the rows of `rect` listed in
// `selectedRows` (the grid selects whole rows).
void PrintCells(const StringTable& table, const PrintCellRect& rect, bool selectionOnly,
                const std::vector<int>& selectedRows, const TPrintSettings& settings,
                const PrintGridLook& look, QPrinter& printer);

// Prints the chosen cells: sets the orientation, lays the cells out with the printer's
// measurements and prints the pages. Returns the number of pages printed.
int PrintSelectedCells(const StringTable& table, const PrintCellSelection& cells,
                       const TPrintSettings& settings, const PrintGridLook& look,
                       QPrinter& printer);

// The printer's printable area in 0.1 mm (raises Exception as PageSizeFromDevice does).
PrintPageSize PrinterPageSize(const QPrinter& printer);

// Starts a document named after the layout's job, draws its pages (those of the printer's page
// ranges, all when it has none) and ends the document. On a PDF file Qt writes the document; on
// a printer the document is rendered in memory and handed to its CUPS queue (grid/cups_job.h).
// Raises Exception with what the printer, CUPS or Qt reported when the document cannot start, a
// page cannot be added, or the job fails; a failed job is aborted.
void PrintLayoutPages(const PrintLayout& layout, QPrinter& printer);

// A colour as printing puts it on paper: system colours resolved from the application palette
// at the moment of printing.
QColor PrintedColor(TColor color);

// Draws one page of `layout` on a painter whose units are 0.1 mm.
void DrawPrintedPage(QPainter& painter, const PrintLayout& layout, const PrintedPage& page);

}  // namespace zenavo
