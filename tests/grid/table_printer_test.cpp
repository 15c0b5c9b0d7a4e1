#include "grid/table_printer.h"

#include <gtest/gtest.h>

#include <QPrinter>
#include <QPrinterInfo>

#include <cstdlib>
#include <filesystem>

#include "base/clock.h"
#include "base/exceptions.h"
#include "base/format_settings.h"
#include "table/csv_loader.h"
#include "support/cups_queue.h"
#include "support/expect_error.h"
#include "support/pdf_reader.h"
#include "support/temp_folder.h"
#include "ui/cell_text.h"

namespace zenavo {
namespace {

using namespace zenavo::testing;

const LocalDate kToday{2026, 12, 8};
// Margins of a whole number of points, so the printable area starts exactly 12.7 mm in.
constexpr double kMarginPoints = 36;
constexpr double kMargin = 12.7;            // mm
constexpr double kPositionTolerance = 0.2;  // mm, between where Qt draws and poppler reads

StringTable SatelliteTable() {
  StringTable table;
  LoadFromCsvFile(table, std::string(ZENAVO_DATA_DIR) + "/satelite.csv");
  return table;
}

// A table of `rows` rows: the header "Linha", "Valor", then "L1" .. "L<rows-1>", "v1" ...
StringTable NumberedTable(int rows) {
  StringTable table(2, rows);
  table.SetCells(0, 0, "Linha");
  table.SetCells(1, 0, "Valor");
  for (int row = 1; row < rows; ++row) {
    table.SetCells(0, row, "L" + std::to_string(row));
    table.SetCells(1, row, "v" + std::to_string(row));
  }
  return table;
}

std::string FirstWord(std::string_view text) {
  const std::string decoded = CellTextToQString(text).toStdString();
  return decoded.substr(0, decoded.find(' '));
}

// The first words of the first column's cells of a page, top to bottom (the words at the
// printable area's left edge plus the text indent).
std::vector<std::string> FirstColumnWords(const PdfPage& page) {
  std::vector<std::string> words;
  for (const PdfWord& word : page.Words)
    if (std::abs(word.Left - (kMargin + 0.4)) <= kPositionTolerance) words.push_back(word.Text);
  return words;
}

class TablePrinter : public ::testing::Test {
 protected:
  TablePrinter()
      : clock_(std::make_shared<FixedClock>(kToday, -180)), format_(PointFormatSettings()) {}

  // Points `printer` at the PDF file `name` in the test's folder: paper `size` in portrait,
  // `dpi` dots per inch, margins of kMargin.
  std::string UsePdf(QPrinter& printer, const std::string& name,
                     QPageSize::PageSizeId size = QPageSize::A4, int dpi = 1200) {
    const std::string path = folder_.Path() + name;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    printer.setResolution(dpi);
    printer.setPageSize(QPageSize(size));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(kMarginPoints, kMarginPoints, kMarginPoints, kMarginPoints),
                           QPageLayout::Point);
    return path;
  }

  // The layout a run on `printer` draws.
  static PrintLayout LayOutFor(QPrinter& printer, const StringTable& table,
                               const TPrintSettings& settings = Grid1PrintSettings()) {
    DeviceTextMeasurer measurer(printer);
    return LayOutTable(table, AllCells(table), settings, {},
                       {PrinterPageSize(printer), kToday, '/'}, measurer);
  }

  // Every page of the PDF carries the date at the printable area's top-left corner, and every
  // printed cell's first word lies where the layout put its text.
  static void ExpectPagesAsLaidOut(const std::vector<PdfPage>& pages, const PrintLayout& layout) {
    ASSERT_EQ(pages.size(), layout.Pages.size());
    for (std::size_t p = 0; p < pages.size(); ++p) {
      SCOPED_TRACE("page " + std::to_string(p + 1));
      const PdfWord* date = pages[p].WordAt(kMargin, kMargin, kPositionTolerance);
      EXPECT_TRUE(date && date->Text == "08/12/2026") << pages[p].Text();
      for (const PrintedText& text : PageItems(layout, layout.Pages[p]).Texts) {
        const PdfWord* word = pages[p].WordAt(kMargin + text.X / 10.0, kMargin + text.Y / 10.0,
                                              kPositionTolerance);
        if (!word) {
          ADD_FAILURE() << "no word at cell (" << text.Col << ", " << text.Row << ") \""
                        << text.Text << "\"";
          continue;
        }
        EXPECT_EQ(word->Text, FirstWord(text.Text)) << "cell (" << text.Col << ", " << text.Row << ")";
      }
    }
  }

