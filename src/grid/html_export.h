// Writing a string table as one HTML table.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "base/string_table.h"

namespace zenavo {

// The published HTML settings of a grid, with their defaults.
struct THTMLSettings {
  int BorderSize = 1;
  int CellSpacing = 0;
  int CellPadding = 0;
  bool SaveColor = true;     // background colours of body cells and font colours
  bool SaveFonts = true;     // bold/italic/underline tags, a font face differing from the grid's
  std::string FooterFile;    // lines copied after everything else
  std::string HeaderFile;    // lines copied before everything else
  std::string TableStyle;    // extra attribute text inside the table start tag
  std::string PrefixTag;     // a line before the table start tag
  std::string SuffixTag;     // a line after the table end tag
  int Width = 100;           // table width in percent
  bool XHTML = false;        // XHTML prolog and closing tag
};

enum class CellAlignment { Left, Right, Center };

// A font as the export sees it.
struct HtmlFont {
  std::string Name = "Tahoma";
  std::string Color = "#000000";  // "#RRGGBB", upper-case hexadecimal
  bool Bold = false, Italic = false, Underline = false;
};

// The grid's look, with every colour already resolved to "#RRGGBB" (system colours taken
// from the palette at the moment of export).
struct HtmlGridLook {
  int FixedCols = 0;
  bool WordWrap = false;
  std::string FixedColor = "#F0F0F0";  // header cells ("button face")
  std::string Color = "#FFFFFF";       // cells outside the bands ("window")
  HtmlFont Font;                        // body cells
  HtmlFont FixedFont;                   // header cells
  bool BandsActive = true;
  std::string BandPrimaryColor = "#FFFFE1";   // "info background"
  int BandPrimaryLength = 1;
  std::string BandSecondaryColor = "#FFFFFF"; // "window"
  int BandSecondaryLength = 1;
  // Horizontal alignment of a cell; left when not given.
  std::function<CellAlignment(int col, int row)> Alignment;
};

// A document built in memory: its lines in order, each ending with CR LF, held in blocks of
// about a megabyte (whole lines each) so that a large table needs no single huge buffer.
struct HtmlDocument {
  static constexpr std::size_t kBlockSize = 1 << 20;
  std::vector<std::string> Blocks;
  // The whole document as one text.
  std::string Text() const;
};

// The whole document, built before any file is opened.
HtmlDocument BuildHtmlDocument(const StringTable& table, const THTMLSettings& settings,
                               const HtmlGridLook& look);

// Creates (or truncates) `fileName` and writes HeaderFile's lines, `document`, then
// FooterFile's lines, every line ending with CR LF. Raises ETableGridError "Cannot Create file <fileName>" before
// anything is written when the file cannot be created (an existing file stays as it was), and
// EInOutError ("Disk full", "I/O error <n>") when writing fails later.
void WriteHtmlFile(const std::string& fileName, const HtmlDocument& document,
                   const THTMLSettings& settings);

// Creates the file (raising as WriteHtmlFile does before anything is written) and writes the
// header file's lines, the lines of BuildHtmlDocument, and the footer file's lines.
void ExportHtmlFile(const StringTable& table, const std::string& fileName,
                    const THTMLSettings& settings, const HtmlGridLook& look);

}  // namespace zenavo
