// TTableGrid input: keys, mouse (selection, drag selection, column sizing, auto-size, header
// clicks that sort), wheel and zoom, middle-button pan mode.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <utility>

#include "base/format_settings.h"
#include "grid/table_grid.h"
#include "grid/table_grid_markup.h"
#include "table/table_sort.h"
#include "ui/error_report.h"

namespace zenavo {

namespace {

constexpr int kDragScrollMs = 60;  // autoscroll while drag-selecting outside the data area
constexpr int kPanTickMs = 10;
constexpr int kPanDeadZone = 5;    // pixels above or below the press point that do not pan
constexpr int kPanMarkerSize = 32;
constexpr int kWheelNotch = 120;   // angle delta of one wheel notch
constexpr int kZoomLimit = 10;
// Sizing zone of a column boundary at X: X - 3 .. X + 4.
constexpr int kSizingZoneLeft = 3;
constexpr int kSizingZoneRight = 4;
// A header point closer than this to a cell edge is on the edge (no sort, auto-size).
constexpr int kEdgeDistance = 4;
// The longest text an auto-size measures, in characters.
constexpr int kAutoSizeChars = 4096;

}  // namespace

// --- Event entry points ----------------------------------------------------------------------

bool TTableGrid::event(QEvent* event) {
  bool handled = false;
  if (ShowingErrors([&] { handled = QAbstractScrollArea::event(event); })) return handled;
  EndModes();  // no drag or pan goes on behind the error box
  event->accept();
  return true;
}

bool TTableGrid::viewportEvent(QEvent* event) {
  bool handled = false;
  if (ShowingErrors([&] { handled = QAbstractScrollArea::viewportEvent(event); })) return handled;
  EndModes();
  event->accept();
  return true;
}

// --- Modes -----------------------------------------------------------------------------------

void TTableGrid::EndModes() {
  switch (mode_) {
    case Mode::Normal:
      return;
    case Mode::Selecting:
      dragTimer_.stop();
      break;
    case Mode::Sizing:
      viewport()->update(SizingLineRect());
      break;
    case Mode::Panning:
      panTimer_.stop();
      viewport()->releaseMouse();
      viewport()->unsetCursor();
      viewport()->update(QRect(panOrigin_ - QPoint(kPanMarkerSize / 2, kPanMarkerSize / 2),
                               QSize(kPanMarkerSize, kPanMarkerSize)));
      break;
  }
  mode_ = Mode::Normal;
}

void TTableGrid::focusOutEvent(QFocusEvent* event) {
  EndModes();
  InvalidateRows(row_, row_);  // the focus cue goes
  EndFind();
  QAbstractScrollArea::focusOutEvent(event);
}

void TTableGrid::hideEvent(QHideEvent* event) {
  EndModes();
  EndFind();
  QAbstractScrollArea::hideEvent(event);
}

void TTableGrid::timerEvent(QTimerEvent* event) {
  if (event->timerId() == dragTimer_.timerId())
    DragTick();
  else if (event->timerId() == panTimer_.timerId())
    PanTick();
  else if (event->timerId() == findTimer_.timerId())
    EndFind();  // the pause: the next key starts a new search
  else
    QAbstractScrollArea::timerEvent(event);
}

// --- Keyboard --------------------------------------------------------------------------------

void TTableGrid::keyPressEvent(QKeyEvent* event) {
  if (mode_ == Mode::Panning) EndModes();  // a key ends pan mode and is then handled as usual
  event->accept();  // keys without an effect go no further either
  if (FindKey(*event)) return;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool extend = (event->modifiers() & Qt::ShiftModifier) && (options_ & goRangeSelect);
  // One page: the rows shown whole below the top row, at least 1.
  const int page = std::max(1, LastFullyVisibleRow() - topRow_);
  switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
      const int step = event->key() == Qt::Key_Up ? -1 : 1;
      if (ctrl)
        SetView(topRow_ + step, leftCol_);
      else
        MoveToRow(row_ + step, extend);
      break;
    }
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: {
      const bool down = event->key() == Qt::Key_PageDown;
      if (ctrl) {
        MoveToRow(down ? LastFullyVisibleRow() : topRow_, extend);
      } else {
        const int top = topRow_ + (down ? page : -page);
        if (MoveToRow(row_ + (down ? page : -page), extend)) {
          SetView(top, leftCol_);
          ScrollToShow(row_);
        }
      }
      break;
    }
    case Qt::Key_Home:
      MoveToRow(FirstDataRow(), false);
      break;
    case Qt::Key_End:
      MoveToRow(LastRow(), false);
      break;
    case Qt::Key_Left:
      SetView(topRow_, leftCol_ - 1);
      break;
    case Qt::Key_Right:
      SetView(topRow_, leftCol_ + 1);
      break;
    case Qt::Key_A:
      if (ctrl) SelectAll();
      break;
    default:
      break;
  }
}

