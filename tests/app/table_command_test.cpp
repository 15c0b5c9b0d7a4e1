// "zenavo --tabela": the table the command writes is the table the window shows for the same
// site, in the locale's notation, and every failure is a message and an exit status.
#include "app/table_command.h"

#include <gtest/gtest.h>

#include <sstream>

#include "app/form1_fixture.h"
#include "table/csv_loader.h"
#include "support/fifo.h"
#include "support/widget_test_support.h"

namespace zenavo::testing {
namespace {

struct CommandRun {
  int status;
  std::string out, err;
};

class TableCommand : public FormTest {
 protected:
  // The program's command line as main() takes it: read before Qt, then the table command.
  CommandRun Run(const std::vector<std::string>& commandLine) {
    const CommandLine command = ParseCommandLine(commandLine);
    std::ostringstream out, err;
    std::optional<int> status = AnswerWithoutQt(command, out, err);
    if (!status) status = RunTableCommand(command.table, folder_.Path(), out, err);
    return {*status, out.str(), err.str()};
  }

  // The rows of the command's output, split by `delimiter` as the loader splits them.
  static std::vector<std::vector<std::string>> Rows(const std::string& csv, char delimiter) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(csv);
    for (std::string line; std::getline(lines, line);)
      rows.push_back(SplitCsvLine(line, delimiter));
    return rows;
  }

