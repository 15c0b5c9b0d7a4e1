#include "numedit/num_edit_logic.h"

#include <gtest/gtest.h>

#include <random>

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
  FormatSettings (*locale)() = CommaFormatSettings;
};

class TypingTest : public ::testing::TestWithParam<TypingCase> {};

TEST_P(TypingTest, FollowsTheFilter) {
  const TypingCase& c = GetParam();
  ScopedFormatSettings locale(c.locale());
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
        // The decimal key of the other notation types the separator while there is none yet.
        TypingCase{"pointTypesTheSeparator", At("12", 2), ".", "12,", 3, 0},
        TypingCase{"pointInANegativeNumber", At("0", 1, 0, 1), "-3.1", "-3,1", 4, 0},
        TypingCase{"pointBeforeTheExponent", At("12E3", 1), ".", "12,E3", 3, 0},
        TypingCase{"aSecondPointBeeps", At("760", 3), ".5.", "760,5", 5, 1},
        TypingCase{"pointWithFixedDecimalsBeeps", At("1,50", 1), ".", "1,50", 1, 1, 2},
        TypingCase{"pointWithoutDecimalsBeeps", At("12", 2), ".", "12", 2, 1, 0},
        TypingCase{"commaInAPointLocale", At("760", 3), ",5,", "760.5", 5, 1, -1,
                   PointFormatSettings},
        TypingCase{"lettersTypedAmongDigits", At("0", 1), "abc12", "12", 2, 3},
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
        TypingCase{"separatorRefusedWithoutDecimals", At("12", 2), ",", "12", 2, 1, 0},
        // The extended range ends at 1,18973149535723176502E4932; rounding reaches it up to
        // 1,18973149535723176505351E4932.
        TypingCase{"beyondTheRange", At("2E493", 5), "2", "2E493", 5, 1},
        TypingCase{"beyondTheRangeByTheMantissa", At("0E4932", 0), "2", "0E4932", 0, 1},
        TypingCase{"beyondTheRangeByTheSign", At("2E-4932", 7), "-", "2E-4932", 7, 1},
        TypingCase{"withinTheRange", At("1,1E493", 7), "2", "1,1E4932", 8, 0},
        TypingCase{"justBelowTheLargest", At("1,1897314953572317650E493", 25), "2",
                   "1,1897314953572317650E4932", 26, 0},
        TypingCase{"roundsToTheLargest", At("1,18973149535723176504E493", 26), "2",
                   "1,18973149535723176504E4932", 27, 0},
        TypingCase{"roundsBeyondTheLargest", At("1,18973149535723176506E493", 26), "2",
                   "1,18973149535723176506E493", 26, 1},
        TypingCase{"exponentZeroReplacedBeyondTheRange", At("1E0005", 2), "7", "1E0005", 2, 1},
        TypingCase{"justAboveTheLargest", At("1,1897314953572317651E493", 25), "2",
                   "1,1897314953572317651E493", 25, 1}),
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

TEST(NumEditLogic, IntegersStopAtTheRange) {
  ScopedFormatSettings locale(CommaFormatSettings());
  NumEditState state = At("1" + std::string(4932, '0'), 4933);  // 1E4932
  EXPECT_FALSE(TypeCharacter(state, '0', NumEditRules{}));
  EXPECT_EQ(state.text.size(), 4933u);
  EXPECT_TRUE(TypeCharacter(state, ',', NumEditRules{}));
  EXPECT_TRUE(TypeCharacter(state, '9', NumEditRules{}));
}

struct PasteCase {
  const char* name;
  NumEditState before;
  const char* pasted;    // comma notation; swapped in the point locale
  const char* expected;  // null: refused whole
  int caret = -1;        // after an accepted paste; -1: not looked at
  int decimals = -1;
  int maxLength = 0;
};

class PasteTextTest : public ::testing::TestWithParam<PasteCase> {};

std::string InLocale(std::string text) {
  if (CurrentFormatSettings().DecimalSeparator == '.')
    for (char& c : text) c = c == ',' ? '.' : (c == '.' ? ',' : c);
  return text;
}

