#include "table/print_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "base/exceptions.h"
#include "support/expect_error.h"

namespace zenavo {
namespace {

using zenavo::testing::ExpectError;

// A font whose every byte is half the character height wide and whose lines are 8/7 of it
// high: for 8 points (character height 28) a byte is 14 wide, "gh" 28, a line 32.
class FakeMeasurer : public PrintTextMeasurer {
 public:
  int TextWidth(std::string_view text, const TFontDescription& font) override {
    return static_cast<int>(text.size()) * (PrintCharHeight(font.Size) / 2);
  }
  int TextHeight(std::string_view, const TFontDescription& font) override {
    const int h = PrintCharHeight(font.Size);
    return h + h / 7;
  }
};

// With the fake 8-point font and the satellite grid's settings: TH 32, m 4, header and footer
// bands 36, column spacing 20, row pitch 32 + 4 + 8 = 44.
constexpr int kBand = 36;
constexpr int kPitch = 44;

const LocalDate kToday{2026, 12, 8};

PrintPageSetup OnPage(int width, int height, char separator = '/') {
  return {{width, height}, kToday, separator};
}

// Texts of a layout view the table's cells: the table must outlive the layout.
PrintLayout LayOut(const StringTable&&, const PrintPageSetup&,
                   const TPrintSettings& = Grid1PrintSettings(), const PrintGridLook& = {}) = delete;
PrintLayout LayOut(const StringTable& table, const PrintPageSetup& setup,
                   const TPrintSettings& settings = Grid1PrintSettings(),
                   const PrintGridLook& look = {}) {
  FakeMeasurer measurer;
  return LayOutTable(table, AllCells(table), settings, look, setup, measurer);
}

// A three-column table: "Satelite" (112 wide), "Posicao" (98), "Azimute" (98) over rows
// "Sat 1" .. "Sat <rows-1>", "-70.0" and an empty azimuth.
StringTable SatelliteLikeTable(int rows) {
  StringTable table(3, rows);
  table.SetCells(0, 0, "Satelite");
  table.SetCells(1, 0, "Posicao");
  table.SetCells(2, 0, "Azimute");
  for (int row = 1; row < rows; ++row) {
    table.SetCells(0, row, "Sat " + std::to_string(row));
    table.SetCells(1, row, "-70.0");
  }
  return table;
}

// The page and the printed text of a cell (none when it prints no text).
struct Found {
  int page = -1;
  std::optional<PrintedText> text;
};
Found FindCell(const PrintLayout& layout, int col, int row) {
  for (std::size_t p = 0; p < layout.Pages.size(); ++p)
    for (const PrintedText& text : PageItems(layout, layout.Pages[p]).Texts)
      if (text.Col == col && text.Row == row) return {static_cast<int>(p), text};
  return {};
}

std::vector<int> RowsOnPage(const PrintedPage& page) {
  std::vector<int> rows;
  for (const PrintedRow& row : page.Rows) rows.push_back(row.Row);
  return rows;
}

TEST(PageSizeFromDevice, ConvertsPixelsAtTheResolutionToTenthsOfAMillimetre) {
  struct Case {
    const char* name;
    int width, height, dpiX, dpiY;
    PrintPageSize expected;
  } cases[] = {
      {"A4 at 300 dpi", 2480, 3508, 300, 300, {2100, 2970}},
      {"A4 at 600 dpi", 4960, 7016, 600, 600, {2100, 2970}},
      {"Letter at 300 dpi", 2550, 3300, 300, 300, {2159, 2794}},
      {"Letter at 600 dpi", 5100, 6600, 600, 600, {2159, 2794}},
      {"unequal resolutions", 2400, 6800, 300, 600, {2032, 2879}},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PageSizeFromDevice(c.width, c.height, c.dpiX, c.dpiY), c.expected) << c.name;
}

TEST(PageSizeFromDevice, RefusesAResolutionOrAreaThatIsNotPositive) {
  ExpectError<Exception>([] { PageSizeFromDevice(2480, 3508, 0, 300); },
                         "The printer reports no usable resolution (0 x 300 dots per inch)");
  ExpectError<Exception>([] { PageSizeFromDevice(2480, 3508, 300, -1); },
                         "The printer reports no usable resolution (300 x -1 dots per inch)");
  ExpectError<Exception>([] { PageSizeFromDevice(0, 3508, 300, 300); },
                         "The printer reports no printable area (0 x 3508 dots)");
}

TEST(PrintCharHeight, RealisesPointsAsTenthsOfAMillimetre) {
  const std::pair<int, int> cases[] = {{8, 28}, {10, 35}, {12, 42}, {1, 4}, {72, 254}};
  for (auto [points, tenths] : cases) EXPECT_EQ(PrintCharHeight(points), tenths) << points;
}

TEST(FormatPrintDate, WritesDayMonthYearWithTheLocaleSeparator) {
  struct Case {
    const char* format;
    LocalDate date;
    char separator;
    const char* expected;
  } cases[] = {
      {"dd/mm/yyyy", {2026, 12, 8}, '/', "08/12/2026"},
      {"dd/mm/yyyy", {2026, 12, 8}, '-', "08-12-2026"},
      {"dd/mm/yyyy", {987, 3, 1}, '.', "01.03.0987"},
      {"yyyy/mm/dd", {2026, 1, 31}, '-', "2026-01-31"},
      {"d/m/yy", {2026, 7, 4}, '/', "4/7/26"},
      {"dd.mm.yyyy", {2026, 12, 8}, '-', "08.12.2026"},  // only "/" stands for the separator
      {"", {2026, 12, 8}, '/', ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FormatPrintDate(c.format, c.date, c.separator), c.expected) << c.format;
}

TEST(LayOutTable, SatelliteSettingsOnA4AndLetterAt300And600Dpi) {
  struct Case {
    const char* name;
    int widthPixels, heightPixels, dpi;
    PrintPageSize page;
    int rowsOnFirstPage;
  } cases[] = {
      // Row k of a page has its top at 36 + 44 k and stays while that + 32 <= height - 36.
      {"A4 at 300 dpi", 2480, 3508, 300, {2100, 2970}, 66},
      {"A4 at 600 dpi", 4960, 7016, 600, {2100, 2970}, 66},
      {"Letter at 300 dpi", 2550, 3300, 300, {2159, 2794}, 62},
      {"Letter at 600 dpi", 5100, 6600, 600, {2159, 2794}, 62},
      {"A4 printable area of a 300 dpi laser", 2400, 3400, 300, {2032, 2879}, 64},
  };
  const StringTable table = SatelliteLikeTable(100);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const PrintPageSize page = PageSizeFromDevice(c.widthPixels, c.heightPixels, c.dpi, c.dpi);
    EXPECT_EQ(page, c.page);
    const PrintLayout layout = LayOut(table, {page, kToday, '/'});
    EXPECT_EQ(layout.TextHeight, 32);
    EXPECT_EQ(layout.M, 4);
    EXPECT_EQ(layout.HeaderBand, kBand);
    EXPECT_EQ(layout.FooterBand, kBand);
    EXPECT_EQ(layout.ColumnSpacing, 20);
    EXPECT_EQ(layout.RowPitch, kPitch);
    EXPECT_EQ(layout.ColumnWidths, (std::vector<int>{112, 98, 98}));
    EXPECT_EQ(layout.ColumnLefts, (std::vector<int>{0, 132, 250}));
    ASSERT_EQ(layout.Pages.size(), 2u);

    // The first row at the header band; columns at 0, 112 + 20 and 132 + 98 + 20, text 0.4 mm in.
    const std::pair<int, int> firstRow[] = {{0, 4}, {1, 136}, {2, 254}};
    for (auto [col, x] : firstRow) {
      const Found header = FindCell(layout, col, 0);
      ASSERT_TRUE(header.text) << col;
      EXPECT_EQ(header.page, 0);
      EXPECT_EQ(header.text->X, x) << col;
      EXPECT_EQ(header.text->Y, kBand) << col;
    }
    const Found lastOnFirst = FindCell(layout, 0, c.rowsOnFirstPage - 1);
    EXPECT_EQ(lastOnFirst.page, 0);
    EXPECT_EQ(lastOnFirst.text->Y, kBand + (c.rowsOnFirstPage - 1) * kPitch);
    const Found firstOnSecond = FindCell(layout, 0, c.rowsOnFirstPage);
    EXPECT_EQ(firstOnSecond.page, 1);
    EXPECT_EQ(firstOnSecond.text->Y, kBand);
    const Found last = FindCell(layout, 0, 99);
    EXPECT_EQ(last.page, 1);
    EXPECT_EQ(last.text->Y, kBand + (99 - c.rowsOnFirstPage) * kPitch);
  }
}

TEST(LayOutTable, ACellIsFilledWithItsTextAtTheTopLeftAndLinesAlongItsTopAndLeft) {
  const StringTable table3 = SatelliteLikeTable(3);
  const PrintLayout layout = LayOut(table3, OnPage(2100, 2970));
  const PrintedPageItems page = PageItems(layout, layout.Pages.at(0));
  // Row 1 starts at 36 + 44 = 80; column 1 spans 132 .. 132 + 98 + 20.
  const PrintRect cell{132, 80, 250, 124};
  EXPECT_NE(std::find_if(page.Fills.begin(), page.Fills.end(),
                         [&](const PrintedFill& f) { return f.Rect == cell; }),
            page.Fills.end());
  const std::optional<PrintedText> text = FindCell(layout, 1, 1).text;
  ASSERT_TRUE(text);
  EXPECT_EQ(text->Text, "-70.0");
  EXPECT_EQ(text->X, 136);
  EXPECT_EQ(text->Y, 80);
  EXPECT_EQ(text->Clip, cell);
  const auto hasLine = [&](PrintedLine wanted) {
    return std::any_of(page.Lines.begin(), page.Lines.end(), [&](const PrintedLine& l) {
      return l.X1 == wanted.X1 && l.Y1 == wanted.Y1 && l.X2 == wanted.X2 && l.Y2 == wanted.Y2;
    });
  };
  EXPECT_TRUE(hasLine({132, 80, 250, 80})) << "top edge";
  EXPECT_TRUE(hasLine({132, 80, 132, 124})) << "left edge";
  // The table (columns end at 368, rows at 36 + 3 x 44 = 168) has no right or bottom line.
  for (const PrintedLine& line : page.Lines) {
    EXPECT_FALSE(line.X1 == 368 && line.X2 == 368) << "line along the right side";
    EXPECT_FALSE(line.Y1 == 168 && line.Y2 == 168) << "line along the bottom";
  }
  // Empty cells (the azimuth column) print no text but keep their fill and lines.
  EXPECT_FALSE(FindCell(layout, 2, 1).text);
  EXPECT_EQ(page.Fills.size(), 9u);
  EXPECT_EQ(page.Lines.size(), 18u);
  EXPECT_TRUE(hasLine({250, 80, 368, 80}));
  EXPECT_EQ(layout.LineWidth, 2);
  EXPECT_EQ(layout.LineStyle, psSolid);
}

TEST(LayOutTable, EveryPageCarriesTheDateAndTheHeaderRowOnlyTheFirst) {
  const StringTable table100 = SatelliteLikeTable(100);
  const PrintLayout layout = LayOut(table100, OnPage(2100, 2970, '-'));
  ASSERT_EQ(layout.Pages.size(), 2u);
  for (const PrintedPage& page : layout.Pages) {
    ASSERT_EQ(page.Header.size(), 1u);
    EXPECT_EQ(page.Header[0].Text, "08-12-2026 ");
    EXPECT_EQ(page.Header[0].X, 0);
    EXPECT_EQ(page.Header[0].Y, 0);
  }
  const std::vector<int> second = RowsOnPage(layout.Pages[1]);
  ASSERT_FALSE(second.empty());
  EXPECT_EQ(second.front(), 66);
  EXPECT_EQ(second.back(), 99);
  EXPECT_EQ(std::count(second.begin(), second.end(), 0), 0) << "header row repeated";
}

// The first page's header line (the site of the table) stands after the date, on that page only,
// and has a header band even when nothing else is printed there.
TEST(LayOutTable, TheFirstPageHeaderTextFollowsTheDateOnTheFirstPageOnly) {
  const struct {
    const char* name;
    TPrintPosition date;
    int leftSize;
    int x;  // of the line: after "08/12/2026 " (11 characters of 14) when the date is printed
  } cases[] = {
      {"after the date", ppTopLeft, 0, 154},
      {"after the date, with a margin", ppTopLeft, 50, 204},
      {"at the margin without a date", ppNone, 50, 50},
  };
  const StringTable table100 = SatelliteLikeTable(100);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TPrintSettings settings = Grid1PrintSettings();
    settings.Date = c.date;
    settings.Title = ppNone;
    settings.LeftSize = c.leftSize;
    settings.FirstPageHeaderText = "Local: Chu\xed RS";
    const PrintLayout layout = LayOut(table100, OnPage(2100, 2970), settings);
    ASSERT_EQ(layout.Pages.size(), 2u);
    EXPECT_EQ(layout.HeaderBand, kBand);
    ASSERT_FALSE(layout.Pages[0].Header.empty());
    const PrintedHeaderText& line = layout.Pages[0].Header.back();
    EXPECT_EQ(line.Text, "Local: Chu\xed RS");
    EXPECT_EQ(line.X, c.x);
    EXPECT_EQ(line.Y, 0);
    for (const PrintedHeaderText& text : layout.Pages[1].Header)
      EXPECT_NE(text.Text, line.Text) << "printed again on page 2";
  }
}

TEST(LayOutTable, ARowStaysOnlyWhenItsContentFitsAboveTheFooterBand) {
  // Rows 0, 1, 2 at 36, 80, 124; row 2's text ends at 156 = height - 36 exactly at 192.
  struct Case {
    int height;
    std::vector<int> firstPageRows;
  } cases[] = {{192, {0, 1, 2}}, {191, {0, 1}}};
  for (const Case& c : cases) {
    const StringTable table3 = SatelliteLikeTable(3);
    const PrintLayout layout = LayOut(table3, OnPage(2100, c.height));
    EXPECT_EQ(RowsOnPage(layout.Pages.at(0)), c.firstPageRows) << c.height;
    EXPECT_EQ(layout.Pages.size(), c.firstPageRows.size() == 3 ? 1u : 2u) << c.height;
  }
  // The last row's pitch reaches into the footer band.
  const StringTable table3 = SatelliteLikeTable(3);
  const PrintLayout fitting = LayOut(table3, OnPage(2100, 192));
  EXPECT_EQ(PageItems(fitting, fitting.Pages[0]).Fills.back().Rect.Bottom, 168);
  EXPECT_GT(168, 192 - kBand);
}

TEST(LayOutTable, AnEmptyTablePrintsOnePageWithTheDateAndTheHeaderRow) {
  StringTable table = SatelliteLikeTable(1);
  const PrintLayout layout = LayOut(table, OnPage(2100, 2970));
  ASSERT_EQ(layout.Pages.size(), 1u);
  EXPECT_EQ(layout.Pages[0].Header.size(), 1u);
  EXPECT_EQ(RowsOnPage(layout.Pages[0]), std::vector<int>{0});
  EXPECT_EQ(PageItems(layout, layout.Pages[0]).Texts.size(), 3u);

  // No rows at all (an empty selection): the page with the date only.
  FakeMeasurer measurer;
  const PrintLayout none = LayOutTable(table, {0, 2, {}}, Grid1PrintSettings(), {},
                                       OnPage(2100, 2970), measurer);
  ASSERT_EQ(none.Pages.size(), 1u);
  EXPECT_EQ(none.Pages[0].Header.size(), 1u);
  EXPECT_TRUE(none.Pages[0].Rows.empty());
  EXPECT_TRUE(PageItems(none, none.Pages[0]).Fills.empty());
}

TEST(LayOutTable, AColumnWiderThanThePageIsPrintedAloneAndClippedAtThePageEdge) {
  StringTable table(4, 3);
  const std::string wide(60, 'W');  // 840 wide on a 500 wide page
  const char* texts[3][4] = {{"A", wide.c_str(), "B", "C"}, {"a", "w", "b", "c"}, {"a", "w", "b", "c"}};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col) table.SetCells(col, row, texts[row][col]);
  // 150 high: two rows per page (the third would end at 156 > 150 - 36).
  const PrintLayout layout = LayOut(table, OnPage(500, 150));
  ASSERT_EQ(layout.Pages.size(), 6u);
  // Blocks: column 0, column 1 alone, columns 2 and 3; each block's rows before the next block.
  const std::vector<std::vector<int>> colsOnPage = {{0}, {0}, {1}, {1}, {2, 3}, {2, 3}};
  const std::vector<std::vector<int>> rowsOnPage = {{0, 1}, {2}, {0, 1}, {2}, {0, 1}, {2}};
  for (std::size_t p = 0; p < layout.Pages.size(); ++p) {
    std::vector<int> cols, rows;
    for (const PrintedText& text : PageItems(layout, layout.Pages[p]).Texts) {
      if (std::find(cols.begin(), cols.end(), text.Col) == cols.end()) cols.push_back(text.Col);
      if (std::find(rows.begin(), rows.end(), text.Row) == rows.end()) rows.push_back(text.Row);
    }
    EXPECT_EQ(cols, colsOnPage[p]) << "page " << p + 1;
    EXPECT_EQ(rows, rowsOnPage[p]) << "page " << p + 1;
    EXPECT_EQ(layout.Pages[p].Header.size(), 1u) << "page " << p + 1;
  }
  EXPECT_EQ(layout.ColumnLefts, (std::vector<int>{0, 0, 0, 34}));
  const std::optional<PrintedText> wideText = FindCell(layout, 1, 0).text;
  ASSERT_TRUE(wideText);
  EXPECT_EQ(wideText->X, 4);
  EXPECT_EQ(wideText->Clip, (PrintRect{0, kBand, 500, kBand + kPitch}));
  EXPECT_EQ(FindCell(layout, 3, 0).text->X, 14 + 20 + 4);
}

