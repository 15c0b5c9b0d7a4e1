#include "grid/table_grid_accessible.h"

#include <QAccessibleWidget>
#include <QPointer>

#include <cstdint>
#include <unordered_map>

#include "grid/table_grid.h"
#include "ui/accessible_announce.h"
#include "ui/cell_text.h"
#include "ui/error_report.h"

namespace zenavo {

namespace {

class AccessibleGridTable;

// One cell, (col, row) in grid rows: a header cell while row < FixedRows. Its text is read
// from the grid each time it is asked for.
class AccessibleGridCell : public QAccessibleInterface, public QAccessibleTableCellInterface {
 public:
  AccessibleGridCell(TTableGrid* grid, int col, int row) : grid_(grid), col_(col), row_(row) {}

  bool isValid() const override {
    return grid_ && col_ < grid_->ColCount() && row_ < grid_->RowCount();
  }
  QObject* object() const override { return nullptr; }
  QWindow* window() const override { return grid_ ? grid_->window()->windowHandle() : nullptr; }
  QAccessibleInterface* parent() const override {
    return grid_ ? QAccessible::queryAccessibleInterface(grid_.data()) : nullptr;
  }
  QAccessibleInterface* child(int) const override { return nullptr; }
  int childCount() const override { return 0; }
  int indexOfChild(const QAccessibleInterface*) const override { return -1; }
  QAccessibleInterface* childAt(int, int) const override { return nullptr; }

  QString text(QAccessible::Text t) const override {
    if (!isValid() || t != QAccessible::Name) return {};
    return CellTextToQString(grid_->Cells(col_, row_));
  }
  void setText(QAccessible::Text, const QString&) override {}
  QRect rect() const override {
    if (!isValid()) return {};
    const QRect cell = grid_->CellRect(col_, row_);
    return cell.isEmpty() ? QRect()
                          : QRect(grid_->viewport()->mapToGlobal(cell.topLeft()), cell.size());
  }
  QAccessible::Role role() const override {
    return Header() ? QAccessible::ColumnHeader : QAccessible::Cell;
  }
  QAccessible::State state() const override {
    QAccessible::State state;
    if (!isValid()) {
      state.invalid = true;
      return state;
    }
    if (grid_->CellRect(col_, row_).isEmpty()) state.invisible = state.offscreen = true;
    if (Header()) return state;
    state.selectable = state.focusable = true;
    state.selected = isSelected();
    state.focused = grid_->hasFocus() && row_ == grid_->Row() && col_ == grid_->Col();
    return state;
  }
  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableCellInterface && !Header())
      return static_cast<QAccessibleTableCellInterface*>(this);
    return nullptr;
  }

  bool isSelected() const override {
    if (!isValid() || Header() || !grid_->ShowSelection()) return false;
    const TGridRect selected = grid_->Selection();
    return row_ >= selected.Top && row_ <= selected.Bottom;
  }
  QList<QAccessibleInterface*> columnHeaderCells() const override;
  QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
  int columnIndex() const override { return col_; }
  int rowIndex() const override { return grid_ ? row_ - grid_->FixedRows() : -1; }
  int columnExtent() const override { return 1; }
  int rowExtent() const override { return 1; }
  QAccessibleInterface* table() const override { return parent(); }

 private:
  bool Header() const { return grid_ && row_ < grid_->FixedRows(); }

  QPointer<TTableGrid> grid_;
  int col_, row_;
};

class AccessibleGridTable : public QAccessibleWidget, public QAccessibleTableInterface {
 public:
  explicit AccessibleGridTable(TTableGrid* grid) : QAccessibleWidget(grid, QAccessible::Table) {}
  ~AccessibleGridTable() override { DropCells(); }

  // The cell (col, row) in grid rows, made when first asked for and kept until the table
  // changes as a whole; null outside the table.
  QAccessibleInterface* Cell(int col, int row) const {
    if (col < 0 || row < 0 || col >= Grid().ColCount() || row >= Grid().RowCount()) return nullptr;
    const std::int64_t key = (static_cast<std::int64_t>(row) << 32) | col;
    if (const auto known = cells_.find(key); known != cells_.end())
      return QAccessible::accessibleInterface(known->second);
    auto* cell = new AccessibleGridCell(&Grid(), col, row);
    cells_.emplace(key, QAccessible::registerAccessibleInterface(cell));
    return cell;
  }

