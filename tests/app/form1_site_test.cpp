// The installer's story: every number on screen, on paper and in the saved file belongs to the
// site it names. City A calculated, city B chosen (the table and dials emptied), B calculated
// (the dials on the highlighted satellite), a header sort (the same satellite highlighted and
// shown), then B's table printed and saved, both naming B.
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>

#include <functional>

#include "app/declination_lookup.h"
#include "app/pointing_table.h"
#include "app/site_line.h"
#include "base/float_text.h"
#include "base/format_settings.h"
#include "form1_fixture.h"
#include "gauges/angular_meter.h"
#include "gauges/jog_meter.h"
#include "grid/table_printer.h"
#include "support/pdf_reader.h"

namespace zenavo::testing {
namespace {

class FormSiteStory : public FormTest {
 public:
  using FormTest::ClickRow;
  using FormTest::Form;

  void TearDown() override {
    CurrentPrinter().setOutputFileName(QString());
    CurrentPrinter().setOutputFormat(QPrinter::NativeFormat);
  }
  void ChooseCity(const char* city, const char* state) {
    const int row = FindRow(*Form().Grid2, city, state);
    ASSERT_GT(row, 0) << city;
    ClickRow(*Form().Grid2, row);
  }
  void Calculate() {
    Click(Form().Button1);
    EXPECT_EQ(TakeErrors(), std::vector<std::string>{});
  }
  // The dials, the scale and Label9 show `row` of the satellite table.
  void ExpectDialsOn(int row) {
    EXPECT_EQ(Form().Label9->text().toStdString(), Cell(kColName, row));
    EXPECT_EQ(Form().AngularMeter1->Position(), double(StrToFloat(Cell(kColAzimuth, row))));
    EXPECT_EQ(Form().AngularMeter2->Position(), double(StrToFloat(Cell(kColMagneticAz, row))));
    EXPECT_EQ(Form().JogMeter2->Value().Value(), double(StrToFloat(Cell(kColElevation, row))));
  }
  void ExpectNoResults() {
    for (int row = 1; row < Form().Grid1->RowCount(); ++row)
      for (int col = kColAzimuth; col <= kColSkew; ++col)
        ASSERT_EQ(Cell(col, row), "") << "cell " << col << "," << row;
    EXPECT_EQ(Form().Label9->text(), "");
    EXPECT_EQ(Form().AngularMeter1->Position(), 90);
    EXPECT_EQ(Form().AngularMeter2->Position(), 90);
    EXPECT_EQ(Form().JogMeter2->Value().Value(), 0);
    EXPECT_EQ(Form().Calculation(), std::nullopt);
  }
};

TEST_F(FormSiteStory, EveryNumberBelongsToTheSiteItNames) {
  OpenWithEverything();
  TempFolder output;
  // City A, "Calcular": the dials show the highlighted satellite at once.
  ChooseCity("Boa Vista", "RR");
  const int starOne = FindRow(*Form().Grid1, "Star One C4", "-70.0");
  ASSERT_GT(starOne, 0);
  ClickRow(*Form().Grid1, starOne, kColAzimuth);
  Calculate();
  ExpectDialsOn(starOne);
  const std::string boaVistaAzimuth = Cell(kColAzimuth, starOne);

  // City B: nothing of A stays on screen.
  ChooseCity("São Paulo", "SP");
  ExpectNoResults();

  // "Calcular" for B: B's results, the dials on the highlighted row.
  Calculate();
  ASSERT_TRUE(Form().Calculation().has_value());
  EXPECT_EQ(Form().Calculation()->City, "São Paulo");
  EXPECT_NE(Cell(kColAzimuth, starOne), boaVistaAzimuth);
  EXPECT_EQ(Cell(kColAzimuth, starOne).substr(0, 4), "312.");
  ExpectDialsOn(starOne);

  // Sorted by "Azimute" (twice: descending): the same satellite is highlighted and shown.
  const QPoint azimuthHeader(Form().Grid1->CellRect(kColAzimuth, 0).center());
  for (int click = 0; click < 2; ++click)
    QTest::mouseClick(Form().Grid1->viewport(), Qt::LeftButton, Qt::NoModifier, azimuthHeader);
  const int current = Form().Grid1->Row();
  EXPECT_NE(current, starOne) << "the sort moved the satellite";
  EXPECT_EQ(Cell(kColName, current), "Star One C4");
  EXPECT_FALSE(Form().Grid1->CellRect(0, current).isEmpty()) << "scrolled into view";
  ExpectDialsOn(current);
  // Clicking the highlighted row shows it again.
  Form().Grid1->SetCells(kColElevation, current, "45.00");
  ClickRow(*Form().Grid1, current);
  EXPECT_EQ(Form().JogMeter2->Value().Value(), 45.0);

  // Printed and saved, the table names B.
  const std::string line = SiteLineText(Form().Calculation());
  EXPECT_EQ(line.substr(0, 32), "Local: São Paulo SP; Latitude -");
  const std::string pdf = output.Path() + "impresso.pdf";
  CurrentPrinter().setOutputFormat(QPrinter::PdfFormat);
  CurrentPrinter().setOutputFileName(QString::fromStdString(pdf));
  // Confirmed as it stands: the printer keeps the PDF file given above.
  ExpectDialog([](QWidget* dialog) { qobject_cast<QPrintDialog*>(dialog)->done(QDialog::Accepted); });
  Click(Form().Button2);
  const std::vector<PdfPage> pages = ReadPdfPages(pdf);
  ASSERT_FALSE(pages.empty());
  EXPECT_NE(pages[0].Text().find("15/03/2026 " + line), std::string::npos) << pages[0].Text();

  ExpectDialog([&](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    ASSERT_NE(dialog, nullptr);
    dialog->setDirectory(QString::fromStdString(output.Path()));
    auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(edit, nullptr);
    edit->setFocus();
    QTest::keyClicks(edit, QStringLiteral("tabela"));
    QTest::keyClick(edit, Qt::Key_Return);
  });
  Click(Form().Button3);
  const std::string html = output.Read("tabela.htm");
  EXPECT_EQ(html.rfind("<meta charset=\"utf-8\">\r\n", 0), 0u);
  EXPECT_NE(html.find("<caption>" + line + "</caption>"), std::string::npos);
  EXPECT_EQ(html.find("Boa Vista"), std::string::npos);
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{});

