// The table core on 100,000 rows: CSV loading beside a std::getline baseline, header-click
// sorting (numeric column in index mode, a text column with many ties in plain mode), and HTML
// export beside writing the same bytes in one write.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "base/format_settings.h"
#include "grid/csv_loader.h"
#include "grid/html_export.h"
#include "grid/table_sort.h"

namespace {

constexpr int kRows = 100000;

// The 100,000-line, 7-column file, made once (its path is printed for the Python baseline).
const std::string& CsvPath() {
  static const std::string path = [] {
    const char* given = std::getenv("ZENAVO_BENCH_CSV");
    std::string file = given ? given
                             : (std::filesystem::temp_directory_path() / "zenavo_bench_100k.csv").string();
    std::ofstream out(file, std::ios::binary);
    std::mt19937 random(1);
    std::uniform_real_distribution<double> position(-119, -5), angle(0, 360);
    out << "Satelite,Posição,Azimute,Elevação,Az. Magnet,Hora Az.,Polarização\r\n";
    for (int row = 1; row < kRows; ++row) {
      out << "\"Satellite " << row << ", C band\"," << position(random) << "," << angle(random)
          << "," << angle(random) / 4 << "," << angle(random) << ",12:0" << row % 10 << ":00,"
          << angle(random) / 4 - 45 << "\r\n";
    }
    return file;
  }();
  return path;
}

void BM_LoadFromCsvFile(benchmark::State& state) {
  for (auto _ : state) {
    state.PauseTiming();
    auto table = std::make_unique<zenavo::StringTable>(7, 2);
    state.ResumeTiming();
    zenavo::LoadFromCsvFile(*table, CsvPath());
    benchmark::DoNotOptimize(table->Cells(6, kRows - 1));
    state.PauseTiming();
    table.reset();  // freeing the table is not part of loading
    state.ResumeTiming();
  }
}

std::size_t ReadLinesWithGetline() {
  std::ifstream file(CsvPath(), std::ios::binary);
  std::string line;
  std::size_t lines = 0;
  while (std::getline(file, line)) ++lines;
  return lines;
}

void BM_BaselineGetline(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(ReadLinesWithGetline());
}

// The load and the baseline taken in turns, so that both see the same machine: the median of
// the per-turn ratio is the figure the 4x target is read against.
void BM_LoadToGetlineRatio(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  std::vector<double> ratios;
  for (auto _ : state) {
    const auto start = Clock::now();
    benchmark::DoNotOptimize(ReadLinesWithGetline());
    const auto middle = Clock::now();
    auto table = std::make_unique<zenavo::StringTable>(7, 2);
    zenavo::LoadFromCsvFile(*table, CsvPath());
    const auto end = Clock::now();
    ratios.push_back(std::chrono::duration<double>(end - middle) / (middle - start));
    state.PauseTiming();
    table.reset();
    state.ResumeTiming();
  }
  std::nth_element(ratios.begin(), ratios.begin() + ratios.size() / 2, ratios.end());
  state.counters["load_per_getline"] = ratios[ratios.size() / 2];
}

zenavo::StringTable LoadedTable() {
  zenavo::StringTable table(7, 2);
  zenavo::LoadFromCsvFile(table, CsvPath());
  return table;
}

void BM_SortNumericIndexMode(benchmark::State& state) {
  const zenavo::StringTable loaded = LoadedTable();
  long long comparisons = 0;
  for (auto _ : state) {
    state.PauseTiming();
    zenavo::StringTable table = loaded;
    zenavo::TSortSettings settings;
    settings.Show = settings.IndexShow = true;
    zenavo::TSortIndexList index;
    state.ResumeTiming();
    comparisons = zenavo::SortByHeaderClick(table, settings, index, 2, false,
                                            zenavo::PointFormatSettings());
  }
  state.counters["comparisons"] = static_cast<double>(comparisons);
}

void BM_SortTextWithTiesPlainMode(benchmark::State& state) {
  zenavo::StringTable loaded = LoadedTable();
  // A text column of only ten distinct values: ties everywhere, broken by the columns to the
  // right.
  for (int row = 1; row < loaded.RowCount(); ++row)
    loaded.SetCells(0, row, "Satellite group " + std::string(1, char('A' + row % 10)));
  long long comparisons = 0;
  for (auto _ : state) {
    state.PauseTiming();
    zenavo::StringTable table = loaded;
    zenavo::TSortSettings settings;
    settings.Show = true;
    settings.Column = 1;  // a click on column 0 then sorts ascending
    zenavo::TSortIndexList index;
    state.ResumeTiming();
    comparisons = zenavo::SortByHeaderClick(table, settings, index, 0, false,
                                            zenavo::PointFormatSettings());
  }
  state.counters["comparisons"] = static_cast<double>(comparisons);
}

std::string ExportPath() {
  return (std::filesystem::temp_directory_path() / "zenavo_bench_export.htm").string();
}

void BM_ExportHtmlFile(benchmark::State& state) {
  const zenavo::StringTable table = LoadedTable();
  for (auto _ : state)
    zenavo::ExportHtmlFile(table, ExportPath(), zenavo::THTMLSettings{}, zenavo::HtmlGridLook{});
}

void BM_BaselineOneWrite(benchmark::State& state) {
  const zenavo::StringTable table = LoadedTable();
  const std::string bytes =
      zenavo::BuildHtmlDocument(table, zenavo::THTMLSettings{}, zenavo::HtmlGridLook{});
  for (auto _ : state) {
    const int fd = ::open(ExportPath().c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    benchmark::DoNotOptimize(::write(fd, bytes.data(), bytes.size()));
    ::close(fd);
  }
  state.counters["bytes"] = static_cast<double>(bytes.size());
}

#define REPEATED ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)
BENCHMARK(BM_LoadFromCsvFile) REPEATED;
BENCHMARK(BM_BaselineGetline) REPEATED;
BENCHMARK(BM_LoadToGetlineRatio)->Iterations(30) REPEATED;
BENCHMARK(BM_SortNumericIndexMode)->Iterations(3) REPEATED;
BENCHMARK(BM_SortTextWithTiesPlainMode)->Iterations(3) REPEATED;
BENCHMARK(BM_ExportHtmlFile) REPEATED;
BENCHMARK(BM_BaselineOneWrite) REPEATED;

}  // namespace

BENCHMARK_MAIN();
