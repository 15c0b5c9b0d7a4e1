// What the widget tests observe instead of the screen and the speaker. The test runner fails a
// test that ends with an error message or a beep it did not take, or with a dialog, modal
// window or popup still open (it closes them, so the next test starts clean), and closes (and
// fails on) a modal dialog or popup that no test asked to handle, so nothing waits for a click
// forever.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

namespace zenavo::testing {

// The messages the application's error box would have shown since the last call, in order;
// taking them marks them as seen.
std::vector<std::string> TakeErrors();

// System beeps since the last call; taking them marks them as heard.
int TakeBeeps();

// The next modal dialog or popup menu that opens is handed to `handler` (queued in order),
// which must close it (accept, reject, trigger an action). A dialog that opens with no handler
// queued fails the test and is closed.
void ExpectDialog(std::function<void(QWidget* dialog)> handler);

// Handlers queued by ExpectDialog that no dialog used yet.
int PendingDialogHandlers();

// Saves a picture for a person to look at as gauge-pictures/<name> under the test's working
// folder, and says where; false when it cannot be written.
bool SavePictureToLookAt(const QImage& picture, const std::string& name);

}  // namespace zenavo::testing