TEST(LayOutTable, ACarriageReturnEndsTheCellTextAndAnEmptyColumnIsAsWideAsGh) {
  StringTable table(3, 3);
  table.SetCells(0, 0, "Antes\rDepois");
  table.SetCells(0, 1, "abc");
  table.SetCells(2, 0, "X");
  const PrintLayout layout = LayOut(table, OnPage(2100, 2970));
  EXPECT_EQ(FindCell(layout, 0, 0).text->Text, "Antes");
  // "Antes" is 70 wide; the empty column 1 is "gh" (28) + 2 mm, so column 2 starts at 90 + 48.
  // Column 2's empty cells count as "gh", wider than its "X".
  EXPECT_EQ(layout.ColumnWidths, (std::vector<int>{70, 28, 28}));
  EXPECT_FALSE(FindCell(layout, 1, 0).text);
  EXPECT_EQ(FindCell(layout, 2, 0).text->X, 70 + 20 + 48 + 4);
  EXPECT_EQ(PrintedCellText("\rx"), "");
  EXPECT_EQ(PrintedCellText("a\nb"), "a\nb");  // only a carriage return ends the text
}

TEST(LayOutTable, MarginsAndSpacingsMoveTheDateAndTheCells) {
  TPrintSettings settings = Grid1PrintSettings();
  settings.LeftSize = 50;
  settings.HeaderSize = 30;
  settings.TitleSpacing = 10;
  settings.ColumnSpacing = 5;
  settings.RowSpacing = 6;
  const StringTable table3 = SatelliteLikeTable(3);
  const PrintLayout layout = LayOut(table3, OnPage(2100, 2970), settings);
  EXPECT_EQ(layout.Pages[0].Header.at(0).X, 50);
  EXPECT_EQ(layout.Pages[0].Header.at(0).Y, 30);
  EXPECT_EQ(layout.HeaderBand, 4 + 32 + 30);
  EXPECT_EQ(layout.RowPitch, kPitch + 6);
  EXPECT_EQ(FindCell(layout, 0, 0).text->X, 54);
  EXPECT_EQ(FindCell(layout, 0, 0).text->Y, 76);
  EXPECT_EQ(FindCell(layout, 1, 1).text->X, 50 + 112 + 25 + 4);
  EXPECT_EQ(FindCell(layout, 1, 1).text->Y, 76 + kPitch + 6);
}

