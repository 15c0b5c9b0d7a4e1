// TTableGrid painting: every cell the update rectangle covers, row by row, then the area beyond
// the last column and row in Color; the focus cue, the dotted sizing line and the pan marker on
// top.
#include <QAbstractTextDocumentLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "grid/table_grid.h"
#include "grid/table_grid_markup.h"
#include "table/table_grid_text.h"
#include "ui/colors.h"
#include "ui/geometry.h"
#include "ui/pens.h"

namespace zenavo {

namespace {

const QColor kHeaderLineGrey(128, 128, 128);
const QColor kWhite(255, 255, 255);
// The header gradient: 10 bands from silver down to nearly white.
constexpr int kGradientBands = 10;
constexpr int kGradientTopLevel = 192;
// The last band's grey, the pen colour the index triangles are outlined in.
const QColor kGradientLastBand(249, 249, 249);
// Room kept right of the sort column's header text for the indicator.
constexpr int kIndicatorRoom = 14;

// Round to nearest, halves to even, of a product taken in extended precision: the band starts
// and grey levels the header gradient is specified with (n x 1.9 for n = 5 gives 9, not 10).
int RoundProduct(int n, double step) {
  return static_cast<int>(std::nearbyint(static_cast<long double>(n) * step));
}

void PaintHeaderGradient(QPainter& painter, const QRect& content) {
  const int height = content.height();
  const double step = height / 10.0;
  const double levelStep = (255 - kGradientTopLevel) / 10.0;
  const int bandRows = static_cast<int>(std::nearbyint(step)) + 1;
  painter.save();
  painter.setClipRect(content, Qt::IntersectClip);
  for (int n = 0; n < kGradientBands; ++n) {
    const int level = kGradientTopLevel + RoundProduct(n, levelStep);
    const int top = content.top() + RoundProduct(n, step);
    painter.fillRect(QRect(content.left(), top, content.width(), bandRows), QColor(level, level, level));
  }
  painter.restore();
}

// The header bevel on the cell L..R-1, T..B-1: white top row and left column, the bottom row in
// the header colour halved; the right column keeps its grey line between them.
void PaintHeaderBevel(QPainter& painter, const QRect& cell, const QColor& fixedColor) {
  const QColor dark(fixedColor.red() >> 1, fixedColor.green() >> 1, fixedColor.blue() >> 1);
  const int l = cell.left(), t = cell.top(), r = l + cell.width(), b = t + cell.height();
  painter.fillRect(zenavo::Box(l, b - 1, r, b), dark);
  painter.fillRect(zenavo::Box(l, t, r, t + 1), kWhite);
  painter.fillRect(zenavo::Box(l, t, l + 1, b - 1), kWhite);
}

// A line of single pixels from `from` up to but not including `to`, whatever its direction
// (Qt's flat-capped lines leave out their lower end instead): the outlines of the sort arrow
// are drawn as one path of such lines, each starting where the last one stopped.
void DrawLineToExclusive(QPainter& painter, QPoint from, QPoint to, const QColor& color) {
  const int dx = to.x() - from.x(), dy = to.y() - from.y();
  const int steps = std::max(std::abs(dx), std::abs(dy));
  for (int i = 0; i < steps; ++i) {
    const int x = from.x() + static_cast<int>(std::lround(static_cast<double>(dx) * i / steps));
    const int y = from.y() + static_cast<int>(std::lround(static_cast<double>(dy) * i / steps));
    painter.fillRect(QRect(x, y, 1, 1), color);
  }
}

void DrawFormattedText(QPainter& painter, const QRect& box, const QString& text, const QFont& font,
                       const QColor& color) {
  QTextDocument document;
  document.setDocumentMargin(0);
  document.setDefaultFont(font);
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  document.setDefaultTextOption(option);
  document.setHtml(FormattedTextToHtml(text));
  QAbstractTextDocumentLayout::PaintContext context;
  context.palette.setColor(QPalette::Text, color);
  context.clip = QRectF(0, 0, box.width(), box.height());
  painter.save();
  painter.setClipRect(box, Qt::IntersectClip);
  painter.translate(box.topLeft());
  document.documentLayout()->draw(&painter, context);
  painter.restore();
}

// Draws a cell's text in `box`, clipped to it: one line, left and top aligned, tabs expanded,
// "&" as it stands. Gives the width of the shown text in `width` when asked.
void DrawCellText(QPainter& painter, const QRect& box, std::string_view cell, bool enableHtml,
                  const QFont& font, const QColor& color, int* width = nullptr) {
  if (cell.empty() || box.width() <= 0 || box.height() <= 0) return;
  constexpr int kFlags = Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextExpandTabs;
  QString text;
  if (ClassifyCellText(cell, enableHtml) == CellTextKind::Formatted) {
    // Markup takes characters that do not show: allow for it.
    text = ShownCellText(cell, 4 * box.width() + 256);
    DrawFormattedText(painter, box, text, font, color);
  } else {
    // Every character that shows takes at least one pixel.
    text = ShownCellText(cell, box.width() + 32);
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(box, kFlags, text);
  }
  if (width) *width = QFontMetrics(font).size(kFlags, text).width();
}

// A dotted rectangle along the inside of `box`: every other pixel, as a checkerboard, so the
// dots of the four sides meet at the corners. One fill per dot: sharp at any pixel ratio.
void PaintFocusCue(QPainter& painter, const QRect& box, const QColor& color) {
  if (box.width() < 2 || box.height() < 2) return;
  const int l = box.left(), t = box.top(), r = box.right(), b = box.bottom();
  const auto dot = [&](int x, int y) {
    if ((x + y) % 2 == 0) painter.fillRect(QRect(x, y, 1, 1), color);
  };
  for (int x = l; x <= r; ++x) {
    dot(x, t);
    dot(x, b);
  }
  for (int y = t + 1; y < b; ++y) {
    dot(l, y);
    dot(r, y);
  }
}

}  // namespace

// The colours and fonts of one paint, resolved from the palette now.
struct TTableGrid::Look {
  QColor color, fixedColor, fixedFontColor, cellFontColor, gridLine, selection, selectionText;
  QColor primary, secondary, indexColor;
  QFont cellFont, fixedFont;
  TGridRect selected;
};

QFont TTableGrid::ZoomedFont(const QFont& font) const {
  if (zoom_ == 0) return font;
  QFont zoomed = font;
  if (font.pixelSize() > 0)
    zoomed.setPixelSize(std::max(1, font.pixelSize() + zoom_));
  else
    zoomed.setPointSizeF(std::max(1.0, font.pointSizeF() + zoom_));
  return zoomed;
}

void TTableGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect dirty = event->rect();
  const QPalette& colors = palette();
  Look look;
  look.color = Resolve(color_, colors);
  look.fixedColor = Resolve(fixedColor_, colors);
  look.fixedFontColor = Resolve(fixedFontColor_, colors);
  look.cellFontColor = Resolve(cellFontColor_, colors);
  look.gridLine = Resolve(gridLineColor_, colors);
  look.selection = Resolve(selectionColor_, colors);
  look.selectionText = Resolve(selectionTextColor_, colors);
  look.primary = Resolve(bands_.PrimaryColor, colors);
  look.secondary = Resolve(bands_.SecondaryColor, colors);
  look.indexColor = Resolve(sortSettings_.IndexColor, colors);
  look.cellFont = ZoomedFont(cellFont_);
  look.fixedFont = ZoomedFont(fixedFont_);
  look.selected = Selection();

