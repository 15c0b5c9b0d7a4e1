// What the widget tests observe instead of the screen and the speaker.
#pragma once

#include <QImage>
#include <string>
#include <vector>

namespace zenavo::testing {

// Messages the application's error box would have shown, in order.
std::vector<std::string>& ShownErrors();

// System beeps so far.
int& BeepCount();

// Saves a picture for a person to look at as gauge-pictures/<name> under the test's working
// folder, and says where; false when it cannot be written.
bool SavePictureToLookAt(const QImage& picture, const std::string& name);

}  // namespace zenavo::testing
