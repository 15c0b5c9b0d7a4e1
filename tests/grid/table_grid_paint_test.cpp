// What the grid paints: header gradient and bevel, bands, lines, selection, the area beyond
// the cells, the sort indicators, and the texts handed to painting (decoded, cut, clipped).
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <vector>

#include "grid/table_grid_fixture.h"
#include "grid/table_grid_markup.h"
#include "table/table_grid_text.h"

namespace zenavo::testing {
namespace {

// The grey of each content row of a 21-pixel header (19 rows): ten overlapping 3-row bands
// starting 0, 2, 4, 6, 8, 9, 11, 13, 15 and 17 rows down, levels 192 ... 249.
constexpr int kGradientRows[19] = {192, 192, 198, 198, 205, 205, 211, 211, 217, 223,
                                   223, 230, 230, 236, 236, 242, 242, 249, 249};

QColor Grey(int level) { return QColor(level, level, level); }

// The region a widget was asked to paint, while it filters the widget's events.
struct PaintRecorder : QObject {
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) Region += static_cast<QPaintEvent*>(event)->region();
    return false;
  }
  QRegion Region;
};

// Pixels of a header row that differ from the gradient: ink of text or indicators.
int HeaderInk(const QImage& picture, int fromX, int toX) {
  int ink = 0;
  for (int y = 3; y <= 18; ++y)
    for (int x = fromX; x < toX; ++x)
      if (picture.pixelColor(x, y) != Grey(kGradientRows[y - 1])) ++ink;
  return ink;
}

// Bands of round(H / 10) + 1 rows: zoomed headers have gaps of 3 rows between band starts,
// which narrower bands would leave unpainted.
TEST_F(TableGridTest, HeaderGradientHasTenGreyBandsAtEveryHeaderHeight) {
  UsePointingGrid();
  const struct {
    const char* name;
    int wheelDelta;  // Ctrl+wheel notches, 3 pixels each
    std::vector<int> rows;  // the grey of each content row
  } cases[] = {
      {"21-pixel header", 0, std::vector<int>(std::begin(kGradientRows), std::end(kGradientRows))},
      {"zoomed to 24 pixels", -120, {192, 192, 198, 198, 205, 205, 205, 211, 211, 217, 217,
                                     223, 223, 230, 230, 236, 236, 236, 242, 242, 249, 249}},
      {"zoomed to 15 pixels", 360,
       {192, 198, 198, 205, 211, 217, 217, 223, 230, 236, 242, 242, 249}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.wheelDelta != 0) Wheel(c.wheelDelta, Qt::ControlModifier);
    ASSERT_EQ(grid_->RowHeights(0), static_cast<int>(c.rows.size()) + 2);
    const QImage picture = Picture();
    const int x = grid_->CellRect(1, 0).right() - 2;  // right of column 1's text box
    for (std::size_t row = 0; row < c.rows.size(); ++row)
      EXPECT_EQ(picture.pixelColor(x, 1 + row), Grey(c.rows[row])) << "content row " << row;
  }
}

TEST_F(TableGridTest, HeaderBevelIsWhiteAtTopAndLeftAndDarkAtTheBottom) {
  UsePointingGrid();
  const QImage picture = Picture();
  const QColor button = Palette(QPalette::Button);
  const QColor halved(button.red() >> 1, button.green() >> 1, button.blue() >> 1);
  // Column 1: pixel columns 128..191, rows 0..20.
  for (int x = 128; x <= 190; ++x) {
    EXPECT_EQ(picture.pixelColor(x, 0), Grey(255)) << "top, x " << x;
    EXPECT_EQ(picture.pixelColor(x + 1, 20), halved) << "bottom, x " << x + 1;
  }
  for (int y = 0; y <= 19; ++y) EXPECT_EQ(picture.pixelColor(128, y), Grey(255)) << "left, y " << y;
  for (int y = 1; y <= 19; ++y) EXPECT_EQ(picture.pixelColor(191, y), Grey(128)) << "right, y " << y;
}

