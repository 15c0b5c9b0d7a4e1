// The comma-decimal data files the build derives: the same tables, with the same numbers, as
// the point-decimal files they come from, each read in the locale it is meant for.
#include <gtest/gtest.h>

#include <string>

#include "base/float_text.h"
#include "base/format_settings.h"
#include "base/string_table.h"
#include "table/csv_loader.h"

namespace zenavo {
namespace {

StringTable Load(const std::string& name) {
  StringTable table(1, 1);
  LoadFromCsvFile(table, std::string(ZENAVO_BIN_DIR) + "/" + name);
  return table;
}

// A cell's number in the locale in force, or nothing.
bool ParsesAs(const std::string& text, long double& value) {
  try {
    value = StrToFloat(text);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

class VgDataFiles : public ::testing::TestWithParam<const char*> {};

TEST_P(VgDataFiles, HoldTheSameTextsAndNumbers) {
  const std::string name = GetParam();
  StringTable plain, vg;
  {
    ScopedFormatSettings point(PointFormatSettings());
    plain = Load(name + ".csv");
  }
  {
    ScopedFormatSettings comma(CommaFormatSettings());
    vg = Load(name + "_vg.csv");
  }
  ASSERT_EQ(vg.RowCount(), plain.RowCount());
  ASSERT_EQ(vg.ColCount(), plain.ColCount());
  int numbers = 0, mismatches = 0;
  for (int row = 0; row < plain.RowCount() && mismatches < 10; ++row) {
    for (int col = 0; col < plain.ColCount(); ++col) {
      const std::string a(plain.Cells(col, row)), b(vg.Cells(col, row));
      long double x = 0, y = 0;
      bool pointNumber, commaNumber;
      {
        ScopedFormatSettings point(PointFormatSettings());
        pointNumber = ParsesAs(a, x);
      }
      {
        ScopedFormatSettings comma(CommaFormatSettings());
        commaNumber = ParsesAs(b, y);
      }
      const bool same = pointNumber ? (commaNumber && x == y) : (!commaNumber && a == b);
      if (!same) {
        ADD_FAILURE() << name << " cell (" << col << ", " << row << "): '" << a << "' vs '" << b
                      << "'";
        ++mismatches;
      }
      numbers += pointNumber;
    }
  }
  EXPECT_GE(numbers, plain.RowCount() - 1);  // at least one number in every data row
}

INSTANTIATE_TEST_SUITE_P(Shipped, VgDataFiles, ::testing::Values("satelite", "municipios"));

}  // namespace
}  // namespace zenavo