  TempFolder folder_;
  ScopedClockSource clock_;
  ScopedFormatSettings format_;
  QPrinter printer_{QPrinter::HighResolution};
};

TEST_F(TablePrinter, PrintsTheSatelliteTableOnOneA4PageAsLaidOut) {
  const StringTable table = SatelliteTable();
  ASSERT_EQ(table.RowCount(), 55);
  const std::string pdf = UsePdf(printer_, "satelites.pdf");
  PrintTable(table, Grid1PrintSettings(), {}, printer_);

  EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
  EXPECT_EQ(PdfInfo(pdf, "Page size"), "595 x 842 pts (A4)");
  const std::vector<PdfPage> pages = ReadPdfPages(pdf);
  const PrintLayout layout = LayOutFor(printer_, table);
  ExpectPagesAsLaidOut(pages, layout);
  ASSERT_EQ(pages.size(), 1u);
  // All 55 rows in the file's order, the header row first; "Satelite" only once.
  const std::vector<std::string> names = FirstColumnWords(pages[0]);
  ASSERT_EQ(names.size(), 55u);
  for (int row = 0; row < 55; ++row)
    EXPECT_EQ(names[row], FirstWord(table.Cells(0, row))) << row;
  EXPECT_EQ(std::count(names.begin(), names.end(), "Satelite"), 1);
  // The header row one header band (m + TH) below the top, the next row one pitch lower.
  EXPECT_NEAR(pages[0].Find("Satelite")->Top, kMargin + layout.HeaderBand / 10.0,
              kPositionTolerance);
  EXPECT_NEAR(pages[0].Find("Eutelsat")->Top,
              kMargin + (layout.HeaderBand + layout.RowPitch) / 10.0, kPositionTolerance);
}

TEST_F(TablePrinter, A4AndLetterAt300And600Dpi) {
  struct Case {
    const char* name;
    QPageSize::PageSizeId size;
    int dpi;
    const char* pageSize;
    PrintPageSize printable;  // the paper less 12.7 mm on every side, in 0.1 mm
  } cases[] = {
      {"A4 at 300 dpi", QPageSize::A4, 300, "595 x 842 pts (A4)", {1846, 2716}},
      {"A4 at 600 dpi", QPageSize::A4, 600, "595 x 842 pts (A4)", {1846, 2716}},
      {"Letter at 300 dpi", QPageSize::Letter, 300, "612 x 792 pts (letter)", {1905, 2540}},
      {"Letter at 600 dpi", QPageSize::Letter, 600, "612 x 792 pts (letter)", {1905, 2540}},
  };
  // Long enough for two pages on either paper.
  const StringTable table = NumberedTable(80);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string pdf =
        UsePdf(printer_, "paper" + std::to_string(c.size) + "-" + std::to_string(c.dpi) + ".pdf", c.size, c.dpi);
    EXPECT_EQ(printer_.logicalDpiX(), c.dpi);
    const PrintPageSize printable = PrinterPageSize(printer_);
    EXPECT_NEAR(printable.Width, c.printable.Width, 1);
    EXPECT_NEAR(printable.Height, c.printable.Height, 1);
    PrintTable(table, Grid1PrintSettings(), {}, printer_);
    EXPECT_EQ(PdfInfo(pdf, "Page size"), c.pageSize);
    const PrintLayout layout = LayOutFor(printer_, table);
    EXPECT_EQ(PdfInfo(pdf, "Pages"), std::to_string(layout.Pages.size()));
    EXPECT_EQ(layout.Pages.size(), 2u);
    ExpectPagesAsLaidOut(ReadPdfPages(pdf), layout);
  }
}