TEST_F(TableGridTest, DataRowsShowBandsSelectionAndSilverLines) {
  UsePointingGrid();
  grid_->SetRow(3);
  other_->setFocus();  // the selection keeps its colour without the focus
  const QImage picture = Picture();
  const struct {
    int row;
    QColor expected;
  } rows[] = {{1, Palette(QPalette::ToolTipBase)}, {2, Palette(QPalette::Base)},
              {3, Palette(QPalette::Highlight)}, {4, Palette(QPalette::Base)},
              {5, Palette(QPalette::ToolTipBase)}};
  for (const auto& r : rows) {
    const int top = 21 * r.row;
    EXPECT_EQ(picture.pixelColor(189, top + 10), r.expected) << "row " << r.row;
    // The silver line along the bottom and the right of its cells.
    for (int x : {0, 100, 128, 189, 511}) EXPECT_EQ(picture.pixelColor(x, top + 20), QColor(192, 192, 192)) << "row " << r.row << " x " << x;
    for (int y = top; y < top + 21; ++y) EXPECT_EQ(picture.pixelColor(127, y), QColor(192, 192, 192)) << "row " << r.row << " y " << y;
  }
  EXPECT_NE(Palette(QPalette::ToolTipBase), Palette(QPalette::Base));
}

TEST_F(TableGridTest, OnlyTheFocusedGridDotsItsCurrentRow) {
  UsePointingGrid();
  grid_->SetRow(3);
  const QColor highlight = Palette(QPalette::Highlight), dot = Palette(QPalette::HighlightedText);
  ASSERT_NE(highlight, dot);
  // Row 3 spans 63..82 above its line, the cells 0..510 left of their line: the cue 1 inside.
  const int top = 64, bottom = 81, left = 1, right = 509;
  const struct Case {
    const char* name;
    bool focused;
    int dots;  // pixels of the highlight's contrast on the cue's outline
  } cases[] = {
      // Each case moves the focus, so the cue must come or go on the screen too.
      {"unfocused", false, 0},
      {"focused", true, (right - left + 1) + (bottom - top - 1)},
  };
  PaintRecorder painted;
  Viewport()->installEventFilter(&painted);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QApplication::processEvents();
    painted.Region = QRegion();
    (c.focused ? static_cast<QWidget*>(grid_) : other_)->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(painted.Region.contains(QRect(left, top, right - left + 1, bottom - top + 1)))
        << "the current row is repainted";
    const QImage picture = Picture();
    int dots = 0;
    for (int x = left; x <= right; ++x)
      for (int y : {top, bottom}) dots += picture.pixelColor(x, y) == dot;
    for (int y = top + 1; y < bottom; ++y)
      for (int x : {left, right}) dots += picture.pixelColor(x, y) == dot;
    EXPECT_EQ(dots, c.dots);
    // Around the outline the row keeps the highlight, and the other rows have no dots.
    for (QPoint p : {QPoint(0, 70), QPoint(left + 1, top + 1), QPoint(300, 63), QPoint(300, 82)})
      EXPECT_EQ(picture.pixelColor(p), highlight) << p.x() << ", " << p.y();
    EXPECT_EQ(picture.pixelColor(left, 43), Palette(QPalette::Base));
  }
}

TEST_F(TableGridTest, PaintsSharplyAtTwiceThePixelRatio) {
  UsePointingGrid();
  grid_->SetRow(3);
  QImage picture(Viewport()->size() * 2, QImage::Format_RGB32);
  picture.setDevicePixelRatio(2);
  Viewport()->render(&picture);
  // Every logical pixel is 2 x 2 device pixels, with nothing blended at the edges.
  for (int row = 0; row < 19; ++row)
    for (int dy : {0, 1}) EXPECT_EQ(picture.pixelColor(2 * 189, 2 * (1 + row) + dy), Grey(kGradientRows[row])) << "content row " << row;
  for (int dy : {0, 1}) {
    EXPECT_EQ(picture.pixelColor(2 * 100, 2 * 62 + dy), QColor(192, 192, 192));  // row 2's line
    EXPECT_EQ(picture.pixelColor(2 * 128 + dy, 0), Grey(255));                    // bevel top
  }
  EXPECT_EQ(picture.pixelColor(2 * 100, 2 * 62 - 1), Palette(QPalette::Base));
  EXPECT_EQ(picture.pixelColor(2 * 100, 2 * 63), Palette(QPalette::Highlight));
}

