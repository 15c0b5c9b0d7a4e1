// TTableGrid: the table, its geometry, the current cell and the view, files and printing.
// Painting is in table_grid_paint.cpp, keyboard, mouse and wheel in table_grid_input.cpp.
#include "grid/table_grid.h"

#include <QScrollBar>

#include <algorithm>
#include <utility>

#include "base/exceptions.h"
#include "table/csv_loader.h"
#include "grid/table_grid_accessible.h"
#include "grid/table_printer.h"
#include "ui/colors.h"

namespace zenavo {

namespace {

// Runs BeginUpdate now and EndUpdate at the end of the scope, also when an exception leaves it.
class UpdateScope {
 public:
  explicit UpdateScope(TTableGrid& grid) : grid_(grid) { grid_.BeginUpdate(); }
  ~UpdateScope() { grid_.EndUpdate(); }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  TTableGrid& grid_;
};

HtmlFont ResolvedHtmlFont(const QFont& font, TColor color, const QPalette& palette) {
  const QColor resolved = Resolve(color, palette);
  HtmlFont html;
  html.Name = font.family().toStdString();
  html.Color = TColor(resolved.red(), resolved.green(), resolved.blue());
  html.Bold = font.bold();
  html.Italic = font.italic();
  html.Underline = font.underline();
  return html;
}

TColor ResolvedColor(TColor color, const QPalette& palette) {
  const QColor resolved = Resolve(color, palette);
  return TColor(resolved.red(), resolved.green(), resolved.blue());
}

}  // namespace

TTableGrid::TTableGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  InstallTableGridAccessibility();
  setFocusPolicy(Qt::StrongFocus);
  viewport()->setMouseTracking(true);  // the sizing cursor over header boundaries
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);  // every pixel is painted
  verticalScrollBar()->setSingleStep(1);
  horizontalScrollBar()->setSingleStep(1);
  colWidths_.assign(table_.ColCount(), defaultColWidth_);
  rowHeights_.assign(table_.RowCount(), defaultRowHeight_);
  knownFixedRows_ = table_.FixedRows();
  ResetCurrent();
  UpdateScrollBars();
}

TTableGrid::~TTableGrid() = default;

// --- The table -----------------------------------------------------------------------------

void TTableGrid::SetCells(int col, int row, std::string text) {
  table_.SetCells(col, row, std::move(text));
  if (Loading() || updateCount_ > 0) return;
  const QRect cell = CellRect(col, row);
  if (!cell.isEmpty()) viewport()->update(cell);
}

void TTableGrid::EditTable(const std::function<void(StringTable&)>& edit) {
  UpdateScope update(*this);
  struct Resync {
    TTableGrid& grid;
    ~Resync() { grid.TableResized(); }
  } resync{*this};
  edit(table_);
}

void TTableGrid::SetRowCount(int count) {
  if (std::max(1, count) == table_.RowCount()) return;
  table_.SetRowCount(count);
  TableResized();
}

void TTableGrid::SetColCount(int count) {
  if (std::max(1, count) == table_.ColCount()) return;
  table_.SetColCount(count);
  TableResized();
}

void TTableGrid::SetFixedRows(int count) {
  table_.SetFixedRows(count);
  TableResized();
}

void TTableGrid::SetColumnHeaders(std::vector<std::string> headers) {
  columnHeaders_ = std::move(headers);
  if (Loading() || table_.FixedRows() < 1) return;
  const int count = std::min(static_cast<int>(columnHeaders_.size()), table_.ColCount());
  for (int col = 0; col < count; ++col) table_.SetCells(col, 0, columnHeaders_[col]);
  RepaintAll();
}

void TTableGrid::TableResized() {
  colWidths_.resize(table_.ColCount(), defaultColWidth_);
  rowHeights_.resize(table_.RowCount(), defaultRowHeight_);
  if (table_.FixedRows() != knownFixedRows_) {
    knownFixedRows_ = table_.FixedRows();
    ResetCurrent();
  }
  row_ = std::min(row_, LastRow());
  anchorRow_ = std::min(anchorRow_, LastRow());
  col_ = std::min(col_, table_.ColCount() - 1);
  if (mode_ == Mode::Sizing && sizingCol_ >= table_.ColCount()) EndModes();
  if (Loading()) return;
  UpdateScrollBars();
  SetView(topRow_, leftCol_);
  RepaintAll();
  NotifyAccessibleTableReset(*this);
}

