#include "base/exceptions.h"

#include <gtest/gtest.h>

namespace zenavo {
namespace {

TEST(FillMessage, ReplacesEachPlaceOnce) {
  const struct {
    const char* templateText;
    std::vector<std::string> arguments;
    const char* filled;
  } cases[] = {
      {"Cannot open file \"%1\". %2", {"/a b", "No such file"}, "Cannot open file \"/a b\". No such file"},
      {"%2 before %1", {"one", "two"}, "two before one"},
      {"an argument holding %2 stays: %1", {"%2", "x"}, "an argument holding x stays: %2"},
      {"a place without an argument stays: %3", {"a"}, "a place without an argument stays: %3"},
      {"100% sure %", {}, "100% sure %"},
  };
  for (const auto& c : cases) EXPECT_EQ(FillMessage(c.templateText, c.arguments), c.filled);
}

TEST(Exception, KeepsItsTemplateAndArgumentsBesideTheEnglishText) {
  const EFOpenError error("/x.csv", "Permission denied");
  EXPECT_STREQ(error.what(), "Cannot open file \"/x.csv\". Permission denied");
  EXPECT_EQ(error.Template(), "Cannot open file \"%1\". %2");
  EXPECT_EQ(error.Arguments(), (std::vector<std::string>{"/x.csv", "Permission denied"}));
  EXPECT_EQ(EListError(7).Message(), "List index out of bounds (7)");
  EXPECT_EQ(EConvertError::NotAFloat("1,5").Message(), "'1,5' is not a valid floating point value");
}

}  // namespace
}  // namespace zenavo