  const std::vector<Span> rows = VisibleRows();
  const std::vector<Span> cols = VisibleCols();
  for (const Span& r : rows) {
    if (r.Start >= dirty.top() + dirty.height() || r.Start + r.Size <= dirty.top()) continue;
    for (const Span& c : cols) {
      const QRect cell(c.Start, r.Start, c.Size, r.Size);
      if (cell.intersects(dirty)) PaintCell(painter, look, c.Index, r.Index, cell);
    }
  }
  const int right = cols.empty() ? 0 : cols.back().Start + cols.back().Size;
  const int bottom = rows.empty() ? 0 : rows.back().Start + rows.back().Size;
  const int width = viewport()->width(), height = viewport()->height();
  painter.fillRect(zenavo::Box(right, 0, std::max(right, width), height), look.color);
  painter.fillRect(zenavo::Box(0, bottom, right, std::max(bottom, height)), look.color);

  // The grid that has the keyboard focus dots its current row, one pixel inside its cells, in
  // the colour of the text on it (the highlight's contrast on a selected row).
  if (hasFocus() && !cols.empty()) {
    for (const Span& r : rows) {
      if (r.Index != row_ || r.Index < table_.FixedRows()) continue;
      const bool selected =
          showSelection_ && row_ >= look.selected.Top && row_ <= look.selected.Bottom;
      const int line = gridLineWidth_;
      PaintFocusCue(painter,
                    zenavo::Box(cols.front().Start + 1, r.Start + 1, right - line - 1,
                                r.Start + r.Size - line - 1),
                    selected ? look.selectionText : look.cellFontColor);
    }
  }

  if (mode_ == Mode::Sizing) {
    // Inverts the pixels under its dots, so it shows on every colour.
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_NotDestination);
    QPen dotted(Qt::black, 1, Qt::DotLine);
    dotted.setCapStyle(Qt::FlatCap);
    painter.setPen(dotted);
    const QRect line = SizingLineRect();
    DrawPixelLine(painter, line.topLeft(), QPoint(line.left(), line.top() + line.height()));
    painter.restore();
  }
  if (mode_ == Mode::Panning) {
    // The pan marker: a ring with an arrow up and an arrow down.
    painter.setPen(LinePen(Qt::black));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(panOrigin_, 9, 9);
    painter.setBrush(Qt::black);
    const QPoint o = panOrigin_;
    painter.drawPolygon(QPolygon({o + QPoint(-3, -3), o + QPoint(3, -3), o + QPoint(0, -6)}));
    painter.drawPolygon(QPolygon({o + QPoint(-3, 3), o + QPoint(3, 3), o + QPoint(0, 6)}));
  }
}