void TTableGrid::ResetCurrent() {
  col_ = 0;
  row_ = anchorRow_ = FirstDataRow();
  topRow_ = FirstDataRow();
  leftCol_ = 0;
}

// --- Geometry ------------------------------------------------------------------------------

void TTableGrid::SizesChanged() {
  if (Loading()) return;
  UpdateScrollBars();
  RepaintAll();
}

int TTableGrid::ColWidths(int col) const {
  return col >= 0 && col < static_cast<int>(colWidths_.size()) ? colWidths_[col] : 0;
}

void TTableGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= table_.ColCount()) throw EListError(col);
  if (Store(colWidths_[col], std::max(0, width))) SizesChanged();
}

int TTableGrid::RowHeights(int row) const {
  return row >= 0 && row < static_cast<int>(rowHeights_.size()) ? rowHeights_[row] : 0;
}

void TTableGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= table_.RowCount()) throw EListError(row);
  if (Store(rowHeights_[row], std::max(0, height))) SizesChanged();
}

void TTableGrid::SetDefaultColWidth(int width) {
  defaultColWidth_ = std::max(0, width);
  colWidths_.assign(table_.ColCount(), defaultColWidth_);
  SizesChanged();
}

void TTableGrid::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = std::max(0, height);
  rowHeights_.assign(table_.RowCount(), defaultRowHeight_);
  SizesChanged();
}

void TTableGrid::SetFixedRowHeight(int height) {
  fixedRowHeight_ = std::max(0, height);
  for (int row = 0; row < table_.FixedRows(); ++row) rowHeights_[row] = fixedRowHeight_;
  SizesChanged();
}

int TTableGrid::HeaderHeight() const {
  int height = 0;
  for (int row = 0; row < table_.FixedRows(); ++row) height += rowHeights_[row];
  return height;
}

// The last top row: the one that shows the last row whole at the bottom of the view.
int TTableGrid::MaxTopRow() const {
  const int room = viewport()->height() - HeaderHeight();
  int used = 0;
  int row = LastRow();
  while (row >= FirstDataRow() && used + rowHeights_[row] <= room) used += rowHeights_[row--];
  return std::clamp(row + 1, FirstDataRow(), LastRow());
}

int TTableGrid::MaxLeftCol() const {
  const int room = viewport()->width();
  int used = 0;
  int col = table_.ColCount() - 1;
  while (col >= 0 && used + colWidths_[col] <= room) used += colWidths_[col--];
  return std::clamp(col + 1, 0, table_.ColCount() - 1);
}

int TTableGrid::ColLeft(int col) const {
  int x = 0;
  for (int c = leftCol_; c < col; ++c) x += colWidths_[c];
  for (int c = col; c < leftCol_; ++c) x -= colWidths_[c];
  return x;
}

std::vector<TTableGrid::Span> TTableGrid::VisibleRows() const {
  std::vector<Span> rows;
  const int bottom = viewport()->height();
  int y = 0;
  for (int row = 0; row < table_.FixedRows() && y < bottom; ++row) {
    rows.push_back({row, y, rowHeights_[row]});
    y += rowHeights_[row];
  }
  for (int row = topRow_; row <= LastRow() && y < bottom; ++row) {
    rows.push_back({row, y, rowHeights_[row]});
    y += rowHeights_[row];
  }
  return rows;
}

std::vector<TTableGrid::Span> TTableGrid::VisibleCols() const {
  std::vector<Span> cols;
  const int right = viewport()->width();
  int x = 0;
  for (int col = leftCol_; col < table_.ColCount() && x < right; ++col) {
    cols.push_back({col, x, colWidths_[col]});
    x += colWidths_[col];
  }
  return cols;
}

QRect TTableGrid::CellRect(int col, int row) const {
  QRect rect;
  for (const Span& r : VisibleRows()) {
    if (r.Index != row) continue;
    for (const Span& c : VisibleCols())
      if (c.Index == col) rect = QRect(c.Start, r.Start, c.Size, r.Size);
  }
  return rect;
}

TGridCoord TTableGrid::MouseCoord(QPoint point) const {
  TGridCoord coord;
  for (const Span& r : VisibleRows())
    if (point.y() >= r.Start && point.y() < r.Start + r.Size) coord.Row = r.Index;
  for (const Span& c : VisibleCols())
    if (point.x() >= c.Start && point.x() < c.Start + c.Size) coord.Col = c.Index;
  if (coord.Row < 0 || coord.Col < 0) return {};
  return coord;
}

