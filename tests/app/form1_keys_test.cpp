// The window's keys: Ctrl+F and typing reach a city of the real city table (site panel filled
// as by a click), and Enter in a site box runs "Calcular".
#include <QLabel>

#include "app/pointing_table.h"
#include "form1_fixture.h"

namespace zenavo::testing {
namespace {

class FormKeys : public FormTest {};

TEST_F(FormKeys, CtrlFThenTypingReachesACityAndFillsTheSite) {
  const struct {
    const char* typed;
    const char* city;
    const char* state;
  } cases[] = {
      {"sao paulo/sp", "São Paulo", "SP"},
      {"bom jesus/pi", "Bom Jesus", "PI"},
      {"bom jesus rs", "Bom Jesus", "RS"},
      {"BRASILIA", "Brasília", "DF"},
  };
  OpenWithEverything();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    Form().QvNumEdit1->setFocus();
    QTest::keyClick(Form().QvNumEdit1, Qt::Key_F, Qt::ControlModifier);
    ASSERT_TRUE(Form().Grid2->hasFocus()) << "Ctrl+F puts the focus in the city table";
    QTest::keyClicks(Form().Grid2, QString::fromUtf8(c.typed));
    const int row = Form().Grid2->Row();
    EXPECT_EQ(Form().Grid2->Cells(0, row), c.city);
    EXPECT_EQ(Form().Grid2->Cells(1, row), c.state);
    EXPECT_EQ(Form().Label4->text().toStdString(), c.city) << "the site panel is filled";
    EXPECT_EQ(Form().Label21->text().toStdString(), c.state);
    EXPECT_EQ(Form().QvNumEdit1->text().toStdString(), Form().Grid2->Cells(2, row));
    EXPECT_TRUE(Form().Grid2->CellRect(0, row).isValid()) << "scrolled into view";
    if (c.typed == std::string("sao paulo/sp"))  // the window with the tip, for a person to see
      SavePictureToLookAt(Form().grab().toImage(), "find_sao_paulo.png");
    QTest::keyClick(Form().Grid2, Qt::Key_Escape);
  }
}

TEST_F(FormKeys, EnterInASiteBoxRunsCalcular) {
  OpenWithEverything();
  for (TQvNumEdit* box : {Form().QvNumEdit1, Form().QvNumEdit2, Form().QvNumEdit3}) {
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
      SCOPED_TRACE(box->objectName().toStdString() + (key == Qt::Key_Enter ? " keypad" : ""));
      Form().Grid1->EditTable([](StringTable& table) { table.SetCells(kColAzimuth, 1, ""); });
      box->setFocus();
      QTest::keyClick(box, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
      EXPECT_FALSE(Cell(kColAzimuth, 1).empty()) << "the pointing table was computed";
      EXPECT_TRUE(box->hasFocus()) << "the focus stays in the box";
    }
  }
}

}  // namespace
}  // namespace zenavo::testing
