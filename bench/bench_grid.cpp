// The table grid, each figure beside a baseline measured in the same run:
// - painting one full viewport of Grid1 (545 x 151) scrolled into a table of 100 and of 100,000
//   rows, beside filling the same cell rectangles with QPainter::fillRect alone;
// - a header click on the city column of the city table (5,570 rows), the sort and the one
//   repaint, beside the core sort alone;
// - holding Page Down through the city table, each move with its OnSelectCell (an empty
//   handler) and its repaint, beside the same keys and repaints on a bare QAbstractScrollArea;
// - type to find in the city table: one keystroke of a search (its move, OnSelectCell and
//   repaint), the first one after loading and a keystroke that matches nothing (every name folded
//   and compared, then the beep), beside one pass that only folds the 5,570 names.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <chrono>
#include <cstdlib>
#include <string>

#include "base/format_settings.h"
#include "grid/grid_configurations.h"
#include "grid/table_grid.h"
#include "numedit/beep.h"
#include "table/table_find.h"
#include "table/table_sort.h"
#include "qt_benchmarks.h"

namespace {

using zenavo::TTableGrid;

// Grid1 holding `rows` data rows of satellite-like texts, scrolled to their middle.
void FillPointingGrid(TTableGrid& grid, int rows) {
  zenavo::ConfigurePointingGrid(grid);
  grid.EditTable([rows](zenavo::StringTable& table) {
    table.SetRowCount(rows + 1);
    for (int row = 1; row <= rows; ++row) {
      table.SetCells(0, row, "Satélite " + std::to_string(row));
      table.SetCells(1, row, std::to_string(row % 360 - 180) + ".0");
      for (int col = 2; col < table.ColCount(); ++col)
        table.SetCells(col, row, std::to_string(row % 97) + "." + std::to_string(col * 7));
    }
  });
  grid.show();
  QApplication::processEvents();  // the scroll bars' layout
  grid.SetRow(rows / 2);
}

void BM_PaintViewport(benchmark::State& state) {
  TTableGrid grid;
  FillPointingGrid(grid, static_cast<int>(state.range(0)));
  QImage image(grid.viewport()->size(), QImage::Format_RGB32);
  for (auto _ : state) {
    grid.viewport()->render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["viewport_w"] = grid.viewport()->width();
  state.counters["viewport_h"] = grid.viewport()->height();
}

// The same cell rectangles (and the area beyond them) filled, nothing else drawn.
void BM_PaintViewportFillRectBaseline(benchmark::State& state) {
  TTableGrid grid;
  FillPointingGrid(grid, static_cast<int>(state.range(0)));
  std::vector<QRect> cells;
  for (int row : {0}) {
    for (int col = 0; col < grid.ColCount(); ++col) cells.push_back(grid.CellRect(col, row));
  }
  for (int row = grid.TopRow(); row <= grid.LastFullyVisibleRow() + 1; ++row)
    for (int col = 0; col < grid.ColCount(); ++col)
      if (const QRect cell = grid.CellRect(col, row); !cell.isEmpty()) cells.push_back(cell);
  QImage image(grid.viewport()->size(), QImage::Format_RGB32);
  const QRect beyond(512, 0, image.width() - 512, image.height());
  int shade = 0;
  for (auto _ : state) {
    QPainter painter(&image);
    shade = (shade + 1) & 0xFF;
    for (const QRect& cell : cells) painter.fillRect(cell, QColor(shade, 200, 200));
    painter.fillRect(beyond, Qt::white);
    painter.end();
    benchmark::DoNotOptimize(image.constBits());
  }
  state.counters["cells"] = static_cast<double>(cells.size());
}

// The city table as loaded, and Grid2 holding it.
struct CityGrid {
  CityGrid() {
    zenavo::ConfigureCityGrid(grid);
    grid.LoadFromCsvFile(ZENAVO_DATA_DIR "/municipios.csv");
    original = grid.Table();
    grid.show();
    QApplication::processEvents();
  }
  void Restore() {
    grid.EditTable([this](zenavo::StringTable& table) { table = original; });
    zenavo::TSortSettings sort = grid.SortSettings();
    sort.Column = 1;  // the next click on column 0 sorts it ascending
    grid.SetSortSettings(sort);
    grid.viewport()->repaint();
  }
  TTableGrid grid;
  zenavo::StringTable original;
};

void SendClick(QWidget* widget, QPoint point) {
  QMouseEvent press(QEvent::MouseButtonPress, point, widget->mapToGlobal(point), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, point, widget->mapToGlobal(point),
                      Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

void BM_HeaderClickSortsCities(benchmark::State& state) {
  zenavo::ScopedFormatSettings format(zenavo::PointFormatSettings());
  CityGrid city;
  int sorts = 0;
  city.grid.OnClickSort = [&sorts](TTableGrid&, int) { ++sorts; };
  for (auto _ : state) {
    state.PauseTiming();
    city.Restore();
    state.ResumeTiming();
    SendClick(city.grid.viewport(), QPoint(96, 10));  // the middle of "Cidade"
    city.grid.viewport()->repaint();
  }
  state.counters["rows"] = city.grid.RowCount() - 1;
  state.counters["sorted"] = sorts == static_cast<int>(state.iterations());
}

void BM_CoreSortOfCitiesBaseline(benchmark::State& state) {
  zenavo::ScopedFormatSettings format(zenavo::PointFormatSettings());
  CityGrid city;
  zenavo::StringTable table;
  for (auto _ : state) {
    state.PauseTiming();
    table = city.original;
    zenavo::TSortSettings sort = city.grid.SortSettings();
    sort.Column = 1;
    zenavo::TSortIndexList index;
    state.ResumeTiming();
    zenavo::SortByHeaderClick(table, sort, index, 0, false, zenavo::CurrentFormatSettings());
  }
}

void SendKey(QWidget* widget, int key) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
}

void BM_PageDownThroughCities(benchmark::State& state) {
  CityGrid city;
  long long moves = 0;
  city.grid.OnSelectCell = [&moves](TTableGrid&, int, int, bool&) { ++moves; };
  for (auto _ : state) {
    state.PauseTiming();
    SendKey(&city.grid, Qt::Key_Home);
    const long long before = moves;
    state.ResumeTiming();
    while (city.grid.Row() < city.grid.RowCount() - 1) {
      SendKey(&city.grid, Qt::Key_PageDown);
      city.grid.viewport()->repaint();
    }
    state.PauseTiming();
    state.counters["moves_per_pass"] = static_cast<double>(moves - before);
    state.ResumeTiming();
  }
  state.counters["per_move"] = benchmark::Counter(static_cast<double>(moves),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// Qt's own scroll area taking the same number of Page Down keys and repaints.
void BM_PageDownScrollAreaBaseline(benchmark::State& state) {
  CityGrid city;
  long long moves = 0;
  city.grid.OnSelectCell = [&moves](TTableGrid&, int, int, bool&) { ++moves; };
  SendKey(&city.grid, Qt::Key_Home);
  while (city.grid.Row() < city.grid.RowCount() - 1) SendKey(&city.grid, Qt::Key_PageDown);
  QAbstractScrollArea area;
  area.resize(city.grid.size());
  area.verticalScrollBar()->setRange(0, city.grid.RowCount() * 21);
  area.show();
  QApplication::processEvents();
  long long keys = 0;
  for (auto _ : state) {
    area.verticalScrollBar()->setValue(0);
    for (long long i = 0; i < moves; ++i) {
      SendKey(&area, Qt::Key_PageDown);
      area.viewport()->repaint();
    }
    keys += moves;
  }
  state.counters["per_move"] = benchmark::Counter(static_cast<double>(keys),
                                                  benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void SendText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

// Each keystroke of "sao paulo/sp" typed into a freshly loaded city table; the first keystroke
// after loading is measured on its own too.
void BM_FindKeystrokeInCities(benchmark::State& state) {
  const QString typed = QStringLiteral("sao paulo/sp");
  double firstKey = 0, keys = 0;
  for (auto _ : state) {
    state.PauseTiming();
    CityGrid city;
    long long moves = 0;
    city.grid.OnSelectCell = [&moves](TTableGrid&, int, int, bool&) { ++moves; };
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();
    SendText(&city.grid, typed.left(1));
    city.grid.viewport()->repaint();
    firstKey += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    SendText(&city.grid, typed.mid(1));
    city.grid.viewport()->repaint();
    keys += typed.size();
    state.PauseTiming();
    if (city.grid.Cells(0, city.grid.Row()) != "São Paulo") state.SkipWithError("São Paulo not reached");
    state.ResumeTiming();
  }
  state.counters["first_key_ms"] = firstKey / static_cast<double>(state.iterations());
  state.counters["per_key"] = benchmark::Counter(keys, benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A keystroke that matches nothing: every name folded and compared.
void BM_FindKeystrokeWithoutMatch(benchmark::State& state) {
  CityGrid city;
  zenavo::SetBeepHandler([] {});
  for (auto _ : state) SendText(&city.grid, QStringLiteral("#"));
  zenavo::SetBeepHandler({});
}

void BM_FoldCityNamesBaseline(benchmark::State& state) {
  CityGrid city;
  const zenavo::StringTable& table = city.grid.Table();
  std::string folded;
  for (auto _ : state) {
    for (int row = 1; row < table.RowCount(); ++row) {
      folded.clear();
      zenavo::AppendFolded(table.Cells(0, row), folded);
      benchmark::DoNotOptimize(folded.data());
    }
  }
  state.counters["rows"] = table.RowCount() - 1;
}

#define REPEATED ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true)
BENCHMARK(BM_PaintViewport)->Arg(100)->Arg(100000) REPEATED;
BENCHMARK(BM_PaintViewportFillRectBaseline)->Arg(100)->Arg(100000) REPEATED;
BENCHMARK(BM_HeaderClickSortsCities) REPEATED;
BENCHMARK(BM_CoreSortOfCitiesBaseline) REPEATED;
BENCHMARK(BM_PageDownThroughCities) REPEATED;
BENCHMARK(BM_PageDownScrollAreaBaseline) REPEATED;
BENCHMARK(BM_FindKeystrokeInCities) REPEATED;
BENCHMARK(BM_FindKeystrokeWithoutMatch) REPEATED;
BENCHMARK(BM_FoldCityNamesBaseline) REPEATED;

}  // namespace

int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }
