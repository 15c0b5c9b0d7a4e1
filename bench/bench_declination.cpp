// The declination lookup: one whole LookUpDeclination with the real magc (private working
// folder made and removed, magc run, result read), the bare run and read in one fixed folder,
// beside starting /bin/true through the same runner; and magc's own computation in-process.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "app/declination_lookup.h"
#include "app/run_and_capture.h"
#include "base/format_settings.h"
#include "support/temp_folder.h"
#include "wmm_model.h"

namespace {

// A scratch folder holding a copy of magc and its coefficient file.
class CalculatorFolder : public zenavo::testing::TempFolder {
 public:
  CalculatorFolder() {
    std::filesystem::copy_file(MAGC_PATH, Path() + "magc");
    std::filesystem::copy_file(std::filesystem::path(MAGC_PATH).parent_path() / "WMM2025.COF",
                               Path() + "WMM2025.COF");
  }
};

void BM_DeclinationLookupRealMagc(benchmark::State& state) {
  zenavo::ScopedFormatSettings locale(zenavo::PointFormatSettings());
  CalculatorFolder folder;
  for (auto _ : state) benchmark::DoNotOptimize(zenavo::LookUpDeclination(folder.Path(), -23.55L, -46.63L));
}

void BM_RunAndReadInOneFolderRealMagc(benchmark::State& state) {
  zenavo::ScopedFormatSettings locale(zenavo::PointFormatSettings());
  CalculatorFolder folder;
  for (auto _ : state) {
    zenavo::RunAndCapture("magc -23.55 -46.63 0 7 12 26 7 > result.txt", folder.Path());
    benchmark::DoNotOptimize(zenavo::ReadDeclination(folder.Path() + "result.txt"));
  }
}

void BM_BaselineRunTrue(benchmark::State& state) {
  CalculatorFolder folder;
  for (auto _ : state) benchmark::DoNotOptimize(zenavo::RunAndCapture("/bin/true", folder.Path()));
}

void BM_MagcComputeElements(benchmark::State& state) {
  const magc::MagneticModel model =
      magc::LoadModel((std::filesystem::path(MAGC_PATH).parent_path() / "WMM2025.COF").string());
  double latitude = -33;
  for (auto _ : state) {
    const magc::MagneticElements e = magc::ComputeElements(model, latitude, -46.63, 0, 2026.93);
    benchmark::DoNotOptimize(e);
    latitude = latitude > 5 ? -33 : latitude + 0.5;
  }
}

void BM_MagcLoadModel(benchmark::State& state) {
  const std::string path =
      (std::filesystem::path(MAGC_PATH).parent_path() / "WMM2025.COF").string();
  for (auto _ : state) benchmark::DoNotOptimize(magc::LoadModel(path));
}

#define REPEATED ->Repetitions(5)->ReportAggregatesOnly(true)
BENCHMARK(BM_DeclinationLookupRealMagc)->Unit(benchmark::kMillisecond)->UseRealTime() REPEATED;
BENCHMARK(BM_RunAndReadInOneFolderRealMagc)->Unit(benchmark::kMillisecond)->UseRealTime() REPEATED;
BENCHMARK(BM_BaselineRunTrue)->Unit(benchmark::kMillisecond)->UseRealTime() REPEATED;
BENCHMARK(BM_MagcComputeElements)->Unit(benchmark::kMicrosecond) REPEATED;
BENCHMARK(BM_MagcLoadModel)->Unit(benchmark::kMicrosecond) REPEATED;

}  // namespace

BENCHMARK_MAIN();
