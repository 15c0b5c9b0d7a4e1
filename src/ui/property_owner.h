// The pattern every widget property follows. A writer does nothing when the new value equals
// the stored one; otherwise it stores it and repaints, or first rebuilds a cached picture.
// While the stored settings are applied (the loading bracket) writers only store: nothing is
// rebuilt or repainted and cross-checks between properties are off; Loaded() runs once when
// the bracket closes. Property objects owned by a widget (a scale, an indicator, row bands)
// tell their owner when one of their settings changes.
#pragma once

#include <functional>
#include <utility>

namespace zenavo {

// Held by a widget beside QWidget: class TMyWidget : public QWidget, public TPropertyOwner.
class TPropertyOwner {
 public:
  // Brackets may nest; Loaded() runs when the outermost one closes.
  void BeginLoading() { ++loading_; }
  void EndLoading() {
    if (loading_ > 0 && --loading_ == 0) Loaded();
  }
  bool Loading() const { return loading_ > 0; }

  // Asks for a repaint; does nothing while loading.
  void RequestRepaint() {
    if (Loading()) return;
    ++repaintRequests_;
    Repaint();
  }
  // How many repaints were asked for outside loading: for tests and benchmarks.
  int RepaintRequests() const { return repaintRequests_; }

 protected:
  TPropertyOwner() = default;
  ~TPropertyOwner() = default;

  // Stores `value` in `field` and says whether it changed (false: equal, nothing stored).
  template <class T>
  static bool Store(T& field, const T& value) {
    if (field == value) return false;
    field = value;
    return true;
  }
  // The writer of a property that only repaints.
  template <class T>
  void StoreAndRepaint(T& field, const T& value) {
    if (Store(field, value)) RequestRepaint();
  }

  // What a repaint request does: the widget's update() (a scroll area's viewport()->update()).
  virtual void Repaint() = 0;
  // Runs once when loading completes: by default one repaint.
  virtual void Loaded() { RequestRepaint(); }

 private:
  int loading_ = 0;
  int repaintRequests_ = 0;
};

// A property object owned by a widget: each writer stores a value that differs and calls the
// owner's `changed` (typically a repaint request).
class TOwnedSettings {
 protected:
  explicit TOwnedSettings(std::function<void()> changed) : changed_(std::move(changed)) {}
  template <class T>
  void Set(T& field, const T& value) {
    if (field == value) return;
    field = value;
    Changed();
  }
  void Changed() const {
    if (changed_) changed_();
  }

 private:
  std::function<void()> changed_;
};

}  // namespace zenavo
