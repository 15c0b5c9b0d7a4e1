// TTableGrid: shows a string table with one fixed header row and lets the user pick whole rows
// with the keyboard, the mouse and the wheel. Columns can be sized (goColSizing), a header click
// sorts the data rows, and the table loads from a delimited file, saves as HTML and prints.
//
// The grid paints every cell itself (header gradient and bevel, bands, selection, lines, text)
// and scrolls by whole rows and columns: a top row and a left column, the header row always
// shown. Geometry is in logical pixels; painting follows the screen's device pixel ratio.
// Cells are (column, row), row 0 the header row. The grid always selects whole rows.
#pragma once

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QString>

#include <functional>
#include <string>
#include <vector>

#include "base/color.h"
#include "base/string_table.h"
#include "table/html_export.h"
#include "table/print_settings.h"
#include "table/sort_settings.h"
#include "table/table_find.h"
#include "ui/property_owner.h"

class QLabel;

namespace zenavo {

// Option switches of a grid, combined with |.
enum TGridOption : unsigned {
  goFixedVertLine = 1u << 0,      // grey line at the right of header cells
  goFixedHorzLine = 1u << 1,      // grey line at the bottom of header cells
  goVertLine = 1u << 2,           // grid line at the right of data cells
  goHorzLine = 1u << 3,           // grid line at the bottom of data cells
  goRangeSelect = 1u << 4,        // Shift and dragging select several rows
  goDrawFocusSelected = 1u << 5,  // the selection keeps its colours without the focus (always so)
  goRowSelect = 1u << 6,          // whole rows are selected (the only selection mode built)
  goColSizing = 1u << 7,          // header column boundaries can be dragged
  goEditing = 1u << 8,            // no drag selection; Shift-click is a plain click
};
using TGridOptions = unsigned;

// Middle-button pan mode.
enum TIntelliPan { ipNone, ipVertical };

// Alternating colours of the data rows: PrimaryLength rows of PrimaryColor, then
// SecondaryLength rows of SecondaryColor, from the first data row on.
struct TBands {
  bool Active = false;
  TColor PrimaryColor = clInfoBk;
  int PrimaryLength = 1;
  TColor SecondaryColor = clWindow;
  int SecondaryLength = 1;
  bool Print = false;  // also on paper
  bool operator==(const TBands&) const = default;
};

// A range of cells, inclusive on every side.
struct TGridRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  bool operator==(const TGridRect&) const = default;
};

// A cell address; -1 where a point lies outside the cells.
struct TGridCoord {
  int Col = -1, Row = -1;
  bool operator==(const TGridCoord&) const = default;
};

class TTableGrid : public QAbstractScrollArea, public TPropertyOwner {
 public:
  explicit TTableGrid(QWidget* parent = nullptr);
  ~TTableGrid() override;

  // --- The table. Reading outside gives the empty text; SetCells outside raises EListError.
  const StringTable& Table() const { return table_; }
  const std::string& Cells(int col, int row) const { return table_.Cells(col, row); }
  void SetCells(int col, int row, std::string text);
  // Runs `edit` on the table (for table routines such as the pointing computation), then
  // brings sizes, current row and view in line with it and repaints once, also when `edit`
  // raises.
  void EditTable(const std::function<void(StringTable&)>& edit);
  int RowCount() const { return table_.RowCount(); }
  // Below 1 becomes 1; a count not above FixedRows lowers FixedRows. The current row and the
  // anchor are clamped into the table without OnSelectCell.
  void SetRowCount(int count);
  int ColCount() const { return table_.ColCount(); }
  void SetColCount(int count);
  int FixedRows() const { return table_.FixedRows(); }
  // Clamped into 0..RowCount-1; the current cell and the view go back to the first data row.
  void SetFixedRows(int count);
  // Header captions, written into row 0 (while FixedRows >= 1) when set and when loading ends.
  const std::vector<std::string>& ColumnHeaders() const { return columnHeaders_; }
  void SetColumnHeaders(std::vector<std::string> headers);

