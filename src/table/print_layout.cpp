#include "table/print_layout.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/exceptions.h"

namespace zenavo {

namespace {

constexpr int kTenthsMmPerInch = 254;
constexpr int kFixedColumnSpacing = 20;  // 2 mm beside every column
constexpr int kTextIndent = 4;           // a left-aligned text starts 0.4 mm into its cell
constexpr int kThinLine = 2;             // 0.2 mm
constexpr int kDoubleBorderLine = 10;    // 1 mm

std::string Millimetres(int tenths) {
  char text[32];
  std::snprintf(text, sizeof text, "%.1f mm", tenths / 10.0);
  return text;
}

bool IsTop(TPrintPosition position) {
  return position == ppTopLeft || position == ppTopRight || position == ppTopCenter;
}

bool IsBottom(TPrintPosition position) {
  return position == ppBottomLeft || position == ppBottomRight || position == ppBottomCenter;
}

void CheckFontSize(const TFontDescription& font, const char* which) {
  if (font.Size <= 0)
    throw Exception(std::string("The print ") + which + " size must be positive, not " +
                    std::to_string(font.Size) + " points");
}

void CheckCells(const StringTable& table, const PrintCellSelection& cells) {
  const auto outside = [](int index, int count) { return index < 0 || index >= count; };
  bool bad = outside(cells.LeftCol, table.ColCount()) || outside(cells.RightCol, table.ColCount()) ||
             cells.LeftCol > cells.RightCol;
  for (int row : cells.Rows) bad = bad || outside(row, table.RowCount());
  if (bad) throw Exception("Grid index out of range");
}

// The widest printed text of each column in the cell font; an empty text counts as "gh".
std::vector<int> ColumnWidths(const StringTable& table, const PrintCellSelection& cells,
                              const TFontDescription& font, PrintTextMeasurer& measurer) {
  const int emptyWidth = measurer.TextWidth("gh", font);
  std::vector<int> widths;
  widths.reserve(cells.RightCol - cells.LeftCol + 1);
  for (int col = cells.LeftCol; col <= cells.RightCol; ++col) {
    int widest = 0;
    for (int row : cells.Rows) {
      const std::string_view text = PrintedCellText(table.Cells(col, row));
      widest = std::max(widest, text.empty() ? emptyWidth : measurer.TextWidth(text, font));
    }
    widths.push_back(widest);
  }
  return widths;
}

// The column after the last one of the block that starts at `first` (an index into `widths`):
// columns join while the running width (counted from 0: the left margin is not part of it)
// stays within `room`; the first always does.
std::size_t BlockEnd(const std::vector<int>& widths, std::size_t first, int spacing, int room) {
  long long running = widths[first] + spacing;
  std::size_t end = first + 1;
  while (end < widths.size() && running + widths[end] + spacing <= room)
    running += widths[end++] + spacing;
  return end;
}

TColor Background(const PrintGridLook& look, int fixedRows, int row) {
  const int period = look.BandPrimaryLength + look.BandSecondaryLength;
  if (!look.BandsPrint || !look.BandsActive || row < fixedRows || period <= 0) return look.Color;
  return (row - fixedRows) % period < look.BandPrimaryLength ? look.BandPrimaryColor
                                                             : look.BandSecondaryColor;
}

}  // namespace

PrintPageSize PageSizeFromDevice(int widthPixels, int heightPixels, int dpiX, int dpiY) {
  if (dpiX <= 0 || dpiY <= 0)
    throw Exception("The printer reports no usable resolution (" + std::to_string(dpiX) + " x " +
                    std::to_string(dpiY) + " dots per inch)");
  if (widthPixels <= 0 || heightPixels <= 0)
    throw Exception("The printer reports no printable area (" + std::to_string(widthPixels) +
                    " x " + std::to_string(heightPixels) + " dots)");
  const auto tenths = [](int pixels, int dpi) {
    return static_cast<int>(std::lround(static_cast<double>(kTenthsMmPerInch) * pixels / dpi));
  };
  return {tenths(widthPixels, dpiX), tenths(heightPixels, dpiY)};
}

int PrintCharHeight(int points) {
  return static_cast<int>(std::lround(points * static_cast<double>(kTenthsMmPerInch) / 72));
}

PrintCellSelection AllCells(const StringTable& table) {
  return CellRange(0, 0, table.ColCount() - 1, table.RowCount() - 1);
}

PrintCellSelection CellRange(int left, int top, int right, int bottom) {
  PrintCellSelection cells{left, right, {}};
  for (int row = top; row <= bottom; ++row) cells.Rows.push_back(row);
  return cells;
}

std::string FormatPrintDate(std::string_view format, const LocalDate& date, char separator) {
  std::string text;
  char digits[16];
  for (std::size_t i = 0; i < format.size();) {
    const char letter = format[i];
    std::size_t run = 1;
    while (i + run < format.size() && format[i + run] == letter) ++run;
    switch (letter) {
      case 'd': case 'D':
        std::snprintf(digits, sizeof digits, run >= 2 ? "%02d" : "%d", date.Day);
        break;
      case 'm': case 'M':
        std::snprintf(digits, sizeof digits, run >= 2 ? "%02d" : "%d", date.Month);
        break;
      case 'y': case 'Y':
        if (run >= 3)
          std::snprintf(digits, sizeof digits, "%04d", date.Year);
        else
          std::snprintf(digits, sizeof digits, "%02d", date.Year % 100);
        break;
      default:
        run = 1;
        digits[0] = letter == '/' ? separator : letter;
        digits[1] = '\0';
    }
    text += digits;
    i += run;
  }
  return text;
}

std::string_view PrintedCellText(std::string_view cellText) {
  return cellText.substr(0, cellText.find('\r'));
}

PrintLayout LayOutTable(const StringTable& table, const PrintCellSelection& cells,
                        const TPrintSettings& settings, const PrintGridLook& look,
                        const PrintPageSetup& setup, PrintTextMeasurer& measurer) {
  CheckFontSize(settings.Font, "font");
  CheckFontSize(settings.HeaderFont, "header font");
  CheckFontSize(settings.FooterFont, "footer font");
  CheckCells(table, cells);
  if (setup.Page.Width <= 0 || setup.Page.Height <= 0)
    throw Exception("The printer reports no printable area");

  PrintLayout layout;
  layout.Page = setup.Page;
  layout.JobName = settings.JobName;
  layout.CellFont = settings.Font;
  layout.HeaderFont = settings.HeaderFont;
  layout.LineWidth = settings.Borders == pbDouble ? kDoubleBorderLine : kThinLine;
  layout.LineStyle = settings.BorderStyle;

  // Bands and spacings.
  const int th = measurer.TextHeight("gh", settings.Font);
  const int headerTh = measurer.TextHeight("gh", settings.HeaderFont);
  const int footerTh = measurer.TextHeight("gh", settings.FooterFont);
  const TPrintPosition items[] = {settings.Time, settings.Date, settings.PageNr, settings.Title};
  layout.TextHeight = th;
  layout.M = th / 8;
  layout.HeaderBand = settings.HeaderSize;
  if (std::any_of(std::begin(items), std::end(items), IsTop) ||
      !settings.FirstPageHeaderText.empty()) {
    layout.HeaderBand += layout.M + headerTh;
    if (IsTop(settings.Title) && settings.TitleLines.size() > 1)
      layout.HeaderBand += static_cast<int>(settings.TitleLines.size() - 1) * headerTh;
  }
  const bool bottom = std::any_of(std::begin(items), std::end(items), IsBottom);
  layout.FooterBand = (bottom ? 2 : 1) * (layout.M + footerTh) + settings.FooterSize;
  layout.ColumnSpacing = settings.ColumnSpacing + kFixedColumnSpacing;
  // Every printed cell holds one line, so every row has the content height TH.
  const int contentHeight = th;
  layout.RowPitch = contentHeight + contentHeight / 8 + 2 * layout.M + settings.RowSpacing;

  // Checks that each page takes at least one row and each block at least one column, so the
  // loops below always advance.
  const int room = setup.Page.Width - settings.RightSize;
  if (room - settings.LeftSize <= layout.ColumnSpacing)
    throw Exception("The printable width of " + Millimetres(setup.Page.Width) +
                    " leaves no room for a table column");
  const int firstRowTop = layout.HeaderBand + settings.TitleSpacing;
  const int rowsBottom = setup.Page.Height - layout.FooterBand;
  if (firstRowTop < 0 || firstRowTop + contentHeight > rowsBottom)
    throw Exception("The printable height of " + Millimetres(setup.Page.Height) +
                    " leaves no room for a table row between the page header and footer");
  if (layout.RowPitch <= 0)
    throw Exception("The printed rows have no height: the row spacing is " +
                    Millimetres(settings.RowSpacing));

  layout.ColumnWidths = ColumnWidths(table, cells, settings.Font, measurer);
  layout.Table = &table;
  layout.LeftCol = cells.LeftCol;
  layout.Look = look;

  const std::string dateText =
      FormatPrintDate(settings.DateFormat, setup.Today, setup.DateSeparator) + " ";
  const bool dateShown = settings.Date == ppTopLeft;
  const int firstPageTextX =
      settings.LeftSize + (dateShown ? measurer.TextWidth(dateText, settings.HeaderFont) : 0);
  const auto newPage = [&](std::size_t first, std::size_t end) {
    PrintedPage& page = layout.Pages.emplace_back();
    page.FirstColumn = first;
    page.EndColumn = end;
    if (dateShown) page.Header.push_back({settings.LeftSize, settings.HeaderSize, dateText});
    if (layout.Pages.size() == 1 && !settings.FirstPageHeaderText.empty())
      page.Header.push_back({firstPageTextX, settings.HeaderSize, settings.FirstPageHeaderText});
    return &page;
  };
  if (cells.Rows.empty()) {
    newPage(0, 0);
    return layout;
  }
  for (std::size_t first = 0; first < layout.ColumnWidths.size();) {
    const std::size_t end = BlockEnd(layout.ColumnWidths, first, layout.ColumnSpacing, room);
    int x = settings.LeftSize;
    for (std::size_t c = first; c < end; ++c) {
      layout.ColumnLefts.push_back(x);
      x += layout.ColumnWidths[c] + layout.ColumnSpacing;
    }
    PrintedPage* page = newPage(first, end);
    int y = firstRowTop;
    for (std::size_t i = 0; i < cells.Rows.size(); ++i) {
      page->Rows.push_back({cells.Rows[i], y});
      y += layout.RowPitch;
      // The next row stays on this page when its content fits above the footer band.
      if (i + 1 < cells.Rows.size() && y + contentHeight > rowsBottom) {
        page = newPage(first, end);
        y = firstRowTop;
      }
    }
    first = end;
  }
  return layout;
}

PrintedPageItems PageItems(const PrintLayout& layout, const PrintedPage& page) {
  PrintedPageItems items;
  if (page.Rows.empty()) return items;
  const std::size_t cells = page.Rows.size() * (page.EndColumn - page.FirstColumn);
  items.Fills.reserve(cells);
  items.Texts.reserve(cells);
  items.Lines.reserve(2 * cells);
  const int fixedRows = layout.Table->FixedRows();
  for (const PrintedRow& row : page.Rows) {
    const TColor background = Background(layout.Look, fixedRows, row.Row);
    for (std::size_t c = page.FirstColumn; c < page.EndColumn; ++c) {
      const int col = layout.LeftCol + static_cast<int>(c);
      const int x = layout.ColumnLefts[c];
      const PrintRect cell{x, row.Top, x + layout.ColumnWidths[c] + layout.ColumnSpacing,
                           row.Top + layout.RowPitch};
      items.Fills.push_back({cell, background});
      const std::string_view text = PrintedCellText(layout.Table->Cells(col, row.Row));
      if (!text.empty()) {
        const PrintRect clip{std::max(cell.Left, 0), std::max(cell.Top, 0),
                             std::min(cell.Right, layout.Page.Width),
                             std::min(cell.Bottom, layout.Page.Height)};
        items.Texts.push_back({x + kTextIndent, row.Top, clip, text, col, row.Row});
      }
      items.Lines.push_back({cell.Left, cell.Top, cell.Right, cell.Top});
      items.Lines.push_back({cell.Left, cell.Top, cell.Left, cell.Bottom});
    }
  }
  return items;
}

}  // namespace zenavo
