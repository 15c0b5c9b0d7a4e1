#include "gauges/jog_meter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/form_gauges.h"
#include "gauges/picture_checks.h"
#include "support/widget_test_support.h"

namespace zenavo {
namespace {

using testing::CountPixels;
using testing::Surround;

const QColor kBlack(0, 0, 0), kRed(255, 0, 0);

QColor Grey(int level) { return QColor(level, level, level); }

TEST(JogPixel, RoundsHalvesToEven) {
  EXPECT_EQ(JogPixel(10, 1, 4), 2);    // 2.5
  EXPECT_EQ(JogPixel(10, 3, 4), 8);    // 7.5
  EXPECT_EQ(JogPixel(10, -1, 4), -2);  // -2.5
  EXPECT_EQ(JogPixel(362, 4.7, 60), 28);
  EXPECT_EQ(JogPixel(362, 5, 0), 0);   // no aperture
}

class ElevationScale : public ::testing::Test {
 protected:
  void SetUp() override { ApplyElevationScaleSettings(scale_); }
  TJogMeter scale_;
};

TEST_F(ElevationScale, GradientIsDarkAtTheEndsAndBrightInTheMiddle) {
  scale_.Scale().SetVisible(false);
  scale_.Value().SetVisible(false);
  const QImage frame = scale_.RenderFrame();
  ASSERT_EQ(frame.size(), QSize(40, 362));
  const struct {
    int row, level;
  } rows[] = {{0, 0}, {90, 126}, {181, 255}, {271, 128}, {361, 1}};
  for (const auto& r : rows)
    for (int x : {0, 20, 39}) EXPECT_EQ(frame.pixelColor(x, r.row), Grey(r.level)) << r.row;
}

// The main window's strip: 362 rows showing 60 degrees centred on the value, long ticks
// (15 px) at multiples of 5, short ticks (10 px) at the other whole degrees, labels from x = 15.
constexpr double kValues[] = {0.0, 45.3, -12.5};

// The gradient's grey level at row y: black at both ends, white at row 181.
int GradientLevel(int y) { return 255 * (y < 181 ? y : 362 - y) / 181; }

// The row of value v when the strip shows `value`.
int RowOf(double v, double value) { return JogPixel(362, v - (value - 30), 60); }

TEST_F(ElevationScale, TicksAndTheRedLineLieOverTheGradient) {
  // Columns 0..14, every row: black ticks from the left edge, the red line at row 181, the
  // gradient everywhere else. The labels start right of these columns. The red line goes on
  // across the whole strip.
  for (double value : kValues) {
    scale_.Value().SetValue(value);
    const QImage frame = scale_.RenderFrame();
    std::vector<int> tickLength(362, 0);
    for (int v = static_cast<int>(std::ceil(value - 30)); v <= value + 30; ++v) {
      const int row = RowOf(v, value);
      if (row >= 0 && row < 362) tickLength[row] = v % 5 == 0 ? 15 : 10;
    }
    int wrong = 0;
    for (int y = 0; y < 362; ++y)
      for (int x = 0; x < 15; ++x) {
        const QColor expected =
            y == 181 ? kRed : (x < tickLength[y] ? kBlack : Grey(GradientLevel(y)));
        if (frame.pixelColor(x, y) != expected && ++wrong <= 5)
          ADD_FAILURE() << "value " << value << ": (" << x << ", " << y << ") is "
                        << frame.pixelColor(x, y).name().toStdString() << ", expected "
                        << expected.name().toStdString();
      }
    EXPECT_EQ(wrong, 0) << "value " << value;
    for (int x = 15; x < 40; ++x) EXPECT_EQ(frame.pixelColor(x, 181), kRed) << x;
  }
}

TEST_F(ElevationScale, LabelsAreInkedRightOfTheTicksCentredOnTheirRows) {
  // Each label of a multiple of 5 sits in a box from x = 15, as wide as its text and one text
  // height tall, centred on its tick's row. Black text shows where the gradient is light
  // (rows with a grey level of 100 or more).
  const QFontMetrics metrics(scale_.font());
  const QRect labelColumns(15, 0, 25, 362);
  for (double value : kValues) {
    scale_.Value().SetValue(value);
    const QImage frame = scale_.RenderFrame();
    // Ink: at least 64 levels darker than the gradient of its row.
    const auto isInk = [](QPoint at, QColor c) {
      const int limit = GradientLevel(at.y()) - 64;
      return c.red() <= limit && c.green() <= limit && c.blue() <= limit;
    };
    int checked = 0;
    for (int v = static_cast<int>(std::ceil((value - 30) / 5)) * 5; v <= value + 30; v += 5) {
      const int row = RowOf(v, value);
      if (row < 0 || GradientLevel(row) < 100) continue;
      const QString text = QString::number(v);
      const int h = metrics.height();
      const QRect box(15, row - h / 2, metrics.horizontalAdvance(text), h);
      EXPECT_GT(CountPixels(frame, box, isInk), 0) << "label " << v << " at value " << value;
      EXPECT_EQ(CountPixels(frame, Surround(box, 4) & labelColumns, isInk), 0)
          << "around label " << v << " at value " << value;
      ++checked;
    }
    EXPECT_GE(checked, 6) << "value " << value;
  }
}

TEST_F(ElevationScale, OnlyChangesRepaint) {
  const int repaints = scale_.RepaintRequests();
  scale_.Value().SetValue(0.0);
  scale_.Scale().SetStep(5.0);
  scale_.SetFromColor(clBlack);
  EXPECT_EQ(scale_.RepaintRequests(), repaints);
  scale_.Value().SetValue(12.0);
  scale_.Scale().SetHeightMin(9);
  scale_.Value().SetColor(clBlue);
  scale_.SetShowCaption(true);
  EXPECT_EQ(scale_.RepaintRequests(), repaints + 4);

  scale_.BeginLoading();
  scale_.Value().SetValue(20.0);
  scale_.SetDirection(gdHorizontal);  // no swap while loading
  EXPECT_EQ(scale_.RepaintRequests(), repaints + 4);
  EXPECT_EQ(scale_.size(), QSize(40, 362));
  scale_.EndLoading();
  EXPECT_EQ(scale_.RepaintRequests(), repaints + 5);
  scale_.SetDirection(gdVertical);  // outside loading: width and height swap
  EXPECT_EQ(scale_.size(), QSize(362, 40));
}

TEST_F(ElevationScale, HorizontalScaleAndOtherIndicatorsDraw) {
  scale_.SetDirection(gdHorizontal);
  scale_.Value().SetValue(10);
  QImage frame = scale_.RenderFrame();
  EXPECT_EQ(frame.size(), QSize(362, 40));
  for (int y = 0; y < 40; ++y) EXPECT_EQ(frame.pixelColor(181, y), kRed) << y;
  scale_.Value().SetShape(isTriangle);
  frame = scale_.RenderFrame();
  EXPECT_EQ(frame.pixelColor(181, 2), kRed);
  EXPECT_NE(frame.pixelColor(181, 30), kRed);
  scale_.Value().SetShape(isBitmap);
  scale_.Value().SetBitmap(QImage());  // empty: the built-in pin
  EXPECT_FALSE(scale_.Value().Bitmap().isNull());
  frame = scale_.RenderFrame();
  EXPECT_NE(frame.pixelColor(181, 2), kRed);
}

TEST(ElevationScalePicture, IsWrittenToTheBuildTree) {
  TJogMeter scale;
  ApplyElevationScaleSettings(scale);
  scale.Value().SetValue(45.3);
  ASSERT_TRUE(testing::SavePictureToLookAt(scale.RenderFrame(), "jog_meter.png"));
}

}  // namespace
}  // namespace zenavo
