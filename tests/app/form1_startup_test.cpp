// Start-up: which pair of data files the window loads (the locale probe, the fall-back to the
// _vg pair, a missing _vg file shown and the window opening all the same), and data files that
// are broken in the ways real files break.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>

#include "app/pointing_table.h"
#include "form1_fixture.h"
#include "support/expect_error.h"

namespace zenavo::testing {
namespace {

// The first data row's position and latitude tell the pair apart: -5.0 / -10.07379 in the
// plain files, -5,0 / -10,07379 in the _vg files.
enum Source { kPlain, kVg, kNotLoaded };

Source SatellitesFrom(const TTableGrid& grid) {
  if (grid.Cells(1, 1) == "-5.0") return kPlain;
  if (grid.Cells(1, 1) == "-5,0") return kVg;
  return kNotLoaded;
}
Source CitiesFrom(const TTableGrid& grid) {
  if (grid.Cells(2, 1) == "-10.07379") return kPlain;
  if (grid.Cells(2, 1) == "-10,07379") return kVg;
  return kNotLoaded;
}

class FormStartup : public FormTest {
 protected:
  void ExpectFileError(const std::vector<std::string>& errors, const std::string& file) {
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0], "Cannot open file " + folder_.Path() + file);
  }
};

TEST_F(FormStartup, TheLocaleProbeAndTheFilesPresentChooseThePair) {
  struct Case {
    const char* name;
    bool commaLocale;
    std::set<std::string> present;
    Source satellites, cities;
    const char* unreadPlainFile;   // named with the pair used instead, or nullptr
    const char* missingFileShown;  // its file-open error, or nullptr
  };
  const std::set<std::string> all(kDataFiles.begin(), kDataFiles.end());
  const Case cases[] = {
      {"point locale, all four files", false, all, kPlain, kPlain, nullptr, nullptr},
      {"point locale never touches the _vg files", false, {"satelite.csv", "municipios.csv"},
       kPlain, kPlain, nullptr, nullptr},
      {"comma locale", true, all, kVg, kVg, nullptr, nullptr},
      {"comma locale without the plain pair", true, {"satelite_vg.csv", "municipios_vg.csv"},
       kVg, kVg, nullptr, nullptr},
      {"point locale, satelite.csv missing", false,
       {"municipios.csv", "satelite_vg.csv", "municipios_vg.csv"}, kVg, kVg, "satelite.csv",
       nullptr},
      {"point locale, municipios.csv missing", false,
       {"satelite.csv", "satelite_vg.csv", "municipios_vg.csv"}, kVg, kVg, "municipios.csv",
       nullptr},
      {"comma locale, municipios_vg.csv missing", true,
       {"satelite.csv", "municipios.csv", "satelite_vg.csv"}, kVg, kNotLoaded, nullptr,
       "municipios_vg.csv"},
      {"point locale, both satellite files missing", false, {"municipios.csv", "municipios_vg.csv"},
       kNotLoaded, kNotLoaded, "satelite.csv", "satelite_vg.csv"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TempFolder folder;
    CopyFromBin(folder, std::vector<std::string>(c.present.begin(), c.present.end()));
    ScopedFormatSettings locale(c.commaLocale ? CommaFormatSettings() : PointFormatSettings());
    TForm1 form(folder.Path());
    form.show();
    EXPECT_TRUE(form.isVisible()) << "the window opens";
    EXPECT_EQ(SatellitesFrom(*form.Grid1), c.satellites);
    EXPECT_EQ(CitiesFrom(*form.Grid2), c.cities);
    std::vector<std::string> expected;
    if (c.unreadPlainFile)
      expected.push_back(std::string("Cannot read the data file \"") + c.unreadPlainFile + "\" (" +
                         std::strerror(ENOENT) +
                         "). The tables are loaded from \"satelite_vg.csv\" and "
                         "\"municipios_vg.csv\" instead, whose numbers have a decimal comma: "
                         "where numbers have a decimal point, \"Calcular\" cannot read them");
    if (c.missingFileShown)
      expected.push_back("Cannot open file " + folder.Path() + c.missingFileShown);
    EXPECT_EQ(TakeErrors(), expected);
  }
}

TEST_F(FormStartup, NoDataFileIsEverWritten) {
  CopyFromBin(folder_, kDataFiles);
  CopyFromBin(folder_, kCalculatorFiles);
  for (const std::string& name : kDataFiles) ::chmod((folder_.Path() + name).c_str(), 0444);
  struct stat before[4];
  for (std::size_t i = 0; i < kDataFiles.size(); ++i)
    ::stat((folder_.Path() + kDataFiles[i]).c_str(), &before[i]);
  Open();
  const int saoPaulo = FindRow(*Form().Grid2, "São Paulo", "SP");
  ASSERT_GT(saoPaulo, 0);
  KeyToRow(*Form().Grid2, saoPaulo);
  Click(Form().Button1);
  EXPECT_TRUE(TakeErrors().empty());
  for (std::size_t i = 0; i < kDataFiles.size(); ++i) {
    struct stat after {};
    ::stat((folder_.Path() + kDataFiles[i]).c_str(), &after);
    EXPECT_EQ(after.st_mtim.tv_sec, before[i].st_mtim.tv_sec) << kDataFiles[i];
    EXPECT_EQ(after.st_mtim.tv_nsec, before[i].st_mtim.tv_nsec) << kDataFiles[i];
    EXPECT_EQ(after.st_size, before[i].st_size) << kDataFiles[i];
  }
  EXPECT_FALSE(folder_.Exists("result.txt")) << "the calculator ran elsewhere";
}

TEST_F(FormStartup, EmptyDataFilesOpenAnEmptyWindowThatStaysUsable) {
  folder_.Write("satelite.csv", "");
  folder_.Write("municipios.csv", "");
  CopyFromBin(folder_, kCalculatorFiles);
  Open();
  EXPECT_TRUE(TakeErrors().empty());
  EXPECT_EQ(Form().Grid1->RowCount(), 1);
  Click(Form().Button1);  // nothing to compute: no row, no message
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{});
  Form().Grid2->setFocus();
  QTest::keyClick(Form().Grid2, Qt::Key_Down);
  EXPECT_TRUE(Form().Label4->text().isEmpty());
}

