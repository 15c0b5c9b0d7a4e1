// The gauges on a display scaled to 200 % (QT_SCALE_FACTOR=2, common on laptops): each frame
// holds twice the pixels each way and is drawn sharp, not pixel-doubled, with the geometry of
// the logical pixels. The scale factor is read when the application starts, so the checks
// run in a child run of this test program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFontMetrics>
#include <QPixmap>
#include <QProcess>

#include "app/form_gauges.h"
#include "gauges/picture_checks.h"
#include "support/widget_test_support.h"

namespace zenavo {
namespace {

using testing::CountPixels;
using testing::DevicePixels;

const QColor kBlack(0, 0, 0), kRed(255, 0, 0);

bool IsWhiteInk(QPoint, QColor c) { return c.red() >= 128 && c.green() >= 128 && c.blue() >= 128; }

// Whether some 2 x 2 block of device pixels in `area` (aligned on even pixels) is not of one
// colour: a picture drawn at ratio 1 and doubled has none.
bool HasFinerDetailThanDoubledPixels(const QImage& image, const QRect& area) {
  for (int y = area.top() & ~1; y + 1 <= area.bottom(); y += 2)
    for (int x = area.left() & ~1; x + 1 <= area.right(); x += 2) {
      const QRgb c = image.pixel(x, y);
      if (image.pixel(x + 1, y) != c || image.pixel(x, y + 1) != c || image.pixel(x + 1, y + 1) != c)
        return true;
    }
  return false;
}

// All four device pixels of the logical pixel (x, y) have `color`.
bool LogicalPixelIs(const QImage& image, int x, int y, const QColor& color) {
  return CountPixels(image, QRect(2 * x, 2 * y, 2, 2),
                     [&](QPoint, QColor c) { return c == color; }) == 4;
}

void CheckCompassDialAtDoubleScale() {
  TAngularMeter dial;
  ApplyCompassDialSettings(dial, "Norte Geográfico");
  ASSERT_EQ(dial.devicePixelRatioF(), 2.0);
  // The needle still points at the position: a red pixel 100 from the centre in its
  // direction, none in the other three.
  const QPoint at100[] = {{180, 80}, {280, 180}, {180, 280}, {80, 180}};
  for (int quarter = 0; quarter < 4; ++quarter) {
    dial.SetPosition(90.0 * quarter);
    const QImage frame = dial.RenderFrame();
    ASSERT_EQ(frame.size(), QSize(722, 722));
    EXPECT_EQ(frame.devicePixelRatio(), 2.0);
    for (int direction = 0; direction < 4; ++direction) {
      const QPoint p = at100[direction];
      EXPECT_TRUE(LogicalPixelIs(frame, p.x(), p.y(), direction == quarter ? kRed : kBlack))
          << "position " << 90 * quarter << ", looking at (" << p.x() << ", " << p.y() << ")";
    }
  }
  dial.SetPosition(90);
  const QImage frame = dial.RenderFrame();
  // The east label "90", centred at (323, 180), and the caption's first line at row 194.
  const QFontMetrics labels(dial.LabelsFont()), caption(dial.font());
  const int w90 = labels.horizontalAdvance(QStringLiteral("90"));
  const QRect label = DevicePixels(
      QRect(323 - w90 / 2, 180 - labels.height() / 2, w90, labels.height()), 2);
  const int wCaption = caption.horizontalAdvance(QStringLiteral("Norte Geográfico"));
  const QRect title = DevicePixels(QRect(180 - wCaption / 2, 194, wCaption, caption.height()), 2);
  for (const QRect& box : {label, title}) {
    EXPECT_GT(CountPixels(frame, box, IsWhiteInk), 0) << "text at (" << box.x() << ", " << box.y() << ")";
    EXPECT_TRUE(HasFinerDetailThanDoubledPixels(frame, box)) << "text at (" << box.x() << ", " << box.y() << ")";
  }
  // What a paint puts on the screen is the frame itself.
  EXPECT_TRUE(dial.grab().toImage().convertToFormat(QImage::Format_RGB32) == frame);
  testing::SavePictureToLookAt(frame, "angular_meter_200.png");
}

void CheckElevationScaleAtDoubleScale() {
  TJogMeter scale;
  ApplyElevationScaleSettings(scale);
  scale.Value().SetValue(45.3);
  const QImage frame = scale.RenderFrame();
  ASSERT_EQ(frame.size(), QSize(80, 724));
  // The red line across at logical row 181; the long tick of 50 (15 logical pixels) at its row.
  for (int x = 0; x < 40; ++x) EXPECT_TRUE(LogicalPixelIs(frame, x, 181, kRed)) << x;
  const int row50 = JogPixel(362, 50 - 15.3, 60);
  for (int x = 0; x < 15; ++x) EXPECT_TRUE(LogicalPixelIs(frame, x, row50, kBlack)) << x;
  EXPECT_FALSE(LogicalPixelIs(frame, 15, row50, kBlack));
  testing::SavePictureToLookAt(frame, "jog_meter_200.png");
}

// Run only by the test below, in a process started with QT_SCALE_FACTOR=2.
TEST(GaugesAtDoubleScale, DISABLED_Checks) {
  ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
  CheckCompassDialAtDoubleScale();
  CheckElevationScaleAtDoubleScale();
}

TEST(GaugesAtDoubleScale, FramesHoldTwiceThePixelsAndStaySharp) {
  QProcess run;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_SCALE_FACTOR", "2");
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(QCoreApplication::applicationFilePath(),
            {"--gtest_also_run_disabled_tests", "--gtest_filter=GaugesAtDoubleScale.DISABLED_Checks"});
  ASSERT_TRUE(run.waitForFinished(60000));
  const std::string output = run.readAll().toStdString();
  EXPECT_EQ(run.exitCode(), 0) << output;
  EXPECT_NE(output.find("[  PASSED  ] 1 test"), std::string::npos) << output;
}

}  // namespace
}  // namespace zenavo
