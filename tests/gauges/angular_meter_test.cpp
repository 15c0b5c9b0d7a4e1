#include "gauges/angular_meter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/form_gauges.h"
#include "base/exceptions.h"
#include "gauges/picture_checks.h"
#include "support/expect_error.h"
#include "support/widget_test_support.h"

namespace zenavo {
namespace {

using testing::CountPixels;
using testing::ExpectError;
using testing::Surround;

const QColor kBlack(0, 0, 0), kWhite(255, 255, 255), kRed(255, 0, 0), kGreen(0, 128, 0),
    kBlue(0, 0, 255);

// The main window's dial, centre (180, 180), inner radius 120, ring out to 134.
class CompassDial : public ::testing::Test {
 protected:
  void SetUp() override { ApplyCompassDialSettings(dial_, "Norte Geográfico"); }

  QColor Pixel(const QImage& image, int x, int y) { return image.pixelColor(x, y); }
  // The dial point at dial angle `angle` and distance `r`: offsets cut toward zero.
  static QPoint DialPoint(double angle, double r) {
    const double rad = angle * M_PI / 180;
    return QPoint(180 + static_cast<int>(std::trunc(r * std::sin(rad))),
                  180 - static_cast<int>(std::trunc(r * std::cos(rad))));
  }
  QColor At(const QImage& image, double angle, double r) {
    return image.pixelColor(DialPoint(angle, r));
  }
  // The box of the k-th label (value 45 k at angle 360 + 45 k): its text's advance and height
  // in the label font, centred on the dial point at radius b + LabelsOffset.
  QRect LabelBox(int k) const {
    const QFontMetrics metrics(dial_.LabelsFont());
    const QString text = QString::number(45 * k);
    const QPoint at = DialPoint(360 + 45.0 * k, 120 + dial_.LabelsOffset());
    const int w = metrics.horizontalAdvance(text), h = metrics.height();
    return QRect(at.x() - w / 2, at.y() - h / 2, w, h);
  }