TEST_F(TablePrinter, TheLastRowOfATableThatFillsAPageOrOneRowMoreIsOnTheLastPage) {
  const std::string probe = UsePdf(printer_, "probe.pdf");
  // How many rows fit the first page, with the printer's own measurements.
  const PrintLayout tall = LayOutFor(printer_, NumberedTable(200));
  const int perPage = static_cast<int>(tall.Pages[0].Rows.size());
  ASSERT_GT(perPage, 10);

  for (int rows : {perPage, perPage + 1}) {
    SCOPED_TRACE(std::to_string(rows) + " rows");
    const std::string pdf = UsePdf(printer_, std::to_string(rows) + ".pdf");
    PrintTable(NumberedTable(rows), Grid1PrintSettings(), {}, printer_);
    const std::vector<PdfPage> pages = ReadPdfPages(pdf);
    ASSERT_EQ(pages.size(), rows == perPage ? 1u : 2u);
    EXPECT_EQ(PdfInfo(pdf, "Pages"), std::to_string(pages.size()));
    const std::string last = "L" + std::to_string(rows - 1);
    EXPECT_NE(pages.back().Find(last), nullptr) << last << " not on the last page";
    // Every page carries the date; the header row only the first; the rows in order.
    std::vector<std::string> printed;
    for (const PdfPage& page : pages) {
      EXPECT_NE(page.WordAt(kMargin, kMargin, kPositionTolerance), nullptr) << "no date";
      for (const std::string& word : FirstColumnWords(page)) printed.push_back(word);
    }
    ASSERT_EQ(printed.size(), static_cast<std::size_t>(rows));
    EXPECT_EQ(printed[0], "Linha");
    for (int row = 1; row < rows; ++row) EXPECT_EQ(printed[row], "L" + std::to_string(row));
    if (pages.size() == 2) {
      EXPECT_EQ(pages[1].Find("Linha"), nullptr) << "header row repeated";
      EXPECT_EQ(FirstColumnWords(pages[1]), std::vector<std::string>{last});
    }
  }
}

TEST_F(TablePrinter, AnEmptyTablePrintsOnePageWithTheDateAndTheHeaderRow) {
  StringTable table = SatelliteTable();
  table.SetRowCount(1);
  const std::string pdf = UsePdf(printer_, "vazia.pdf");
  PrintTable(table, Grid1PrintSettings(), {}, printer_);
  EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
  const std::vector<PdfPage> pages = ReadPdfPages(pdf);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].Text(),
            "08/12/2026 Satelite Posição Azimute Elevação Az. Magnet Hora Az. Polarização");
}

TEST_F(TablePrinter, TheOrientationIsTheSettingsAndTheJobNameNamesTheDocument) {
  struct Case {
    TPrinterOrientation orientation;
    bool portrait;
  } cases[] = {{poPortrait, true}, {poLandscape, false}};
  for (const Case& c : cases) {
    const std::string pdf = UsePdf(printer_, "orientacao.pdf");
    printer_.setPageOrientation(c.portrait ? QPageLayout::Landscape : QPageLayout::Portrait);
    TPrintSettings settings = Grid1PrintSettings();
    settings.Orientation = c.orientation;
    settings.JobName = "Tabela de satélites";
    PrintTable(NumberedTable(3), settings, {}, printer_);
    const std::vector<PdfPage> pages = ReadPdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(pages[0].Width < pages[0].Height, c.portrait) << pages[0].Width << " x " << pages[0].Height;
    EXPECT_EQ(PdfInfo(pdf, "Title"), "Tabela de satélites");
  }
}

TEST_F(TablePrinter, TheDateTakesTheLocaleSeparator) {
  FormatSettings dashes = CommaFormatSettings();
  dashes.DateSeparator = '-';
  ScopedFormatSettings locale(dashes);
  const std::string pdf = UsePdf(printer_, "data.pdf");
  PrintTable(NumberedTable(2), Grid1PrintSettings(), {}, printer_);
  const std::vector<PdfPage> pages = ReadPdfPages(pdf);
  ASSERT_EQ(pages.size(), 1u);
  const PdfWord* date = pages[0].WordAt(kMargin, kMargin, kPositionTolerance);
  ASSERT_NE(date, nullptr);
  EXPECT_EQ(date->Text, "08-12-2026");
}

