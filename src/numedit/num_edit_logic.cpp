#include "numedit/num_edit_logic.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "base/ascii.h"
#include "base/float_text.h"
#include "base/format_settings.h"

namespace zenavo {

namespace {

constexpr long kExponentLimit = 4932;  // the extended format's largest decimal exponent
constexpr int kExponentLookAhead = 99;
constexpr long kSaturatedExponent = 1'000'000;  // any exponent beyond the limit reads as this

// The largest extended value is 1.18973149535723176502E4932, and the conversion rounds up
// to infinity from 1.18973149535723176505351E4932 on. A number of 4933 integer digits whose
// first 20 digits lie below the 20 both share fits, one whose first 20 lie above does not;
// for the rare number in between the conversion itself decides.
constexpr long kLargestMagnitude = 4933;
constexpr std::string_view kLargestDigits = "11897314953572317650";

// The text being edited, with the places of its decimal separator and "E" kept at hand, so
// that a long paste never searches the whole text again for each of its characters.
class Editor {
 public:
  Editor(NumEditState& state, const NumEditRules& rules)
      : state_(state),
        text_(state.text),
        rules_(rules),
        separatorChar_(CurrentFormatSettings().DecimalSeparator),
        thousandsChar_(CurrentFormatSettings().ThousandSeparator) {
    Locate();
  }

  // One character through the filter; false when refused. A refused character may leave the
  // state half changed: callers work on a copy.
  bool Type(char c);
  void DeleteBackward();
  void DeleteForward();
  void DeleteSelection();

  // Whether a character of a paste would land in the text rather than be dropped: a
  // separator or "E" the text already holds only moves the caret; a minus counts only where a
  // sign can stand in the pasted text (its first character, or right after its "E") and only
  // when it sets a sign rather than taking one away.
  bool KeepsPasted(char c, bool signPlace) const;

  // The character a key stands for: the decimal key of the other notation ("." where the locale
  // writes a comma, "," where it writes a point) is the separator while the number has none and
  // takes free decimals; otherwise every key stands for itself.
  char Keyed(char c) const;

 private:
  int Size() const { return static_cast<int>(text_.size()); }
  int MantissaEnd() const { return exponent_ >= 0 ? exponent_ : Size(); }
  bool CaretInExponent() const { return exponent_ >= 0 && state_.caret > exponent_; }
  bool Fits() const { return rules_.maxLength <= 0 || Size() < rules_.maxLength; }
  bool IsProtected(char c) const { return c == 'E' || c == separatorChar_ || c == thousandsChar_; }

  void Locate();
  void Insert(int at, char c);
  void Erase(int at);
  void ClearSelection();
  void DeleteCharacterAt(int index);
  bool TypeSign();
  bool TypeSeparator();
  bool TypeExponent();
  bool TypeDigit(char digit);
  void SetDigit(int at, char digit);
  int SignificantExponentStart() const;
  long ExponentAfterTyping(char digit) const;
  std::optional<long> ExponentValue() const;
  bool BeyondExtendedRange() const;