TEST_F(TableGridTest, TheFirstDataRowIsSelectedAtStartUpWithoutAnEvent) {
  for (auto configure : {ConfigurePointingGrid, ConfigureCityGrid}) {
    TTableGrid grid(&window_);
    int events = 0;
    grid.OnSelectCell = [&events](TTableGrid&, int, int, bool&) { ++events; };
    configure(grid);
    grid.LoadFromCsvFile(configure == ConfigureCityGrid ? ZENAVO_DATA_DIR "/municipios.csv"
                                                        : ZENAVO_DATA_DIR "/satelite.csv");
    grid.show();
    EXPECT_EQ(grid.Row(), 1);
    EXPECT_EQ(grid.Selection(), (TGridRect{0, 1, grid.ColCount() - 1, 1}));
    const QImage picture = grid.viewport()->grab().toImage();
    EXPECT_EQ(picture.pixelColor(300, 31), Palette(QPalette::Highlight));
    EXPECT_EQ(picture.pixelColor(300, 52), Palette(QPalette::Base));
    EXPECT_EQ(events, 0);
  }
}

TEST_F(TableGridTest, TheAreaBeyondTheLastColumnAndRowHasTheGridColour) {
  UsePointingGrid(2);
  const QImage picture = Picture();
  const QColor window = Palette(QPalette::Base);
  EXPECT_EQ(picture.pixelColor(515, 10), window);  // columns end at 512
  EXPECT_EQ(picture.pixelColor(528, 40), window);
  EXPECT_EQ(picture.pixelColor(10, 63), window);   // rows end at 63
  EXPECT_EQ(picture.pixelColor(300, 140), window);
}

TEST_F(TableGridTest, PaintsOnlyTheCellsTheUpdateCovers) {
  UsePointingGrid();
  TextRecorder recorder(Viewport()->width(), Viewport()->height());
  // Cells (1, 2) and (2, 2) only: 128..255 x 42..62.
  Viewport()->render(&recorder, QPoint(), QRegion(150, 45, 60, 10));
  std::vector<QString> texts;
  for (const TextRecorder::Item& item : recorder.Items()) texts.push_back(item.Text);
  EXPECT_EQ(texts, (std::vector<QString>{"2", "c2r2"}));
}

// --- Sort indicators ---------------------------------------------------------------------------

