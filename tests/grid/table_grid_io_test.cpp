// The grid's configurations, its files (CSV in, HTML out), printing, and bad input.
#include <QPrinter>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "base/clock.h"
#include "base/exceptions.h"
#include "grid/table_grid_fixture.h"
#include "grid/table_printer.h"
#include "support/expect_error.h"
#include "support/pdf_reader.h"
#include "support/temp_folder.h"

namespace zenavo::testing {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

TEST_F(TableGridTest, TheTwoConfigurationsOfTheMainWindow) {
  const TGridOptions common = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine |
                              goRangeSelect | goDrawFocusSelected | goRowSelect;
  const struct Case {
    const char* name;
    void (*configure)(TTableGrid&);
    std::vector<int> widths;
    std::vector<std::string> headers;
    int rows;
    QSize size;
    TGridOptions options;
    bool indexShow;
  } cases[] = {
      {"Grid1", ConfigurePointingGrid, {128, 64, 64, 64, 64, 64, 64},
       {"Satelite", "Posição", "Azimute", "Elevação", "Az. Magnet", "Hora Az.", "Polarização"},
       100, {545, 151}, common | goColSizing | goEditing, true},
      {"Grid2", ConfigureCityGrid, {192, 128, 64, 61, 67},
       {"Cidade", "Estado", "Latitude", "Longitude", "Altitude"}, 10, {545, 130}, common, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TTableGrid grid(&window_);
    const int repaints = grid.RepaintRequests();
    c.configure(grid);
    EXPECT_LE(grid.RepaintRequests(), repaints + 2);  // not one per setting
    EXPECT_EQ(grid.ColCount(), static_cast<int>(c.widths.size()));
    EXPECT_EQ(grid.RowCount(), c.rows);
    EXPECT_EQ(grid.FixedRows(), 1);
    for (int col = 0; col < grid.ColCount(); ++col) {
      EXPECT_EQ(grid.ColWidths(col), c.widths[col]) << "column " << col;
      EXPECT_EQ(grid.Cells(col, 0), c.headers[col]) << "column " << col;
    }
    EXPECT_EQ(grid.ColumnHeaders(), c.headers);
    for (int row : {0, 1, c.rows - 1}) EXPECT_EQ(grid.RowHeights(row), 21) << "row " << row;
    EXPECT_EQ(grid.size(), c.size);
    EXPECT_EQ(grid.Options(), c.options);
    for (const QFont* font : {&grid.CellFont(), &grid.FixedFont()}) {
      EXPECT_EQ(font->family(), "Tahoma");
      EXPECT_EQ(font->pixelSize(), 11);
    }
    EXPECT_EQ(grid.CellFontColor(), clWindowText);
    EXPECT_EQ(grid.FixedFontColor(), clWindowText);
    EXPECT_EQ(grid.Color(), clWindow);
    EXPECT_EQ(grid.FixedColor(), clBtnFace);
    EXPECT_EQ(grid.GridLineColor(), clSilver);
    EXPECT_EQ(grid.GridLineWidth(), 1);
    EXPECT_EQ(grid.Bands(), (TBands{true, clInfoBk, 1, clWindow, 1, false}));
    EXPECT_EQ(grid.SelectionColor(), clHighlight);
    EXPECT_EQ(grid.SelectionTextColor(), clHighlightText);
    EXPECT_TRUE(grid.ShowSelection() && grid.EnableHTML() && grid.EnableWheel() && grid.IntelliZoom());
    EXPECT_EQ(grid.IntelliPan(), ipVertical);
    const TSortSettings& sort = grid.SortSettings();
    EXPECT_TRUE(sort.Show && sort.Full && sort.AutoFormat);
    EXPECT_EQ(sort.IndexShow, c.indexShow);
    EXPECT_EQ(sort.IndexColor, clYellow);
    EXPECT_EQ(sort.Direction, sdAscending);
    EXPECT_EQ(sort.Column, 0);
    EXPECT_FALSE(sort.IgnoreBlanks);
    EXPECT_EQ(sort.BlankPos, blFirst);
    EXPECT_EQ(grid.HTMLSettings().Width, 100);
    EXPECT_FALSE(grid.HTMLSettings().XHTML);
    EXPECT_EQ(grid.Row(), 1);
  }
  TTableGrid grid1;
  ConfigurePointingGrid(grid1);
  const TPrintSettings expected = Grid1PrintSettings();
  EXPECT_EQ(grid1.PrintSettings().Date, expected.Date);
  EXPECT_EQ(grid1.PrintSettings().Title, expected.Title);
  EXPECT_EQ(grid1.PrintSettings().Font, expected.Font);
}

TEST_F(TableGridTest, LoadingTheDataFilesKeepsTheRowAndRaisesNoEvent) {
  const struct {
    void (*configure)(TTableGrid&);
    const char* file;
    int rows;
    const char* firstHeader;
    const char* row1;
  } cases[] = {
      {ConfigurePointingGrid, ZENAVO_DATA_DIR "/satelite.csv", 55, "Satelite", "Eutelsat 5 West B"},
      {ConfigureCityGrid, ZENAVO_DATA_DIR "/municipios.csv", 5571, "Cidade", "Acrelândia"},
  };
  for (const auto& c : cases) {
    Configure(c.configure, 3);
    grid_->SetRow(2);
    TakeEvents();
    grid_->LoadFromCsvFile(c.file);
    EXPECT_EQ(grid_->RowCount(), c.rows);
    EXPECT_EQ(grid_->Cells(0, 0), c.firstHeader);
    EXPECT_EQ(grid_->Cells(0, 1), c.row1);
    EXPECT_EQ(grid_->RowHeights(c.rows - 1), 21);
    EXPECT_EQ(grid_->Row(), 2);
    Press(Qt::Key_End);
    EXPECT_EQ(grid_->Row(), c.rows - 1);
    EXPECT_EQ(TakeEvents(), (Events{{0, c.rows - 1}}));
  }
}

TEST_F(TableGridTest, AFileThatCannotBeOpenedLeavesTheGridAsItWas) {
  UsePointingGrid();
  grid_->SetRow(7);
  const std::string missing = "/nonexistent/satelite.csv";
  ExpectError<ETableGridError>([&] { grid_->LoadFromCsvFile(missing); }, "Cannot open file " + missing);
  EXPECT_EQ(grid_->RowCount(), 55);
  EXPECT_EQ(grid_->Cells(0, 7), "row 7");
  EXPECT_EQ(grid_->Row(), 7);
}

TEST_F(TableGridTest, HtmlExportWritesThePaletteColoursOfTheMomentAndNoSelection) {
  UsePointingGrid(2);
  grid_->SetRow(2);
  QPalette colors = grid_->palette();
  colors.setColor(QPalette::Base, QColor(0xAB, 0xCD, 0xEF));
  colors.setColor(QPalette::ToolTipBase, QColor(0x12, 0x34, 0x56));
  colors.setColor(QPalette::Button, QColor(0xF0, 0xE0, 0xD0));
  colors.setColor(QPalette::Text, QColor(0x01, 0x02, 0x03));
  grid_->setPalette(colors);
  TempFolder folder;
  const std::string file = folder.Path() + "tabela.htm";
  grid_->ExportHtmlFile(file);
  const std::string html = ReadFile(file);
  EXPECT_NE(html.find("<td nowrap bgcolor=\"#F0E0D0\"><font color=\"#010203\">Satelite</font>"),
            std::string::npos);
  EXPECT_NE(html.find("<td nowrap bgcolor=\"#123456\"><font color=\"#010203\" >row 1</font></td>"),
            std::string::npos);
  EXPECT_NE(html.find("<td nowrap bgcolor=\"#ABCDEF\"><font color=\"#010203\" >row 2</font></td>"),
            std::string::npos);
  EXPECT_EQ(html.find("face="), std::string::npos);  // every cell in the grid's font
  EXPECT_EQ(html.find("Highlight"), std::string::npos);
}

class GridPrintTest : public TableGridTest {
 protected:
  GridPrintTest() : clock_(std::make_shared<FixedClock>(LocalDate{2026, 12, 8}, -180)) {}
  void SetUp() override {
    TableGridTest::SetUp();
    QPrinter& printer = CurrentPrinter();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(pdf_));
  }
  void TearDown() override { CurrentPrinter().setOutputFileName(""); }
  // The words of the printed pages.
  std::string PrintedText() {
    std::string text;
    for (const PdfPage& page : ReadPdfPages(pdf_)) text += page.Text() + " | ";
    return text;
  }

  ScopedClockSource clock_;
  TempFolder folder_;
  std::string pdf_ = folder_.Path() + "grid.pdf";
};

TEST_F(GridPrintTest, PrintTablePrintsEveryCellWithTheGridsSettings) {
  UsePointingGrid(3);
  grid_->PrintTable();
  const std::string text = PrintedText();
  EXPECT_EQ(text.find("08/12/2026 "), 0u) << text;
  for (const char* word : {"Satelite", "Polarização", "row", "c6r3"})
    EXPECT_NE(text.find(word), std::string::npos) << word << " in " << text;
}

TEST_F(GridPrintTest, PrintCellsCanPrintTheSelectedRowsOnly) {
  UsePointingGrid(6);
  grid_->SetRow(3);
  Press(Qt::Key_Down, Qt::ShiftModifier);
  grid_->PrintCells({0, 0, 6, 6}, true);
  const std::string text = PrintedText();
  EXPECT_NE(text.find("c2r3"), std::string::npos) << text;
  EXPECT_NE(text.find("c2r4"), std::string::npos) << text;
  for (const char* absent : {"Satelite", "c2r2", "c2r5"})
    EXPECT_EQ(text.find(absent), std::string::npos) << absent << " in " << text;
}

// --- Bad input -----------------------------------------------------------------------------------

TEST_F(TableGridTest, BadCellsAndShapesNeitherCrashNorHang) {
  const std::string megabyte(1 << 20, 'x');
  const struct Case {
    const char* name;
    void (*shape)(TTableGrid&, const std::string&);
  } cases[] = {
      {"invalid UTF-8", [](TTableGrid& g, const std::string&) { g.SetCells(0, 2, "\xFF\xFE\x80 \xC3"); }},
      {"NUL bytes", [](TTableGrid& g, const std::string&) { g.SetCells(0, 2, std::string("a\0b\0<B>\0", 8)); }},
      {"1 MB of text", [](TTableGrid& g, const std::string& mb) { g.SetCells(0, 2, mb); g.SetCells(0, 0, mb); }},
      {"1 MB of formatted text", [](TTableGrid& g, const std::string& mb) { g.SetCells(0, 2, "<B>" + mb); }},
      {"1 MB of tag openings", [](TTableGrid& g, const std::string& mb) {
         g.SetCells(0, 2, "</" + std::string(mb.size(), '<'));
       }},
      {"a tab-only cell", [](TTableGrid& g, const std::string&) { g.SetCells(0, 2, std::string(5000, '\t')); }},
      {"5000 columns", [](TTableGrid& g, const std::string&) {
         g.SetColCount(5000);
         g.SetCells(4999, 2, "last");
       }},
      {"no data row", [](TTableGrid& g, const std::string&) { g.SetRowCount(1); }},
      {"zero-width columns and rows", [](TTableGrid& g, const std::string&) {
         for (int col = 0; col < g.ColCount(); ++col) g.SetColWidths(col, 0);
         g.SetRowHeights(1, 0);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UsePointingGrid(20);
    c.shape(*grid_, megabyte);
    QApplication::processEvents();
    EXPECT_FALSE(Picture().isNull());
    for (const TextRecorder::Item& item : PaintedTexts()) EXPECT_LE(item.Text.size(), 600);
    Press(Qt::Key_End);
    Press(Qt::Key_PageUp);
    Press(Qt::Key_Right);
    Wheel(Viewport(), QPoint(20, 30), -120);
    Wheel(Viewport(), QPoint(20, 30), -120, Qt::ControlModifier);
    Click(QPoint(60, 10));        // a header click (sorts where there are rows to sort)
    DoubleClick(QPoint(126, 10)); // an auto-size
    EXPECT_FALSE(Picture().isNull());
    EXPECT_GE(grid_->Row(), grid_->FixedRows());
    EXPECT_LT(grid_->Row(), grid_->RowCount());
    TakeEvents();
  }
}

TEST_F(TableGridTest, InvalidUtf8IsShownAsLatin1) {
  UsePointingGrid(3);
  grid_->SetCells(0, 2, "\xFF\xE7\x80");
  grid_->SetCells(0, 3, std::string("a\0b", 3));
  EXPECT_EQ(PaintedText(0, 2), u"ÿç\u0080"_qs);
  EXPECT_TRUE(PaintedText(0, 3).startsWith("a"));
}

}  // namespace
}  // namespace zenavo::testing
