// The editing rules of the numeric edit box, on plain text: the keystroke filter, the deletion
// rules and the clipboard text. The widget keeps its text, caret and selection in step with a
// NumEditState and beeps whenever a rule refuses a key.
#pragma once

#include <string>
#include <string_view>

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
// the state is then unchanged. A digit is also refused when the number would lie beyond the
// extended range (above about 1.19E4932), and so is a minus that would turn "2E-4932" into
// "2E4932". The decimal key of the other notation ("." in a comma locale, "," in a point
// locale) types the locale's separator while the number has none and free decimals are
// allowed; otherwise it is refused. (A paste in the other notation stays refused whole.)
bool TypeCharacter(NumEditState& state, char c, const NumEditRules& rules);

// A paste: the selection is deleted and the text goes through the filter as typed, taken
// whole or not at all. It is refused (false, the state unchanged, the caller beeps once) when
// any of its characters would be lost: refused by the filter, a separator or "E" the text
// already holds (which would only move the caret), or a minus that does not stand first or
// right after the pasted "E", or that would take a sign away instead of setting one. So a
// coordinate written in the other notation ("-22.905" in a comma locale) never turns into
// another number. One pass over the text: 20,000 characters take milliseconds.
bool PasteText(NumEditState& state, std::string_view pasted, const NumEditRules& rules);

// Backspace and Delete: the selection when there is one, otherwise one character, stepping
// over the "E" and the separators.
void DeleteBackward(NumEditState& state, const NumEditRules& rules);
void DeleteForward(NumEditState& state, const NumEditRules& rules);
void DeleteSelection(NumEditState& state, const NumEditRules& rules);

// What Copy puts on the clipboard: the selected text without thousands separators, "" as "0",
// "-" as "-0".
std::string SelectionForClipboard(const NumEditState& state);

}  // namespace zenavo