TEST_F(TablePrinter, CellTextsStopAtACarriageReturnAndLegacyBytesReadAsLatin1) {
  StringTable table(2, 3);
  table.SetCells(0, 0, "Cidade");
  table.SetCells(0, 1, "S\xE3o Paulo");              // Latin-1
  table.SetCells(1, 1, "Bras\xC3\xADlia");           // UTF-8
  table.SetCells(0, 2, "Antes\rDepois");
  const std::string pdf = UsePdf(printer_, "textos.pdf");
  PrintTable(table, Grid1PrintSettings(), {}, printer_);
  const std::vector<PdfPage> pages = ReadPdfPages(pdf);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(pages[0].Text(), "08/12/2026 Cidade São Paulo Brasília Antes");
}

TEST_F(TablePrinter, LinesRunAlongTheTopAndLeftOfEveryCellOnTheWindowColour) {
  const StringTable table = NumberedTable(4);
  const std::string pdf = UsePdf(printer_, "linhas.pdf");
  PrintTable(table, Grid1PrintSettings(), {}, printer_);
  const PrintLayout layout = LayOutFor(printer_, table);
  // At 254 dpi one pixel is 0.1 mm, the layout's unit.
  const int origin = 127;
  const QImage page = RenderPdfPage(pdf, 1, 254, 1000, 600);
  ASSERT_EQ(page.size(), QSize(1000, 600));
  const int col0 = layout.ColumnWidths[0] + layout.ColumnSpacing;
  const int right = col0 + layout.ColumnWidths[1] + layout.ColumnSpacing;
  const int top = layout.HeaderBand, pitch = layout.RowPitch, bottom = top + 4 * pitch;
  const auto grey = [&](int x, int y) { return qGray(page.pixel(origin + x, origin + y)); };
  const QColor window = PrintedColor(clWindow);
  struct Probe {
    const char* what;
    int x, y;
    bool dark;
  } probes[] = {
      {"top line of the header row", col0 / 2, top, true},
      {"top line of row 3", col0 + 30, top + 3 * pitch, true},
      {"left line of column 0", 0, top + pitch + pitch / 2, true},
      {"left line of column 1", col0, top + 2 * pitch + pitch / 2, true},
      {"no line along the right side", right + 1, top + pitch + pitch / 2, false},
      {"no line along the bottom", col0 / 2, bottom + 1, false},
      {"inside a cell, below its text", col0 + 30, top + pitch - 4, false},
  };
  for (const Probe& p : probes) {
    if (p.dark) {
      EXPECT_LT(grey(p.x, p.y), 100) << p.what;
    } else {
      EXPECT_EQ(QColor(page.pixel(origin + p.x, origin + p.y)), window) << p.what;
    }
  }
}

TEST_F(TablePrinter, SelectionOnlyPrintsTheSelectedRows) {
  const StringTable table = NumberedTable(6);
  struct Case {
    bool selectionOnly;
    std::vector<std::string> rows;
  } cases[] = {{false, {"Linha", "L1", "L2", "L3", "L4", "L5"}}, {true, {"L2", "L4"}}};
  for (const Case& c : cases) {
    const std::string pdf = UsePdf(printer_, "selecao.pdf");
    PrintCells(table, {0, 0, 1, 5}, c.selectionOnly, {4, 2}, Grid1PrintSettings(), {}, printer_);
    const std::vector<PdfPage> pages = ReadPdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(FirstColumnWords(pages[0]), c.rows) << c.selectionOnly;
  }
}

TEST_F(TablePrinter, PrinterFailuresRaiseAndLeaveNoDocument) {
  const StringTable table = NumberedTable(3);
  struct Case {
    const char* name;
    std::string file;
    std::string message;
  } cases[] = {
      {"no printer", "", "There is no printer selected"},
      {"a file that cannot be created", folder_.Path() + "missing/x.pdf",
       "Printing on the PDF file \"" + folder_.Path() +
           "missing/x.pdf\" could not start: QPainter::begin(): Returned false"},
  };
  for (const Case& c : cases) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(c.file));
    ExpectError<Exception>([&] { PrintTable(table, Grid1PrintSettings(), {}, printer); },
                           c.message);
    if (!c.file.empty()) {
      EXPECT_FALSE(std::filesystem::exists(c.file)) << c.name;
    }
  }
  // A page that cannot take one row is refused before any document starts.
  const std::string pdf = UsePdf(printer_, "baixa.pdf");
  TPrintSettings settings = Grid1PrintSettings();
  settings.HeaderSize = 3000;
  EXPECT_THROW(PrintTable(table, settings, {}, printer_), Exception);
  EXPECT_FALSE(std::filesystem::exists(pdf));
}

