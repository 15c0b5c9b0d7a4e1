// TTableGrid for assistive technologies (screen readers, through Qt's accessibility bridge):
// the grid is a table whose children are its cells row by row, the header row's cells first
// (column headers), then the data rows. The table interface counts data rows only; the
// selected rows are the grid's selection, the focused cell the current cell.
#pragma once

namespace zenavo {

class TTableGrid;

// Registers the grid's accessible interface with Qt, once; later calls do nothing.
void InstallTableGridAccessibility();

// Announces that the current row of `grid` moved: the current cell is selected and, when the
// grid has the focus, focused. Nothing while no assistive technology listens.
void NotifyAccessibleCurrentRow(TTableGrid& grid);
// Announces that the rows, columns or texts of `grid` changed as a whole.
void NotifyAccessibleTableReset(TTableGrid& grid);

}  // namespace zenavo