// --- Mouse -----------------------------------------------------------------------------------

void TTableGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  pointer_ = point;
  if (mode_ == Mode::Panning) {
    EndModes();
    if (event->button() == Qt::MiddleButton) return;  // it only ends pan mode
  }
  if (event->button() == Qt::MiddleButton) {
    if (intelliPan_ == ipVertical) StartPan(point);
    return;
  }
  if (event->button() != Qt::LeftButton) return;
  setFocus(Qt::MouseFocusReason);
  pressed_ = true;
  pressPoint_ = point;
  if (options_ & goColSizing) {
    const int col = SizingColumnAt(point);
    if (col >= 0) {
      StartSizing(col, point);
      return;
    }
  }
  const TGridCoord cell = MouseCoord(point);
  if (cell.Row < FirstDataRow()) return;  // outside the cells or in the header
  if (options_ & goEditing) {
    // The current row clicked again raises OnSelectCell too: what the row shows is shown again.
    MoveCurrent(cell.Col, cell.Row, true);
    return;
  }
  if (!(options_ & goRangeSelect)) {
    MoveCurrent(cell.Col, cell.Row, true);
    return;
  }
  if (event->modifiers() & Qt::ShiftModifier)
    MoveAnchor(cell.Col, cell.Row);
  else if (!MoveCurrent(cell.Col, cell.Row, true))
    return;
  mode_ = Mode::Selecting;
  dragTimer_.start(kDragScrollMs, this);
}

void TTableGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  pointer_ = point;
  switch (mode_) {
    case Mode::Selecting:
      DragTo(point);
      break;
    case Mode::Sizing:
      viewport()->update(SizingLineRect());
      sizingX_ = point.x() + sizingOffset_;
      viewport()->update(SizingLineRect());
      break;
    case Mode::Panning:
      break;
    case Mode::Normal:
      if ((options_ & goColSizing) && SizingColumnAt(point) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
      else
        viewport()->unsetCursor();
      break;
  }
}

void TTableGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint point = event->position().toPoint();
  // The end of a resize is no click; a press on a boundary released unmoved is.
  const bool endsResize = mode_ == Mode::Sizing && FinishSizing(point);
  if (mode_ == Mode::Selecting) EndModes();
  const bool wasPressed = std::exchange(pressed_, false);
  const bool edgeDoubleClick = std::exchange(edgeDoubleClick_, false);
  int col = -1;
  if (wasPressed && !endsResize && !edgeDoubleClick && ReleaseSorts(point, col))
    SortByClick(col, event->modifiers() & Qt::ShiftModifier);
}

void TTableGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint point = event->position().toPoint();
  if (event->button() == Qt::LeftButton && mode_ == Mode::Normal && (options_ & goColSizing) &&
      point.y() >= 0 && point.y() < HeaderHeight()) {
    bool nearEdge = false;
    const int col = AutoSizeColumnAt(point, nearEdge);
    if (nearEdge) {
      pressed_ = true;
      edgeDoubleClick_ = true;  // fits a column; its release does not sort
      if (col >= 0) AutoSizeColumn(col);
      return;
    }
  }
  mousePressEvent(event);  // otherwise a second click
}

// --- Drag selection --------------------------------------------------------------------------

// Moves the anchor to the data row under `point`, the nearest row shown when it is outside.
void TTableGrid::DragTo(QPoint point) {
  const std::vector<Span> rows = VisibleRows();
  int row = -1;
  for (const Span& r : rows)
    if (r.Index >= FirstDataRow() && point.y() >= r.Start) row = r.Index;
  if (row < 0) row = std::min(topRow_, LastRow());  // over the header
  if (row != anchorRow_) MoveAnchor(0, row);
}