// --- The view ------------------------------------------------------------------------------

int TTableGrid::LastFullyVisibleRow() const {
  const int bottom = viewport()->height();
  int y = HeaderHeight();
  int last = topRow_;
  for (int row = topRow_; row <= LastRow() && y + rowHeights_[row] <= bottom; ++row) {
    last = row;
    y += rowHeights_[row];
  }
  return last;
}

void TTableGrid::SetTopRow(int row) { SetView(row, leftCol_); }

void TTableGrid::SetLeftCol(int col) { SetView(topRow_, col); }

void TTableGrid::SetView(int topRow, int leftCol) {
  topRow = std::clamp(topRow, FirstDataRow(), MaxTopRow());
  leftCol = std::clamp(leftCol, 0, MaxLeftCol());
  const bool moved = topRow != topRow_ || leftCol != leftCol_;
  topRow_ = topRow;
  leftCol_ = leftCol;
  settingView_ = true;
  verticalScrollBar()->setValue(topRow_);
  horizontalScrollBar()->setValue(leftCol_);
  settingView_ = false;
  if (moved) RepaintAll();
}

// Scrolls as little as needed to show `row` whole (as much of it as fits).
void TTableGrid::ScrollToShow(int row) {
  if (row < FirstDataRow()) return;
  if (row < topRow_) {
    SetView(row, leftCol_);
  } else if (row > LastFullyVisibleRow()) {
    const int room = viewport()->height() - HeaderHeight();
    int top = row;
    int used = rowHeights_[row];
    while (top > FirstDataRow() && used + rowHeights_[top - 1] <= room) used += rowHeights_[--top];
    SetView(top, leftCol_);
  }
}

void TTableGrid::UpdateScrollBars() {
  if (Loading()) return;
  const int visibleRows = std::max(1, LastFullyVisibleRow() - topRow_ + 1);
  settingView_ = true;
  verticalScrollBar()->setRange(FirstDataRow(), MaxTopRow());
  verticalScrollBar()->setPageStep(visibleRows);
  horizontalScrollBar()->setRange(0, MaxLeftCol());
  horizontalScrollBar()->setPageStep(1);
  settingView_ = false;
  SetView(topRow_, leftCol_);
}

void TTableGrid::scrollContentsBy(int, int) {
  if (settingView_) return;
  SetView(verticalScrollBar()->value(), horizontalScrollBar()->value());
}

void TTableGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

// --- Current cell and selection ------------------------------------------------------------

TGridRect TTableGrid::Selection() const {
  return {0, std::min(anchorRow_, row_), table_.ColCount() - 1, std::max(anchorRow_, row_)};
}

void TTableGrid::SetRow(int row) {
  if (row == row_) return;
  MoveCurrent(col_, row, true);
}

bool TTableGrid::MoveCurrent(int col, int row, bool moveAnchor) {
  if (col < 0 || row < 0 || col >= table_.ColCount() || row >= table_.RowCount())
    throw ETableGridError("Grid index out of range");
  bool canSelect = true;
  if (OnSelectCell) {
    try {
      OnSelectCell(*this, col, row, canSelect);
    } catch (...) {
      EndModes();  // no drag or pan goes on behind the error box
      throw;
    }
  }
  // The handler may have changed the table.
  if (!canSelect || row >= table_.RowCount()) return false;
  const TGridRect before = Selection();
  col_ = 0;
  row_ = row;
  if (moveAnchor) anchorRow_ = row;
  ScrollToShow(row_);
  InvalidateSelectionChange(before);
  NotifyAccessibleCurrentRow(*this);
  return true;
}

void TTableGrid::MoveAnchor(int col, int row) {
  if ((options_ & (goRangeSelect | goEditing)) != goRangeSelect) {
    MoveCurrent(col, row, true);
    return;
  }
  const TGridRect before = Selection();
  anchorRow_ = row;
  ScrollToShow(anchorRow_);
  InvalidateSelectionChange(before);
  NotifyAccessibleCurrentRow(*this);
}

bool TTableGrid::MoveToRow(int row, bool extend) {
  row = std::clamp(row, FirstDataRow(), LastRow());
  if (row == row_) return false;
  return MoveCurrent(0, row, !extend);
}

void TTableGrid::SelectAll() {
  anchorRow_ = FirstDataRow();
  row_ = LastRow();
  col_ = table_.ColCount() - 1;
  RepaintAll();
}

