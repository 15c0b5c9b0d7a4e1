#include "table/html_export.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "base/exceptions.h"
#include "support/child_process.h"
#include "support/expect_error.h"
#include "support/temp_folder.h"

namespace zenavo {
namespace {

using zenavo::testing::ExpectError;
using zenavo::testing::RunOnFullDisk;
using zenavo::testing::RunUnprivileged;
using zenavo::testing::TempFolder;

// The document's lines; every line, the last included, must end with CR LF.
std::vector<std::string> Lines(const std::string& document) {
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
  look.FixedColor = TColor(240, 240, 240);
  look.Color = clWhite;
  look.Font = HtmlFont{"Tahoma", clBlack};
  look.FixedFont = HtmlFont{"Tahoma", clBlack};
  look.BandPrimaryColor = TColor(255, 255, 225);
  look.BandSecondaryColor = clWhite;
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
      "<meta charset=\"utf-8\">",
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

TEST(HtmlColor, SixUpperCaseHexDigitsRedGreenBlue) {
  const struct {
    TColor color;
    const char* text;
  } cases[] = {{clBlack, "#000000"},        {clWhite, "#FFFFFF"},
               {TColor(255, 255, 225), "#FFFFE1"}, {TColor(1, 171, 205), "#01ABCD"},
               {clNavy, "#000080"},         {clLime, "#00FF00"}};
  for (const auto& c : cases) EXPECT_EQ(HtmlColor(c.color), c.text);
}

TEST(BuildHtmlDocument, HeaderOnlyTable) {
  StringTable table(2, 1);
  table.SetFixedRows(0);
  EXPECT_EQ(Lines(BuildHtmlDocument(table, THTMLSettings{}, Grid1Look())).size(), 2u + 4 + 1);
  StringTable withHeader(2, 2);
  withHeader.SetRowCount(1);  // FixedRows drops to 0: the only row is a body row
  EXPECT_EQ(Lines(BuildHtmlDocument(withHeader, THTMLSettings{}, Grid1Look()))[3],
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
  settings.Caption = "Local: Chu\xed RS; <sul> & mar";  // Latin-1 bytes, characters to escape
  StringTable table(1, 2);
  const std::vector<std::string> lines = Lines(BuildHtmlDocument(table, settings, Grid1Look()));
  ASSERT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines[0], "<?xml version=\"1.0\" encoding=\"UTF-8\"?>");
  EXPECT_EQ(lines[1], "<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Strict//EN\"");
  EXPECT_EQ(lines[2], "\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-strict.dtd\">");
  EXPECT_EQ(lines[3], "<html xmlns=\"http://www.w3.org/1999/xhtml\" xml:lang=\"en\" lang=\"en\">");
  EXPECT_EQ(lines[4], "<meta charset=\"utf-8\" />");
  EXPECT_EQ(lines[5], "<div>");
  EXPECT_EQ(lines[6],
            "<table border=\"2\" cellspacing=\"0\" cellpadding=\"0\"  class=\"t\"  width=\"80%\">");
  EXPECT_EQ(lines[7], "<caption>Local: Chu\u00ed RS; &lt;sul&gt; &amp; mar</caption>");
  EXPECT_EQ(lines[9], "<td nowrap bgcolor=\"#F0F0F0\"><font color=\"#000000\"><br></font></td>");
  EXPECT_EQ(lines[12], "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\" ><br/></font></td>");
  EXPECT_EQ(lines[14], "</table>");
  EXPECT_EQ(lines[15], "</div>");
  EXPECT_EQ(lines[16], "</html>");
}

// Every cell comes out as UTF-8: valid UTF-8 unchanged, anything else read as Latin-1.
TEST(BuildHtmlDocument, CellsAreWrittenAsUtf8) {
  const struct {
    const char* cell;
    const char* written;
  } cases[] = {
      {"Posi\u00e7\u00e3o", "Posi\u00e7\u00e3o"},
      {"Posi\xe7\xe3o", "Posi\u00e7\u00e3o"},
      {"\xc3", "\u00c3"},                          // a cut sequence
      {"\xe0\x80\xaf", "\u00e0\u0080\u00af"},       // an overlong form
      {"\xed\xa0\x80", "\u00ed\u00a0\u0080"},       // a surrogate
      {"\xf0\x9f\x9b\xb0", "\xf0\x9f\x9b\xb0"},  // beyond the 16-bit plane: kept
  };
  for (const auto& c : cases) {
    StringTable table(1, 2);
    table.SetCells(0, 1, c.cell);
    const std::string html = BuildHtmlDocument(table, THTMLSettings{}, Grid1Look());
    EXPECT_NE(html.find(std::string(" >") + c.written + "</font>"), std::string::npos) << html;
  }
}

TEST(BuildHtmlDocument, FontsColoursAndAlignment) {
  HtmlGridLook look = Grid1Look();
  look.FixedFont.Bold = true;
  look.FixedFont.Color = clNavy;
  look.Font.Italic = true;
  look.Font.Underline = true;
  look.Alignment = [](int col, int) { return col == 0 ? CellAlignment::Right : CellAlignment::Center; };
  StringTable table(2, 2);
  table.SetCells(0, 0, "h");
  table.SetCells(0, 1, "x");
  THTMLSettings settings;
  std::vector<std::string> lines = Lines(BuildHtmlDocument(table, settings, look));
  EXPECT_EQ(lines[3], "<td nowrap align=\"right\" bgcolor=\"#F0F0F0\"><b><font color=\"#000080\">h</font></b></td>");
  EXPECT_EQ(lines[4], "<td nowrap align=\"center\" bgcolor=\"#F0F0F0\"><b><font color=\"#000080\"><br></font></b></td>");
  EXPECT_EQ(lines[7], "<td nowrap align=\"right\" bgcolor=\"#FFFFE1\"><font color=\"#000000\" ><i><u>x</u></i></font></td>");
  // An empty body cell never gets an alignment.
  EXPECT_EQ(lines[8], "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\" ><i><u><br></u></i></font></td>");

  settings.SaveColor = false;
  look.Alignment = nullptr;
  look.FixedFont.Name = "Arial";  // header cells never name a face
  lines = Lines(BuildHtmlDocument(table, settings, look));
  EXPECT_EQ(lines[3], "<td nowrap bgcolor=\"#F0F0F0\"><b>h</b></td>");
  EXPECT_EQ(lines[7], "<td nowrap><i><u>x</u></i></td>");

  settings.SaveFonts = false;
  settings.SaveColor = true;
  look.Font.Name = "Courier";
  lines = Lines(BuildHtmlDocument(table, settings, look));
  EXPECT_EQ(lines[7], "<td nowrap bgcolor=\"#FFFFE1\"><font color=\"#000000\">x</font></td>");

  settings.SaveFonts = true;
  look.WordWrap = true;
  look.FixedCols = 1;  // a fixed body cell: fixed colour and font, with a face of its own
  lines = Lines(BuildHtmlDocument(table, settings, look));
  EXPECT_EQ(lines[7], "<td bgcolor=\"#F0F0F0\"><font color=\"#000080\" face=\"Arial\"><b>x</b></font></td>");
}

TEST(ExportHtmlFile, WritesTheDocumentBetweenHeaderAndFooterLines) {
  TempFolder folder;
  StringTable table(7, 3000);
  for (int row = 0; row < table.RowCount(); ++row)
    for (int col = 0; col < 7; col += 3) table.SetCells(col, row, "r" + std::to_string(row));
  THTMLSettings settings;
  settings.HeaderFile = folder.Write("head.txt", "<html>\n<body>");
  settings.FooterFile = folder.Write("foot.txt", "</body>\r\n</html>\x1a ignored");
  const std::string name = folder.Path() + "out.htm";
  ExportHtmlFile(table, name, settings, Grid1Look());
  EXPECT_EQ(folder.Read("out.htm"), "<html>\r\n<body>\r\n" +
                                        BuildHtmlDocument(table, settings, Grid1Look()) +
                                        "</body>\r\n</html>\r\n");
  // Exported again, with a header file that cannot be opened (left out): only the second document.
  settings.HeaderFile = folder.Path() + "missing-header.txt";
  settings.FooterFile.clear();
  StringTable small(1, 1);
  ExportHtmlFile(small, name, settings, Grid1Look());
  EXPECT_EQ(folder.Read("out.htm"), BuildHtmlDocument(small, settings, Grid1Look()));
}

// The names in a folder, so that a temporary file left behind shows.
std::vector<std::string> NamesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST(ExportHtmlFile, AReplacedFileKeepsItsPermissions) {
  TempFolder folder;
  const std::string name = folder.Write("out.htm", "old");
  ::chmod(name.c_str(), 0640);
  ExportHtmlFile(SmallTable(), name, THTMLSettings{}, Grid1Look());
  struct stat info {};
  ::stat(name.c_str(), &info);
  EXPECT_EQ(info.st_mode & 07777, 0640u);
  EXPECT_EQ(folder.Read("out.htm"), BuildHtmlDocument(SmallTable(), THTMLSettings{}, Grid1Look()));
}

// A target that cannot be created: the message, and an existing file as it was. Run as an
// unprivileged user, since the test itself may run as root.
TEST(ExportHtmlFile, CannotCreateRaisesBeforeAnythingIsWritten) {
  TempFolder folder;
  ::chmod(folder.Path().c_str(), 0755);
  const std::string readOnly = folder.Write("readonly.htm", "keep me\r\n");
  ::chmod(readOnly.c_str(), 0444);
  ::mkdir((folder.Path() + "locked").c_str(), 0555);
  const std::vector<std::string> names = {folder.Path() + "no/such/folder/out.htm", folder.Path(),
                                          readOnly, folder.Path() + "locked/out.htm"};
  const std::string report = RunUnprivileged([&] {
    std::string problems;
    for (const std::string& name : names) {
      try {
        ExportHtmlFile(SmallTable(), name, THTMLSettings{}, Grid1Look());
        problems += name + ": no error; ";
      } catch (const ETableGridError& e) {
        if (e.Message() != "Cannot Create file " + name) problems += e.Message() + "; ";
      }
    }
    return problems;
  });
  EXPECT_EQ(report, "");
  EXPECT_EQ(folder.Read("readonly.htm"), "keep me\r\n");
  EXPECT_EQ(NamesIn(folder.Path()), (std::vector<std::string>{"locked", "readonly.htm"}));
  EXPECT_EQ(NamesIn(folder.Path() + "locked"), std::vector<std::string>{});
}

// An error while the document is built (here a cell callback at row 5) leaves the file that
// was there byte for byte.
TEST(ExportHtmlFile, AFailureMidExportLeavesTheOldFile) {
  TempFolder folder;
  const std::string old = "<table>\r\nsaved before\r\n</table>\r\n";
  const std::string name = folder.Write("out.htm", old);
  HtmlGridLook look = Grid1Look();
  look.Alignment = [](int, int row) {
    if (row == 5) throw Exception("cell callback failed");
    return CellAlignment::Left;
  };
  StringTable table(2, 10);
  for (int row = 0; row < 10; ++row) table.SetCells(0, row, "x");
  ExpectError<Exception>([&] { ExportHtmlFile(table, name, THTMLSettings{}, look); },
                         "cell callback failed");
  EXPECT_EQ(folder.Read("out.htm"), old);
  EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"out.htm"});
}

// A full disk: "Disk full" (on a small tmpfs), or the file-size limit's "I/O error 27" where
// the test cannot mount one; either way the saved file stays as it was.
TEST(ExportHtmlFile, AFullDiskIsAnInputOutputErrorAndKeepsTheOldFile) {
  TempFolder folder;
  ::mkdir((folder.Path() + "small").c_str(), 0755);
  StringTable table(7, 2000);  // about 450 KB of HTML
  const std::string report = RunOnFullDisk(folder.Path() + "small", [&](const std::string& small, int error) {
    const std::string name = small + "/out.htm";
    StringTable saved(1, 2);
    ExportHtmlFile(saved, name, THTMLSettings{}, Grid1Look());
    const std::string expected = error == ENOSPC ? "Disk full" : "I/O error " + std::to_string(error);
    try {
      ExportHtmlFile(table, name, THTMLSettings{}, Grid1Look());
      return std::string("no error");
    } catch (const EInOutError& e) {
      if (e.Message() != expected) return "\"" + e.Message() + "\" instead of \"" + expected + "\"";
    }
    std::ifstream in(name, std::ios::binary);
    if (std::string(std::istreambuf_iterator<char>(in), {}) != BuildHtmlDocument(saved, THTMLSettings{}, Grid1Look()))
      return std::string("the saved file changed");
    if (NamesIn(small) != std::vector<std::string>{"out.htm"}) return std::string("a temporary file was left");
    return std::string();
  });
  EXPECT_EQ(report, "");
}

}  // namespace
}  // namespace zenavo