TEST_F(TablePrinter, TheCurrentPrinterIsOneHighResolutionPrinter) {
  QPrinter& printer = CurrentPrinter();
  EXPECT_EQ(&printer, &CurrentPrinter());
  EXPECT_EQ(printer.resolution(), QPrinter(QPrinter::HighResolution).resolution());
  const std::string pdf = UsePdf(printer, "atual.pdf");
  PrintTable(SatelliteTable(), Grid1PrintSettings(), {}, printer);
  EXPECT_EQ(PdfInfo(pdf, "Pages"), "1");
  printer.setOutputFileName("");
}

// End to end through a real CUPS queue, as on an installer's desktop: Qt's CUPS support sees
// the queue, the job goes through the scheduler and cups-pdf, and the PDF it writes holds the
// table. Skipped only where no scheduler runs and none can be started (not root); with
// ZENAVO_REQUIRE_CUPS set (CI) that is a failure instead.
TEST(TablePrinterCups, PrintsTheSatelliteTableThroughACupsPdfQueue) {
  CupsScheduler scheduler;
  if (const std::string why = scheduler.Start(); !why.empty()) {
    if (std::getenv("ZENAVO_REQUIRE_CUPS")) FAIL() << why;
    GTEST_SKIP() << "CUPS end-to-end print test skipped: " << why;
  }
  // Debian's default PDF-to-PostScript step (Ghostscript) turns the fonts into Type 3 glyphs
  // that keep no readable text; through poppler's cairo renderer the words stay readable in the
  // PDF that cups-pdf writes, and the drawing is the same.
  const CupsPdfQueue queue("ZenavoCupsTest", "-o pdftops-renderer-default=pdftocairo");
  ASSERT_TRUE(queue.Created()) << queue.Output();
  ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(queue.Name())))
      << "Qt's print support does not see the CUPS queue";

  ScopedClockSource clock(std::make_shared<FixedClock>(kToday, -180));
  ScopedFormatSettings format(PointFormatSettings());
  QPrinter printer(QPrinter::HighResolution);
  printer.setPrinterName(QString::fromStdString(queue.Name()));
  ASSERT_EQ(printer.outputFormat(), QPrinter::NativeFormat);
  ASSERT_TRUE(printer.isValid());
  TPrintSettings settings = Grid1PrintSettings();
  settings.JobName = "ZenavoCups" + std::to_string(::getpid());
  const StringTable table = SatelliteTable();
  PrintTable(table, settings, {}, printer);

  const std::string folder = CupsPdfOutputFolder();
  const std::string pdf = WaitForCupsPdf(folder, settings.JobName, 90);
  ASSERT_FALSE(pdf.empty()) << "cups-pdf wrote no " << settings.JobName << "*.pdf into " << folder;
  const std::vector<PdfPage> pages = ReadPdfPages(pdf);
  EXPECT_NE(PdfInfo(pdf, "Title").find(settings.JobName), std::string::npos) << "job name lost";
  std::filesystem::remove(pdf);
  ASSERT_EQ(pages.size(), 1u);
  // The date at the top-left corner of the queue's printable area, the rows in order.
  const QRectF printable = printer.pageRect(QPrinter::Millimeter);
  // (Renamed fonts carry slightly different ascents, so the tops are compared more loosely.)
  const PdfWord* date = pages[0].Find("08/12/2026");
  ASSERT_NE(date, nullptr) << pages[0].Text();
  EXPECT_NEAR(date->Left, printable.left(), kPositionTolerance);
  EXPECT_NEAR(date->Top, printable.top(), 0.6);
  std::vector<std::string> names;
  for (const PdfWord& word : pages[0].Words)
    if (std::abs(word.Left - (printable.left() + 0.4)) <= kPositionTolerance)
      names.push_back(word.Text);
  ASSERT_EQ(names.size(), 55u) << pages[0].Text();
  for (int row = 0; row < 55; ++row) EXPECT_EQ(names[row], FirstWord(table.Cells(0, row))) << row;
}

}  // namespace
}  // namespace zenavo
