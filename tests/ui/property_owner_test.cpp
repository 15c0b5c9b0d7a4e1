// The property pattern shared by the widgets: writers that ignore a no-op, the loading bracket
// and property objects that tell their owner, on a small widget built the way the gauges and
// the table grid use it.
#include "ui/property_owner.h"

#include <gtest/gtest.h>

#include <QWidget>

namespace zenavo {
namespace {

class TBands : public TOwnedSettings {
 public:
  explicit TBands(std::function<void()> changed) : TOwnedSettings(std::move(changed)) {}
  int PrimaryLength() const { return primaryLength_; }
  void SetPrimaryLength(int v) { Set(primaryLength_, v); }

 private:
  int primaryLength_ = 1;
};

class TSampleWidget : public QWidget, public TPropertyOwner {
 public:
  int LineWidth() const { return lineWidth_; }
  void SetLineWidth(int v) { StoreAndRepaint(lineWidth_, v); }
  TBands& Bands() { return bands_; }
  int loadedCalls = 0;

 protected:
  void Repaint() override { update(); }
  void Loaded() override {
    ++loadedCalls;
    TPropertyOwner::Loaded();
  }

 private:
  int lineWidth_ = 1;
  TBands bands_{[this] { RequestRepaint(); }};
};

TEST(PropertyOwner, WritersRepaintOnlyForANewValue) {
  TSampleWidget widget;
  const struct {
    std::function<void()> write;
    int repaints;
  } cases[] = {
      {[&] { widget.SetLineWidth(1); }, 0},
      {[&] { widget.SetLineWidth(2); }, 1},
      {[&] { widget.Bands().SetPrimaryLength(1); }, 0},
      {[&] { widget.Bands().SetPrimaryLength(3); }, 1},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const int before = widget.RepaintRequests();
    cases[i].write();
    EXPECT_EQ(widget.RepaintRequests() - before, cases[i].repaints) << "case " << i;
  }
  EXPECT_EQ(widget.LineWidth(), 2);
  EXPECT_EQ(widget.Bands().PrimaryLength(), 3);
}

TEST(PropertyOwner, LoadingStoresAndRepaintsOnceWhenTheOutermostBracketCloses) {
  TSampleWidget widget;
  widget.BeginLoading();
  widget.BeginLoading();  // the form's bracket around a widget's own
  widget.SetLineWidth(4);
  widget.Bands().SetPrimaryLength(2);
  widget.EndLoading();
  EXPECT_TRUE(widget.Loading());
  EXPECT_EQ(widget.loadedCalls, 0);
  EXPECT_EQ(widget.RepaintRequests(), 0);
  widget.EndLoading();
  EXPECT_FALSE(widget.Loading());
  EXPECT_EQ(widget.loadedCalls, 1);
  EXPECT_EQ(widget.RepaintRequests(), 1);
  EXPECT_EQ(widget.LineWidth(), 4);
  widget.EndLoading();  // no bracket open: nothing
  EXPECT_EQ(widget.loadedCalls, 1);
}

}  // namespace
}  // namespace zenavo