  // An installer in a comma locale types "-3.1": the latitude is -3.1, a new site.
  const ScopedFormatSettings commaLocale(CommaFormatSettings());
  Form().QvNumEdit1->setFocus();
  Form().QvNumEdit1->selectAll();
  QTest::keyClicks(Form().QvNumEdit1, QStringLiteral("-3.1"));
  EXPECT_EQ(Form().QvNumEdit1->text(), "-3,1");
  EXPECT_EQ(Form().QvNumEdit1->Value(), StrToFloat("-3,1"));
  ExpectNoResults();
}

// What changes the site empties the results; what keeps it keeps them.
TEST_F(FormSiteStory, OnlyAnotherSiteEmptiesTheResults) {
  const struct {
    const char* name;
    std::function<void(FormSiteStory&)> act;
    bool emptied;
    const char* label4;
  } cases[] = {
      {"the same city again", [](FormSiteStory& t) { t.ChooseCity("São Paulo", "SP"); }, false,
       "São Paulo"},
      {"a satellite row", [](FormSiteStory& t) { t.ClickRow(*t.Form().Grid1, 3, kColAzimuth); },
       false, "São Paulo"},
      {"another city", [](FormSiteStory& t) { t.ChooseCity("Manaus", "AM"); }, true, "Manaus"},
      {"a digit typed into the altitude",
       [](FormSiteStory& t) {
         t.Form().QvNumEdit3->setFocus();
         QTest::keyClick(t.Form().QvNumEdit3, Qt::Key_End);
         QTest::keyClick(t.Form().QvNumEdit3, Qt::Key_1);
       },
       true, "Local digitado"},
  };
  OpenWithEverything();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ChooseCity("São Paulo", "SP");
    Calculate();
    c.act(*this);
    EXPECT_EQ(Form().Calculation().has_value(), !c.emptied);
    EXPECT_EQ(Cell(kColAzimuth, 1).empty(), c.emptied);
    EXPECT_EQ(Form().Label4->text().toStdString(), c.label4);
  }
}

TEST_F(FormSiteStory, NoDeclinationLeavesTheMagneticAzimuthsEmptyAndSaysSo) {
  CopyFromBin(folder_, kDataFiles);
  folder_.WriteScript("magc", "echo 'a b c d e ' > \"$9\"\n");
  Open();
  ChooseCity("São Paulo", "SP");
  Click(Form().Button1);
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{kNoDeclinationMessage});
  const int starOne = FindRow(*Form().Grid1, "Star One C4", "-70.0");
  EXPECT_EQ(Cell(kColAzimuth, starOne).substr(0, 4), "312.");
  EXPECT_EQ(Cell(kColMagneticAz, starOne), "");
  EXPECT_EQ(Form().MagneticDeclination(), std::nullopt);
}

}  // namespace
}  // namespace zenavo::testing