  TAngularMeter dial_;
};

TEST_F(CompassDial, ZoneRingIsGreenOnTheRightAndBlueOnTheLeft) {
  const QImage frame = dial_.RenderFrame();
  // Between ticks (every 5 degrees) and away from the labels; the ring runs from radius 118
  // to 134, and dial points cut their offsets toward zero, so 120..133 lie safely inside.
  for (double angle : {2.5, 47.5, 92.5, 137.5, 177.5}) {
    for (int r = 120; r <= 133; ++r) EXPECT_EQ(At(frame, angle, r), kGreen) << angle << " r " << r;
  }
  for (double angle : {182.5, 227.5, 272.5, 317.5, 357.5}) {
    for (int r = 120; r <= 133; ++r) EXPECT_EQ(At(frame, angle, r), kBlue) << angle << " r " << r;
  }
  EXPECT_EQ(At(frame, 92.5, 112), kBlack);  // the hub inside the ring
  EXPECT_EQ(At(frame, 92.5, 137), kBlack);  // outside the ring
}

TEST_F(CompassDial, LongAndShortTicksEndWhereTheyShould) {
  dial_.SetPosition(0);  // the needle away from the ticks looked at
  const QImage frame = dial_.RenderFrame();
  // Long tick at 90 degrees: from x = 300 (radius 120) to 313, its end point left out.
  for (int x = 300; x <= 313; ++x) EXPECT_EQ(Pixel(frame, x, 180), kWhite) << x;
  EXPECT_EQ(Pixel(frame, 314, 180), kBlack);
  EXPECT_EQ(Pixel(frame, 298, 180), kGreen);
  // Short tick at 5 degrees: from (190, 61) to (191, 51), then the ring's green above it.
  EXPECT_TRUE(Pixel(frame, 190, 53) == kWhite || Pixel(frame, 191, 53) == kWhite);
  EXPECT_EQ(Pixel(frame, 191, 49), kGreen);
  EXPECT_EQ(Pixel(frame, 190, 49), kGreen);
  // Long tick at 10 degrees reaches past the short tick's end.
  EXPECT_EQ(At(frame, 10, 132), kWhite);
}

TEST_F(CompassDial, NeedlePointsAtThePosition) {
  const struct {
    double position;
    int x, y;  // a needle pixel 100 away from the centre
  } cases[] = {{0, 180, 80}, {90, 280, 180}, {180, 180, 280}, {-5, 180, 80}, {370, 180, 80}};
  for (const auto& c : cases) {
    dial_.SetPosition(c.position);
    const QImage frame = dial_.RenderFrame();
    EXPECT_EQ(Pixel(frame, c.x, c.y), kRed) << c.position;
    // Nowhere else at that distance.
    for (auto [x, y] : {std::pair{180, 80}, {280, 180}, {180, 280}, {80, 180}})
      if (x != c.x || y != c.y) {
        EXPECT_EQ(Pixel(frame, x, y), kBlack) << c.position;
      }
  }
  EXPECT_EQ(dial_.Position(), 360);  // clamped
}

// White text on the black face: a light grey pixel (text is drawn with grey-level smoothing).
bool IsWhiteInk(QPoint, QColor c) { return c.red() >= 128 && c.green() >= 128 && c.blue() >= 128; }

// Inside radius 136 lie the zone ring, the ticks and the needle.
const QRegion kRingAndInside(QRect(180 - 136, 180 - 136, 273, 273), QRegion::Ellipse);

TEST_F(CompassDial, EachLabelIsInkedInItsBoxAndNothingIsAroundIt) {
  // 45, 90, ..., 360 clockwise from the right of the top at radius 143 ("90" centred on
  // (323, 180)); "360" covers "0".
  const QImage frame = dial_.RenderFrame();
  for (int k = 1; k <= 8; ++k) {
    const QRect box = LabelBox(k);
    EXPECT_GT(CountPixels(frame, box, IsWhiteInk), 0)
        << "label " << 45 * k << " at (" << box.x() << ", " << box.y() << ")";
    EXPECT_EQ(CountPixels(frame, Surround(box, 4) - kRingAndInside, IsWhiteInk), 0)
        << "around label " << 45 * k;
  }
}

TEST_F(CompassDial, LabelBackgroundsCoverWhatLiesBeneath) {
  // Brought over the middle of the zone ring, each label's box shows the face colour around
  // its text: neither the ring's green or blue nor a tick shows through.
  dial_.SetLabelsOffset(7);
  const QImage frame = dial_.RenderFrame();
  const auto isRing = [](QPoint, QColor c) { return c == kGreen || c == kBlue; };
  for (int k = 1; k <= 8; ++k) {
    const QRect box = LabelBox(k);
    EXPECT_GT(CountPixels(frame, box, IsWhiteInk), 0) << "label " << 45 * k;
    EXPECT_EQ(CountPixels(frame, box.adjusted(1, 1, -1, -1), isRing), 0) << "label " << 45 * k;
    EXPECT_GT(CountPixels(frame, Surround(box, 2), isRing), 0) << "label " << 45 * k;
  }
}

TEST_F(CompassDial, CaptionLinesStartBelowTheHubCentredOnTheDial) {
  const QFontMetrics metrics(dial_.font());
  const struct {
    const char* caption;
    std::vector<QString> lines;  // "" is a blank line, as high as "gW"
  } cases[] = {
      {"Norte Geográfico", {"Norte Geográfico"}},
      {"|Linha A|Linha B|", {"", "Linha A", "Linha B"}},  // a trailing "|" adds no line
  };
  for (const auto& c : cases) {
    dial_.SetCaption(c.caption);
    const QImage frame = dial_.RenderFrame();
    QRegion inked;  // the boxes of the lines with text
    std::vector<QRect> boxes, blanks;
    int top = 180 + 14;  // half the height plus NeedleBaseWidth
    for (const QString& line : c.lines) {
      if (line.isEmpty()) {
        const int blank = metrics.boundingRect(QStringLiteral("gW")).height();
        blanks.push_back(QRect(70, top, 221, blank));  // within the face, clear of the ticks
        top += blank;
        continue;
      }
      const int w = metrics.horizontalAdvance(line), h = metrics.height();
      boxes.push_back(QRect(180 - w / 2, top, w, h));
      inked += boxes.back();
      top += h;
    }
    for (const QRect& box : boxes) {
      EXPECT_GT(CountPixels(frame, box, IsWhiteInk), 0) << c.caption << " line at " << box.y();
      EXPECT_EQ(CountPixels(frame, Surround(box, 4) - inked, IsWhiteInk), 0)
          << c.caption << " around the line at " << box.y();
    }
    for (const QRect& blank : blanks)
      EXPECT_EQ(CountPixels(frame, blank, IsWhiteInk), 0) << c.caption << " blank line";
  }
}

TEST_F(CompassDial, NeedleNarrowsFromItsBaseToItsTip) {
  // A triangle from the tip at radius 120 to a base 14 wide across the centre: at distance d
  // from the centre it is 14 (120 - d) / 120 wide, plus its one-pixel outline.
  for (double position : {0.0, 90.0}) {
    dial_.SetPosition(position);
    const QImage frame = dial_.RenderFrame();
    for (int d : {20, 40, 60, 90, 110}) {
      const QRect across = position == 0 ? QRect(150, 180 - d, 61, 1) : QRect(180 + d, 150, 1, 61);
      const int red = CountPixels(frame, across, [](QPoint, QColor c) { return c == kRed; });
      EXPECT_NEAR(red, 14.0 * (120 - d) / 120 + 1, 1.5) << "position " << position << " at " << d;
    }
  }
}

TEST_F(CompassDial, SystemColoursAreTakenFromThePaletteWhenDrawn) {
  // The face in the button-face colour and the needle in the highlight colour: a new palette
  // shows at once, although the face lies in the cached dial image.
  dial_.SetColor(clBtnFace);
  dial_.SetNeedleColor(clHighlight);
  for (const auto& [face, needle] : {std::pair{QColor(10, 20, 30), QColor(200, 100, 0)},
                                     std::pair{QColor(250, 240, 230), QColor(0, 90, 180)}}) {
    QPalette palette = dial_.palette();
    palette.setColor(QPalette::Button, face);
    palette.setColor(QPalette::Highlight, needle);
    dial_.setPalette(palette);
    const QImage frame = dial_.RenderFrame();
    EXPECT_EQ(Pixel(frame, 5, 5), face);
    EXPECT_EQ(Pixel(frame, 280, 180), needle);  // the needle at 90
  }
}

TEST_F(CompassDial, TransparentLetsTheColourShowThrough) {
  dial_.SetTransparent(true);
  const QImage frame = dial_.RenderFrame();
  EXPECT_EQ(qAlpha(frame.pixel(5, 5)), 0);          // the dial's black background
  EXPECT_EQ(qAlpha(frame.pixel(280, 180)), 255);    // the needle
  EXPECT_EQ(frame.pixelColor(280, 180), kRed);
}

TEST_F(CompassDial, HubAndCentreDot) {
  dial_.SetPosition(0);
  const QImage frame = dial_.RenderFrame();
  EXPECT_EQ(Pixel(frame, 180, 180), kWhite);
  EXPECT_EQ(Pixel(frame, 182, 180), kWhite);
  EXPECT_EQ(Pixel(frame, 186, 180), kRed);   // hub, radius 14
  EXPECT_EQ(Pixel(frame, 192, 180), kRed);
  EXPECT_EQ(Pixel(frame, 196, 180), kBlack);
}

TEST_F(CompassDial, WritersRebuildRepaintOrDoNothing) {
  const int rebuilds = dial_.Rebuilds();
  const int repaints = dial_.RepaintRequests();
  int changes = 0;
  dial_.OnChange = [&changes](TAngularMeter&) { ++changes; };

  dial_.SetPosition(90);  // equal: nothing
  dial_.SetTicks(72);
  dial_.SetColorZone(1, clGreen);
  EXPECT_EQ(dial_.Rebuilds(), rebuilds);
  EXPECT_EQ(dial_.RepaintRequests(), repaints);
  EXPECT_EQ(changes, 0);

  dial_.SetPosition(-5);  // only repaints, and tells
  EXPECT_EQ(dial_.Position(), 0);
  EXPECT_EQ(dial_.Rebuilds(), rebuilds);
  EXPECT_EQ(dial_.RepaintRequests(), repaints + 1);
  EXPECT_EQ(changes, 1);
  dial_.SetPosition(-7);  // clamps to the same 0: nothing
  EXPECT_EQ(changes, 1);

  for (auto repaintOnly : std::initializer_list<std::function<void()>>{
           [&] { dial_.SetNeedleLength(100); }, [&] { dial_.SetNeedleBaseWidth(10); },
           [&] { dial_.SetNeedleColor(clLime); }, [&] { dial_.SetCenterDotColor(clRed); },
           [&] { dial_.SetCenterDotWidth(5); }})
    repaintOnly();
  EXPECT_EQ(dial_.Rebuilds(), rebuilds);
  EXPECT_EQ(dial_.RepaintRequests(), repaints + 6);

  int expected = rebuilds;
  for (auto rebuild : std::initializer_list<std::function<void()>>{
           [&] { dial_.SetMinValue(-10); }, [&] { dial_.SetMaxValue(400); },
           [&] { dial_.SetDecimals(1); }, [&] { dial_.SetSpacing(50); },
           [&] { dial_.SetTicks(36); }, [&] { dial_.SetTicksMin(8); },
           [&] { dial_.SetTicksMax(12); }, [&] { dial_.SetTicksEnlarge(3); },
           [&] { dial_.SetTicksColor(clSilver); }, [&] { dial_.SetColorZone(3, clRed); },
           [&] { dial_.SetPercent1(30); }, [&] { dial_.SetPercent2(30); },
           [&] { dial_.SetLabels(4); }, [&] { dial_.SetLabelsOffset(20); },
           [&] { dial_.SetAngle(90); }, [&] { dial_.SetAngleOffset(270); },
           [&] { dial_.SetRadius(170); }, [&] { dial_.SetCaption("A|B"); },
           [&] { dial_.SetColor(clNavy); }, [&] { dial_.SetFontColor(clYellow); },
           [&] { QFont f = dial_.LabelsFont(); f.setPixelSize(14); dial_.SetLabelsFont(f, clWhite); },
           [&] { QFont f = dial_.font(); f.setPixelSize(15); dial_.setFont(f); }}) {
    rebuild();
    EXPECT_EQ(dial_.Rebuilds(), ++expected);
  }
}

TEST_F(CompassDial, ANewSizeGivesADialImageOfThatSize) {
  dial_.resize(200, 150);  // hidden: the size is taken at the next frame
  EXPECT_EQ(dial_.RenderFrame().size(), QSize(200, 150));
  EXPECT_EQ(dial_.DialImage().size(), QSize(200, 150));
}

TEST_F(CompassDial, LoadingDefersEverythingToOneRebuild) {
  const int rebuilds = dial_.Rebuilds();
  const int repaints = dial_.RepaintRequests();
  dial_.BeginLoading();
  dial_.SetMinValue(500);  // above MaxValue: no range check while loading
  dial_.SetMaxValue(600);
  dial_.SetTicks(10);
  dial_.SetPosition(550);
  dial_.SetPercent1(90);  // no mutual limit while loading
  EXPECT_EQ(dial_.Percent1(), 90);
  EXPECT_EQ(dial_.Rebuilds(), rebuilds);
  EXPECT_EQ(dial_.RepaintRequests(), repaints);
  dial_.EndLoading();
  EXPECT_EQ(dial_.Rebuilds(), rebuilds + 1);
  EXPECT_EQ(dial_.Position(), 550);
}

TEST_F(CompassDial, RangeWritersCheckAndPullThePosition) {
  ExpectError<EGaugeError>([&] { dial_.SetMinValue(400); }, "Value out of range.");
  EXPECT_EQ(dial_.MinValue(), 0);
  ExpectError<EGaugeError>([&] { dial_.SetMaxValue(-1); }, "Value out of range.");
  EXPECT_EQ(dial_.MaxValue(), 360);
  dial_.SetMinValue(100);  // above the position 90: the position follows
  EXPECT_EQ(dial_.Position(), 100);
  dial_.SetPosition(300);
  dial_.SetMaxValue(200);
  EXPECT_EQ(dial_.Position(), 200);
  dial_.SetPercent1(70);  // 70 + 40 > 100: limited to 60
  EXPECT_EQ(dial_.Percent1(), 60);
  dial_.SetPercent2(50);
  EXPECT_EQ(dial_.Percent2(), 40);
}

TEST_F(CompassDial, ZonesFollowThePercentages) {
  dial_.SetPercent2(0);
  dial_.SetPercent1(100);  // one zone all round, no third sector
  QImage frame = dial_.RenderFrame();
  EXPECT_EQ(At(frame, 272.5, 126), kGreen);
  dial_.SetPercent1(0);
  dial_.SetPercent2(50);  // the second zone starts at the top
  dial_.SetColorZone(3, clRed);
  frame = dial_.RenderFrame();
  EXPECT_EQ(At(frame, 92.5, 126), kBlue);
  EXPECT_EQ(At(frame, 272.5, 126), kRed);
  dial_.SetTicks(0);  // no ticks: the long tick at 90 degrees is gone
  dial_.SetLabels(0);
  frame = dial_.RenderFrame();
  EXPECT_EQ(Pixel(frame, 310, 180), kBlue);
}

// The picture an installer sees, kept in the build tree for a person to look at.
TEST(CompassDialPicture, IsWrittenToThebuildTree) {
  TAngularMeter dial;
  ApplyCompassDialSettings(dial, "Norte Geográfico");
  dial.SetPosition(312.76);
  ASSERT_TRUE(testing::SavePictureToLookAt(dial.RenderFrame(), "angular_meter.png"));
}

}  // namespace
}  // namespace zenavo