TEST(LayOutTable, RightSizeKeepsColumnsOffThePageEnd) {
  // Widths 112, 98, 98 plus 20 each: all three need 368.
  struct Case {
    int width, rightSize;
    std::size_t pages;
  } cases[] = {{368, 0, 1}, {367, 0, 2}, {468, 100, 1}, {468, 101, 2}};
  for (const Case& c : cases) {
    TPrintSettings settings = Grid1PrintSettings();
    settings.RightSize = c.rightSize;
    const StringTable table3 = SatelliteLikeTable(3);
    EXPECT_EQ(LayOut(table3, OnPage(c.width, 2970), settings).Pages.size(), c.pages)
        << c.width << " " << c.rightSize;
  }
}

TEST(LayOutTable, HeaderAndFooterBandsFollowThePositionsInUse) {
  struct Case {
    const char* name;
    void (*change)(TPrintSettings&);
    int headerBand, footerBand;
  } cases[] = {
      {"date top left", [](TPrintSettings&) {}, 36, 36},
      {"nothing in the header",
       [](TPrintSettings& s) { s.Date = s.Title = ppNone; }, 0, 36},
      {"page number top right only",
       [](TPrintSettings& s) { s.Date = s.Title = ppNone; s.PageNr = ppTopRight; }, 36, 36},
      {"three title lines at the top",
       [](TPrintSettings& s) { s.TitleLines = {"a", "b", "c"}; }, 4 + 32 * 3, 36},
      {"title lines with the title at the bottom",
       [](TPrintSettings& s) { s.TitleLines = {"a", "b", "c"}; s.Title = ppBottomCenter; }, 36,
       2 * 36},
      {"date at the bottom only",
       [](TPrintSettings& s) { s.Date = ppBottomLeft; s.Title = ppNone; }, 0, 2 * 36},
      {"bigger header and footer fonts",  // 12 points: TH 48; 10 points: TH 40
       [](TPrintSettings& s) { s.HeaderFont.Size = 12; s.FooterFont.Size = 10; }, 52, 44},
      {"extra header and footer sizes",
       [](TPrintSettings& s) { s.HeaderSize = 25; s.FooterSize = 15; }, 61, 51},
  };
  for (const Case& c : cases) {
    TPrintSettings settings = Grid1PrintSettings();
    c.change(settings);
    const StringTable table3 = SatelliteLikeTable(3);
    const PrintLayout layout = LayOut(table3, OnPage(2100, 2970), settings);
    EXPECT_EQ(layout.HeaderBand, c.headerBand) << c.name;
    EXPECT_EQ(layout.FooterBand, c.footerBand) << c.name;
  }
}