  // --- Geometry in logical pixels.
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  int DefaultColWidth() const { return defaultColWidth_; }
  void SetDefaultColWidth(int width);    // every column, and columns added later
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int height);  // every row, and rows added later
  int FixedRowHeight() const { return fixedRowHeight_; }
  void SetFixedRowHeight(int height);    // the header rows
  // The rectangle of a cell in viewport pixels, or an empty one when it is scrolled away.
  QRect CellRect(int col, int row) const;
  // The cell under a viewport point.
  TGridCoord MouseCoord(QPoint point) const;

  // --- Current cell, selection and view.
  int Row() const { return row_; }
  // Runs the cell-move step for the current column and `row` (nothing when it is the
  // current row); raises ETableGridError "Grid index out of range" outside the grid.
  void SetRow(int row);
  int Col() const { return col_; }
  // The rectangle between the anchor and the current cell: whole rows.
  TGridRect Selection() const;
  int TopRow() const { return topRow_; }
  void SetTopRow(int row);  // clamped to the rows the view can start with
  int LeftCol() const { return leftCol_; }
  void SetLeftCol(int col);
  // The last data row shown whole (TopRow when none is).
  int LastFullyVisibleRow() const;

  // --- Events.
  // Raised before the current cell changes, with the target; clearing canSelect refuses the
  // move. An exception from it ends dragging, autoscroll and pan mode and passes on.
  std::function<void(TTableGrid&, int col, int row, bool& canSelect)> OnSelectCell;
  // Asked before a header-click sort (allow preset true), and told after one.
  std::function<void(TTableGrid&, int col, bool& allow)> OnCanSort;
  std::function<void(TTableGrid&, int col)> OnClickSort;

  // --- Look and behaviour. Writers of equal values do nothing; others store and repaint.
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions options) { StoreAndRepaint(options_, options); }
  TColor Color() const { return color_; }  // data cells without bands, area beyond the cells
  void SetColor(TColor color) { StoreAndRepaint(color_, color); }
  TColor FixedColor() const { return fixedColor_; }  // header cells
  void SetFixedColor(TColor color) { StoreAndRepaint(fixedColor_, color); }
  const QFont& CellFont() const { return cellFont_; }
  TColor CellFontColor() const { return cellFontColor_; }
  void SetCellFont(const QFont& font, TColor color);
  const QFont& FixedFont() const { return fixedFont_; }
  TColor FixedFontColor() const { return fixedFontColor_; }
  void SetFixedFont(const QFont& font, TColor color);
  TColor GridLineColor() const { return gridLineColor_; }
  void SetGridLineColor(TColor color) { StoreAndRepaint(gridLineColor_, color); }
  int GridLineWidth() const { return gridLineWidth_; }
  void SetGridLineWidth(int width);  // 0 and more
  const TBands& Bands() const { return bands_; }
  void SetBands(const TBands& bands);  // lengths below 0 become 0
  TColor SelectionColor() const { return selectionColor_; }
  void SetSelectionColor(TColor color) { StoreAndRepaint(selectionColor_, color); }
  TColor SelectionTextColor() const { return selectionTextColor_; }
  void SetSelectionTextColor(TColor color) { StoreAndRepaint(selectionTextColor_, color); }
  bool ShowSelection() const { return showSelection_; }
  void SetShowSelection(bool on) { StoreAndRepaint(showSelection_, on); }
  // Cells holding "</", "<B" or "<I" are drawn as formatted text.
  bool EnableHTML() const { return enableHtml_; }
  void SetEnableHTML(bool on) { StoreAndRepaint(enableHtml_, on); }
  bool EnableWheel() const { return enableWheel_; }
  void SetEnableWheel(bool on) { enableWheel_ = on; }
  bool IntelliZoom() const { return intelliZoom_; }  // Ctrl+wheel zooms
  void SetIntelliZoom(bool on) { intelliZoom_ = on; }
  TIntelliPan IntelliPan() const { return intelliPan_; }
  void SetIntelliPan(TIntelliPan pan) { intelliPan_ = pan; }
  // The zoom total, -10..10: pixels added to the font sizes.
  int ZoomTotal() const { return zoom_; }

  // --- Type to find (table_grid_find.cpp). Printable keys search column 0, case and accents
  // aside (table/table_find.h); the row found becomes current through the cell-move step.
  // Keys within FindPauseMs of each other extend the text, shown in a tip over the grid;
  // after the pause a new search starts below the current row. Backspace shortens the text,
  // Escape ends the search, no match beeps.
  // The column a typed "name/key" or "name key" narrows by; -1 for none.
  int FindSecondKey() const { return findColumns_.SecondKey; }
  void SetFindSecondKey(int col) { findColumns_.SecondKey = col; }
  static constexpr int kFindPauseMs = 1000;
  // Starts an empty search (the window's Ctrl+F): the tip shows until a key, Escape or
  // the focus leaving.
  void StartFind();
  // The text typed so far; empty when no search runs.
  const QString& FindText() const { return findText_; }

  // --- Sorting by header clicks.
  const TSortSettings& SortSettings() const { return sortSettings_; }
  void SetSortSettings(const TSortSettings& settings);
  const TSortIndexList& SortIndexList() const { return sortIndex_; }

  // --- Files and printing.
  THTMLSettings& HTMLSettings() { return htmlSettings_; }
  TPrintSettings& PrintSettings() { return printSettings_; }
  // Fills the table from a delimited file from cell (0, 0) (table/csv_loader.h); raises
  // ETableGridError "Cannot open file <path>" with the table untouched.
  void LoadFromCsvFile(const std::string& path);
  // Writes the whole table as an HTML table file, system colours resolved from the palette now.
  void ExportHtmlFile(const std::string& fileName) const;
  // Prints every cell on the current printer (CurrentPrinter()).
  void PrintTable();
  // Prints the cells of `cells`; with `selectionOnly` only the selected rows among them.
  void PrintCells(const TGridRect& cells, bool selectionOnly);

  // Suspends painting (nested); the last EndUpdate repaints the whole grid once.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate();

 protected:
  // Every event of the grid and of its viewport enters here: an error a handler throws (an
  // OnSelectCell that fails, say) is shown and the event taken, never thrown on into Qt.
  bool event(QEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void timerEvent(QTimerEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

  void Repaint() override;
  void Loaded() override;

 private:
  enum class Mode { Normal, Selecting, Sizing, Panning };

  // A row or column on screen: its index and its pixel span.
  struct Span {
    int Index, Start, Size;
  };

  int FirstDataRow() const { return table_.FixedRows(); }
  int LastRow() const { return table_.RowCount() - 1; }
  // After any change of the table's counts: sizes, current row, view, scroll bars, repaint.
  void TableResized();
  void ResetCurrent();
  void UpdateScrollBars();
  // After a column width or row height changed: scroll bars and one repaint (not while loading).
  void SizesChanged();
  int HeaderHeight() const;
  int MaxTopRow() const;
  int MaxLeftCol() const;
  int ColLeft(int col) const;
  // The rows on screen, header rows first, and the columns, each partly visible or more.
  std::vector<Span> VisibleRows() const;
  std::vector<Span> VisibleCols() const;
  void ScrollToShow(int row);
  void SetView(int topRow, int leftCol);

  // The cell-move step: OnSelectCell, then the current cell, the anchor (unless extending),
  // the view and the repaint. Returns false when the handler refused.
  bool MoveCurrent(int col, int row, bool moveAnchor);
  // Range extension: the anchor to `row`, no OnSelectCell (a plain move where ranges are off).
  void MoveAnchor(int col, int row);
  // A key, wheel or pan move to `row` clamped into the data rows; nothing when already there.
  bool MoveToRow(int row, bool extend);
  void SelectAll();
  // A repaint of the whole grid, unless painting is suspended (EndUpdate repaints then).
  void RepaintAll() {
    if (updateCount_ == 0) RequestRepaint();
  }
  void InvalidateRows(int first, int last);
  void InvalidateSelectionChange(const TGridRect& before);

  // Input (table_grid_input.cpp).
  void EndModes();
  void StartPan(QPoint point);
  void PanTick();
  void DragTick();
  void DragTo(QPoint point);
  int SizingColumnAt(QPoint point) const;
  void StartSizing(int col, QPoint point);
  // Ends sizing at a release; true when the pointer moved since the press (a resize).
  bool FinishSizing(QPoint point);
  QRect SizingLineRect() const;
  // The column a header double-click at `point` auto-sizes, or -1; `nearEdge` tells whether
  // the point lies within 4 pixels of a header cell edge.
  int AutoSizeColumnAt(QPoint point, bool& nearEdge) const;
  void AutoSizeColumn(int col);
  bool ReleaseSorts(QPoint release, int& col) const;
  void SortByClick(int col, bool shift);
  void WheelNotch(bool down, bool zoom);
  // Type to find (table_grid_find.cpp): true when `event` was a key of the search.
  bool FindKey(const QKeyEvent& event);
  // Moves to the row `text` reaches from row `from` on; false (and a beep) when none does.
  bool SearchFor(const QString& text, int from);
  void EndFind();
  void ShowFindTip();
  void Zoom(int step);

  // Painting (table_grid_paint.cpp).
  struct Look;
  void PaintCell(QPainter& painter, const Look& look, int col, int row, const QRect& cell) const;
  void PaintSortIndicator(QPainter& painter, const Look& look, int col, const QRect& content,
                          int textWidth) const;
  QFont ZoomedFont(const QFont& font) const;

  StringTable table_{5, 5};
  std::vector<int> colWidths_;
  std::vector<int> rowHeights_;
  int defaultColWidth_ = 64;
  int defaultRowHeight_ = 24;
  int fixedRowHeight_ = 24;
  int knownFixedRows_ = 1;
  std::vector<std::string> columnHeaders_;

  int col_ = 0;
  int row_ = 1;
  int anchorRow_ = 1;  // the anchor's column is always the last column
  int topRow_ = 1;
  int leftCol_ = 0;

  TGridOptions options_ = goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine |
                          goRangeSelect | goDrawFocusSelected | goRowSelect;
  TColor color_ = clWindow;
  TColor fixedColor_ = clBtnFace;
  QFont cellFont_;
  TColor cellFontColor_ = clWindowText;
  QFont fixedFont_;
  TColor fixedFontColor_ = clWindowText;
  TColor gridLineColor_ = clSilver;
  int gridLineWidth_ = 1;
  TBands bands_;
  TColor selectionColor_ = clHighlight;
  TColor selectionTextColor_ = clHighlightText;
  bool showSelection_ = true;
  bool enableHtml_ = true;
  bool enableWheel_ = true;
  bool intelliZoom_ = true;
  TIntelliPan intelliPan_ = ipVertical;
  int zoom_ = 0;

  TSortSettings sortSettings_;
  TSortIndexList sortIndex_;
  THTMLSettings htmlSettings_;
  TPrintSettings printSettings_;

  int updateCount_ = 0;
  bool settingView_ = false;

  Mode mode_ = Mode::Normal;
  QBasicTimer dragTimer_;
  QBasicTimer panTimer_;
  QPoint pointer_;           // the last pointer position seen
  QPoint pressPoint_;        // of the left button, for header-click sorting
  bool pressed_ = false;     // the left button went down on this grid
  bool edgeDoubleClick_ = false;
  int sizingCol_ = -1;
  int sizingOffset_ = 0;     // boundary minus pointer at the press
  int sizingX_ = 0;          // where the dotted line stands
  QPoint panOrigin_;
  int wheelDelta_ = 0;       // angle delta not yet spent on a whole notch

  FindColumns findColumns_;
  bool finding_ = false;     // a search runs (the tip is shown)
  QString findText_;
  QBasicTimer findTimer_;    // the pause that ends a search
  QLabel* findTip_ = nullptr;
};

}  // namespace zenavo
