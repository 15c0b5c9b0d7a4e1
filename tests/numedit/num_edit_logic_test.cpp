#include "numedit/num_edit_logic.h"

#include <gtest/gtest.h>

#include "base/format_settings.h"

namespace zenavo {
namespace {

NumEditState At(const std::string& text, int caret, int selStart = -1, int selLength = 0) {
  NumEditState state;
  state.text = text;
  state.caret = caret;
  state.selStart = selStart < 0 ? caret : selStart;
  state.selLength = selLength;
  return state;
}

enum class Key { Backspace, Delete };

struct TypingCase {
  const char* name;
  NumEditState before;
  std::string keys;       // characters typed, in order
  const char* text;       // the text afterwards
  int caret;              // the caret afterwards
  int refused;            // characters refused (beeps)
  int decimals = -1;
};

class TypingTest : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TypingTest, FollowsTheFilter) {
  const TypingCase& c = GetParam();
  ScopedFormatSettings locale(CommaFormatSettings());
  NumEditRules rules;
  rules.decimals = c.decimals;
  NumEditState state = c.before;
  int refused = 0;
  for (char key : c.keys) {
    const NumEditState before = state;
    if (!TypeCharacter(state, key, rules)) {
      ++refused;
      EXPECT_EQ(state, before) << "a refused key changed the box";
    }
  }
  EXPECT_EQ(state.text, c.text);
  EXPECT_EQ(state.caret, c.caret);
  EXPECT_EQ(refused, c.refused);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, TypingTest,
    ::testing::Values(
        TypingCase{"digitReplacesTheZero", At("0", 1), "5", "5", 1, 0},
        TypingCase{"minusOnAWholeSelection", At("12", 2, 0, 2), "-", "-0", 1, 0},
        TypingCase{"thenADigit", At("12", 2, 0, 2), "-2", "-2", 2, 0},
        TypingCase{"minusToggles", At("12", 1), "-", "-12", 2, 0},
        TypingCase{"minusTogglesBack", At("12", 1), "--", "12", 1, 0},
        TypingCase{"separatorJumps", At("12,5", 0), ",", "12,5", 3, 0},
        TypingCase{"separatorGoesToTheEnd", At("1234", 2), ",", "1234,", 5, 0},
        TypingCase{"separatorBeforeTheExponent", At("12E3", 1), ",", "12,E3", 3, 0},
        TypingCase{"lettersAndBlanksBeep", At("12", 2), "a x\x1b\x1a", "12", 2, 5},
        TypingCase{"pointIsNotTheSeparator", At("12", 2), ".", "12", 2, 1},
        TypingCase{"pastedText", At("0", 1), "abc12", "12", 2, 3},
        TypingCase{"lowerCaseExponent", At("12", 1), "e", "12E", 3, 0},
        TypingCase{"exponentJumps", At("1E5", 0), "E", "1E5", 2, 0},
        TypingCase{"exponentSign", At("1E5", 3), "-", "1E-5", 4, 0},
        TypingCase{"exponentSignBack", At("1E-5", 4), "-", "1E5", 3, 0},
        TypingCase{"exponentLimit", At("1E493", 5), "3", "1E493", 5, 1},
        TypingCase{"exponentAtTheLimit", At("1E493", 5), "2", "1E4932", 6, 0},
        TypingCase{"negativeExponentLimit", At("1E-493", 6), "3", "1E-493", 6, 1},
        TypingCase{"exponentZeroReplaced", At("1E0", 2), "7", "1E7", 3, 0},
        TypingCase{"caretLeavesTheMinus", At("-12", 0), "3", "-312", 2, 0},
        TypingCase{"minusZeroReplaced", At("-0", 1), "4", "-4", 2, 0},
        TypingCase{"fixedDecimalsOverwrite", At("1,50", 2), "7", "1,70", 3, 0, 2},
        TypingCase{"fixedDecimalsLastPlaceFull", At("1,50", 4), "7", "1,50", 4, 1, 2},
        TypingCase{"fixedDecimalsIntegerInserts", At("1,50", 1), "2", "12,50", 2, 0, 2},
        TypingCase{"separatorRefusedWithoutDecimals", At("12", 2), ",", "12", 2, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct DeleteCase {
  const char* name;
  NumEditState before;
  Key key;
  const char* text;
  int caret;
  int decimals = -1;
  TNumberFormat format = TNumberFormat::Standard;
};

class DeletingTest : public ::testing::TestWithParam<DeleteCase> {};

TEST_P(DeletingTest, FollowsTheDeletionRules) {
  const DeleteCase& c = GetParam();
  ScopedFormatSettings locale(CommaFormatSettings());
  NumEditRules rules;
  rules.decimals = c.decimals;
  rules.format = c.format;
  NumEditState state = c.before;
  if (c.key == Key::Backspace)
    DeleteBackward(state, rules);
  else
    DeleteForward(state, rules);
  EXPECT_EQ(state.text, c.text);
  EXPECT_EQ(state.caret, c.caret);
  EXPECT_EQ(state.selLength, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DeletingTest,
    ::testing::Values(
        DeleteCase{"lastDigitBecomesZero", At("5", 1), Key::Backspace, "0", 1},
        DeleteCase{"leavesALoneMinus", At("-5", 2), Key::Backspace, "-", 1},
        DeleteCase{"minusRemoved", At("-5", 1), Key::Backspace, "5", 0},
        DeleteCase{"onlyMinus", At("-", 1), Key::Backspace, "0", 0},
        DeleteCase{"stepsOverTheSeparator", At("12,5", 3), Key::Backspace, "1,5", 1},
        DeleteCase{"deleteStepsOverTheSeparator", At("12,5", 2), Key::Delete, "12,", 3},
        DeleteCase{"firstDigitBeforeSeparator", At("5,25", 1), Key::Backspace, "0,25", 1},
        DeleteCase{"fixedDecimalsKeepTheirCount", At("1,50", 3), Key::Backspace, "1,00", 2, 2},
        DeleteCase{"startDoesNothing", At("12", 0), Key::Backspace, "12", 0},
        DeleteCase{"endDoesNothing", At("12", 2), Key::Delete, "12", 2},
        DeleteCase{"exponentKeepsADigit", At("1E5", 3), Key::Backspace, "1E0", 2, -1,
                   TNumberFormat::Scientific},
        DeleteCase{"exponentStandard", At("1E5", 3), Key::Backspace, "1E", 2},
        DeleteCase{"wholeSelection", At("1234", 4, 0, 4), Key::Delete, "0", 0},
        DeleteCase{"partSelection", At("1234", 3, 1, 2), Key::Backspace, "14", 1},
        DeleteCase{"selectionWithSeparator", At("12,34", 4, 2, 2), Key::Delete, "12,4", 3},
        DeleteCase{"selectionWithExponent", At("12E5", 4, 2, 2), Key::Delete, "12E", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NumEditLogic, MaxLengthRefusesGrowth) {
  ScopedFormatSettings locale(CommaFormatSettings());
  NumEditRules rules;
  rules.maxLength = 3;
  NumEditState state = At("123", 3);
  EXPECT_FALSE(TypeCharacter(state, '4', rules));
  EXPECT_TRUE(TypeCharacter(state, '-', rules));  // the sign is not counted against the length
  EXPECT_EQ(state.text, "-123");
}

TEST(NumEditLogic, ClipboardTextIsClean) {
  ScopedFormatSettings locale(CommaFormatSettings());
  EXPECT_EQ(SelectionForClipboard(At("1.234,5", 7, 0, 7)), "1234,5");
  EXPECT_EQ(SelectionForClipboard(At("-5", 1, 0, 1)), "-0");
  EXPECT_EQ(SelectionForClipboard(At("1.234", 2, 1, 1)), "0");
}

}  // namespace
}  // namespace zenavo