TEST_F(FormStartup, TextWhereNumbersBelongIsShownWhenItIsUsed) {
  CopyFromBin(folder_, kCalculatorFiles);
  folder_.Write("satelite.csv",
                "Satelite,Posição,Azimute,Elevação,Az. Magnet,Hora Az.,Polarização\n"
                "Star One C2,-70.0,,,,,\nBroken,abc,,,,,\nAmazonas 3,-61.0,,,,,\n");
  folder_.Write("municipios.csv",
                "Cidade,Estado,Latitude,Longitude,Altitude\n"
                "São Paulo,SP,-23.56739,-46.57038,784\nNowhere,XX,north,-50,10\n"
                "Sem Altitude,SA,-10.5,-50.25,\n");
  Open();
  EXPECT_TRUE(TakeErrors().empty()) << "loading takes any text";

  // "Calcular": the rows above the broken one get results, the rows below keep theirs.
  Click(Form().Button1);
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{"'abc' is not a valid floating point value"});
  EXPECT_FALSE(Cell(2, 1).empty());
  EXPECT_TRUE(Cell(2, 3).empty());

  // A city row that does not parse changes neither the labels nor the boxes, and the
  // selection stays where it was.
  ClickRow(*Form().Grid2, 1);
  ASSERT_EQ(Form().Label4->text().toStdString(), "São Paulo");
  QTest::keyClick(Form().Grid2, Qt::Key_Down);  // Nowhere: latitude "north"
  QTest::keyClick(Form().Grid2, Qt::Key_End);   // Sem Altitude: altitude empty
  EXPECT_EQ(TakeErrors(), (std::vector<std::string>{"'north' is not a valid floating point value",
                                                    "'' is not a valid floating point value"}));
  EXPECT_EQ(Form().Grid2->Row(), 1);
  EXPECT_EQ(Form().Label4->text().toStdString(), "São Paulo");
  EXPECT_EQ(Form().Label21->text().toStdString(), "SP");
  EXPECT_EQ(Form().QvNumEdit1->text().toStdString(), "-23.56739");
  EXPECT_EQ(Form().QvNumEdit3->text().toStdString(), "784");
}

TEST_F(FormStartup, ASatelliteFileOfTwoColumnsGetsItsResultsInTheTablesOwnColumns) {
  CopyFromBin(folder_, kCalculatorFiles);
  folder_.Write("satelite.csv", "Satelite,Posição\nStar One C2,-70.0\nAmazonas 3,-61.0\n");
  CopyFromBin(folder_, {"municipios.csv"});
  Open();
  EXPECT_EQ(Form().Grid1->ColCount(), 7) << "the file does not narrow the table";
  Click(Form().Button1);
  EXPECT_TRUE(TakeErrors().empty());
  for (int col : {kColAzimuth, kColElevation, kColMagneticAz, kColSkew})
    EXPECT_FALSE(Cell(col, 2).empty()) << col;
}

TEST_F(FormStartup, LegacyLatin1CityNamesReadAsTheyWereWritten) {
  CopyFromBin(folder_, {"satelite.csv"});
  folder_.Write("municipios.csv",
                "Cidade,Estado,Latitude,Longitude,Altitude\n"
                "S\xe3o Jos\xe9 dos Campos,SP,-23.17944,-45.88694,600\n");
  Open();
  ClickRow(*Form().Grid2, 1);
  EXPECT_EQ(Form().Label4->text().toStdString(), "São José dos Campos");
  EXPECT_EQ(Form().QvNumEdit2->text().toStdString(), "-45.88694");
}

TEST_F(FormStartup, A50MegabyteCityFileLoadsAndItsLastCityCanBeChosen) {
  CopyFromBin(folder_, {"satelite.csv"});
  {
    std::ofstream file(folder_.Path() + "municipios.csv", std::ios::binary);
    file << "Cidade,Estado,Latitude,Longitude,Altitude\n";
    const std::string row = "Cidade de teste com um nome comprido,SP,-23.5,-46.25,700\n";
    for (std::size_t written = 0; written < (50u << 20); written += row.size()) file << row;
    file << "Last,XX,-1.5,-2.5,3\n";
  }
  Open();
  EXPECT_TRUE(TakeErrors().empty());
  const int last = Form().Grid2->RowCount() - 1;
  EXPECT_GT(last, 900000);
  Form().Grid2->setFocus();
  QTest::keyClick(Form().Grid2, Qt::Key_End);
  EXPECT_EQ(Form().Label4->text().toStdString(), "Last");
  EXPECT_EQ(Form().QvNumEdit3->text().toStdString(), "3");
}

}  // namespace
}  // namespace zenavo::testing
