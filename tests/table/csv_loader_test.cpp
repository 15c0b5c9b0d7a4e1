#include "table/csv_loader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <random>
#include <thread>

#include "base/exceptions.h"
#include "support/csv_reference.h"
#include "support/expect_error.h"
#include "support/fifo.h"
#include "support/temp_folder.h"

namespace zenavo {
namespace {

using zenavo::testing::ExpectError;
using zenavo::testing::ExpectReturnsWithoutAWriter;
using zenavo::testing::MakeFifo;
using zenavo::testing::TempFolder;

std::vector<std::string> CellsOfRow(const StringTable& table, int row) {
  std::vector<std::string> texts;
  for (int col = 0; col < table.ColCount(); ++col) texts.emplace_back(table.Cells(col, row));
  while (!texts.empty() && texts.back().empty()) texts.pop_back();
  return texts;
}

// A 7-column table with captions and "old" cells, as the satellite grid is designed.
StringTable DesignedTable(int rows = 5) {
  StringTable table(7, rows);
  for (int col = 0; col < 7; ++col) {
    table.SetCells(col, 0, "caption" + std::to_string(col));
    for (int row = 1; row < rows; ++row) table.SetCells(col, row, "old");
  }
  return table;
}

TEST(DetectDelimiter, FollowsThePassesAndThePreferenceOrder) {
  const struct {
    const char* first;
    const char* second;
    char expected;
  } cases[] = {
      // Marks: 0 and 1 commas differ; 2 and 2 semicolons agree.
      {"Sat;Pos;Az", "X;Y;-21,5", ';'},
      {"a,b;c,d;e", "f;g,h;i,j", ','},  // a tie goes to the earlier candidate
      {"abc", "def", kNoDelimiter},
      {"a,b,,", "c,d,,", ','},           // a run that ends the line is one mark
      {"a,,b", "c,,d", ','},             // even runs are no marks: pass B
      {"a|b", "", '|'},                  // pass C for a one-line file
      {"a;b", "c#d#e", '#'},             // pass C: the larger count wins
      {"x\ty\tz", "1\t2\t3", '\t'},
      {"a,b", "c;d", ','},               // pass C, tie at 1: earlier candidate
  };
  for (const auto& c : cases)
    EXPECT_EQ(DetectDelimiter(c.first, c.second), c.expected) << c.first << " / " << c.second;
}

TEST(LoadCsvLine, FollowsTheQuoteRules) {
  const struct {
    const char* line;
    char delimiter;
    std::vector<std::string> cells;
  } cases[] = {
      {"\"São Paulo, SP\",x", ',', {"São Paulo, SP", "x"}},
      {"\"a \"\"word\"\" b\",c", ',', {"a \"word\" b", "c"}},
      {"abc,\"x,y\"  ", ',', {"abc", "x,y"}},  // text after the closing quote is dropped
      {"a,,b", ',', {"a", "", "b"}},
      {"a,b,", ',', {"a", "b"}},               // a final delimiter adds no field
      {"\"unclosed,b,c", ',', {"", "b", "c"}},
      {"x,\"\"\"\"", ',', {"x", "\""}},        // four quotes collapse to one
      {"\"a\"junk,b", ',', {"a", "b"}},
      {"\"whole, line\"", kNoDelimiter, {"whole, line"}},
      {" spaced ; kept ", ';', {" spaced ", " kept "}},
      {"a\"\"b;c", ';', {"a\"b", "c"}},         // quote runs collapse in plain fields too
      {"\"", ',', {}},  // one quote: an empty last field
  };
  for (const auto& c : cases) {
    StringTable table(1, 1);
    LoadCsvLine(table, 0, c.line, c.delimiter);
    EXPECT_EQ(CellsOfRow(table, 0), c.cells) << c.line;
  }
}

// The loader's field splitting against a reading of the rules step by step as they are stated,
// on random lines made of the characters that matter.
TEST(SplitCsvLine, AgreesWithAPlainReadingOfTheRules) {
  std::mt19937 random(11);
  const std::string alphabet = "aaaaaaaaaab \",,;";
  const char delimiters[] = {',', ';', kNoDelimiter};
  for (int trial = 0; trial < 50000; ++trial) {
    std::string line(random() % 70, ' ');
    for (char& c : line) c = alphabet[random() % alphabet.size()];
    const char delimiter = delimiters[random() % 3];
    const std::vector<std::string> fields = SplitCsvLine(line, delimiter);
    ASSERT_EQ(fields, testing::ReferenceCsvFields(line, delimiter))
        << "line [" << line << "] delimiter " << int(delimiter);
    StringTable table(1, 1);  // the table takes the same fields
    LoadCsvLine(table, 0, line, delimiter);
    for (std::size_t i = 0; i < fields.size(); ++i)
      ASSERT_EQ(table.Cells(static_cast<int>(i), 0), fields[i]) << line;
  }
}

// What FormatCsvLine writes, the loader reads back field for field.
TEST(FormatCsvLine, TheLoaderReadsTheFieldsBack) {
  const struct {
    std::vector<std::string> fields;
    char delimiter;
    const char* line;
  } cases[] = {
      {{"Satelite", "Posição", "Azimute"}, ',', "Satelite,Posição,Azimute"},
      {{"-22,9", "47,1"}, ';', "-22,9;47,1"},
      {{"-22,9", "47,1"}, ',', "\"-22,9\",\"47,1\""},
      {{"say \"hi\"", " padded ", "x"}, ',', "\"say \"\"hi\"\"\",\" padded \",x"},
      {{"", "", "x"}, ';', ";;x"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatCsvLine(c.fields, c.delimiter), c.line);
    EXPECT_EQ(SplitCsvLine(c.line, c.delimiter), c.fields) << c.line;
  }
  std::mt19937 random(12);
  const std::string alphabet = "ab \",;";
  for (int trial = 0; trial < 20000; ++trial) {
    std::vector<std::string> fields(1 + random() % 5);
    for (std::string& field : fields) {
      field.resize(random() % 6);
      for (char& c : field) c = alphabet[random() % alphabet.size()];
      // The loader reads a run of quotes as one quote: such a field has no written form.
      while (field.find("\"\"") != std::string::npos) field.erase(field.find("\"\""), 1);
    }
    const char delimiter = random() % 2 ? ',' : ';';
    const std::string line = FormatCsvLine(fields, delimiter);
    // Empty fields at the end may not be read back: the cells they would fill stay empty.
    const auto withoutTrailingEmpties = [](std::vector<std::string> texts) {
      while (!texts.empty() && texts.back().empty()) texts.pop_back();
      return texts;
    };
    ASSERT_EQ(withoutTrailingEmpties(SplitCsvLine(line, delimiter)),
              withoutTrailingEmpties(fields))
        << line;
  }
}

TEST(LoadFromCsvFile, AMissingFileAFolderOrADeviceLeavesTheTableAsItWas) {
  TempFolder folder;
  ::mkdir((folder.Path() + "dir").c_str(), 0755);
  folder.Write("plain", "x");
  for (const std::string& path : {folder.Path() + "missing.csv", folder.Path() + "dir",
                                  folder.Path() + "plain/below", std::string("/dev/null")}) {
    StringTable table = DesignedTable();
    ExpectError<ETableGridError>([&] { LoadFromCsvFile(table, path); }, "Cannot open file " + path);
    EXPECT_EQ(table.RowCount(), 5);
    EXPECT_EQ(table.ColCount(), 7);
    EXPECT_EQ(table.FixedRows(), 1);
    EXPECT_EQ(table.Cells(3, 0), "caption3");
  }
}

TEST(LoadFromCsvFile, AnUnreadableFileCannotBeOpened) {
  // Read by an unprivileged user: the test itself may run as root, who reads anything.
  TempFolder folder;
  const std::string path = folder.Write("secret.csv", "a,b\n");
  ::chmod(folder.Path().c_str(), 0755);
  ::chmod(path.c_str(), 0000);
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
    StringTable table(7, 5);
    try {
      LoadFromCsvFile(table, path);
    } catch (const ETableGridError& e) {
      _exit(e.Message() == "Cannot open file " + path && table.RowCount() == 5 ? 0 : 1);
    }
    _exit(2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(LoadFromCsvFile, FirstLineReplacesTheCaptionsAndLineEndsFollowTheRules) {
  TempFolder folder;
  const std::string path = folder.Write(
      "t.csv", "Satelite,Posição,Azimute\r\nA,-70.0\nB,-61\rX,\n\nC,-30\x1A" "D,-15\n");
  StringTable table = DesignedTable();
  LoadFromCsvFile(table, path);
  EXPECT_EQ(table.RowCount(), 5);  // Ctrl-Z ends the file: D is never read
  EXPECT_EQ(CellsOfRow(table, 0),
            (std::vector<std::string>{"Satelite", "Posição", "Azimute", "caption3", "caption4",
                                      "caption5", "caption6"}));
  EXPECT_EQ(table.Cells(1, 1), "-70.0");
  EXPECT_EQ(table.Cells(2, 1), "old");   // beyond the line's last field
  EXPECT_EQ(table.Cells(1, 2), "-61X");  // a lone CR is dropped, the line goes on
  EXPECT_EQ(table.Cells(0, 3), "old");   // an empty line writes nothing but takes a row
  EXPECT_EQ(table.Cells(0, 4), "C");
  EXPECT_EQ(table.ColCount(), 7);
}

TEST(LoadFromCsvFile, CountsFollowTheFile) {
  const struct {
    const char* name;
    std::string bytes;
    int designedRows;
    int rows, cols, fixedRows;
  } cases[] = {
      {"oneLine", "a,b", 5, 1, 7, 0},
      {"emptyFile", "", 5, 1, 7, 0},
      {"finalLineEndAddsNoRow", "a,b\nc,d\n", 5, 2, 7, 1},
      {"nineFields", "1,2,3,4,5,6,7,8,9\na,b\n", 5, 2, 9, 1},
      {"threeFieldsKeepSeven", "a,b,c\nd,e,f\n", 5, 2, 7, 1},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    StringTable table = DesignedTable(c.designedRows);
    LoadFromCsvFile(table, folder.Write("t.csv", c.bytes));
    EXPECT_EQ(table.RowCount(), c.rows) << c.name;
    EXPECT_EQ(table.ColCount(), c.cols) << c.name;
    EXPECT_EQ(table.FixedRows(), c.fixedRows) << c.name;
  }
}

TEST(LoadFromCsvFile, ManyLinesGrowTheTableAndASecondLoadWritesOverTheFirst) {
  TempFolder folder;
  std::string many;
  for (int i = 0; i < 2500; ++i) many += "city" + std::to_string(i) + ",SP,-23.5,-46.6,760\n";
  StringTable table(5, 10);
  LoadFromCsvFile(table, folder.Write("many.csv", many));
  EXPECT_EQ(table.RowCount(), 2500);
  EXPECT_EQ(table.Cells(0, 2499), "city2499");

  LoadFromCsvFile(table, folder.Write("few.csv", "a;b\nc;d\ne;f\n"));
  EXPECT_EQ(table.RowCount(), 3);
  EXPECT_EQ(table.Cells(1, 2), "f");
  EXPECT_EQ(table.Cells(2, 2), "-23.5");  // not reached by the second file
  EXPECT_EQ(table.ColCount(), 5);
}

TEST(LoadFromCsvFile, SurvivesHostileFiles) {
  TempFolder folder;
  {
    StringTable table(7, 5);  // one 10 MB line
    LoadFromCsvFile(table, folder.Write("huge.csv", std::string(10 << 20, 'a')));
    EXPECT_EQ(table.RowCount(), 1);
    EXPECT_EQ(table.Cells(0, 0).size(), 10u << 20);
  }
  {
    StringTable table(7, 5);  // a million delimiters in one line
    LoadFromCsvFile(table, folder.Write("wide.csv", "x" + std::string(1000000, ';') + "y"));
    EXPECT_EQ(table.ColCount(), 1000001);
    EXPECT_EQ(table.Cells(1000000, 0), "y");
  }
  {
    StringTable table(7, 5);  // binary bytes and NULs stay bytes
    std::string binary;
    for (int i = 0; i < 256; ++i)
      if (std::string("\n\r\x1A\",;#\t|").find(char(i)) == std::string::npos) binary += char(i);
    LoadFromCsvFile(table, folder.Write("bin.csv", binary + "\n" + binary));
    EXPECT_EQ(table.RowCount(), 2);
    EXPECT_EQ(table.Cells(0, 1), binary);
  }
  {
    StringTable table(7, 5);  // an unterminated quote across the rest of the file
    LoadFromCsvFile(table, folder.Write("q.csv", "a,b\n\"open,c\nd,e\n"));
    EXPECT_EQ(table.RowCount(), 3);
    EXPECT_EQ(table.Cells(0, 1), "");
    EXPECT_EQ(table.Cells(1, 1), "c");
  }
}

// Only a regular file loads: a named pipe is refused at once, never waited on for a writer.
TEST(LoadFromCsvFile, ANamedPipeIsRefusedWithoutWaitingForAWriter) {
  TempFolder folder;
  const std::string path = MakeFifo(folder.Path() + "pipe.csv");
  StringTable table = DesignedTable();
  ExpectReturnsWithoutAWriter({path}, [&] {
    ExpectError<ETableGridError>([&] { LoadFromCsvFile(table, path); }, "Cannot open file " + path);
  });
  EXPECT_EQ(table.RowCount(), 5);
  EXPECT_EQ(table.Cells(3, 0), "caption3");
}

// The UTF-8 byte-order mark a spreadsheet writes at the start of a file is not data; elsewhere
// those bytes are text like any other.
TEST(LoadFromCsvFile, SkipsAByteOrderMarkAtTheStart) {
  const std::string bom = "\xEF\xBB\xBF";
  const struct {
    const char* name;
    std::string bytes;
    int rows;
    std::vector<std::string> row0, row1;
  } cases[] = {
      {"quotedHeader", bom + "\"Cidade\",Estado\nA,SP\n", 2, {"Cidade", "Estado"}, {"A", "SP"}},
      {"plainHeader", bom + "Cidade;Estado\nA;SP", 2, {"Cidade", "Estado"}, {"A", "SP"}},
      {"noDelimiter", bom + "\"one\"\n\"two\"", 2, {"one", "caption1"}, {"two", "old"}},
      {"onlyTheMark", bom, 1, {"caption0", "caption1"}, {"old", "old"}},
      {"markOnTheSecondLine", "a,b\n" + bom + "c,d\n", 2, {"a", "b"}, {bom + "c", "d"}},
  };
  for (const auto& c : cases) {
    TempFolder folder;
    StringTable table = DesignedTable();
    LoadFromCsvFile(table, folder.Write("bom.csv", c.bytes));
    EXPECT_EQ(table.RowCount(), c.rows) << c.name;
    for (int col = 0; col < 2; ++col) {
      EXPECT_EQ(table.Cells(col, 0), c.row0[col]) << c.name << " " << col;
      if (c.rows > 1) {
        EXPECT_EQ(table.Cells(col, 1), c.row1[col]) << c.name << " " << col;
      }
    }
  }
}

TEST(LoadFromCsvFile, LoadsTheShippedSatelliteAndCityFiles) {
  StringTable satellites(7, 2);
  LoadFromCsvFile(satellites, std::string(ZENAVO_DATA_DIR) + "/satelite.csv");
  EXPECT_EQ(satellites.RowCount(), 55);
  EXPECT_EQ(satellites.ColCount(), 7);
  EXPECT_EQ(satellites.Cells(1, 0), "Posição");
  EXPECT_EQ(satellites.Cells(6, 0), "Polarização");
  StringTable cities(5, 10);
  LoadFromCsvFile(cities, std::string(ZENAVO_DATA_DIR) + "/municipios.csv");
  EXPECT_EQ(cities.RowCount(), 5571);  // the header and 5,570 municipalities
  EXPECT_EQ(cities.ColCount(), 5);
  EXPECT_EQ(cities.Cells(0, 1), "Acrelândia");
}

}  // namespace
}  // namespace zenavo
