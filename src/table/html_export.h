// Writing a string table as one HTML table.
#pragma once

#include <functional>
#include <string>

#include "base/color.h"
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
  std::string Caption;       // the table's <caption> (UTF-8 or Latin-1; escaped), none when empty
  int Width = 100;           // table width in percent
  bool XHTML = false;        // XHTML prolog and closing tag
};

enum class CellAlignment { Left, Right, Center };

// A font as the export sees it.
struct HtmlFont {
  std::string Name = "Tahoma";
  TColor Color = clBlack;
  bool Bold = false, Italic = false, Underline = false;
};

// The grid's look. Every colour is an RGB value: the grid resolves its system colours from the
// palette at the moment of export and hands them over resolved (a system colour has no RGB
// value of its own here). The defaults are a common light palette.
struct HtmlGridLook {
  int FixedCols = 0;
  bool WordWrap = false;
  TColor FixedColor{240, 240, 240};   // header cells ("button face")
  TColor Color = clWhite;             // cells outside the bands ("window")
  HtmlFont Font;                      // body cells
  HtmlFont FixedFont;                 // header cells
  bool BandsActive = true;
  TColor BandPrimaryColor{255, 255, 225};  // "info background"
  int BandPrimaryLength = 1;
  TColor BandSecondaryColor = clWhite;     // "window"
  int BandSecondaryLength = 1;
  // Horizontal alignment of a cell; left when not given.
  std::function<CellAlignment(int col, int row)> Alignment;
};

// "#RRGGBB" in upper-case hexadecimal, as colours are written into the file.
std::string HtmlColor(TColor color);

// The document's lines, each ending with CR LF: an XHTML prolog, the UTF-8 declaration (a meta
// element, so browsers read the accents right over file:// and http alike), the prefix line,
// the table with its caption, the suffix line and the closing tag, as the settings ask. The
// document is UTF-8 throughout: a cell that is not valid UTF-8 is read as Latin-1.
std::string BuildHtmlDocument(const StringTable& table, const THTMLSettings& settings,
                              const HtmlGridLook& look);

// Builds the document, with HeaderFile's lines before it and FooterFile's after it (a file that
// cannot be opened is left out), then writes it to `fileName` through a temporary file renamed
// over the target once the whole document is written (WriteFileAtomically): a failure at any
// point leaves an existing file as it was. Raises ETableGridError "Cannot Create file <fileName>" before
// anything is written when the file cannot be created (missing or unwritable folder, a folder
// as the name, a read-only file), and EInOutError "Disk full" or "I/O error <n>" when writing
// fails later. Whatever the look's callbacks raise passes through with the file untouched.
void ExportHtmlFile(const StringTable& table, const std::string& fileName,
                    const THTMLSettings& settings, const HtmlGridLook& look);

}  // namespace zenavo
