// Pasting a long text into the numeric edit box, beside giving a plain QLineEdit the same text
// with setText: the paste must not freeze the window (a user who pastes a runaway clipboard
// waits for it).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

#include <cstdlib>

#include "base/format_settings.h"
#include "numedit/beep.h"
#include "numedit/qv_num_edit.h"
#include "qt_benchmarks.h"

namespace {

constexpr int kPastedCharacters = 20000;

int beeps = 0;

QString LongDigits() {
  QString digits;
  for (int i = 0; i < kPastedCharacters; ++i) digits += QChar('1' + i % 9);
  return digits;
}

// Baseline: the same 20,000 characters written into a plain line edit.
void BM_LineEditSetText(benchmark::State& state) {
  const QString digits = LongDigits();
  QLineEdit edit;
  for (auto _ : state) {
    edit.setText(QStringLiteral("0,"));
    edit.setText(QStringLiteral("0,") + digits);
    benchmark::DoNotOptimize(edit.text().size());
  }
}

// 20,000 digits pasted behind the separator of "0,": every one is taken.
void BM_PasteDecimals(benchmark::State& state) {
  zenavo::ScopedFormatSettings locale(zenavo::CommaFormatSettings());
  QApplication::clipboard()->setText(LongDigits());
  zenavo::TQvNumEdit edit;
  beeps = 0;
  for (auto _ : state) {
    edit.setText(QStringLiteral("0,"));
    edit.setCursorPosition(2);
    edit.Paste();
  }
  state.counters["text_length"] = static_cast<double>(edit.text().size());
  state.counters["beeps_per_paste"] = benchmark::Counter(beeps, benchmark::Counter::kAvgIterations);
}

// 20,000 digits pasted over the selected "0": far beyond the extended range, so refused.
void BM_PasteWholeNumber(benchmark::State& state) {
  zenavo::ScopedFormatSettings locale(zenavo::CommaFormatSettings());
  QApplication::clipboard()->setText(LongDigits());
  zenavo::TQvNumEdit edit;
  beeps = 0;
  for (auto _ : state) {
    edit.setText(QStringLiteral("0"));
    edit.selectAll();
    edit.Paste();
  }
  state.counters["text_length"] = static_cast<double>(edit.text().size());
  state.counters["beeps_per_paste"] = benchmark::Counter(beeps, benchmark::Counter::kAvgIterations);
}

#define REPEATED ->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true)
BENCHMARK(BM_LineEditSetText) REPEATED;
BENCHMARK(BM_PasteDecimals) REPEATED;
BENCHMARK(BM_PasteWholeNumber) REPEATED;

}  // namespace

int main(int argc, char** argv) {
  zenavo::SetBeepHandler([] { ++beeps; });
  return RunQtBenchmarks(argc, argv);
}