TEST_P(PasteTextTest, TakesTheWholeTextOrNothing) {
  const PasteCase& c = GetParam();
  for (const auto& settings : {PointFormatSettings(), CommaFormatSettings()}) {
    ScopedFormatSettings locale(settings);
    SCOPED_TRACE(std::string("decimal separator ") + settings.DecimalSeparator);
    NumEditRules rules;
    rules.decimals = c.decimals;
    rules.maxLength = c.maxLength;
    NumEditState before = c.before;
    before.text = InLocale(before.text);
    NumEditState state = before;
    const bool taken = PasteText(state, InLocale(c.pasted), rules);
    if (!c.expected) {
      EXPECT_FALSE(taken);
      EXPECT_EQ(state, before) << "a refused paste changed the box";
      continue;
    }
    EXPECT_TRUE(taken);
    EXPECT_EQ(state.text, InLocale(c.expected));
    if (c.caret >= 0) {
      EXPECT_EQ(state.caret, c.caret);
    }
    EXPECT_EQ(state.selLength, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, PasteTextTest,
    ::testing::Values(
        PasteCase{"coordinate", At("0", 1, 0, 1), "-22,905", "-22,905", 7},
        PasteCase{"otherNotation", At("0", 1, 0, 1), "-22.905", nullptr},
        PasteCase{"thousandsGrouping", At("0", 1, 0, 1), "1.234,5", nullptr},
        PasteCase{"blankInside", At("0", 1, 0, 1), "12 34", nullptr},
        PasteCase{"plusSign", At("0", 1, 0, 1), "+5", nullptr},
        PasteCase{"secondSeparator", At("0", 1, 0, 1), "1,2,3", nullptr},
        PasteCase{"separatorTheBoxHolds", At("12,5", 4), "3,4", nullptr},
        PasteCase{"exponentTheBoxHolds", At("5E2", 3), "E3", nullptr},
        PasteCase{"minusInside", At("0", 1, 0, 1), "5-3", nullptr},
        PasteCase{"minusTakingTheSignAway", At("-12", 3), "-3", nullptr},
        PasteCase{"minusOfTheExponent", At("5", 1), "E-3", "5E-3", 4},
        PasteCase{"minusWithTheCaretInTheExponent", At("1E", 2), "-5", "1E-5", 4},
        PasteCase{"intoTheMiddle", At("1234", 2), "9", "12934", 3},
        PasteCase{"replacesTheSelection", At("1234", 3, 1, 2), "56", "1564", 3},
        PasteCase{"leadingZeroReplaced", At("0", 1), "7", "7", 1},
        PasteCase{"separatorGoesToTheMantissaEnd", At("12E3", 1), "5,6", "152,6E3"},
        PasteCase{"exponentLimit", At("1", 1), "E4933", nullptr},
        PasteCase{"exponentLeadingZeros", At("1E", 2), "0005", "1E0005", 6},
        PasteCase{"exponentLimitAfterZeros", At("1E-", 3), "0004933", nullptr},
        PasteCase{"digitAfterExponentZeros", At("1E0005", 6), "1", "1E00051", 7},
        PasteCase{"beyondTheRange", At("0", 1, 0, 1), "2E4932", nullptr},
        PasteCase{"fixedDecimalsOverwrite", At("1,50", 2), "73", "1,73", 4, 2},
        PasteCase{"fixedDecimalsFull", At("1,50", 2), "734", nullptr, -1, 2},
        PasteCase{"tooLong", At("12", 2), "345", nullptr, -1, -1, 4},
        PasteCase{"nothingDeletesTheSelection", At("1234", 3, 1, 2), "", "14", 1}),
    [](const auto& info) { return std::string(info.param.name); });

// A paste gives what typing its characters one by one gives, whenever none of them would be
// refused; when one would be, the paste is refused.
TEST(NumEditLogic, PasteMatchesTypingCharacterByCharacter) {
  std::mt19937 random(20261208);
  const std::string alphabet = "0123456789-,E.e ";
  int taken = 0;
  for (int round = 0; round < 20000; ++round) {
    ScopedFormatSettings locale(round % 2 ? CommaFormatSettings() : PointFormatSettings());
    NumEditRules rules;
    rules.decimals = static_cast<int>(random() % 4) - 1;
    rules.format = static_cast<TNumberFormat>(random() % 4);
    NumEditState state = At(FormatNumEditValue(0, rules.format, rules.decimals), 0);
    for (int k = static_cast<int>(random() % 8); k > 0; --k)
      TypeCharacter(state, alphabet[random() % (alphabet.size() - 1)], rules);
    const int size = static_cast<int>(state.text.size());
    state.selStart = static_cast<int>(random() % (size + 1));
    state.selLength = static_cast<int>(random() % 3 == 0 ? random() % (size - state.selStart + 1) : 0);
    state.caret = state.selLength > 0 ? state.selStart + state.selLength : state.selStart;
    std::string pasted;
    for (int k = 1 + static_cast<int>(random() % 8); k > 0; --k) pasted += alphabet[random() % alphabet.size()];

    NumEditState typed = state;
    DeleteSelection(typed, rules);
    bool everyCharacterTaken = true;
    for (char c : pasted) everyCharacterTaken = TypeCharacter(typed, c, rules) && everyCharacterTaken;
    NumEditState result = state;
    const bool accepted = PasteText(result, pasted, rules);
    if (accepted) {
      ++taken;
      if (!everyCharacterTaken || result != typed)
        ADD_FAILURE() << "pasting \"" << pasted << "\" into \"" << state.text << "\" at "
                      << state.caret << " gave \"" << result.text << "\", typing gave \""
                      << typed.text << "\"";
    } else {
      if (everyCharacterTaken && pasted.find_first_of("-,.Ee") == std::string::npos)
        ADD_FAILURE() << "digits \"" << pasted << "\" refused in \"" << state.text << "\"";
      if (result != state) ADD_FAILURE() << "a refused paste changed \"" << state.text << "\"";
    }
  }
  EXPECT_GT(taken, 1000);
}

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