  NumEditState& state_;
  std::string& text_;
  const NumEditRules& rules_;
  const char separatorChar_;
  const char thousandsChar_;
  int separator_ = -1;  // index of the decimal separator, -1 when there is none
  int exponent_ = -1;   // index of "E", -1 when there is none
  // The exponent's digits up to here are known to be zeros, so that a paste of many zeros
  // after the "E" does not read them again for each character (-1: nothing known).
  mutable int exponentZerosEnd_ = -1;
};

void Editor::Locate() {
  const std::size_t separator = text_.find(separatorChar_);
  const std::size_t exponent = text_.find('E');
  separator_ = separator == std::string::npos ? -1 : static_cast<int>(separator);
  exponent_ = exponent == std::string::npos ? -1 : static_cast<int>(exponent);
  exponentZerosEnd_ = -1;
}

void Editor::Insert(int at, char c) {
  text_.insert(static_cast<std::size_t>(at), 1, c);
  if (separator_ >= at) ++separator_;
  if (exponent_ >= at) ++exponent_;
  if (c == separatorChar_) separator_ = at;
  if (c == 'E') {
    exponent_ = at;
    exponentZerosEnd_ = -1;
  }
  if (at < exponentZerosEnd_) {
    // Before the exponent everything moves on; among its zeros only a zero keeps them zeros.
    if (at < exponent_ || c == '0') ++exponentZerosEnd_;
    else exponentZerosEnd_ = at;
  }
}

void Editor::SetDigit(int at, char digit) {
  text_[at] = digit;
  if (at < exponentZerosEnd_ && at > exponent_ && digit != '0') exponentZerosEnd_ = at;
}

void Editor::Erase(int at) {
  const char erased = text_[at];
  text_.erase(static_cast<std::size_t>(at), 1);
  if (erased == separatorChar_ || erased == 'E') return Locate();
  if (separator_ > at) --separator_;
  if (exponent_ > at) --exponent_;
  if (at < exponentZerosEnd_) --exponentZerosEnd_;
}

void Editor::ClearSelection() {
  state_.selStart = state_.caret;
  state_.selLength = 0;
}

// Removes the character at `index` (0-based) by the deletion rules.
void Editor::DeleteCharacterAt(int index) {
  const int mantissaEnd = MantissaEnd();
  if (separator_ >= 0 && index > separator_ && index < mantissaEnd) {
    Erase(index);
    if (rules_.decimals > 0) Insert(mantissaEnd - 1, '0');
    state_.caret = index;
  } else if (index == 0 && text_[0] == '-') {
    Erase(0);
    if (text_.empty()) text_.push_back('0');
    state_.caret = 0;
  } else if (index == 0 && (Size() == 1 || text_[1] == separatorChar_ || text_[1] == 'E')) {
    SetDigit(0, '0');
    state_.caret = 1;
  } else {
    Erase(index);
    state_.caret = index;
    const bool withExponent =
        rules_.format == TNumberFormat::Scientific || rules_.format == TNumberFormat::Engineering;
    if (withExponent && !text_.empty() && text_.back() == 'E') Insert(Size(), '0');
  }
  ClearSelection();
}

void Editor::DeleteSelection() {
  if (state_.selLength <= 0) return;
  if (state_.selStart == 0 && state_.selLength >= Size()) {
    text_ = FormatNumEditValue(0, rules_.format, rules_.decimals);
    Locate();
    state_.caret = 0;
    ClearSelection();
    return;
  }
  const std::string_view selected = std::string_view(text_).substr(state_.selStart, state_.selLength);
  int count = static_cast<int>(selected.size() - std::count(selected.begin(), selected.end(), thousandsChar_));
  // The separator and the "E" are stepped over, never deleted: one Backspace fewer for each.
  if (selected.find(separatorChar_) != std::string_view::npos) --count;
  if (selected.find('E') != std::string_view::npos) --count;
  state_.caret = state_.selStart + state_.selLength;
  ClearSelection();
  for (int i = 0; i < count; ++i) DeleteBackward();
}

void Editor::DeleteBackward() {
  if (state_.selLength > 0) return DeleteSelection();
  int index = state_.caret - 1;
  while (index >= 0 && IsProtected(text_[index])) --index;
  if (index >= 0) DeleteCharacterAt(index);
}

void Editor::DeleteForward() {
  if (state_.selLength > 0) return DeleteSelection();
  int index = state_.caret;
  while (index < Size() && IsProtected(text_[index])) ++index;
  if (index < Size()) DeleteCharacterAt(index);
}

bool Editor::TypeSign() {
  if (CaretInExponent()) {
    if (exponent_ + 1 < Size() && text_[exponent_ + 1] == '-') {
      Erase(exponent_ + 1);
      --state_.caret;
      return !BeyondExtendedRange();  // "2E-4932" must not become "2E4932"
    }
    Insert(exponent_ + 1, '-');
    ++state_.caret;
  } else if (!text_.empty() && text_[0] == '-') {
    Erase(0);
    state_.caret = std::max(0, state_.caret - 1);
  } else {
    Insert(0, '-');
    ++state_.caret;
  }
  return true;
}

bool Editor::TypeSeparator() {
  if (separator_ >= 0) {
    state_.caret = separator_ + 1;
    return true;
  }
  if (rules_.decimals != kFreeDecimals || !Fits()) return false;
  state_.caret = MantissaEnd();
  Insert(state_.caret, separatorChar_);
  ++state_.caret;
  return true;
}

bool Editor::TypeExponent() {
  if (exponent_ >= 0) {
    state_.caret = exponent_ + 1;
    return true;
  }
  if (!Fits()) return false;
  Insert(Size(), 'E');
  state_.caret = Size();
  return true;
}

bool Editor::TypeDigit(char digit) {
  const int caret = state_.caret;
  if (caret <= 2 && Size() >= 2 && text_[0] == '-' && text_[1] == '0') {
    SetDigit(1, digit);  // "-0" becomes "-digit"
    state_.caret = 2;
  } else if (caret <= 1 && !text_.empty() && text_[0] == '0') {
    SetDigit(0, digit);  // a leading "0" is replaced
    state_.caret = 1;
  } else if (exponent_ >= 0 && caret == exponent_ + 1 && caret < Size() && text_[caret] == '0') {
    SetDigit(caret, digit);  // the exponent's "0" is replaced
    state_.caret = caret + 1;
  } else if (CaretInExponent() && ExponentAfterTyping(digit) > kExponentLimit) {
    return false;
  } else if (rules_.decimals > 0 && separator_ >= 0 && caret > separator_) {
    // Fixed decimals: typing in the decimals overwrites the next digit; the last place is full.
    if (caret >= MantissaEnd()) return false;
    SetDigit(caret, digit);
    state_.caret = caret + 1;
  } else {
    if (!Fits()) return false;
    Insert(caret, digit);
    state_.caret = caret + 1;
  }
  return !BeyondExtendedRange();
}

// Where the exponent's digits begin to count: past its minus and its leading zeros.
int Editor::SignificantExponentStart() const {
  int i = exponent_ + 1;
  if (i < Size() && text_[i] == '-') ++i;
  i = std::max(i, exponentZerosEnd_);
  while (i < Size() && text_[i] == '0') ++i;
  exponentZerosEnd_ = i;
  return i;
}

// The size of the exponent that typing `digit` at the caret gives: its characters before the
// caret, the digit and up to 99 characters after it, read as an integer (saturated).
long Editor::ExponentAfterTyping(char digit) const {
  long value = 0;
  const auto add = [&value](char c) { value = std::min(value * 10 + (c - '0'), kSaturatedExponent); };
  for (int i = std::min(SignificantExponentStart(), state_.caret); i < state_.caret; ++i) {
    if (!IsDigit(text_[i]) || value == kSaturatedExponent) return value;
    add(text_[i]);
  }
  add(digit);
  const int end = std::min(Size(), state_.caret + kExponentLookAhead);
  for (int j = state_.caret; j < end && IsDigit(text_[j]); ++j) add(text_[j]);
  return value;
}

// The exponent as a signed integer (saturated); none while the "E" has no digits yet.
std::optional<long> Editor::ExponentValue() const {
  const bool negative = exponent_ + 1 < Size() && text_[exponent_ + 1] == '-';
  if (exponent_ + (negative ? 2 : 1) >= Size()) return std::nullopt;
  long value = 0;
  for (int i = SignificantExponentStart(); i < Size(); ++i) {
    if (!IsDigit(text_[i])) return std::nullopt;
    value = std::min(value * 10 + (text_[i] - '0'), kSaturatedExponent);
  }
  return negative ? -value : value;
}

// Whether the text is a number beyond the extended range (above about 1.19E4932), which no
// conversion could read. Only the integer part and the exponent are looked at, unless the
// number lies within a hair of the largest value, so a long paste stays fast.
bool Editor::BeyondExtendedRange() const {
  long exponent = 0;
  if (exponent_ >= 0) {
    const std::optional<long> value = ExponentValue();
    if (!value) return false;  // "1E": not a number yet
    exponent = *value;
  }
  const int integerEnd = separator_ >= 0 ? separator_ : MantissaEnd();
  if (integerEnd + exponent <= kExponentLimit) return false;  // below 1E4932 for sure
  std::string leading;  // the number's first significant digits
  long integerDigits = 0;
  for (int i = 0; i < integerEnd; ++i) {
    if (!IsDigit(text_[i]) || (integerDigits == 0 && text_[i] == '0')) continue;
    ++integerDigits;
    if (leading.size() < kLargestDigits.size()) leading += text_[i];
  }
  if (integerDigits == 0) return false;  // 0,... with an exponent of at most 4932
  const long magnitude = integerDigits + exponent;  // the number lies below 10^magnitude
  if (magnitude != kLargestMagnitude) return magnitude > kLargestMagnitude;
  for (int i = separator_ + 1; separator_ >= 0 && i < MantissaEnd() && leading.size() < kLargestDigits.size(); ++i)
    leading += text_[i];
  leading.resize(kLargestDigits.size(), '0');
  if (leading != kLargestDigits) return leading > kLargestDigits;
  return !TryStrToFloat(CleanNumEditText(text_)).has_value();
}

bool Editor::Type(char c) {
  if (c == 'e') c = 'E';
  const bool accepted = IsDigit(c) || c == '-' || c == 'E' || c == separatorChar_;
  if (!accepted) return false;
  if (c == 'E' || c == separatorChar_)
    ClearSelection();
  else if (state_.selLength > 0)
    DeleteSelection();

  // The caret never stands before the number's minus, nor between "E" and the exponent's.
  if (!text_.empty() && text_[0] == '-' && state_.caret == 0) state_.caret = 1;
  if (exponent_ >= 0 && exponent_ + 1 < Size() && text_[exponent_ + 1] == '-' &&
      state_.caret == exponent_ + 1)
    state_.caret = exponent_ + 2;

  bool done;
  if (c == '-')
    done = TypeSign();
  else if (c == separatorChar_)
    done = TypeSeparator();
  else if (c == 'E')
    done = TypeExponent();
  else
    done = TypeDigit(c);
  if (!done) return false;
  ClearSelection();
  return true;
}

bool Editor::KeepsPasted(char c, bool signPlace) const {
  if (c == 'e') c = 'E';
  if (c == separatorChar_) return separator_ < 0;
  if (c == 'E') return exponent_ < 0;
  if (c != '-') return true;
  if (!signPlace) return false;
  // Where the minus goes: the exponent's sign with the caret after the "E", else the number's.
  const int signAt = CaretInExponent() ? exponent_ + 1 : 0;
  return signAt >= Size() || text_[signAt] != '-';
}

char Editor::Keyed(char c) const {
  const char other = separatorChar_ == ',' ? '.' : separatorChar_ == '.' ? ',' : '\0';
  const bool takesASeparator = separator_ < 0 && rules_.decimals == kFreeDecimals;
  return other != '\0' && c == other && takesASeparator ? separatorChar_ : c;
}

}  // namespace

void DeleteSelection(NumEditState& state, const NumEditRules& rules) {
  Editor(state, rules).DeleteSelection();
}

void DeleteBackward(NumEditState& state, const NumEditRules& rules) {
  Editor(state, rules).DeleteBackward();
}

void DeleteForward(NumEditState& state, const NumEditRules& rules) {
  Editor(state, rules).DeleteForward();
}

bool TypeCharacter(NumEditState& state, char c, const NumEditRules& rules) {
  NumEditState next = state;
  Editor editor(next, rules);
  if (!editor.Type(editor.Keyed(c))) return false;
  state = std::move(next);
  return true;
}

bool PasteText(NumEditState& state, std::string_view pasted, const NumEditRules& rules) {
  NumEditState next = state;
  Editor editor(next, rules);
  editor.DeleteSelection();
  bool signPlace = true;  // the pasted text's first character, or the one after its "E"
  for (char c : pasted) {
    if (!editor.KeepsPasted(c, signPlace) || !editor.Type(c)) return false;
    signPlace = c == 'E' || c == 'e';
  }
  state = std::move(next);
  return true;
}

std::string SelectionForClipboard(const NumEditState& state) {
  return CleanNumEditText(state.text.substr(state.selStart, state.selLength));
}

}  // namespace zenavo
