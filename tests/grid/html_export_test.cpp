#include "grid/html_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "base/exceptions.h"
#include "support/temp_folder.h"

namespace zenavo {
namespace {

using zenavo::testing::TempFolder;

// The document's lines; every line, the last included, must end with CR LF.
std::vector<std::string> Lines(const HtmlDocument& blocks) {
  for (const std::string& block : blocks.Blocks)
    EXPECT_TRUE(block.size() >= 2 && block.substr(block.size() - 2) == "\r\n");
  const std::string document = blocks.Text();
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = document.find("\r\n", start)) != std::string::npos; start = end + 2)
    lines.push_back(document.substr(start, end - start));
  EXPECT_EQ(start, document.size()) << "text after the last CR LF";
  return lines;
}

// The satellite grid's look with fixed palette colours.
HtmlGridLook Grid1Look() {
  HtmlGridLook look;
  look.FixedColor = "#F0F0F0";
  look.Color = "#FFFFFF";
  look.Font = HtmlFont{"Tahoma", "#000000"};
  look.FixedFont = HtmlFont{"Tahoma", "#000000"};
  look.BandPrimaryColor = "#FFFFE1";
  look.BandSecondaryColor = "#FFFFFF";
  return look;
}

StringTable SmallTable() {
  StringTable table(2, 4);
  table.SetCells(0, 0, "Satelite");
  table.SetCells(1, 0, "Posição");
  table.SetCells(0, 1, "A\r\nB");
  table.SetCells(1, 1, "<b>x</b> & y");
  table.SetCells(0, 2, "S2");
  table.SetCells(0, 3, "S3");
  table.SetCells(1, 3, "-70.0");
  return table;
}

TEST(BuildHtmlDocument, WritesTheSatelliteTableLineByLine) {
  const std::vector<std::string> expected = {
      "<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\"  width=\"100%\">",
      "<tr>",
      "<td nowrap bgcolor=\"#F0F0F0\"><font color=\"#000000\">Satelite</font></td>",
      "<td nowrap bgcolor=\"#F0F0F0\"><font color=\"#000000\">Posição</font></td>",
      "</tr>",
      "<tr>",
      "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\" >A<br>\nB</font></td>",
      "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\" ><b>x</b> & y</font></td>",
      "</tr>",
      "<tr>",
      "<td nowrap bgcolor=\"#FFFFFF\"><font color=\"#000000\" >S2</font></td>",
      "<td nowrap bgcolor=\"#FFFFFF\"><font color=\"#000000\" ><br></font></td>",
      "</tr>",
      "<tr>",
      "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\" >S3</font></td>",
      "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\" >-70.0</font></td>",
      "</tr>",
      "</table>"};
  EXPECT_EQ(Lines(BuildHtmlDocument(SmallTable(), THTMLSettings{}, Grid1Look())), expected);
}

TEST(BuildHtmlDocument, LargeTablesComeInBlocksOfWholeLines) {
  StringTable table(7, 20000);
  for (int row = 0; row < table.RowCount(); ++row) table.SetCells(0, row, "row" + std::to_string(row));
  const HtmlDocument document = BuildHtmlDocument(table, THTMLSettings{}, Grid1Look());
  EXPECT_GT(document.Blocks.size(), 1u);
  const std::vector<std::string> lines = Lines(document);
  EXPECT_EQ(lines.size(), 1u + 20000 * 9 + 1);
  EXPECT_EQ(lines.back(), "</table>");
}

TEST(BuildHtmlDocument, HeaderOnlyTable) {
  StringTable table(2, 1);
  table.SetFixedRows(0);
  EXPECT_EQ(Lines(BuildHtmlDocument(table, THTMLSettings{}, Grid1Look())).size(), 1u + 4 + 1);
  StringTable withHeader(2, 2);
  withHeader.SetRowCount(1);  // FixedRows drops to 0: the only row is a body row
  EXPECT_EQ(Lines(BuildHtmlDocument(withHeader, THTMLSettings{}, Grid1Look()))[2],
            "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\" ><br></font></td>");
}

