// The main window: start-up to its first painted frame with all cities and satellites loaded,
// beside an empty QWidget application reaching its first frame (both measured as whole child
// processes on the offscreen platform); and one "Calcular" end to end (the real magc, the
// pointing table, the repaint) beside running magc alone; and a site change after a "Calcular"
// (the results, the dials and the scale emptied, repainted) beside that "Calcular".
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLocale>
#include <QTimer>

#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>

#include "app/declination_lookup.h"
#include "app/form1.h"
#include "app/form_fonts.h"
#include "app/locale_format.h"
#include "app/run_and_capture.h"
#include "app/translations.h"
#include "base/format_settings.h"
#include "base/text_file.h"
#include "grid/table_grid.h"
#include "numedit/qv_num_edit.h"
#include "support/temp_folder.h"
#include "qt_benchmarks.h"

namespace {

// In a child: opens the window (or an empty QWidget) as the program does and ends the process
// as soon as its first frame has been painted.
int OpenAndExitAtFirstFrame(int argc, char** argv, bool form) {
  QApplication application(argc, argv);
  std::optional<zenavo::FormFonts> fonts;
  std::unique_ptr<QWidget> window;
  if (form) {
    zenavo::SetFormatSettings(zenavo::FormatSettingsFromLocale(QLocale::system()));
    zenavo::InstallQtTranslations(application, QLocale::system());
    fonts.emplace();
    window = std::make_unique<zenavo::TForm1>();
  } else {
    window = std::make_unique<QWidget>();
    window->resize(790, 693);
  }
  struct FirstPaint : QObject {
    bool eventFilter(QObject*, QEvent* event) override {
      // The first widget painted starts the frame; the others paint within the same pass, so
      // the frame is on screen when it returns. Watched application-wide: the window's own
      // surface may be covered entirely by its children (the page's scroll area).
      if (event->type() == QEvent::Paint) QTimer::singleShot(0, [] { ::_exit(0); });
      return false;
    }
  } firstPaint;
  application.installEventFilter(&firstPaint);
  window->show();
  return application.exec();
}

void StartUp(benchmark::State& state, const char* what) {
  const std::string self = zenavo::ExecutableFolder() + "bench_form";
  for (auto _ : state) {
    const zenavo::CapturedRun run = zenavo::RunAndCapture(self + " --first-frame " + what, "/");
    if (run.ExitStatus != 0) state.SkipWithError(run.Output.c_str());
  }
}

void BM_StartUpToFirstFrame_EmptyQWidget(benchmark::State& state) { StartUp(state, "empty"); }
void BM_StartUpToFirstFrame_MainWindow(benchmark::State& state) { StartUp(state, "form"); }

// A scratch program folder: the runnable folder's data files, magc and its model.
class ProgramFolder : public zenavo::testing::TempFolder {
 public:
  ProgramFolder() {
    for (const char* name : {"satelite.csv", "municipios.csv", "satelite_vg.csv",
                             "municipios_vg.csv", "magc", "WMM2025.COF"})
      std::filesystem::copy_file(zenavo::ExecutableFolder() + name, Path() + name);
  }
};

void BM_Calcular_MagcAlone(benchmark::State& state) {
  zenavo::ScopedFormatSettings locale(zenavo::PointFormatSettings());
  ProgramFolder folder;
  zenavo::testing::TempFolder work;
  for (auto _ : state)
    zenavo::RunAndCapture("magc -23.56739 -46.57038 0 15 3 26 7 > result.txt", work.Path(),
                          folder.Path());
}

void BM_Calcular_EndToEnd(benchmark::State& state) {
  zenavo::ScopedFormatSettings locale(zenavo::PointFormatSettings());
  ProgramFolder folder;
  zenavo::TForm1 form(folder.Path());
  form.show();
  QApplication::processEvents();
  form.QvNumEdit1->SetValue(-23.56739L);
  form.QvNumEdit2->SetValue(-46.57038L);
  for (auto _ : state) {
    form.Button1Click();
    QApplication::processEvents();  // the repaint of the new results
  }
  state.counters["rows"] = form.Grid1->RowCount() - 1;
}

// A city row chosen after a "Calcular" (not timed): the pointing table's results, the dials
// and the scale return to their start and are repainted. Two cities, taken in turn.
void BM_SiteChange_AfterCalcular(benchmark::State& state) {
  zenavo::ScopedFormatSettings locale(zenavo::PointFormatSettings());
  ProgramFolder folder;
  zenavo::TForm1 form(folder.Path());
  form.show();
  QApplication::processEvents();
  form.Grid1->SetRow(2);
  bool canSelect = true;
  int city = 1;
  for (auto _ : state) {
    state.PauseTiming();
    form.Button1Click();
    QApplication::processEvents();
    if (!form.Calculation()) state.SkipWithError("no results to empty");
    city = 3 - city;
    state.ResumeTiming();
    form.Grid2SelectCell(0, city, canSelect);
    QApplication::processEvents();  // the repaint of the emptied table and dials
  }
  if (form.Calculation()) state.SkipWithError("the site change left the results");
}

#define MEDIAN \
  ->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5)->ReportAggregatesOnly(true)
BENCHMARK(BM_StartUpToFirstFrame_EmptyQWidget) MEDIAN->Iterations(10);
BENCHMARK(BM_StartUpToFirstFrame_MainWindow) MEDIAN->Iterations(10);
BENCHMARK(BM_Calcular_MagcAlone) MEDIAN;
BENCHMARK(BM_Calcular_EndToEnd) MEDIAN;
BENCHMARK(BM_SiteChange_AfterCalcular) MEDIAN->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (argc == 3 && std::strcmp(argv[1], "--first-frame") == 0)
    return OpenAndExitAtFirstFrame(argc, argv, std::strcmp(argv[2], "form") == 0);
  return RunQtBenchmarks(argc, argv);
}
