// Printing: the page layout of a 100,000-row table beside measuring its texts once each (the
// work no layout can skip), and printing the satellite table to a PDF file beside a PDF
// document that holds only the date.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QPrinter>

#include <array>
#include <cstdlib>
#include <filesystem>

#include "base/clock.h"
#include "table/csv_loader.h"
#include "table/print_layout.h"
#include "grid/table_printer.h"
#include "qt_benchmarks.h"

namespace {

using namespace zenavo;

// Proportional widths from a table of 256 byte widths: cheap, so the layout's own cost shows.
class TableMeasurer : public PrintTextMeasurer {
 public:
  TableMeasurer() {
    for (int byte = 0; byte < 256; ++byte) widths_[byte] = 10 + byte % 9;
  }
  int TextWidth(std::string_view text, const TFontDescription&) override {
    int width = 0;
    for (unsigned char c : text) width += widths_[c];
    return width;
  }
  int TextHeight(std::string_view, const TFontDescription&) override { return 33; }

 private:
  std::array<int, 256> widths_{};
};

// 100,000 rows of seven satellite-like columns.
const StringTable& LargeTable() {
  static const StringTable table = [] {
    StringTable t(7, 100000);
    const char* headers[] = {"Satelite", "Posição", "Azimute", "Elevação",
                             "Az. Magnet", "Hora Az.", "Polarização"};
    for (int col = 0; col < 7; ++col) t.SetCells(col, 0, headers[col]);
    for (int row = 1; row < t.RowCount(); ++row) {
      const std::string n = std::to_string(row);
      const std::string fields[] = {"Satellite " + n, "-" + std::to_string(row % 180) + ".0",
                                    std::to_string(row % 360) + ".25", "12.5" + n.substr(0, 1),
                                    std::to_string((row * 7) % 360) + ".75", "14:3" + n.substr(0, 1),
                                    "-" + std::to_string(row % 90) + ".12"};
      for (int col = 0; col < 7; ++col) t.SetCells(col, row, fields[col]);
    }
    return t;
  }();
  return table;
}

const PrintPageSetup kA4{{2100, 2970}, {2026, 12, 8}, '/'};

void BM_Baseline_MeasureEachTextOnce(benchmark::State& state) {
  const StringTable& table = LargeTable();
  const TPrintSettings settings = Grid1PrintSettings();
  TableMeasurer measurer;
  for (auto _ : state) {
    long long sum = 0;
    for (int row = 0; row < table.RowCount(); ++row)
      for (int col = 0; col < table.ColCount(); ++col)
        sum += measurer.TextWidth(table.Cells(col, row), settings.Font);
    benchmark::DoNotOptimize(sum);
  }
}

void BM_LayOut100000Rows(benchmark::State& state) {
  const StringTable& table = LargeTable();
  const TPrintSettings settings = Grid1PrintSettings();
  const PrintCellSelection cells = AllCells(table);
  TableMeasurer measurer;
  std::size_t pages = 0;
  for (auto _ : state) {
    const PrintLayout layout = LayOutTable(table, cells, settings, {}, kA4, measurer);
    pages = layout.Pages.size();
    benchmark::DoNotOptimize(layout.Pages.data());
  }
  state.counters["pages"] = static_cast<double>(pages);
}

// The layout and, page after page, the fills, texts and lines that draw it.
void BM_LayOut100000RowsAndEveryPagesItems(benchmark::State& state) {
  const StringTable& table = LargeTable();
  const TPrintSettings settings = Grid1PrintSettings();
  const PrintCellSelection cells = AllCells(table);
  TableMeasurer measurer;
  for (auto _ : state) {
    const PrintLayout layout = LayOutTable(table, cells, settings, {}, kA4, measurer);
    std::size_t texts = 0;
    for (const PrintedPage& page : layout.Pages) texts += PageItems(layout, page).Texts.size();
    benchmark::DoNotOptimize(texts);
  }
}

// A PDF printer writing to a scratch file.
QPrinter& PdfPrinter() {
  static QPrinter* const printer = [] {
    auto* p = new QPrinter(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setOutputFileName(
        QString::fromStdString((std::filesystem::temp_directory_path() / "bench_print.pdf").string()));
    return p;
  }();
  return *printer;
}

void BM_Baseline_PdfWithOnlyTheDate(benchmark::State& state) {
  StringTable table(7, 1);
  for (auto _ : state) {
    PrintSelectedCells(table, {0, 6, {}}, Grid1PrintSettings(), {}, PdfPrinter());
  }
}

void BM_PrintSatelliteTableToPdf(benchmark::State& state) {
  StringTable table;
  LoadFromCsvFile(table, ZENAVO_DATA_DIR "/satelite.csv");
  for (auto _ : state) PrintTable(table, Grid1PrintSettings(), {}, PdfPrinter());
  state.counters["rows"] = table.RowCount();
}

#define REPEATED ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)
BENCHMARK(BM_Baseline_MeasureEachTextOnce) REPEATED;
BENCHMARK(BM_LayOut100000Rows) REPEATED;
BENCHMARK(BM_LayOut100000RowsAndEveryPagesItems) REPEATED;
BENCHMARK(BM_Baseline_PdfWithOnlyTheDate) REPEATED;
BENCHMARK(BM_PrintSatelliteTableToPdf) REPEATED;

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
