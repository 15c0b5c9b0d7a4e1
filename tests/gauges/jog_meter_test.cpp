#include "gauges/jog_meter.h"

#include <gtest/gtest.h>

#include "app/form_gauges.h"
#include "support/widget_test_support.h"

namespace zenavo {
namespace {

const QColor kBlack(0, 0, 0), kRed(255, 0, 0);

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
  QColor Grey(int level) { return QColor(level, level, level); }
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

TEST_F(ElevationScale, TicksScrollWithTheValue) {
  scale_.Value().SetValue(45.3);
  const QImage frame = scale_.RenderFrame();
  // Long ticks (15 px) at rows round(362 * (v - 15.3) / 60) for multiples of 5 from 20 on.
  for (int v = 20; v <= 75; v += 5) {
    const int row = JogPixel(362, v - 15.3, 60);
    for (int x = 0; x <= 14; ++x) EXPECT_EQ(frame.pixelColor(x, row), kBlack) << v << " x " << x;
  }
  // Short ticks (10 px) at the other units: black to x = 9, the gradient from x = 10 on.
  for (int v : {21, 33, 52, 74}) {
    const int row = JogPixel(362, v - 15.3, 60);
    EXPECT_EQ(frame.pixelColor(9, row), kBlack) << v;
    EXPECT_NE(frame.pixelColor(11, row), kBlack) << v;
  }
  // The red line across the whole strip at row 181.
  for (int x = 0; x < 40; ++x) EXPECT_EQ(frame.pixelColor(x, 181), kRed) << x;
  // Labels from 20 to 75; the label of 15 (pixel -2) is skipped.
  std::vector<std::string> labels;
  for (const auto& label : scale_.LastLabels()) labels.push_back(label.text);
  EXPECT_EQ(labels, (std::vector<std::string>{"20", "25", "30", "35", "40", "45", "50", "55",
                                              "60", "65", "70", "75"}));
}

TEST_F(ElevationScale, AtZeroTheWindowRunsFromMinusThirtyToThirty) {
  const QImage frame = scale_.RenderFrame();
  const auto& labels = scale_.LastLabels();
  ASSERT_EQ(labels.size(), 13u);
  EXPECT_EQ(labels.front().text, "-30");
  EXPECT_EQ(labels.front().pixel, 0);
  EXPECT_EQ(labels.back().text, "30");
  EXPECT_EQ(labels.back().pixel, 362);  // a tick at the length is drawn
  EXPECT_EQ(frame.pixelColor(5, 0), kBlack);
}

TEST_F(ElevationScale, NegativeValuesScrollLikeAnyOther) {
  scale_.Value().SetValue(-12.5);
  scale_.RenderFrame();
  EXPECT_EQ(scale_.LastLabels().front().text, "-40");
  EXPECT_EQ(scale_.LastLabels().front().pixel, JogPixel(362, -40 + 42.5, 60));
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
