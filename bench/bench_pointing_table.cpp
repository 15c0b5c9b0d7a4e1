// ComputePointingTable over a 10,000-row satellite table, beside a baseline loop over the same
// table that only parses column 1 and formats four result cells.
#include <benchmark/benchmark.h>

#include <memory>

#include "app/pointing_table.h"
#include "base/clock.h"
#include "base/float_text.h"
#include "base/format_settings.h"

namespace {

constexpr int kRows = 10000;

zenavo::StringTable SatelliteTable() {
  zenavo::StringTable table(7, kRows + 1);
  for (int row = 1; row <= kRows; ++row) {
    // Slots from 5 W to 119 W, as in the shipped satellite file.
    const double position = -5 - (row % 1141) * 0.1;
    table.SetCells(0, row, "Sat " + std::to_string(row));
    table.SetCells(1, row, zenavo::FloatToStr(position));
  }
  return table;
}

void BM_ComputePointingTable(benchmark::State& state) {
  zenavo::ScopedFormatSettings locale(zenavo::PointFormatSettings());
  zenavo::ScopedClockSource clock(
      std::make_shared<zenavo::FixedClock>(zenavo::LocalDate{2026, 12, 7}, -180));
  zenavo::StringTable table = SatelliteTable();
  for (auto _ : state) {
    zenavo::ComputePointingTable(table, -23.55L, -46.63L, 760, -21.5L);
    benchmark::DoNotOptimize(table.Cells(6, kRows));
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

void BM_BaselineParseAndFormat(benchmark::State& state) {
  zenavo::ScopedFormatSettings locale(zenavo::PointFormatSettings());
  zenavo::StringTable table = SatelliteTable();
  for (auto _ : state) {
    for (int row = 1; row <= kRows; ++row) {
      const long double position = zenavo::StrToFloat(table.Cells(1, row));
      for (int col = 2; col <= 5; ++col)
        table.SetCells(col, row, zenavo::FormatResultCell(position + col));
    }
    benchmark::DoNotOptimize(table.Cells(5, kRows));
  }
  state.SetItemsProcessed(state.iterations() * kRows);
}

BENCHMARK(BM_ComputePointingTable)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_BaselineParseAndFormat)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