  void* interface_cast(QAccessible::InterfaceType t) override {
    if (t == QAccessible::TableInterface) return static_cast<QAccessibleTableInterface*>(this);
    return QAccessibleWidget::interface_cast(t);
  }
  int childCount() const override { return Grid().RowCount() * Grid().ColCount(); }
  QAccessibleInterface* child(int index) const override {
    const int cols = Grid().ColCount();
    return index < 0 ? nullptr : Cell(index % cols, index / cols);
  }
  int indexOfChild(const QAccessibleInterface* child) const override {
    const QAccessibleTableCellInterface* cell =
        child ? const_cast<QAccessibleInterface*>(child)->tableCellInterface() : nullptr;
    if (cell && child->parent() == this)
      return (cell->rowIndex() + Grid().FixedRows()) * Grid().ColCount() + cell->columnIndex();
    for (int col = 0; child && col < Grid().ColCount(); ++col)  // header cells
      for (int row = 0; row < Grid().FixedRows(); ++row)
        if (Cell(col, row) == child) return row * Grid().ColCount() + col;
    return -1;
  }
  QAccessibleInterface* childAt(int x, int y) const override {
    const TGridCoord at = Grid().MouseCoord(Grid().viewport()->mapFromGlobal(QPoint(x, y)));
    return Cell(at.Col, at.Row);
  }
  QAccessibleInterface* focusChild() const override {
    return Grid().hasFocus() ? Cell(Grid().Col(), Grid().Row()) : nullptr;
  }

  QAccessibleInterface* caption() const override { return nullptr; }
  QAccessibleInterface* summary() const override { return nullptr; }
  QAccessibleInterface* cellAt(int row, int column) const override {
    return row < 0 ? nullptr : Cell(column, row + Grid().FixedRows());
  }
  int selectedCellCount() const override { return selectedRowCount() * columnCount(); }
  QList<QAccessibleInterface*> selectedCells() const override {
    QList<QAccessibleInterface*> cells;
    for (int row : selectedRows())
      for (int col = 0; col < columnCount(); ++col) cells.append(cellAt(row, col));
    return cells;
  }
  QString columnDescription(int column) const override {
    return Grid().FixedRows() > 0 ? CellTextToQString(Grid().Cells(column, 0)) : QString();
  }
  QString rowDescription(int) const override { return {}; }
  int columnCount() const override { return Grid().ColCount(); }
  int rowCount() const override { return Grid().RowCount() - Grid().FixedRows(); }
  int selectedColumnCount() const override { return 0; }
  int selectedRowCount() const override { return static_cast<int>(selectedRows().size()); }
  QList<int> selectedColumns() const override { return {}; }
  QList<int> selectedRows() const override {
    QList<int> rows;
    if (!Grid().ShowSelection()) return rows;
    const TGridRect selected = Grid().Selection();
    for (int row = std::max(selected.Top, Grid().FixedRows()); row <= selected.Bottom; ++row)
      rows.append(row - Grid().FixedRows());
    return rows;
  }
  bool isColumnSelected(int) const override { return false; }
  bool isRowSelected(int row) const override { return selectedRows().contains(row); }
  // Moves the current row there, as a click would (the grid's OnSelectCell may refuse).
  bool selectRow(int row) override {
    if (row < 0 || row >= rowCount()) return false;
    ShowingErrors([&] { Grid().SetRow(row + Grid().FixedRows()); });
    return isRowSelected(row);
  }
  bool selectColumn(int) override { return false; }
  bool unselectRow(int) override { return false; }
  bool unselectColumn(int) override { return false; }
  void modelChange(QAccessibleTableModelChangeEvent*) override { DropCells(); }

 private:
  TTableGrid& Grid() const { return *static_cast<TTableGrid*>(widget()); }
  void DropCells() {
    for (const auto& [key, id] : cells_) QAccessible::deleteAccessibleInterface(id);
    cells_.clear();
  }

  mutable std::unordered_map<std::int64_t, QAccessible::Id> cells_;
};

QList<QAccessibleInterface*> AccessibleGridCell::columnHeaderCells() const {
  QList<QAccessibleInterface*> headers;
  auto* table = grid_ ? static_cast<AccessibleGridTable*>(parent()) : nullptr;
  for (int row = 0; table && row < grid_->FixedRows(); ++row)
    headers.append(table->Cell(col_, row));
  return headers;
}

QAccessibleInterface* GridFactory(const QString&, QObject* object) {
  auto* grid = dynamic_cast<TTableGrid*>(object);
  return grid ? new AccessibleGridTable(grid) : nullptr;
}

}  // namespace

void InstallTableGridAccessibility() {
  static const bool installed = (QAccessible::installFactory(GridFactory), true);
  (void)installed;
}

void NotifyAccessibleCurrentRow(TTableGrid& grid) {
  if (!AnnouncingAccessibility()) return;
  const int child = grid.Row() * grid.ColCount() + grid.Col();
  QAccessibleEvent selection(&grid, QAccessible::Selection);
  selection.setChild(child);
  AnnounceAccessibility(selection);
  if (!grid.hasFocus()) return;
  QAccessibleEvent focus(&grid, QAccessible::Focus);
  focus.setChild(child);
  AnnounceAccessibility(focus);
}

void NotifyAccessibleTableReset(TTableGrid& grid) {
  if (!AnnouncingAccessibility()) return;
  QAccessibleTableModelChangeEvent reset(&grid, QAccessibleTableModelChangeEvent::ModelReset);
  AnnounceAccessibility(reset);
}

}  // namespace zenavo
