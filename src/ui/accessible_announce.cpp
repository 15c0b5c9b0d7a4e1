#include "ui/accessible_announce.h"

#include <QAccessible>

#include <utility>

namespace zenavo {

namespace {

AccessibleAnnouncer& Replacement() {
  static AccessibleAnnouncer announcer;
  return announcer;
}

}  // namespace

bool AnnouncingAccessibility() { return Replacement() || QAccessible::isActive(); }

void AnnounceAccessibility(QAccessibleEvent& event) {
  if (Replacement())
    Replacement()(event);
  else
    QAccessible::updateAccessibility(&event);
}

AccessibleAnnouncer SetAccessibleAnnouncer(AccessibleAnnouncer announcer) {
  return std::exchange(Replacement(), std::move(announcer));
}

}  // namespace zenavo
