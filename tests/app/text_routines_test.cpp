#include "app/text_routines.h"

#include <gtest/gtest.h>

namespace zenavo {
namespace {

TEST(SplitText, KeepsEmptyParts) {
  const struct {
    const char* text;
    const char* separator;
    std::vector<std::string> parts;
  } cases[] = {
      {"a b", " ", {"a", "b"}},
      {"a  b", " ", {"a", "", "b"}},
      {" a", " ", {"", "a"}},
      {"a ", " ", {"a", ""}},
      {"", " ", {""}},
      {"abc", " ", {"abc"}},
      {"a--b----c", "--", {"a", "b", "", "c"}},
      {" a b c d e -21.5 ", " ", {"", "a", "b", "c", "d", "e", "-21.5", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitText(c.text, c.separator), c.parts) << c.text;
}

TEST(CollapseSeparators, MakesEveryRunOneSeparator) {
  const struct {
    const char* text;
    const char* separator;
    const char* collapsed;
  } cases[] = {
      {"  a   b ", " ", " a b "},
      {"abc", " ", "abc"},
      {"    ", " ", " "},
      {"", " ", ""},
      {"   a b  c   d e  -21.5   ", " ", " a b c d e -21.5 "},
      {"a----b--", "--", "a--b--"},
      {"a---b", "--", "a---b"},  // a lone '-' after the run stays
  };
  for (const auto& c : cases) EXPECT_EQ(CollapseSeparators(c.text, c.separator), c.collapsed);
}

TEST(DotToComma, ReplacesOnlyTheFirstDot) {
  EXPECT_EQ(DotToComma("-21.50"), "-21,50");
  EXPECT_EQ(DotToComma("1.2.3"), "1,2.3");
  EXPECT_EQ(DotToComma("-21,5"), "-21,5");
  EXPECT_EQ(DotToComma(""), "");
}

}  // namespace
}  // namespace zenavo
