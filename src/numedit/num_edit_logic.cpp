#include "numedit/num_edit_logic.h"

#include <cstdlib>

#include "base/format_settings.h"

namespace zenavo {

namespace {

constexpr long kExponentLimit = 4932;  // the extended format's largest decimal exponent
constexpr std::size_t kExponentLookAhead = 99;

char Separator() { return CurrentFormatSettings().DecimalSeparator; }
char Thousands() { return CurrentFormatSettings().ThousandSeparator; }

int Find(const std::string& text, char c) {
  const std::size_t at = text.find(c);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Characters that one-character deletion never removes.
bool IsProtected(char c) { return c == 'E' || c == Separator() || c == Thousands(); }

bool Fits(const NumEditState& state, const NumEditRules& rules) {
  return rules.maxLength <= 0 || static_cast<int>(state.text.size()) < rules.maxLength;
}

void ClearSelection(NumEditState& state) {
  state.selStart = state.caret;
  state.selLength = 0;
}

// Removes the character at `index` (0-based) by the deletion rules.
void DeleteCharacterAt(NumEditState& state, int index, const NumEditRules& rules) {
  std::string& text = state.text;
  const int separator = Find(text, Separator());
  const int exponent = Find(text, 'E');
  const int mantissaEnd = exponent >= 0 ? exponent : static_cast<int>(text.size());
  if (separator >= 0 && index > separator && index < mantissaEnd) {
    text.erase(index, 1);
    if (rules.decimals > 0) text.insert(static_cast<std::size_t>(mantissaEnd - 1), 1, '0');
    state.caret = index;
  } else if (index == 0 && text[0] == '-') {
    text.erase(0, 1);
    if (text.empty()) text = "0";
    state.caret = 0;
  } else if (index == 0 && (text.size() == 1 || text[1] == Separator() || text[1] == 'E')) {
    text[0] = '0';
    state.caret = 1;
  } else {
    text.erase(index, 1);
    state.caret = index;
    const bool withExponent =
        rules.format == TNumberFormat::Scientific || rules.format == TNumberFormat::Engineering;
    if (withExponent && !text.empty() && text.back() == 'E') text += '0';
  }
  ClearSelection(state);
}

bool TypeSign(NumEditState& state) {
  std::string& text = state.text;
  const int exponent = Find(text, 'E');
  if (exponent >= 0 && state.caret > exponent) {
    if (exponent + 1 < static_cast<int>(text.size()) && text[exponent + 1] == '-') {
      text.erase(exponent + 1, 1);
      --state.caret;
    } else {
      text.insert(static_cast<std::size_t>(exponent + 1), 1, '-');
      ++state.caret;
    }
  } else if (!text.empty() && text[0] == '-') {
    text.erase(0, 1);
    state.caret = std::max(0, state.caret - 1);
  } else {
    text.insert(0, 1, '-');
    ++state.caret;
  }
  return true;
}

bool TypeSeparator(NumEditState& state, const NumEditRules& rules) {
  const int existing = Find(state.text, Separator());
  if (existing >= 0) {
    state.caret = existing + 1;
    return true;
  }
  if (rules.decimals != kFreeDecimals || !Fits(state, rules)) return false;
  const int exponent = Find(state.text, 'E');
  state.caret = exponent >= 0 ? exponent : static_cast<int>(state.text.size());
  state.text.insert(static_cast<std::size_t>(state.caret), 1, Separator());
  ++state.caret;
  return true;
}

bool TypeExponent(NumEditState& state, const NumEditRules& rules) {
  const int existing = Find(state.text, 'E');
  if (existing >= 0) {
    state.caret = existing + 1;
    return true;
  }
  if (!Fits(state, rules)) return false;
  state.text += 'E';
  state.caret = static_cast<int>(state.text.size());
  return true;
}

bool TypeDigit(NumEditState& state, char digit, const NumEditRules& rules) {
  std::string& text = state.text;
  const int caret = state.caret;
  const int exponent = Find(text, 'E');
  if (caret <= 2 && text.size() >= 2 && text[0] == '-' && text[1] == '0') {
    text[1] = digit;  // "-0" becomes "-digit"
    state.caret = 2;
    return true;
  }
  if (caret <= 1 && !text.empty() && text[0] == '0') {
    text[0] = digit;  // a leading "0" is replaced
    state.caret = 1;
    return true;
  }
  if (exponent >= 0 && caret == exponent + 1 && caret < static_cast<int>(text.size()) &&
      text[caret] == '0') {
    text[caret] = digit;  // the exponent's "0" is replaced
    state.caret = caret + 1;
    return true;
  }
  if (exponent >= 0 && caret > exponent) {
    const std::string resulting = text.substr(exponent + 1, caret - exponent - 1) + digit +
                                  text.substr(caret, kExponentLookAhead);
    if (std::labs(std::strtol(resulting.c_str(), nullptr, 10)) > kExponentLimit) return false;
  }
  const int separator = Find(text, Separator());
  if (rules.decimals > 0 && separator >= 0 && caret > separator) {
    // Fixed decimals: typing in the decimals overwrites the next digit; the last place is full.
    const int mantissaEnd = exponent >= 0 ? exponent : static_cast<int>(text.size());
    if (caret >= mantissaEnd) return false;
    text[caret] = digit;
    state.caret = caret + 1;
    return true;
  }
  if (!Fits(state, rules)) return false;
  text.insert(static_cast<std::size_t>(caret), 1, digit);
  state.caret = caret + 1;
  return true;
}

}  // namespace

void DeleteSelection(NumEditState& state, const NumEditRules& rules) {
  if (state.selLength <= 0) return;
  if (state.selStart == 0 && state.selLength >= static_cast<int>(state.text.size())) {
    state.text = FormatNumEditValue(0, rules.format, rules.decimals);
    state.caret = 0;
    ClearSelection(state);
    return;
  }
  const std::string selected = state.text.substr(state.selStart, state.selLength);
  int count = 0;
  for (char c : selected) count += c != Thousands();
  // The separator and the "E" are stepped over, never deleted: one Backspace fewer for each.
  if (selected.find(Separator()) != std::string::npos) --count;
  if (selected.find('E') != std::string::npos) --count;
  state.caret = state.selStart + state.selLength;
  ClearSelection(state);
  for (int i = 0; i < count; ++i) DeleteBackward(state, rules);
}

void DeleteBackward(NumEditState& state, const NumEditRules& rules) {
  if (state.selLength > 0) return DeleteSelection(state, rules);
  int index = state.caret - 1;
  while (index >= 0 && IsProtected(state.text[index])) --index;
  if (index < 0) return;
  DeleteCharacterAt(state, index, rules);
}

void DeleteForward(NumEditState& state, const NumEditRules& rules) {
  if (state.selLength > 0) return DeleteSelection(state, rules);
  int index = state.caret;
  const int size = static_cast<int>(state.text.size());
  while (index < size && IsProtected(state.text[index])) ++index;
  if (index >= size) return;
  DeleteCharacterAt(state, index, rules);
}

bool TypeCharacter(NumEditState& state, char c, const NumEditRules& rules) {
  if (c == 'e') c = 'E';
  const bool accepted = IsDigit(c) || c == '-' || c == 'E' || c == Separator();
  if (!accepted) return false;
  NumEditState next = state;
  if (c == 'E' || c == Separator())
    ClearSelection(next);
  else if (next.selLength > 0)
    DeleteSelection(next, rules);

  // The caret never stands before the number's minus, nor between "E" and the exponent's.
  if (!next.text.empty() && next.text[0] == '-' && next.caret == 0) next.caret = 1;
  const int exponent = Find(next.text, 'E');
  if (exponent >= 0 && exponent + 1 < static_cast<int>(next.text.size()) &&
      next.text[exponent + 1] == '-' && next.caret == exponent + 1)
    next.caret = exponent + 2;

  bool done;
  if (c == '-')
    done = TypeSign(next);
  else if (c == Separator())
    done = TypeSeparator(next, rules);
  else if (c == 'E')
    done = TypeExponent(next, rules);
  else
    done = TypeDigit(next, c, rules);
  if (!done) return false;
  ClearSelection(next);
  state = next;
  return true;
}

std::string SelectionForClipboard(const NumEditState& state) {
  return CleanNumEditText(state.text.substr(state.selStart, state.selLength));
}

}  // namespace zenavo
