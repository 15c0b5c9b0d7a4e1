// The editing rules of the numeric edit box, on plain text: the keystroke filter, the deletion
// rules and the clipboard text. The widget keeps its text, caret and selection in step with a
// NumEditState and beeps whenever a rule refuses a key.
#pragma once

#include <string>

#include "numedit/num_format.h"

namespace zenavo {

struct NumEditState {
  std::string text = "0";
  int caret = 0;        // 0..text.size(): the caret stands before text[caret]
  int selStart = 0;     // the selection, when selLength > 0
  int selLength = 0;
  bool operator==(const NumEditState&) const = default;
};

struct NumEditRules {
  int decimals = kFreeDecimals;
  TNumberFormat format = TNumberFormat::Standard;
  int maxLength = 0;  // 0: no limit
};

// One typed character through the filter. Returns false when it is refused (the caller beeps);
// the state is then unchanged.
bool TypeCharacter(NumEditState& state, char c, const NumEditRules& rules);

// Backspace and Delete: the selection when there is one, otherwise one character, stepping
// over the "E" and the separators.
void DeleteBackward(NumEditState& state, const NumEditRules& rules);
void DeleteForward(NumEditState& state, const NumEditRules& rules);
void DeleteSelection(NumEditState& state, const NumEditRules& rules);

// What Copy puts on the clipboard: the selected text without thousands separators, "" as "0",
// "-" as "-0".
std::string SelectionForClipboard(const NumEditState& state);

}  // namespace zenavo