void TTableGrid::PaintCell(QPainter& painter, const Look& look, int col, int row,
                           const QRect& cell) const {
  const bool header = row < table_.FixedRows();
  const int l = cell.left(), t = cell.top(), r = l + cell.width(), b = t + cell.height();

  // 1. Colours and font.
  QColor background = look.color;
  QColor textColor = look.cellFontColor;
  if (header) {
    background = look.fixedColor;
    textColor = look.fixedFontColor;
  } else {
    const int period = bands_.PrimaryLength + bands_.SecondaryLength;
    if (bands_.Active && period > 0)
      background = (row - table_.FixedRows()) % period < bands_.PrimaryLength ? look.primary : look.secondary;
    if (showSelection_ && row >= look.selected.Top && row <= look.selected.Bottom) {
      background = look.selection;
      textColor = look.selectionText;
    }
  }
  // 2. The whole cell.
  painter.fillRect(cell, background);
  // 3. Lines along the bottom and the right.
  const int line = header ? 1 : gridLineWidth_;
  const QColor lineColor = header ? kHeaderLineGrey : look.gridLine;
  if (line > 0) {
    if (options_ & (header ? goFixedHorzLine : goHorzLine))
      painter.fillRect(zenavo::Box(l, b - line, r, b), lineColor);
    if (options_ & (header ? goFixedVertLine : goVertLine))
      painter.fillRect(zenavo::Box(r - line, t, r, b), lineColor);
  }
  // 4. The content rectangle.
  const int inset = header ? 1 : gridLineWidth_;
  const QRect content = zenavo::Box(l + inset, t + inset, r - inset, b - inset);
  // 5. The header gradient.
  if (header && !content.isEmpty()) PaintHeaderGradient(painter, content);
  // 6. The text, 2 pixels in from the content's left, right and top.
  const bool sortColumn = header && row == sortSettings_.Row && sortSettings_.Show &&
                          col == sortSettings_.Column;
  const int right = content.left() + content.width() - 2 - (sortColumn ? kIndicatorRoom : 0);
  const QRect box = zenavo::Box(content.left() + 2, content.top() + 2, right, content.top() + content.height());
  int textWidth = 0;
  DrawCellText(painter, box, table_.Cells(col, row), enableHtml_,
               header ? look.fixedFont : look.cellFont, textColor, header ? &textWidth : nullptr);
  if (header) {
    PaintSortIndicator(painter, look, col, content, textWidth);
    // 7. The bevel, last.
    PaintHeaderBevel(painter, cell, look.fixedColor);
  }
}

void TTableGrid::PaintSortIndicator(QPainter& painter, const Look& look, int col,
                                    const QRect& content, int textWidth) const {
  if (!sortSettings_.Show || table_.RowCount() <= 2 || table_.FixedRows() <= 0) return;
  const int position = sortSettings_.IndexShow ? sortIndex_.IndexOf(col) : -1;
  if (sortSettings_.IndexShow ? position < 0 : col != sortSettings_.Column) return;
  // Beside the left-aligned, top-aligned header text, within the cell.
  const int k = std::max(0, std::min(content.width() - 16, textWidth));
  const int x = content.left() + k + 10;
  const int y = content.top() + 8;
  painter.save();
  if (!sortSettings_.IndexShow) {
    // An outlined arrow: up when ascending, down when descending.
    const bool up = sortSettings_.Direction == sdAscending;
    const QPoint a = up ? QPoint(x - 4, y + 4) : QPoint(x + 4, y - 4);
    const QPoint b = up ? QPoint(x + 4, y + 4) : QPoint(x, y + 4);
    const QPoint c = up ? QPoint(x, y - 4) : QPoint(x - 4, y - 4);
    const QPoint d = up ? a : QPoint(x + 4, y - 4);
    DrawLineToExclusive(painter, a, b, kWhite);
    DrawLineToExclusive(painter, b, c, up ? kWhite : kHeaderLineGrey);
    DrawLineToExclusive(painter, c, d, kHeaderLineGrey);
  } else {
    // A filled triangle with the column's 1-based place in the list.
    const bool descending = sortIndex_.Descending(position);
    const QPolygon triangle = descending
        ? QPolygon({QPoint(x - 7, y - 5), QPoint(x + 7, y - 5), QPoint(x, y + 8)})
        : QPolygon({QPoint(x - 6, y + 8), QPoint(x + 6, y + 8), QPoint(x, y - 4)});
    painter.setPen(LinePen(kGradientLastBand));
    painter.setBrush(look.indexColor);
    painter.drawPolygon(triangle);
    QFont numberFont = fixedFont_;
    numberFont.setPointSize(6);
    const QString number = QString::number(position + 1);
    const QFontMetrics metrics(numberFont);
    const QRect numberBox(x - 2, descending ? y - 4 : y - 2, metrics.horizontalAdvance(number),
                          metrics.height());
    painter.fillRect(numberBox, look.indexColor);
    painter.setFont(numberFont);
    painter.setPen(Qt::black);
    painter.drawText(numberBox, Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, number);
  }
  painter.restore();
}

}  // namespace zenavo