// Every 60 ms while the left button is down: outside the data area the view scrolls one row
// or column that way, and the anchor follows vertically.
void TTableGrid::DragTick() {
  const int bottom = viewport()->height();
  if (pointer_.y() < HeaderHeight()) {
    SetView(topRow_ - 1, leftCol_);
    if (anchorRow_ != topRow_) MoveAnchor(0, topRow_);
  } else if (pointer_.y() >= bottom) {
    SetView(topRow_ + 1, leftCol_);
    if (anchorRow_ < LastFullyVisibleRow()) MoveAnchor(0, LastFullyVisibleRow());
  }
  if (pointer_.x() < 0)
    SetView(topRow_, leftCol_ - 1);
  else if (pointer_.x() >= viewport()->width())
    SetView(topRow_, leftCol_ + 1);
}

// --- Column sizing and auto-size -------------------------------------------------------------

int TTableGrid::SizingColumnAt(QPoint point) const {
  if (point.y() < 0 || point.y() >= HeaderHeight()) return -1;
  for (const Span& c : VisibleCols()) {
    const int boundary = c.Start + c.Size;
    if (point.x() >= boundary - kSizingZoneLeft && point.x() <= boundary + kSizingZoneRight)
      return c.Index;
  }
  return -1;
}

void TTableGrid::StartSizing(int col, QPoint point) {
  mode_ = Mode::Sizing;
  sizingCol_ = col;
  const int boundary = ColLeft(col) + colWidths_[col];
  sizingOffset_ = boundary - point.x();
  sizingX_ = boundary;
  viewport()->update(SizingLineRect());
}

// From the top of the grid down to the bottom of the last row or of the view, whichever is
// higher up.
QRect TTableGrid::SizingLineRect() const {
  const std::vector<Span> rows = VisibleRows();
  const int bottom = rows.empty() ? 0 : rows.back().Start + rows.back().Size;
  return QRect(sizingX_, 0, 1, std::min(bottom, viewport()->height()));
}

bool TTableGrid::FinishSizing(QPoint point) {
  const int col = sizingCol_;
  const bool moved = point.x() != pressPoint_.x();
  EndModes();
  // A release beyond the grid's right edge cancels.
  if (col >= table_.ColCount() || viewport()->mapTo(this, point).x() >= width()) return moved;
  const int newWidth = point.x() + sizingOffset_ - ColLeft(col);
  if (newWidth > 1) SetColWidths(col, newWidth);
  return moved;
}

int TTableGrid::AutoSizeColumnAt(QPoint point, bool& nearEdge) const {
  nearEdge = false;
  const std::vector<Span> cols = VisibleCols();
  for (const Span& c : cols) {
    if (point.x() < c.Start || point.x() >= c.Start + c.Size) continue;
    if (point.x() - c.Start < kEdgeDistance) {
      nearEdge = true;
      return c.Index - 1;  // the column to its left; none left of the first
    }
    if (c.Start + c.Size - point.x() < kEdgeDistance) {
      nearEdge = true;
      return c.Index;
    }
    return -1;
  }
  // Right of the last column, close to its right edge.
  if (!cols.empty() && cols.back().Index == table_.ColCount() - 1 &&
      point.x() - (cols.back().Start + cols.back().Size) < kEdgeDistance) {
    nearEdge = true;
    return cols.back().Index;
  }
  return -1;
}

// The widest text of the column (header rows in the header font, others in the cell font,
// both zoomed) plus 2 grid lines and 4 pixels, at least 10 pixels.
void TTableGrid::AutoSizeColumn(int col) {
  const QFontMetrics header(ZoomedFont(fixedFont_));
  const QFontMetrics cells(ZoomedFont(cellFont_));
  constexpr int kFlags = Qt::TextSingleLine | Qt::TextExpandTabs;
  int widest = 0;
  for (int row = 0; row < table_.RowCount(); ++row) {
    const std::string& text = table_.Cells(col, row);
    if (text.empty()) continue;
    const QFontMetrics& metrics = row < table_.FixedRows() ? header : cells;
    widest = std::max(widest, metrics.size(kFlags, ShownCellText(text, kAutoSizeChars)).width());
  }
  SetColWidths(col, std::max(10, widest + 2 * gridLineWidth_ + 4));
}

// --- Header-click sorting --------------------------------------------------------------------

// Whether a left release at `release` sorts, and by which column.
bool TTableGrid::ReleaseSorts(QPoint release, int& col) const {
  const int sortRow = sortSettings_.Row;
  const TGridCoord pressed = MouseCoord(pressPoint_);
  const TGridCoord released = MouseCoord(release);
  if (pressed.Row != sortRow || released.Row != sortRow || released.Col < 0) return false;
  if ((options_ & goColSizing) && released.Row == 0) {
    const QRect cell = CellRect(released.Col, released.Row);
    const int toLeft = release.x() - cell.left();
    const int toRight = cell.left() + cell.width() - release.x();
    if (toLeft < kEdgeDistance || toRight < kEdgeDistance) return false;
  }
  if (!HeaderClickSorts(table_, sortSettings_, released.Col)) return false;
  col = released.Col;
  return true;
}

