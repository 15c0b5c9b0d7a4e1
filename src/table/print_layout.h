// The printed table laid out on pages, free of Qt: where every text, fill and line goes, in
// tenths of a millimetre (0.1 mm) from the top-left corner of the printer's printable area,
// x to the right and y downwards. A printer back end (grid/table_printer.h) measures text for
// it and draws the pages it returns, so the pages counted are exactly the pages drawn.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/clock.h"
#include "base/color.h"
#include "base/string_table.h"
#include "table/print_settings.h"

namespace zenavo {

// A rectangle in 0.1 mm; right and bottom exclusive.
struct PrintRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const PrintRect&) const = default;
};

// The printable area of a page in 0.1 mm.
struct PrintPageSize {
  int Width = 0;
  int Height = 0;
  bool operator==(const PrintPageSize&) const = default;
};

// The printable area in 0.1 mm from its size in device pixels and the device resolution in
// pixels per inch: 254 / resolution x pixels, rounded. Raises Exception for a resolution or a
// size that is not positive.
PrintPageSize PageSizeFromDevice(int widthPixels, int heightPixels, int dpiX, int dpiY);

// The character height in 0.1 mm of a font of `points` points on paper: points x 254 / 72,
// rounded (28 for 8 points).
int PrintCharHeight(int points);

// Text measurement in the printer's units: a font is realised with the character height
// PrintCharHeight(font.Size); results are in 0.1 mm.
class PrintTextMeasurer {
 public:
  virtual ~PrintTextMeasurer() = default;
  virtual int TextWidth(std::string_view text, const TFontDescription& font) = 0;
  // The height of one line of `text`.
  virtual int TextHeight(std::string_view text, const TFontDescription& font) = 0;
};

// The grid's colours as printing uses them (the screen's fixed-cell colour plays no part).
struct PrintGridLook {
  TColor Color = clWindow;  // background of every printed cell
  // The screen's row bands; printed only when both BandsActive and BandsPrint are on.
  bool BandsActive = true;
  bool BandsPrint = false;
  TColor BandPrimaryColor = clInfoBk;
  int BandPrimaryLength = 1;
  TColor BandSecondaryColor = clWindow;
  int BandSecondaryLength = 1;
};

// The cells to print: columns LeftCol..RightCol and the listed rows, in the listed order.
struct PrintCellSelection {
  int LeftCol = 0;
  int RightCol = 0;
  std::vector<int> Rows;
};

// Every cell of `table`.
PrintCellSelection AllCells(const StringTable& table);
// The inclusive cell rectangle (left, top) .. (right, bottom).
PrintCellSelection CellRange(int left, int top, int right, int bottom);

// What a run takes from its surroundings besides cells, settings and measurer.
struct PrintPageSetup {
  PrintPageSize Page;
  LocalDate Today;           // the date printed in the page header
  char DateSeparator = '/';  // the locale's date separator
};

// A text of the page header, drawn in HeaderFont at (X, Y), clipped to the page.
struct PrintedHeaderText {
  int X = 0, Y = 0;
  std::string Text;
};

// A table row placed on a page: its top.
struct PrintedRow {
  int Row = 0;
  int Top = 0;
};

// One page: its header texts, its column block and its rows. PageItems() below gives the
// fills, texts and lines that draw its cells.
struct PrintedPage {
  std::vector<PrintedHeaderText> Header;
  std::size_t FirstColumn = 0, EndColumn = 0;  // the block: indices into ColumnWidths, end excluded
  std::vector<PrintedRow> Rows;
};

struct PrintLayout {
  PrintPageSize Page;
  std::string JobName;
  TFontDescription CellFont;
  TFontDescription HeaderFont;
  // The pen of every line: black, this wide (0.1 mm), in this style.
  int LineWidth = 2;
  TPenStyle LineStyle = psSolid;
  std::vector<PrintedPage> Pages;

  // Working values of the run, all in 0.1 mm.
  int TextHeight = 0;      // TH: the height of "gh" in the cell font
  int M = 0;               // TH / 8, rounded down
  int HeaderBand = 0;
  int FooterBand = 0;
  int ColumnSpacing = 0;   // ColumnSpacing + 20
  int RowPitch = 0;        // TH + TH / 8 + 2 M + RowSpacing
  // Per column LeftCol..RightCol: the widest printed text and the column's x in its block.
  std::vector<int> ColumnWidths;
  std::vector<int> ColumnLefts;

  // What PageItems reads: the table (whose texts the items view) and its colours.
  const StringTable* Table = nullptr;
  int LeftCol = 0;
  PrintGridLook Look;
};

// A cell text: drawn in the layout's CellFont and its colour with its top-left corner at
// (X, Y), clipped to Clip (the cell rectangle within the page). Text views the table's cell.
struct PrintedText {
  int X = 0, Y = 0;
  PrintRect Clip;
  std::string_view Text;
  int Col = 0, Row = 0;
};

// A rectangle filled without an outline.
struct PrintedFill {
  PrintRect Rect;
  TColor Color;
};

// A straight line in the layout's pen.
struct PrintedLine {
  int X1 = 0, Y1 = 0, X2 = 0, Y2 = 0;
};

// What draws a page's cells, in this order: fills, texts, lines (after the header texts).
// Drawn cell by cell instead, the result is the same: a cell's fill and text stay inside its own
// rectangle. Each cell is filled, its text (when it has one) starts 0.4 mm in at its top, and
// a line runs along its top and one along its left edge.
struct PrintedPageItems {
  std::vector<PrintedFill> Fills;
  std::vector<PrintedText> Texts;
  std::vector<PrintedLine> Lines;
};

PrintedPageItems PageItems(const PrintLayout& layout, const PrintedPage& page);

// The date as DateFormat writes it: "dd", "mm" and "yyyy" become day, month and year with two,
// two and four digits ("d", "m" and "yy" give the day and month without a leading zero and the
// year's last two digits), every "/" becomes `separator`, anything else stays.
std::string FormatPrintDate(std::string_view format, const LocalDate& date, char separator);

// The text a cell prints: its text up to its first carriage return.
std::string_view PrintedCellText(std::string_view cellText);

// Lays the cells out on pages. Raises Exception for a page that has no room for a column or for
// one row below the page header, for a font size that is not positive, and for cells outside
// the table ("Grid index out of range"). The layout reads the table's cells when its pages are
// drawn: draw it before the table changes.
PrintLayout LayOutTable(const StringTable& table, const PrintCellSelection& cells,
                        const TPrintSettings& settings, const PrintGridLook& look,
                        const PrintPageSetup& setup, PrintTextMeasurer& measurer);
// A temporary table would leave the layout's texts dangling.
PrintLayout LayOutTable(const StringTable&&, const PrintCellSelection&, const TPrintSettings&,
                        const PrintGridLook&, const PrintPageSetup&, PrintTextMeasurer&) = delete;

}  // namespace zenavo
