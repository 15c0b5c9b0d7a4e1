// Telling assistive technologies (screen readers) what changed: an accessibility event handed
// to Qt's accessibility bridge. Replaceable, like the error box and the beep, so that tests
// can record what a widget announces.
#pragma once

#include <functional>

class QAccessibleEvent;

namespace zenavo {

using AccessibleAnnouncer = std::function<void(QAccessibleEvent& event)>;

// Whether anything listens: an assistive technology on the bridge, or a replacement.
bool AnnouncingAccessibility();
// Hands `event` to the bridge (or to the replacement); nothing while nothing listens.
void AnnounceAccessibility(QAccessibleEvent& event);
// Puts `announcer` in the bridge's place (empty: the bridge again); returns the one replaced.
AccessibleAnnouncer SetAccessibleAnnouncer(AccessibleAnnouncer announcer);

}  // namespace zenavo
