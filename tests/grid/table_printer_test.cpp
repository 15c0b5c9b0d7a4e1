#include "grid/table_printer.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <cstdlib>
#include <filesystem>
#include <functional>

#include "base/clock.h"
#include "base/exceptions.h"
#include "base/format_settings.h"
#include "grid/cups_job.h"
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

TEST_F(TablePrinter, OnlyThePagesOfThePrintersPageRangesArePrinted) {
  const StringTable table = NumberedTable(80);  // two pages
  struct Case {
    const char* ranges;
    std::vector<int> pages;  // the layout's pages printed; none: refused with `message`
    const char* message;
  } cases[] = {{"2", {1}, ""}, {"1-2", {0, 1}, ""}, {"2-9", {1}, ""},
               {"5", {}, "The pages chosen (5) are not in the printout, which has 2 pages"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ranges);
    const std::string pdf = UsePdf(printer_, std::string("paginas-") + c.ranges + ".pdf");
    printer_.setPageRanges(QPageRanges::fromString(c.ranges));
    if (c.pages.empty()) {
      ExpectError<Exception>([&] { PrintTable(table, Grid1PrintSettings(), {}, printer_); }, c.message);
      EXPECT_FALSE(std::filesystem::exists(pdf));
      continue;
    }
    PrintTable(table, Grid1PrintSettings(), {}, printer_);
    const PrintLayout layout = LayOutFor(printer_, table);
    std::vector<std::string> expected, printed;
    for (int page : c.pages) expected.push_back(FirstWord(table.Cells(0, layout.Pages[page].Rows[0].Row)));
    for (const PdfPage& page : ReadPdfPages(pdf)) printed.push_back(FirstColumnWords(page).at(0));
    EXPECT_EQ(printed, expected);
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

// End to end through a real CUPS scheduler of the test's own, as on an installer's desktop:
// Qt's print support sees its queue, the job goes through the scheduler and CUPS's filters, and
// the queue's file receives the printout. Skipped only where cupsd cannot be started (not
// root); with ZENAVO_REQUIRE_CUPS set (CI) that is a failure instead.
class TablePrinterCups : public TablePrinter {
 protected:
  void SetUp() override {
    if (const std::string why = scheduler_.Start(); !why.empty()) {
      if (std::getenv("ZENAVO_REQUIRE_CUPS")) FAIL() << why;
      GTEST_SKIP() << "CUPS end-to-end print test skipped: " << why;
    }
    ASSERT_EQ(scheduler_.AddQueue(queue_), "");
    ASSERT_TRUE(QPrinterInfo::availablePrinterNames().contains(QString::fromStdString(queue_)))
        << "Qt's print support does not see the CUPS queue";
    printer_.setPrinterName(QString::fromStdString(queue_));
    ASSERT_EQ(printer_.outputFormat(), QPrinter::NativeFormat);
    ASSERT_TRUE(printer_.isValid());
  }
  void TearDown() override {
    EXPECT_TRUE(std::filesystem::is_empty(temporary_.Path())) << "a temporary file was left";
  }

  // Prints `table` and waits for its one job to end: the job's id.
  int PrintAndWait(QPrinter& printer, const StringTable& table,
                   const TPrintSettings& settings = Grid1PrintSettings()) {
    PrintTable(table, settings, {}, printer);
    const std::vector<int> jobs = PrivateCupsScheduler::Jobs(queue_);
    if (jobs.size() != 1) {
      ADD_FAILURE() << jobs.size() << " jobs on the queue";
      return 0;
    }
    EXPECT_EQ(PrivateCupsScheduler::WaitForJobEnd(jobs[0], 60), "completed");
    return jobs[0];
  }

  PrivateCupsScheduler scheduler_;
  const std::string queue_ = "ZenavoTest" + std::to_string(::getpid());
  // Whatever anything would write to the temporary folder lands here.
  TempFolder temporary_;
  ScopedEnvironment tmpdir_{"TMPDIR", temporary_.Path()};
};

TEST_F(TablePrinterCups, PrintsTheSatelliteTableThroughTheQueue) {
  TPrintSettings settings = Grid1PrintSettings();
  settings.JobName = "Satélites de São Paulo";
  const StringTable table = SatelliteTable();
  const int job = PrintAndWait(printer_, table, settings);
  EXPECT_EQ(PrivateCupsScheduler::JobAttribute(job, "job-name"), settings.JobName);

  const std::string pdf = scheduler_.OutputFile(queue_);
  const std::vector<PdfPage> pages = ReadPdfPages(pdf);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_EQ(PdfInfo(pdf, "Page size"), "595 x 842 pts (A4)");
  // The date at the top-left corner of the queue's printable area, the rows in order.
  const QRectF printable = printer_.pageRect(QPrinter::Millimeter);
  const PdfWord* date = pages[0].Find("08/12/2026");
  ASSERT_NE(date, nullptr) << pages[0].Text();
  EXPECT_NEAR(date->Left, printable.left(), kPositionTolerance);
  EXPECT_NEAR(date->Top, printable.top(), kPositionTolerance);
  std::vector<std::string> names;
  for (const PdfWord& word : pages[0].Words)
    if (std::abs(word.Left - (printable.left() + 0.4)) <= kPositionTolerance)
      names.push_back(word.Text);
  ASSERT_EQ(names.size(), 55u) << pages[0].Text();
  for (int row = 0; row < 55; ++row) EXPECT_EQ(names[row], FirstWord(table.Cells(0, row))) << row;
}

// A child widget of Qt's print dialog by its object name.
template <class W>
W* DialogWidget(QPrintDialog& dialog, const char* name) {
  W* widget = dialog.findChild<W*>(QString::fromLatin1(name));
  if (!widget) ADD_FAILURE() << "the print dialog has no " << name;
  return widget;
}

TEST_F(TablePrinterCups, WhatIsChosenInThePrintDialogReachesTheJob) {
  // Two pages: "Linha", "L1" ... on the first, the rest on the second.
  const StringTable table = NumberedTable(80);
  struct Case {
    const char* name;
    std::function<void(QPrintDialog&)> choose;  // in the dialog the window shows
    std::function<void(QPrinter&)> set;          // on the printer it configured
    std::vector<std::pair<const char*, std::string>> attributes;
    std::vector<int> pages;  // the pages of the layout printed, in order (-1: a blank page)
    const char* pageSize;
  } cases[] = {
      {"two copies",
       [](QPrintDialog& dialog) {
         if (auto* copies = DialogWidget<QSpinBox>(dialog, "copies")) copies->setValue(2);
       },
       {},
       {{"copies", "2"}, {"multiple-document-handling", "separate-documents-collated-copies"}},
       {0, 1, 0, 1},
       "595 x 842 pts (A4)"},
      {"page 2 only",
       [](QPrintDialog& dialog) {
         if (auto* range = DialogWidget<QRadioButton>(dialog, "printRange")) range->setChecked(true);
         if (auto* from = DialogWidget<QSpinBox>(dialog, "from")) from->setValue(2);
         if (auto* to = DialogWidget<QSpinBox>(dialog, "to")) to->setValue(2);
       },
       {},
       {{"copies", "1"}, {"page-ranges", "2-2"}},
       {1},
       "595 x 842 pts (A4)"},
      {"even pages",
       [](QPrintDialog& dialog) {
         if (auto* set = DialogWidget<QComboBox>(dialog, "pageSetCombo")) set->setCurrentIndex(2);
       },
       {},
       {{"page-set", "even"}},
       {1, -1},
       "595 x 842 pts (A4)"},
      {"both sides, short edge",
       [](QPrintDialog& dialog) {
         if (auto* duplex = DialogWidget<QRadioButton>(dialog, "duplexShort")) duplex->setChecked(true);
       },
       {},
       {{"sides", "two-sided-short-edge"}},
       {0, 1},
       "595 x 842 pts (A4)"},
      {"grey scale",
       {},
       [](QPrinter& printer) { printer.setColorMode(QPrinter::GrayScale); },
       {{"print-color-mode", "monochrome"}, {"sides", "one-sided"}},
       {0, 1},
       "595 x 842 pts (A4)"},
      {"US Letter paper",
       {},
       [](QPrinter& printer) { printer.setPageSize(QPageSize(QPageSize::Letter)); },
       {{"media", "Letter"}},
       {0, 1},
       "612 x 792 pts (letter)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString::fromStdString(queue_));
    {
      QPrintDialog dialog(&printer);
      dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());  // as the window has it
      dialog.show();
      if (c.choose) c.choose(dialog);
      auto* buttons = dialog.findChild<QDialogButtonBox*>();
      ASSERT_NE(buttons, nullptr);
      QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
      ASSERT_EQ(dialog.result(), QDialog::Accepted);
    }
    if (c.set) c.set(printer);
    const PrintLayout layout = LayOutFor(printer, table);
    ASSERT_EQ(layout.Pages.size(), 2u);
    std::vector<std::string> expected;
    for (int page : c.pages)
      expected.push_back(page < 0    ? ""
                         : page == 0 ? "Linha"
                                     : "L" + std::to_string(layout.Pages[1].Rows[0].Row));
    const int job = PrintAndWait(printer, table);
    for (const auto& [name, value] : c.attributes)
      EXPECT_EQ(PrivateCupsScheduler::JobAttribute(job, name), value) << name;
    const std::string pdf = scheduler_.OutputFile(queue_);
    EXPECT_EQ(PdfInfo(pdf, "Page size"), c.pageSize);
    std::vector<std::string> starts;
    for (const PdfPage& page : ReadPdfPages(pdf))
      starts.push_back(page.Words.size() > 1 ? page.Words[1].Text : "");  // after the date
    EXPECT_EQ(starts, expected);
    ASSERT_EQ(scheduler_.Command("/usr/bin/cancel -a -x " + queue_), 0);
    std::filesystem::remove(pdf);
  }
}

TEST_F(TablePrinterCups, AFailureNamesThePrinterAndCupsReasonAndNothingIsPrinted) {
  const std::string printer = "the printer \"" + queue_ + "\"";
  struct Case {
    const char* name;
    const char* command;  // what happens after the printer was chosen ("" stops the scheduler)
    std::string beforeRendering;  // what printing says
    std::string onSubmission;     // what the job's submission says, had it come that far
  } cases[] = {
      {"the queue refuses jobs", "/usr/sbin/cupsreject",
       "The printer \"" + queue_ + "\" does not accept jobs: Rejecting Jobs",
       "The print job on " + printer + " failed: Destination \"" + queue_ +
           "\" is not accepting jobs."},
      {"the queue was deleted", "/usr/sbin/lpadmin -x",
       "Printing on " + printer + " could not start: The printer or class does not exist.",
       "The print job on " + printer + " failed: The printer or class does not exist."},
      {"the scheduler stopped", "",
       "Printing on " + printer + " could not start: the CUPS scheduler at @ does not answer",
       "The print job on " + printer + " failed: the CUPS scheduler at @ does not answer"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    PrivateCupsScheduler scheduler;  // each case on a scheduler and queue of its own
    ASSERT_EQ(scheduler.Start(), "");
    ASSERT_EQ(scheduler.AddQueue(queue_), "");
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QString::fromStdString(queue_));
    ASSERT_TRUE(printer.isValid());
    if (*c.command)
      ASSERT_EQ(scheduler.Command(std::string(c.command) + " " + queue_), 0);
    else
      scheduler.Stop();
    const auto withServer = [&](std::string message) {
      if (const auto at = message.find('@'); at != std::string::npos)
        message.replace(at, 1, scheduler.Server());
      return message;
    };
    ExpectError<Exception>([&] { PrintTable(NumberedTable(3), Grid1PrintSettings(), {}, printer); },
                           withServer(c.beforeRendering));
    ExpectError<Exception>([&] { SubmitCupsPdfJob(queue_, "", {}, "%PDF-1.4\n"); },
                           withServer(c.onSubmission));
    EXPECT_TRUE(PrivateCupsScheduler::Jobs(queue_).empty());
    EXPECT_FALSE(std::filesystem::exists(scheduler.OutputFile(queue_)));
  }
}

TEST_F(TablePrinterCups, AStoppedQueueHoldsTheJobAndAJobTheQueueCannotTakeIsAnError) {
  ASSERT_EQ(scheduler_.Command("/usr/sbin/cupsdisable " + queue_), 0);
  PrintTable(NumberedTable(3), Grid1PrintSettings(), {}, printer_);
  const std::vector<int> jobs = PrivateCupsScheduler::Jobs(queue_);
  ASSERT_EQ(jobs.size(), 1u);
  EXPECT_EQ(PrivateCupsScheduler::JobAttribute(jobs[0], "job-state"), "pending");
  EXPECT_FALSE(std::filesystem::exists(scheduler_.OutputFile(queue_)));
  ASSERT_EQ(scheduler_.Command("/usr/sbin/cupsenable " + queue_), 0);
  EXPECT_EQ(PrivateCupsScheduler::WaitForJobEnd(jobs[0], 60), "completed");
  EXPECT_EQ(PdfInfo(scheduler_.OutputFile(queue_), "Pages"), "1");

  // The queue accepts jobs, but a quota of 1 kB lets it take no more: the submission fails
  // after the queue was asked, and says so.
  ASSERT_EQ(scheduler_.Command("/usr/sbin/lpadmin -p " + queue_ +
                               " -o job-quota-period=3600 -o job-k-limit=1"),
            0);
  ExpectError<Exception>([&] { PrintTable(NumberedTable(3), Grid1PrintSettings(), {}, printer_); },
                         "The print job on the printer \"" + queue_ + "\" failed: Quota limit reached.");
  EXPECT_EQ(PrivateCupsScheduler::Jobs(queue_), jobs);
}

}  // namespace
}  // namespace zenavo