TEST(LayOutTable, CellsAreOnTheWindowColourAndBandsOnlyWhenPrinted) {
  PrintGridLook look;
  look.Color = clWindow;
  look.BandPrimaryColor = clYellow;
  look.BandSecondaryColor = clSilver;
  const auto rowColours = [&](const PrintGridLook& l) {
    std::vector<TColor> colours;
    const StringTable table4 = SatelliteLikeTable(4);
    const PrintLayout layout = LayOut(table4, OnPage(2100, 2970), Grid1PrintSettings(), l);
    for (const PrintedFill& fill : PageItems(layout, layout.Pages[0]).Fills)
      if (fill.Rect.Left == 0) colours.push_back(fill.Color);
    return colours;
  };
  EXPECT_EQ(rowColours(look), (std::vector<TColor>{clWindow, clWindow, clWindow, clWindow}));
  look.BandsPrint = true;
  EXPECT_EQ(rowColours(look), (std::vector<TColor>{clWindow, clYellow, clSilver, clYellow}));
  look.BandsActive = false;
  EXPECT_EQ(rowColours(look), (std::vector<TColor>{clWindow, clWindow, clWindow, clWindow}));
}

TEST(LayOutTable, DoubleBordersWidenTheLinesAndTheBorderStyleIsKept) {
  TPrintSettings settings = Grid1PrintSettings();
  settings.Borders = pbDouble;
  settings.BorderStyle = psDot;
  settings.JobName = "Satelites";
  const StringTable table3 = SatelliteLikeTable(3);
  const PrintLayout layout = LayOut(table3, OnPage(2100, 2970), settings);
  EXPECT_EQ(layout.LineWidth, 10);
  EXPECT_EQ(layout.LineStyle, psDot);
  EXPECT_EQ(layout.JobName, "Satelites");
}

