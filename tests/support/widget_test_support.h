// What the widget tests observe instead of the screen and the speaker.
#pragma once

#include <string>
#include <vector>

namespace zenavo::testing {

// Messages the application's error box would have shown, in order.
std::vector<std::string>& ShownErrors();

// System beeps so far.
int& BeepCount();

}  // namespace zenavo::testing