void TTableGrid::InvalidateRows(int first, int last) {
  if (Loading() || updateCount_ > 0) return;
  QRect area;
  for (const Span& r : VisibleRows())
    if (r.Index >= first && r.Index <= last && r.Index >= FirstDataRow())
      area |= QRect(0, r.Start, viewport()->width(), r.Size);
  if (!area.isEmpty()) viewport()->update(area);
}

void TTableGrid::InvalidateSelectionChange(const TGridRect& before) {
  const TGridRect after = Selection();
  if (before == after) return;
  InvalidateRows(before.Top, before.Bottom);
  InvalidateRows(after.Top, after.Bottom);
}

// The focus cue on the current row comes and goes with the focus (focusOutEvent repaints too).
void TTableGrid::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  InvalidateRows(row_, row_);
}

// --- Properties ------------------------------------------------------------------------------

void TTableGrid::SetCellFont(const QFont& font, TColor color) {
  if (font == cellFont_ && color == cellFontColor_) return;
  cellFont_ = font;
  cellFontColor_ = color;
  RepaintAll();
}

void TTableGrid::SetFixedFont(const QFont& font, TColor color) {
  if (font == fixedFont_ && color == fixedFontColor_) return;
  fixedFont_ = font;
  fixedFontColor_ = color;
  RepaintAll();
}

void TTableGrid::SetGridLineWidth(int width) { StoreAndRepaint(gridLineWidth_, std::max(0, width)); }

void TTableGrid::SetBands(const TBands& bands) {
  TBands stored = bands;
  stored.PrimaryLength = std::max(0, stored.PrimaryLength);
  stored.SecondaryLength = std::max(0, stored.SecondaryLength);
  StoreAndRepaint(bands_, stored);
}

void TTableGrid::SetSortSettings(const TSortSettings& settings) {
  sortSettings_ = settings;
  RepaintAll();
}

void TTableGrid::EndUpdate() {
  if (updateCount_ > 0 && --updateCount_ == 0) RequestRepaint();
}

void TTableGrid::Repaint() {
  if (updateCount_ == 0) viewport()->update();
}

void TTableGrid::Loaded() {
  SetColumnHeaders(columnHeaders_);
  TableResized();
}

// --- Files and printing ----------------------------------------------------------------------

void TTableGrid::LoadFromCsvFile(const std::string& path) {
  EditTable([&path](StringTable& table) { zenavo::LoadFromCsvFile(table, path); });
}

void TTableGrid::ExportHtmlFile(const std::string& fileName) const {
  const QPalette& colors = palette();
  HtmlGridLook look;
  look.FixedCols = 0;
  look.WordWrap = false;
  look.FixedColor = ResolvedColor(fixedColor_, colors);
  look.Color = ResolvedColor(color_, colors);
  look.Font = ResolvedHtmlFont(cellFont_, cellFontColor_, colors);
  look.FixedFont = ResolvedHtmlFont(fixedFont_, fixedFontColor_, colors);
  look.BandsActive = bands_.Active;
  look.BandPrimaryColor = ResolvedColor(bands_.PrimaryColor, colors);
  look.BandPrimaryLength = bands_.PrimaryLength;
  look.BandSecondaryColor = ResolvedColor(bands_.SecondaryColor, colors);
  look.BandSecondaryLength = bands_.SecondaryLength;
  zenavo::ExportHtmlFile(table_, fileName, htmlSettings_, look);
}

void TTableGrid::PrintTable() {
  PrintCells({0, 0, table_.ColCount() - 1, table_.RowCount() - 1}, false);
}

void TTableGrid::PrintCells(const TGridRect& cells, bool selectionOnly) {
  PrintGridLook look;
  look.Color = color_;
  look.BandsActive = bands_.Active;
  look.BandsPrint = bands_.Print;
  look.BandPrimaryColor = bands_.PrimaryColor;
  look.BandPrimaryLength = bands_.PrimaryLength;
  look.BandSecondaryColor = bands_.SecondaryColor;
  look.BandSecondaryLength = bands_.SecondaryLength;
  std::vector<int> selectedRows;
  const TGridRect selection = Selection();
  for (int row = selection.Top; row <= selection.Bottom; ++row) selectedRows.push_back(row);
  zenavo::PrintCells(table_, {cells.Left, cells.Top, cells.Right, cells.Bottom}, selectionOnly,
                     selectedRows, printSettings_, look, CurrentPrinter());
}

}  // namespace zenavo