  // Grid1 as the window shows it now, without the empty cells at the end of each row.
  std::vector<std::vector<std::string>> WindowRows() {
    std::vector<std::vector<std::string>> rows;
    for (int row = 0; row < Form().Grid1->RowCount(); ++row) {
      std::vector<std::string> cells;
      for (int col = 0; col < Form().Grid1->ColCount(); ++col) cells.push_back(Cell(col, row));
      while (!cells.empty() && cells.back().empty()) cells.pop_back();
      rows.push_back(cells);
    }
    return rows;
  }
};

TEST_F(TableCommand, WritesTheTableTheWindowShowsForTheSameSite) {
  const struct {
    const char* name;
    bool commaLocale;
    std::vector<std::string> args;
    int year = FixedDay().Year;
    std::string warning;  // the calculator's, said on the standard error
  } cases[] = {
      {"city", false, {"--tabela", "--cidade", "São Paulo/SP"}, FixedDay().Year, ""},
      {"cityAnyCaseAndState", false, {"--tabela", "--cidade", "são paulo"}, FixedDay().Year, ""},
      {"cityWithoutAccents", false, {"--tabela", "--cidade", "Sao Paulo/sp"}, FixedDay().Year, ""},
      {"typedSite", false, {"--tabela", "-23.56739", "-46.57038", "784"}, FixedDay().Year, ""},
      {"typedSiteCommaLocale", true, {"--tabela", "-23,56739", "-46,57038", "784"}, FixedDay().Year, ""},
      {"dateBeyondTheModel", false, {"--tabela", "--cidade", "São Paulo/SP"}, 2031,
       "magc: warning: date 2031.2000 lies outside the model's validity (2025.0 to 2030.0)\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ScopedFormatSettings locale(c.commaLocale ? CommaFormatSettings() : PointFormatSettings());
    ScopedClockSource day(std::make_shared<FixedClock>(
        LocalDate{c.year, FixedDay().Month, FixedDay().Day}, kSaoPauloOffsetMinutes));
    OpenWithEverything();
    ClickRow(*Form().Grid2, FindRow(*Form().Grid2, "São Paulo", "SP"));
    Click(Form().Button1);
    const std::vector<std::string> shown = TakeErrors();
    if (c.warning.empty())
      ASSERT_TRUE(shown.empty());
    else
      EXPECT_EQ(shown, std::vector<std::string>{c.warning.substr(0, c.warning.size() - 1)});

    const CommandRun run = Run(c.args);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, c.warning);
    const std::vector<std::vector<std::string>> rows = Rows(run.out, c.commaLocale ? ';' : ',');
    EXPECT_EQ(rows, WindowRows());
    ASSERT_EQ(rows.size(), 55u);  // the caption row and 54 satellites
    EXPECT_EQ(rows[0][0], "Satelite");
    EXPECT_EQ(rows[1].size(), 7u) << "no results";
    EXPECT_TRUE(TakeErrors().empty()) << "the command's errors never reach the error box";
    form_.reset();
  }
}

TEST_F(TableCommand, EveryFailureIsAMessageAndAStatus) {
  const std::string cityFile = folder_.Path() + "municipios.csv";
  const std::string cityCaptions = "Cidade,Estado,Latitude,Longitude,Altitude\n";
  const struct {
    const char* name;
    std::vector<std::string> remove;  // files taken out of the program's folder first
    std::vector<std::pair<std::string, std::string>> write;  // files written there (name, bytes)
    std::vector<std::string> fifos;   // files made named pipes without a writer
    std::vector<std::string> args;
    int status;
    std::string err;  // what the standard error starts with
  } cases[] = {
      {"noSite", {}, {}, {}, {"--tabela"}, 1, "Uso: zenavo --tabela"},
      {"twoNumbers", {}, {}, {}, {"--tabela", "-23", "-46"}, 1, "Uso: zenavo --tabela"},
      {"cityWithoutName", {}, {}, {}, {"--tabela", "--cidade", ""}, 1, "Uso: zenavo --tabela"},
      {"cityOnlyAState", {}, {}, {}, {"--tabela", "--cidade", "/RS"}, 1, "Uso: zenavo --tabela"},
      {"cityOfBlanks", {}, {}, {}, {"--tabela", "--cidade", "  "}, 1, "Uso: zenavo --tabela"},
      {"unknownOption", {}, {}, {}, {"--tabela", "--cidade", "Rio", "x"}, 1,
       "Uso: zenavo --tabela"},
      {"unknownOptionAlone", {}, {}, {}, {"--bogus"}, 1, "Uso: zenavo --tabela"},
      {"unknownCity", {}, {}, {}, {"--tabela", "--cidade", "Atlântida"}, 1,
       "zenavo: cidade não encontrada: Atlântida.\n"},
      {"controlCharactersInAnArgument", {}, {}, {}, {"--tabela", "--cidade", "Atl\x1b[2J\tn\nX"}, 1,
       "zenavo: cidade não encontrada: Atl\\x1b[2J\\tn\\nX.\n"},
      {"cityInTwoStates", {}, {}, {}, {"--tabela", "--cidade", "Santa Luzia"}, 1,
       "zenavo: há cidades com esse nome"},
      {"notANumber", {}, {}, {}, {"--tabela", "-23", "abc", "0"}, 1,
       "zenavo: 'abc' is not a valid floating point value."},
      {"commaInAPointLocale", {}, {}, {}, {"--tabela", "-23,5", "-46", "0"}, 1,
       "zenavo: '-23,5' is not a valid"},
      {"latitudeBeyondAPole", {}, {}, {}, {"--tabela", "95", "-46", "0"}, 1,
       "zenavo: latitude fora do intervalo de -90 a 90: 95.\n"},
      {"longitudeBeyondATurn", {}, {}, {}, {"--tabela", "-23", "361", "0"}, 1,
       "zenavo: longitude fora do intervalo de -360 a 360: 361.\n"},
      {"dataFilesMissing", kDataFiles, {}, {}, {"--tabela", "-23", "-46", "0"}, 2,
       "zenavo: Cannot read the data file \"satelite.csv\""},
      {"cityFilesPipes", {}, {}, {"municipios.csv", "municipios_vg.csv"},
       {"--tabela", "--cidade", "Rio"}, 2,
       "zenavo: Cannot read the data file \"municipios.csv\" (It is a named pipe, not a regular "
       "file)"},
      {"satelliteFileAPipe", {}, {}, {"satelite.csv"}, {"--tabela", "-23", "-46", "0"}, 2,
       "zenavo: Cannot read the data file \"satelite.csv\" (It is a named pipe, not a regular "
       "file)"},
      {"cityFileEmpty", {}, {{"municipios.csv", ""}}, {}, {"--tabela", "--cidade", "Rio"}, 2,
       "zenavo: The city file \"" + cityFile + "\" holds no city.\n"},
      {"cityFileGarbled", {}, {{"municipios.csv", "\x7f" "ELF\x02\x01\n\x1b[2J\xff\n"}}, {},
       {"--tabela", "--cidade", "Rio"}, 2,
       "zenavo: The city file \"" + cityFile + "\" is damaged: line 2 is not a city"},
      {"cityFileCutShort", {},
       {{"municipios.csv", cityCaptions + "Rio Branco,AC,-9.97,-67.81,153\nRio Grande,RS,-32.0"}},
       {}, {"--tabela", "--cidade", "Rio Branco"}, 2,
       "zenavo: The city file \"" + cityFile + "\" is damaged: line 3 is not a city"},
      {"controlCharactersInData", {}, {{"satelite.csv", "Satelite,Posição\nSat,-70\x1b[2J\r\n"}},
       {}, {"--tabela", "-23", "-46", "0"}, 2,
       "zenavo: '-70\\x1b[2J' is not a valid floating point value.\n"},
      {"calculatorMissing", {"magc"}, {}, {}, {"--tabela", "-23", "-46", "0"}, 2,
       "zenavo: Could not execute command line!\n"},
      {"modelMissing", {"WMM2025.COF"}, {}, {}, {"--tabela", "-23", "-46", "0"}, 2,
       "zenavo: Cannot open file "},
      {"modelAPipe", {}, {}, {"WMM2025.COF"}, {"--tabela", "-23", "-46", "0"}, 2,
       "zenavo: Cannot open file "},
      {"altitudeBeyondAnySite", {}, {}, {}, {"--tabela", "-23", "-46", "-1e308"}, 1,
       "zenavo: The altitude -1E308 m lies outside -500 to 9,000 m; type the site's altitude in "
       "metres.\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CopyFromBin(folder_, kDataFiles);
    CopyFromBin(folder_, kCalculatorFiles);
    for (const std::string& name : c.remove) std::filesystem::remove(folder_.Path() + name);
    for (const auto& [name, bytes] : c.write) folder_.Write(name, bytes);
    std::vector<std::string> fifos;
    for (const std::string& name : c.fifos) {
      std::filesystem::remove(folder_.Path() + name);
      fifos.push_back(MakeFifo(folder_.Path() + name));
    }
    CommandRun run;
    ExpectReturnsWithoutAWriter(fifos, [&] { run = Run(c.args); });
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << run.err;
    EXPECT_TRUE(TakeErrors().empty()) << "the command's errors never reach the error box";
    for (const std::string& fifo : fifos) std::filesystem::remove(fifo);
  }
}

TEST_F(TableCommand, ASatelliteFileWithoutRowsIsNoTable) {
  CopyFromBin(folder_, kDataFiles);
  CopyFromBin(folder_, kCalculatorFiles);
  folder_.Write("satelite.csv", "");
  const CommandRun run = Run({"--tabela", "-23", "-46", "0"});
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(run.err, "zenavo: a tabela de satélites está vazia.\n");
}

}  // namespace
}  // namespace zenavo::testing