void TTableGrid::SortByClick(int col, bool shift) {
  if (OnCanSort) {
    bool allow = true;
    OnCanSort(*this, col, allow);
    if (!allow) return;
  }
  // The record that was current stays current, in the row it moved to, shown in the view; it
  // is the same record, so no OnSelectCell. A range selection shrinks to that row.
  BeginUpdate();
  int followed = row_;
  try {
    SortByHeaderClick(table_, sortSettings_, sortIndex_, col, shift, CurrentFormatSettings(),
                      &followed);
  } catch (...) {
    EndUpdate();
    throw;
  }
  row_ = anchorRow_ = followed;
  ScrollToShow(row_);
  EndUpdate();
  if (OnClickSort) OnClickSort(*this, sortSettings_.Column);
}

// --- Wheel and zoom --------------------------------------------------------------------------

void TTableGrid::wheelEvent(QWheelEvent* event) {
  event->accept();
  if (!enableWheel_) return;
  // High-resolution wheels and touchpads send parts of a notch: spend whole notches only.
  wheelDelta_ += event->angleDelta().y();
  const bool zoom = intelliZoom_ && (event->modifiers() & Qt::ControlModifier);
  while (wheelDelta_ >= kWheelNotch || wheelDelta_ <= -kWheelNotch) {
    const bool down = wheelDelta_ < 0;  // turned towards the user
    wheelDelta_ += down ? kWheelNotch : -kWheelNotch;
    WheelNotch(down, zoom);
  }
}

// One notch: n rows (the system's wheel setting) that way, or a zoom step of n with Ctrl, then
// one row more. A grid without the focus never moves its current row, so a notch over it cannot
// change what the window shows behind the user's back: it only scrolls its view n rows, or zooms.
void TTableGrid::WheelNotch(bool down, bool zoom) {
  const int step = down ? QApplication::wheelScrollLines() : -QApplication::wheelScrollLines();
  const bool focused = hasFocus();
  if (zoom) {
    Zoom(step);
  } else if (!focused) {
    SetTopRow(topRow_ + step);
  } else {
    const int target = std::clamp(row_ + step, FirstDataRow(), LastRow());
    if (target != row_) MoveCurrent(0, target, true);
  }
  if (focused && (down ? row_ < LastRow() : row_ > FirstDataRow()))
    MoveCurrent(0, row_ + (down ? 1 : -1), true);
}

void TTableGrid::Zoom(int step) {
  if (step == 0 || zoom_ + step < -kZoomLimit || zoom_ + step > kZoomLimit) return;
  zoom_ += step;
  const auto grow = [step](int& size) {
    if (size + step > 0) size += step;
  };
  std::for_each(colWidths_.begin(), colWidths_.end(), grow);
  std::for_each(rowHeights_.begin(), rowHeights_.end(), grow);
  // Rows and columns added later match the zoomed ones.
  grow(defaultColWidth_);
  grow(defaultRowHeight_);
  grow(fixedRowHeight_);
  UpdateScrollBars();
  ScrollToShow(row_);
  RepaintAll();
}

// --- Pan mode --------------------------------------------------------------------------------

void TTableGrid::StartPan(QPoint point) {
  mode_ = Mode::Panning;
  panOrigin_ = point;
  pointer_ = point;
  viewport()->grabMouse(Qt::SizeVerCursor);
  viewport()->setCursor(Qt::SizeVerCursor);
  panTimer_.start(kPanTickMs, this);
  viewport()->update(QRect(point - QPoint(kPanMarkerSize / 2, kPanMarkerSize / 2),
                           QSize(kPanMarkerSize, kPanMarkerSize)));
}

// Every 10 ms in pan mode: one row down while the pointer is more than 5 pixels below the
// press point, one row up while it is more than 5 pixels above.
void TTableGrid::PanTick() {
  const int offset = pointer_.y() - panOrigin_.y();
  if (offset > kPanDeadZone && row_ < LastRow())
    MoveCurrent(0, row_ + 1, true);
  else if (offset < -kPanDeadZone && row_ > FirstDataRow())
    MoveCurrent(0, row_ - 1, true);
}

}  // namespace zenavo
