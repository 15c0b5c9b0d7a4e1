// The published print settings of a table grid (its PrintSettings object), free of Qt.
// Lengths are in tenths of a millimetre, font sizes in points.
#pragma once

#include <string>
#include <vector>

#include "base/color.h"

namespace zenavo {

// Where a page header or footer item (date, time, page number, title) goes.
enum TPrintPosition {
  ppNone, ppTopLeft, ppTopRight, ppTopCenter, ppBottomLeft, ppBottomRight, ppBottomCenter
};

// Extra cell and frame lines. Every printed cell has its top and left line whatever this says;
// pbDouble also widens every line.
enum TPrintBorders {
  pbNoborder, pbSingle, pbDouble, pbVertical, pbHorizontal, pbAround, pbAroundVertical,
  pbAroundHorizontal, pbCustom
};

// The style of a printed line.
enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };

enum TPrinterOrientation { poPortrait, poLandscape };

// Scaling of the table to the page; stored only (fpNever is all the system uses).
enum TFitToPage { fpNever, fpGrow, fpShrink, fpAlways, fpCustom };

struct TFontStyles {
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  bool operator==(const TFontStyles&) const = default;
};

// A font as the settings describe it. On paper a font of Size points has a character height
// of Size x 254 / 72 tenths of a millimetre, rounded (PrintCharHeight in table/print_layout.h).
struct TFontDescription {
  std::string Name = "MS Sans Serif";
  int Size = 8;  // points
  TColor Color = clWindowText;
  TFontStyles Style;
  bool operator==(const TFontDescription&) const = default;
};

// The settings object as a grid creates it; Grid1PrintSettings() below gives the satellite
// grid's stored values.
struct TPrintSettings {
  TPrinterOrientation Orientation = poPortrait;  // set on the printer before the document starts
  std::string JobName;                           // the document name of the print job
  TFontDescription Font;                         // every printed cell, header row included
  TFontDescription HeaderFont;                   // the page header (the date)
  TFontDescription FooterFont;                   // only its text height counts (footer band)

  TPrintPosition Date = ppNone;
  std::string DateFormat = "dd/mm/yyyy";         // "/" stands for the locale's date separator
  TPrintPosition Time = ppNone;
  TPrintPosition PageNr = ppNone;
  TPrintPosition Title = ppNone;
  std::string TitleText;
  std::vector<std::string> TitleLines;
  // A line of the first page's header band (UTF-8, or Latin-1 bytes), after the date when the
  // date is printed at the top left, else at the left margin; none when empty.
  std::string FirstPageHeaderText;

  int HeaderSize = 0;     // extra height of the header band
  int FooterSize = 0;     // extra height of the footer band
  int LeftSize = 0;       // left margin of the table and of the header text
  int RightSize = 0;      // space kept free at the right of the page
  int ColumnSpacing = 0;  // added to each column (on top of the fixed 2 mm)
  int RowSpacing = 0;     // added to each row
  int TitleSpacing = 0;   // between the header band and the first row

  TPrintBorders Borders = pbNoborder;
  TPenStyle BorderStyle = psSolid;

  // Stored values whose features are off in this system: no behaviour behind them.
  bool Centered = false;
  bool RepeatFixedRows = false;
  bool RepeatFixedCols = false;
  TFitToPage FitToPage = fpNever;
  bool UseFixedWidth = false;
  bool UseFixedHeight = false;
  int FixedWidth = 0;
  int FixedHeight = 0;
  bool NoAutoSize = false;
  bool NoAutoSizeRow = false;
  bool PrintGraphics = false;
  int PageNumberOffset = 0;
  int MaxPagesOffset = 0;
  std::string PageNumSep = "/";
  std::string PagePrefix;
  std::string PageSuffix;
};

// The satellite grid's stored print settings: the date at the top left, the (empty) title at
// the top centre, no time, no page number, portrait, no borders, three 8-point fonts.
inline TPrintSettings Grid1PrintSettings() {
  TPrintSettings settings;
  settings.Date = ppTopLeft;
  settings.Title = ppTopCenter;
  settings.Time = ppNone;
  settings.PageNr = ppNone;
  settings.Orientation = poPortrait;
  settings.Borders = pbNoborder;
  settings.BorderStyle = psSolid;
  const TFontDescription font{"MS Sans Serif", 8, clWindowText, {}};
  settings.Font = settings.HeaderFont = settings.FooterFont = font;
  return settings;
}

}  // namespace zenavo
