// What the widgets announce to assistive technologies, recorded instead of handed to Qt's
// bridge while the object lives; the bridge is put back afterwards.
#pragma once

#include <QAccessible>

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "ui/accessible_announce.h"

namespace zenavo::testing {

class AccessibilityEvents {
 public:
  struct Event {
    QAccessible::Event Type;
    QObject* Object;
    int Child;
    bool operator==(const Event&) const = default;
  };

  AccessibilityEvents()
      : previous_(SetAccessibleAnnouncer([this](QAccessibleEvent& event) {
          recorded_.push_back({event.type(), event.object(), event.child()});
        })) {}
  ~AccessibilityEvents() { SetAccessibleAnnouncer(previous_); }
  AccessibilityEvents(const AccessibilityEvents&) = delete;
  AccessibilityEvents& operator=(const AccessibilityEvents&) = delete;

  // The events of the `types` since the last Take, in order; the others are dropped.
  std::vector<Event> Take(std::initializer_list<QAccessible::Event> types) {
    std::vector<Event> taken;
    for (const Event& event : recorded_)
      if (std::find(types.begin(), types.end(), event.Type) != types.end()) taken.push_back(event);
    recorded_.clear();
    return taken;
  }

 private:
  std::vector<Event> recorded_;
  AccessibleAnnouncer previous_;
};

}  // namespace zenavo::testing
