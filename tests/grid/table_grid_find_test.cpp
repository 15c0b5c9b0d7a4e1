// Type to find in a grid, driven by key events: which row becomes current (through
// OnSelectCell), the tip showing the typed text, the beep for no match, and the keys that end
// or shorten a search.
#include <QLabel>

#include "table_grid_fixture.h"

namespace zenavo::testing {
namespace {

class TableGridFind : public TableGridTest {
 protected:
  // A city table: names with accents, the same name in several states.
  void UseCities() {
    UseCityGrid(8);
    const char* const cities[][2] = {
        {"Bom Jesus", "PI"},  {"Brasília", "DF"},          {"São Paulo", "SP"},
        {"Bom Jesus", "RS"},  {"Jesuânia", "MG"},          {"São Paulo de Olivença", "AM"},
        {"Bom Jesus da Lapa", "BA"}, {"Santo Antônio do Paulo", "XX"}};
    for (int row = 1; row <= 8; ++row) {
      grid_->SetCells(0, row, cities[row - 1][0]);
      grid_->SetCells(1, row, cities[row - 1][1]);
    }
    grid_->resize(545, 130);  // as the window holds it: five rows shown
  }

  // The tip's text, or "(hidden)".
  QString Tip() const {
    const auto* tip = grid_->findChild<QLabel*>(QStringLiteral("findTip"));
    return tip && tip->isVisible() ? tip->text() : QStringLiteral("(hidden)");
  }

  // Types `keys`: printable text, or "<Esc>", "<Back>", "<Down>" for single keys.
  void Type(const std::string& keys) {
    if (keys == "<Esc>") return Press(Qt::Key_Escape);
    if (keys == "<Back>") return Press(Qt::Key_Backspace);
    if (keys == "<Down>") return Press(Qt::Key_Down);
    QTest::keyClicks(grid_, QString::fromStdString(keys));
  }
};

TEST_F(TableGridFind, TypedTextReachesItsRow) {
  struct Step {
    std::string keys;
    int row;       // current row after the keys
    QString tip;   // the tip after them
    int beeps = 0;
  };
  struct Case {
    const char* name;
    std::vector<Step> steps;
  };
  const QString hidden = QStringLiteral("(hidden)");
  const Case cases[] = {
      {"accents aside", {{"sao p", 3, "Procurar: sao p"}}},
      {"case aside, typed accents", {{"BRASÍLIA", 2, "Procurar: BRASÍLIA"}}},
      {"narrowed by state after a slash", {{"bom jesus/rs", 4, "Procurar: bom jesus/rs"}}},
      {"narrowed by state after a space", {{"bom jesus rs", 4, "Procurar: bom jesus rs"}}},
      {"contains when nothing starts with it", {{"lapa", 7, "Procurar: lapa"}}},
      {"no match: a beep, nothing moves, the text kept",
       {{"sao p", 3, "Procurar: sao p"}, {"z", 3, "Procurar: sao p", 1}}},
      {"no match for a new text: no search", {{"xy", 1, hidden, 2}}},
      {"Escape ends the search; the next key starts anew below",
       {{"bom", 4, "Procurar: bom"}, {"<Esc>", 4, hidden}, {"b", 7, "Procurar: b"}}},
      {"Backspace shortens, the row kept while it matches",
       {{"bom jesus/r", 4, "Procurar: bom jesus/r"}, {"<Back>", 4, "Procurar: bom jesus/"},
        {"<Back>", 4, "Procurar: bom jesus"}}},
      {"Backspace to nothing ends the search", {{"j", 5, "Procurar: j"}, {"<Back>", 5, hidden}}},
      {"a navigation key keeps its meaning and ends the search",
       {{"sao", 3, "Procurar: sao"}, {"<Down>", 4, hidden}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    UseCities();
    grid_->SetRow(1);
    Press(Qt::Key_Escape);
    TakeEvents();
    for (const Step& step : c.steps) {
      SCOPED_TRACE(step.keys);
      const int before = grid_->Row();
      Type(step.keys);
      EXPECT_EQ(grid_->Row(), step.row);
      EXPECT_EQ(Tip(), step.tip);
      EXPECT_EQ(TakeBeeps(), step.beeps);
      const Events events = TakeEvents();
      if (step.row != before) {
        ASSERT_FALSE(events.empty()) << "the move raises OnSelectCell";
        EXPECT_EQ(events.back(), std::make_pair(0, step.row));
      }
    }
    EXPECT_TRUE(grid_->CellRect(0, grid_->Row()).isValid()) << "the row found is in view";
  }
}

TEST_F(TableGridFind, AfterAPauseTheSameTextMovesToItsNextMatch) {
  UseCities();
  const int expected[] = {4, 7, 1, 4};  // every "Bom Jesus" in turn, wrapping round
  for (const int row : expected) {
    Type("bom jesus");
    EXPECT_EQ(grid_->Row(), row);
    QTest::qWait(TTableGrid::kFindPauseMs + 150);
    EXPECT_EQ(Tip(), "(hidden)") << "the pause ends the search";
  }
  TakeEvents();
}

TEST_F(TableGridFind, ASortedTableIsSearchedInItsShownOrder) {
  UseCities();
  // A click on the "Cidade" header (sorted ascending already, so it flips): names descending,
  // "Bom Jesus da Lapa" first of its name.
  Click(QPoint(20, 10));
  ASSERT_EQ(grid_->Cells(0, 1), "São Paulo de Olivença");
  Type("bom jesus");
  EXPECT_EQ(grid_->Cells(0, grid_->Row()), "Bom Jesus da Lapa");
  TakeEvents();
}

TEST_F(TableGridFind, StartFindShowsTheTipAndTheFirstKeySearchesBelow) {
  UseCities();
  grid_->StartFind();
  EXPECT_EQ(Tip(), "Procurar: ");
  Type("b");
  EXPECT_EQ(grid_->Row(), 2) << "from the row after the current one";
  other_->setFocus();
  EXPECT_EQ(Tip(), "(hidden)") << "leaving the grid ends the search";
  TakeEvents();
}

}  // namespace
}  // namespace zenavo::testing