TEST(LayOutTable, OnlyTheSelectedRowsInTheirOrder) {
  FakeMeasurer measurer;
  const StringTable table = SatelliteLikeTable(10);
  const PrintLayout layout = LayOutTable(table, {1, 2, {0, 7, 3}}, Grid1PrintSettings(), {},
                                         OnPage(2100, 2970), measurer);
  EXPECT_EQ(RowsOnPage(layout.Pages.at(0)), (std::vector<int>{0, 7, 3}));
  EXPECT_FALSE(FindCell(layout, 0, 0).text);
  EXPECT_EQ(FindCell(layout, 1, 3).text->Y, kBand + 2 * kPitch);
}

TEST(LayOutTable, RefusesPagesWithoutRoomAndBadInputInsteadOfLooping) {
  struct Case {
    const char* name;
    PrintPageSize page;
    void (*change)(TPrintSettings&);
    PrintCellSelection cells;
    const char* message;
  } cases[] = {
      {"page no wider than the column spacing", {20, 2970}, [](TPrintSettings&) {}, {0, 2, {0}},
       "The printable width of 2.0 mm leaves no room for a table column"},
      {"margins wider than the page", {2100, 2970},
       [](TPrintSettings& s) { s.LeftSize = 1000; s.RightSize = 1080; }, {0, 2, {0}},
       "The printable width of 210.0 mm leaves no room for a table column"},
      {"page lower than the header band", {2100, 30}, [](TPrintSettings&) {}, {0, 2, {0}},
       "The printable height of 3.0 mm leaves no room for a table row between the page header "
       "and footer"},
      {"one unit short of one row", {2100, 103}, [](TPrintSettings&) {}, {0, 2, {0}},
       "The printable height of 10.3 mm leaves no room for a table row between the page header "
       "and footer"},
      {"no page at all", {0, 0}, [](TPrintSettings&) {}, {0, 2, {0}},
       "The printer reports no printable area"},
      {"rows without height", {2100, 2970}, [](TPrintSettings& s) { s.RowSpacing = -44; },
       {0, 2, {0}}, "The printed rows have no height: the row spacing is -4.4 mm"},
      {"font of no size", {2100, 2970}, [](TPrintSettings& s) { s.Font.Size = 0; }, {0, 2, {0}},
       "The print font size must be positive, not 0 points"},
      {"header font of negative size", {2100, 2970},
       [](TPrintSettings& s) { s.HeaderFont.Size = -8; }, {0, 2, {0}},
       "The print header font size must be positive, not -8 points"},
      {"row outside the table", {2100, 2970}, [](TPrintSettings&) {}, {0, 2, {0, 3}},
       "Grid index out of range"},
      {"column outside the table", {2100, 2970}, [](TPrintSettings&) {}, {0, 3, {0}},
       "Grid index out of range"},
      {"columns the wrong way round", {2100, 2970}, [](TPrintSettings&) {}, {2, 1, {0}},
       "Grid index out of range"},
  };
  const StringTable table = SatelliteLikeTable(3);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPrintSettings settings = Grid1PrintSettings();
    c.change(settings);
    FakeMeasurer measurer;
    ExpectError<Exception>(
        [&] { LayOutTable(table, c.cells, settings, {}, {c.page, kToday, '/'}, measurer); },
        c.message);
  }
  // One unit more than the header and footer bands and a row need is enough.
  EXPECT_EQ(LayOut(table, OnPage(2100, 104)).Pages.size(), 3u);
  EXPECT_EQ(LayOut(table, OnPage(21, 2970)).Pages.size(), 3u);
}

}  // namespace
}  // namespace zenavo