TEST_F(TableGridTest, PlainModeArrowIsOutlinedInWhiteAndGrey) {
  UseCityGrid();
  const QColor white = Grey(255), grey = Grey(128);
  const struct Case {
    const char* name;
    std::string caption;
    TSortDirection direction;
    int x;  // the arrow's centre; y is always 9 (header content top 1 + 8)
  } cases[] = {
      // No caption: the centre is 10 right of the content's left edge (1).
      {"ascending, empty caption", "", sdAscending, 11},
      {"descending, empty caption", "", sdDescending, 11},
      // A caption wider than the cell: the centre stays 6 left of the content's right edge.
      {"ascending, long caption", std::string(60, 'W'), sdAscending, 1 + 190 - 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    grid_->SetCells(0, 0, c.caption);
    TSortSettings sort = grid_->SortSettings();
    sort.Direction = c.direction;
    grid_->SetSortSettings(sort);
    const QImage picture = Picture();
    const int x = c.x, y = 9;
    const bool up = c.direction == sdAscending;
    const int flat = up ? y + 4 : y - 4;  // the horizontal edge
    for (int dx = -4; dx <= 3; ++dx)
      EXPECT_EQ(picture.pixelColor(x + dx, flat), up ? white : grey) << "flat edge dx " << dx;
    EXPECT_EQ(picture.pixelColor(x + 2, y), white) << "right edge";
    EXPECT_EQ(picture.pixelColor(x - 2, y), grey) << "left edge";
    EXPECT_EQ(picture.pixelColor(x, up ? y - 4 : y + 4), grey) << "tip";
    EXPECT_EQ(picture.pixelColor(x, y), Grey(kGradientRows[y - 1])) << "hollow";
  }
}

TEST_F(TableGridTest, IndexModeTriangleIsYellowWithItsNumberAtItsPlace) {
  UsePointingGrid();
  grid_->SetCells(2, 0, "");
  const int x = 192 + 1 + 10, y = 9;  // column 2's content starts at 193
  QFont numberFont = grid_->FixedFont();
  numberFont.setPointSize(6);
  const double ascent = QFontMetricsF(numberFont).ascent();
  const QColor yellow(255, 255, 0);
  const struct Case {
    const char* name;
    int numberTop;
    std::vector<QPoint> yellowPixels;
    QPoint outline;
  } cases[] = {
      {"ascending", y - 2, {{x - 4, y + 6}, {x + 4, y + 6}}, {x, y + 8}},
      {"descending", y - 4, {{x - 4, y - 3}, {x + 4, y - 3}}, {x, y - 5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Click(QPoint(224, 10));  // the middle of column 2's header: sorts, then flips
    const QImage picture = Picture();
    for (QPoint p : c.yellowPixels) EXPECT_EQ(picture.pixelColor(p), yellow) << p.x() << "," << p.y();
    EXPECT_EQ(picture.pixelColor(c.outline), Grey(249));
    int numbers = 0;
    for (const TextRecorder::Item& item : PaintedTexts()) {
      if (item.Text != "1" || item.Baseline.y() > 21) continue;
      ++numbers;
      EXPECT_EQ(item.Baseline.x(), x - 2);
      EXPECT_DOUBLE_EQ(item.Baseline.y() - ascent, c.numberTop);
      EXPECT_EQ(item.Font.pointSize(), 6);
      EXPECT_EQ(item.Color, QColor(Qt::black));
    }
    EXPECT_EQ(numbers, 1);
  }
}

TEST_F(TableGridTest, TheSortColumnsHeaderTextIsClipped14PixelsEarlier) {
  UsePointingGrid();  // column 0 is SortSettings.Column; index mode draws no indicator on it
  grid_->SetCells(0, 0, std::string(40, 'W'));
  grid_->SetCells(1, 0, std::string(40, 'W'));
  const QImage picture = Picture();
  // Column 0: text box 3..110 (its right edge 14 pixels in); column 1: 131..188.
  EXPECT_GT(HeaderInk(picture, 97, 111), 0);
  EXPECT_EQ(HeaderInk(picture, 111, 127), 0);
  EXPECT_GT(HeaderInk(picture, 175, 189), 0);
  EXPECT_EQ(HeaderInk(picture, 189, 191), 0);
}

TEST_F(TableGridTest, DataTextIsClippedToItsCell) {
  UsePointingGrid();
  grid_->SetCells(1, 2, std::string(40, 'W'));
  grid_->SetCells(2, 2, "");
  const QImage picture = Picture();
  const QColor band = Palette(QPalette::Base);  // row 2
  int outside = 0;
  for (int y = 42; y < 62; ++y)
    for (int x = 189; x < 255; ++x)
      if (x != 191 && picture.pixelColor(x, y) != band) ++outside;
  EXPECT_EQ(outside, 0);
}

// --- Texts ---------------------------------------------------------------------------------------

TEST(ClassifyCellText, FormattedTextNeedsItsTagsInUpperCase) {
  const struct {
    const char* text;
    bool enableHtml;
    CellTextKind expected;
  } cases[] = {
      {"", true, CellTextKind::Plain},
      {"x", true, CellTextKind::Plain},
      {"=<B>x</B>", true, CellTextKind::Plain},
      {"{\\rtf1 x}", true, CellTextKind::RichText},
      {"|\\x", true, CellTextKind::Special},
      {"<B>x", true, CellTextKind::Formatted},
      {"a <I>b", true, CellTextKind::Formatted},
      {"x</u>", true, CellTextKind::Formatted},
      {"<b>x", true, CellTextKind::Plain},
      {"<i>x", true, CellTextKind::Plain},
      {"<B>x", false, CellTextKind::Plain},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ClassifyCellText(c.text, c.enableHtml), c.expected) << "\"" << c.text << "\"";
}

TEST_F(TableGridTest, CellsShowDecodedTextUpToTheFirstCarriageReturn) {
  UsePointingGrid();
  const struct {
    const char* name;
    std::string bytes;
    QString shown;
    bool bold;
  } cases[] = {
      {"UTF-8", "Posi\xC3\xA7\xC3\xA3o", u"Posição"_qs, false},
      {"Latin-1", "S\xE3o Paulo", u"São Paulo"_qs, false},
      {"carriage return", "antes\rdepois", "antes", false},
      {"CR LF", "A\r\nB", "A", false},
      {"ampersand", "P&D", "P&D", false},
      {"equals sign first", "=<B>x</B>", "=<B>x</B>", false},
      {"lower-case tag", "<b>x", "<b>x", false},
      {"formatted", "<B>negrito</B>", "negrito", true},
      {"formatted, coloured", "<FONT color=\"#FF0000\">x</FONT>", "x", false},
      {"formatted, broken tag", "<B>a <X> b", "a <X> b", true},
      {"rich text shown plain", "{\\rtf1 x}", "{\\rtf1 x}", false},
  };
  for (const auto& c : cases) {
    grid_->SetCells(2, 3, c.bytes);
    EXPECT_EQ(PaintedText(2, 3), c.shown) << c.name;
    for (const TextRecorder::Item& item : PaintedTexts()) {
      if (grid_->CellRect(2, 3).contains(item.Baseline.toPoint())) {
        EXPECT_EQ(item.Font.bold(), c.bold) << c.name;
      }
    }
  }
}

// Every text starts 3 pixels right of and 3 pixels below its cell's top-left corner (2 into the
// content, which lies 1 in), in the colour of its row.
TEST_F(TableGridTest, TextsStartThreePixelsIntoTheirCellsInTheirRowsColours) {
  UsePointingGrid();
  const QColor text = Palette(QPalette::Text), selected = Palette(QPalette::HighlightedText);
  EXPECT_NE(text, selected);
  int headers = 0;
  for (const TextRecorder::Item& item : PaintedTexts()) {
    SCOPED_TRACE(item.Text.toStdString());
    const TGridCoord at = grid_->MouseCoord(item.Baseline.toPoint() - QPoint(0, 5));
    const QRect cell = grid_->CellRect(at.Col, at.Row);
    EXPECT_EQ(item.Color, at.Row == 1 ? selected : text);
    EXPECT_EQ(item.Baseline.x(), cell.left() + 3);
    EXPECT_DOUBLE_EQ(item.Baseline.y() - QFontMetricsF(item.Font).ascent(), cell.top() + 3);
    headers += at.Row == 0;
  }
  EXPECT_EQ(headers, 7);
}

TEST_F(TableGridTest, CityFileShowsItsUtf8Names) {
  UseCityGrid();
  grid_->LoadFromCsvFile(ZENAVO_DATA_DIR "/municipios.csv");
  EXPECT_EQ(PaintedText(0, 1), u"Acrelândia"_qs);
  EXPECT_EQ(PaintedText(0, 3), u"Brasiléia"_qs);
}

TEST(ShownCellText, CutsLongTextsWithoutChangingTheirDecoding) {
  const std::string utf8Char = "\xC3\xA7";  // ç
  const struct {
    const char* name;
    std::string bytes;
    int maxChars;
    QString expected;
  } cases[] = {
      {"short", "abc", 10, "abc"},
      {"cut to the characters that can show", "abcdef", 3, "abc"},
      {"long UTF-8 stays UTF-8", std::string(5000, 'a') + utf8Char, 2, "aa"},
      {"long UTF-8 cut inside a character", "a" + std::string(20, '\0') + utf8Char + utf8Char, 3,
       QString("a") + QChar(0) + QChar(0)},
      {"invalid far behind: Latin-1 from the start", utf8Char + std::string(5000, 'a') + "\xE7", 2,
       u"Ã§"_qs},
      {"carriage return first", "ab\r" + std::string(5000, 'x'), 10, "ab"},
  };
  for (const auto& c : cases) EXPECT_EQ(ShownCellText(c.bytes, c.maxChars), c.expected) << c.name;
}

TEST(FormattedTextToHtml, KeepsItsFewTagsBalancedAndShowsEverythingElse) {
  const QString open = "<p style=\"white-space:pre\">", close = "</p>";
  const struct {
    const char* name;
    QString markup;
    QString html;  // between the paragraph tags
  } cases[] = {
      {"bold", "<B>x</B> y", "<b>x</b> y"},
      {"any letter case", "<b>x</B><i>y</I><U>z</u>", "<b>x</b><i>y</i><u>z</u>"},
      {"font colour", "<FONT color=\"#FF0000\">r</FONT>", "<font color=\"#ff0000\">r</font>"},
      {"font colour unquoted", "<font COLOR=red>r</font>", "<font color=\"#ff0000\">r</font>"},
      {"font colour unknown", "<FONT color=\"nonsense\">r</FONT>", "<font>r</font>"},
      {"unclosed tags closed at the end", "<B><I>x", "<b><i>x</i></b>"},
      {"end tag closes those opened inside", "<B><I>x</B>y</I>", "<b><i>x</i></b>y"},
      {"end tag without start dropped", "a</B>b", "ab"},
      {"other tags shown", "<IMG src=\"/etc/passwd\">", "&lt;IMG src=&quot;/etc/passwd&quot;&gt;"},
      {"broken tag shown", "<B x", "&lt;B x"},
      {"ampersand shown", "a &amp; b", "a &amp;amp; b"},
      {"line feed as a space", "a\nb", "a b"},
  };
  for (const auto& c : cases) EXPECT_EQ(FormattedTextToHtml(c.markup), open + c.html + close) << c.name;
}

}  // namespace
}  // namespace zenavo::testing