TEST(BuildHtmlDocument, SettingsShapeTheDocument) {
  THTMLSettings settings;
  settings.XHTML = true;
  settings.PrefixTag = "<div>";
  settings.SuffixTag = "</div>";
  settings.TableStyle = "class=\"t\"";
  settings.BorderSize = 2;
  settings.Width = 80;
  StringTable table(1, 2);
  const std::vector<std::string> lines = Lines(BuildHtmlDocument(table, settings, Grid1Look()));
  ASSERT_EQ(lines.size(), 15u);
  EXPECT_EQ(lines[0], "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  EXPECT_EQ(lines[1], "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"");
  EXPECT_EQ(lines[2], "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">");
  EXPECT_EQ(lines[3], "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">");
  EXPECT_EQ(lines[4], "<div>");
  EXPECT_EQ(lines[5],
            "<table border=\"2\" cellspacing=\"0\" cellpadding=\"0\"  class=\"t\"  width=\"80%\">");
  EXPECT_EQ(lines[7], "<td nowrap bgcolor=\"#F0F0F0\"><font color=\"#000000\"><br></font></td>");
  EXPECT_EQ(lines[10], "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\" ><br/></font></td>");
  EXPECT_EQ(lines[12], "</table>");
  EXPECT_EQ(lines[13], "</div>");
  EXPECT_EQ(lines[14], "</html>");
}

TEST(BuildHtmlDocument, FontsColoursAndAlignment) {
  HtmlGridLook look = Grid1Look();
  look.FixedFont.Bold = true;
  look.Font.Italic = true;
  look.Font.Underline = true;
  look.Alignment = [](int col, int) { return col == 0 ? CellAlignment::Right : CellAlignment::Center; };
  StringTable table(2, 2);
  table.SetCells(0, 0, "h");
  table.SetCells(0, 1, "x");
  THTMLSettings settings;
  std::vector<std::string> lines = Lines(BuildHtmlDocument(table, settings, look));
  EXPECT_EQ(lines[2], "<td nowrap align=\"right\" bgcolor=\"#F0F0F0\"><b><font color=\"#000000\">h</font></b></td>");
  EXPECT_EQ(lines[3], "<td nowrap align=\"center\" bgcolor=\"#F0F0F0\"><b><font color=\"#000000\"><br></font></b></td>");
  EXPECT_EQ(lines[6], "<td nowrap align=\"right\" bgcolor=\"#FFFFE1\"><font color=\"#000000\" ><i><u>x</u></i></font></td>");
  // An empty body cell never gets an alignment.
  EXPECT_EQ(lines[7], "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\" ><i><u><br></u></i></font></td>");

  settings.SaveColor = false;
  look.Alignment = nullptr;
  look.FixedFont.Name = "Arial";  // header font differs from the grid's font: face in body? no
  lines = Lines(BuildHtmlDocument(table, settings, look));
  EXPECT_EQ(lines[2], "<td nowrap bgcolor=\"#F0F0F0\"><b>h</b></td>");
  EXPECT_EQ(lines[6], "<td nowrap><i><u>x</u></i></td>");

  settings.SaveFonts = false;
  settings.SaveColor = true;
  look.Font.Name = "Courier";
  lines = Lines(BuildHtmlDocument(table, settings, look));
  EXPECT_EQ(lines[6], "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\">x</font></td>");

  settings.SaveFonts = true;
  look.WordWrap = true;
  look.FixedCols = 1;  // a fixed body cell: fixed colour and font, with a face of its own
  lines = Lines(BuildHtmlDocument(table, settings, look));
  EXPECT_EQ(lines[6], "<td bgcolor=\"#F0F0F0\"><font color=\"#000000\" face=\"Arial\"><b>x</b></font></td>");
}

TEST(WriteHtmlFile, EndsEveryLineWithCrLfAndCopiesHeaderAndFooterFiles) {
  TempFolder folder;
  THTMLSettings settings;
  settings.HeaderFile = folder.Write("head.txt", "<html>\n<body>");
  settings.FooterFile = folder.Path() + "missing-footer.txt";  // skipped silently
  const std::string name = folder.Path() + "out.htm";
  WriteHtmlFile(name, HtmlDocument{{"a\r\n", "b\r\n"}}, settings);
  EXPECT_EQ(folder.Read("out.htm"), "<html>\r\n<body>\r\na\r\nb\r\n");
  settings.HeaderFile.clear();
  WriteHtmlFile(name, HtmlDocument{{"second\r\n"}}, settings);  // created anew: only the second document
  EXPECT_EQ(folder.Read("out.htm"), "second\r\n");
}

TEST(ExportHtmlFile, WritesExactlyTheBuiltDocumentBetweenHeaderAndFooter) {
  TempFolder folder;
  StringTable table(7, 30000);
  for (int row = 0; row < table.RowCount(); ++row)
    for (int col = 0; col < 7; col += 3) table.SetCells(col, row, "r" + std::to_string(row));
  THTMLSettings settings;
  settings.HeaderFile = folder.Write("head.txt", "<html>\r\n");
  settings.FooterFile = folder.Write("foot.txt", "</html>");
  ExportHtmlFile(table, folder.Path() + "out.htm", settings, Grid1Look());
  EXPECT_EQ(folder.Read("out.htm"),
            "<html>\r\n" + BuildHtmlDocument(table, settings, Grid1Look()).Text() + "</html>\r\n");
}

TEST(WriteHtmlFile, CannotCreateLeavesAnExistingFileUntouched) {
  TempFolder folder;
  for (const std::string& name : {folder.Path() + "no/such/folder/out.htm", folder.Path()}) {
    try {
      WriteHtmlFile(name, HtmlDocument{{"x\r\n"}}, THTMLSettings{});
      FAIL() << name;
    } catch (const ETableGridError& e) {
      EXPECT_EQ(e.Message(), "Cannot Create file " + name);
    }
  }
  // A read-only file, written by an unprivileged user (the test itself may run as root).
  const std::string name = folder.Write("readonly.htm", "keep me\r\n");
  ::chmod(folder.Path().c_str(), 0755);
  ::chmod(name.c_str(), 0444);
  const pid_t child = fork();
  if (child == 0) {
    if (geteuid() == 0 && setuid(65534) != 0) _exit(3);
    try {
      WriteHtmlFile(name, HtmlDocument{{"x\r\n"}}, THTMLSettings{});
    } catch (const ETableGridError& e) {
      _exit(e.Message() == "Cannot Create file " + name ? 0 : 1);
    }
    _exit(2);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_EQ(folder.Read("readonly.htm"), "keep me\r\n");
}

TEST(WriteHtmlFile, AFullDiskIsAnInputOutputError) {
  try {
    WriteHtmlFile("/dev/full", HtmlDocument{{std::string(2 << 20, 'x')}}, THTMLSettings{});
    FAIL();
  } catch (const EInOutError& e) {
    EXPECT_EQ(e.Message(), "Disk full");
  }
}

}  // namespace
}  // namespace zenavo
