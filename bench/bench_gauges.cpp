// The main window's compass dial: a Position change (a frame: a copy of the cached dial image
// plus the needle) beside a full rebuild of the dial image followed by a frame. Run with
// QT_SCALE_FACTOR=2 for the figures on a display scaled to 200 % (four times the pixels).
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

#include "app/form_gauges.h"
#include "qt_benchmarks.h"

namespace {

void BM_DialPositionRepaint(benchmark::State& state) {
  zenavo::TAngularMeter dial;
  zenavo::ApplyCompassDialSettings(dial, "Norte Geográfico");
  double position = 0;
  for (auto _ : state) {
    position = position >= 359 ? 0 : position + 1;
    dial.SetPosition(position);
    benchmark::DoNotOptimize(dial.RenderFrame().constBits());
  }
  state.counters["rebuilds"] = dial.Rebuilds();
  state.counters["pixel_ratio"] = dial.devicePixelRatioF();
}

void BM_DialFullRebuild(benchmark::State& state) {
  zenavo::TAngularMeter dial;
  zenavo::ApplyCompassDialSettings(dial, "Norte Geográfico");
  bool flip = false;
  for (auto _ : state) {
    flip = !flip;
    dial.SetTicksColor(flip ? zenavo::clSilver : zenavo::clWhite);  // rebuilds the dial image
    benchmark::DoNotOptimize(dial.RenderFrame().constBits());
  }
  state.counters["pixel_ratio"] = dial.devicePixelRatioF();
}

#define REPEATED ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true)
BENCHMARK(BM_DialPositionRepaint) REPEATED;
BENCHMARK(BM_DialFullRebuild) REPEATED;

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
