#include "table/table_find.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zenavo {
namespace {

// A city table: the header row, then (name, state) rows 1, 2, ...
StringTable Cities(const std::vector<std::pair<std::string, std::string>>& rows) {
  StringTable table(2, static_cast<int>(rows.size()) + 1);
  table.SetCells(0, 0, "Cidade");
  table.SetCells(1, 0, "Estado");
  for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
    table.SetCells(0, i + 1, rows[i].first);
    table.SetCells(1, i + 1, rows[i].second);
  }
  return table;
}

TEST(Folded, DropsCaseAndAccentsOfUtf8AndLatin1) {
  const struct {
    std::string text, folded;
  } cases[] = {
      {"São Paulo", "sao paulo"},
      {"BRASÍLIA", "brasilia"},
      {"Açaílândia", "acailandia"},
      {"Ñandú Œuvre Łódź", "nandu Œuvre lodz"},  // Œ has no single base letter: kept
      {"\xC3\x83o", "ao"},                            // UTF-8 "Ão"
      {"S\xE3o Jo\xE3o", "sao joao"},                 // Latin-1 cells read as Latin-1
      {"Sa\xCC\x83o", "sao"},                         // a combining tilde is dropped
      {"Star One C2", "star one c2"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(Folded(c.text), c.folded) << c.text;
}

TEST(FindRow, FindsByStartThenByContentInTableOrderFromTheGivenRow) {
  const StringTable table = Cities({{"Bom Jesus", "PI"},         // 1
                                    {"Brasília", "DF"},          // 2
                                    {"São Paulo", "SP"},         // 3
                                    {"Bom Jesus", "RS"},         // 4
                                    {"Jesuânia", "MG"},          // 5
                                    {"São Paulo de Olivença", "AM"},  // 6
                                    {"Bom Jesus da Lapa", "BA"},  // 7
                                    {"Santo Antônio do Paulo", "XX"}});  // 8
  const FindColumns city{0, 1};
  const FindColumns nameOnly{0, -1};
  const struct {
    const char* name;
    FindColumns columns;
    std::string typed;
    int from, row;
  } cases[] = {
      {"accents and case aside", city, "SAO P", 1, 3},
      {"accented text typed", city, "brasília", 1, 2},
      {"from the given row on", city, "sao paulo", 4, 6},
      {"wraps to the first data row", city, "sao paulo", 7, 3},
      {"the given row itself counts", city, "bom jesus", 4, 4},
      {"starts-with before contains", city, "jesu", 1, 5},
      {"contains when nothing starts with it", city, "paulo", 4, 6},
      {"contains from the given row, wrapping", city, "paulo", 7, 8},
      {"state after a slash", city, "bom jesus/rs", 1, 4},
      {"state after a slash, any case", city, "Bom Jesus/Rs", 5, 4},
      {"state after a space", city, "bom jesus rs", 1, 4},
      {"the state typed in part", city, "bom jesus/b", 1, 7},
      {"an empty state: any", city, "bom jesus/", 5, 7},
      {"a whole name before a state split", city, "bom jesus da", 1, 7},
      {"no state column: the slash is text", nameOnly, "bom jesus/rs", 1, -1},
      {"no match", city, "xique", 1, -1},
      {"no such state", city, "bom jesus/sp", 1, -1},
      {"only spaces", city, "  ", 1, -1},
      {"a row outside starts at the first", city, "bom", 99, 1},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FindRow(table, c.columns, c.typed, c.from), c.row) << c.name;
}

TEST(FindRow, LooksAtDataRowsOnly) {
  const StringTable table = Cities({{"Lagoa", "MG"}});
  EXPECT_EQ(FindRow(table, {0, 1}, "cidade", 1), -1);  // the header row holds "Cidade"
}

}  // namespace
}  // namespace zenavo
