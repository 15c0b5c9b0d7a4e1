#include "grid/grid_configurations.h"

#include <string>
#include <vector>

namespace zenavo {

namespace {

// What both grids share: one header row, 21-pixel rows, Tahoma 11 pixels, silver grid lines,
// bands of info background and window colour, whole-row range selection, sorting on.
void ConfigureCommon(TTableGrid& grid, const std::vector<int>& widths,
                     const std::vector<std::string>& headers, int rows) {
  grid.SetColCount(static_cast<int>(widths.size()));
  grid.SetRowCount(rows);
  grid.SetFixedRows(1);
  grid.SetDefaultRowHeight(21);
  grid.SetFixedRowHeight(21);
  for (int col = 0; col < static_cast<int>(widths.size()); ++col) grid.SetColWidths(col, widths[col]);
  QFont tahoma(QStringLiteral("Tahoma"));
  tahoma.setPixelSize(11);
  grid.SetCellFont(tahoma, clWindowText);
  grid.SetFixedFont(tahoma, clWindowText);
  grid.SetColor(clWindow);
  grid.SetFixedColor(clBtnFace);
  grid.SetGridLineColor(clSilver);
  grid.SetGridLineWidth(1);
  TBands bands;
  bands.Active = true;
  bands.PrimaryColor = clInfoBk;
  bands.PrimaryLength = 1;
  bands.SecondaryColor = clWindow;
  bands.SecondaryLength = 1;
  bands.Print = false;
  grid.SetBands(bands);
  grid.SetSelectionColor(clHighlight);
  grid.SetSelectionTextColor(clHighlightText);
  grid.SetShowSelection(true);
  grid.SetEnableHTML(true);
  grid.SetEnableWheel(true);
  grid.SetIntelliZoom(true);
  grid.SetIntelliPan(ipVertical);
  grid.SetColumnHeaders(headers);
}

TSortSettings CommonSortSettings() {
  TSortSettings sort;
  sort.Show = true;
  sort.IndexColor = clYellow;
  sort.Full = true;
  sort.AutoFormat = true;
  sort.Direction = sdAscending;
  sort.IgnoreBlanks = false;
  sort.BlankPos = blFirst;
  return sort;
}

constexpr TGridOptions kCommonOptions = goFixedVertLine | goFixedHorzLine | goVertLine |
                                        goHorzLine | goRangeSelect | goDrawFocusSelected |
                                        goRowSelect;

}  // namespace

void ConfigurePointingGrid(TTableGrid& grid) {
  grid.BeginLoading();
  ConfigureCommon(grid, {128, 64, 64, 64, 64, 64, 64},
                  {"Satelite", "Posição", "Azimute", "Elevação", "Az. Magnet", "Hora Az.",
                   "Polarização"},
                  100);
  grid.SetOptions(kCommonOptions | goColSizing | goEditing);
  TSortSettings sort = CommonSortSettings();
  sort.IndexShow = true;
  grid.SetSortSettings(sort);
  grid.HTMLSettings().Width = 100;
  grid.HTMLSettings().XHTML = false;
  grid.PrintSettings() = Grid1PrintSettings();
  grid.resize(545, 151);
  grid.EndLoading();
}

void ConfigureCityGrid(TTableGrid& grid) {
  grid.BeginLoading();
  ConfigureCommon(grid, {192, 128, 64, 61, 67},
                  {"Cidade", "Estado", "Latitude", "Longitude", "Altitude"}, 10);
  grid.SetOptions(kCommonOptions);
  TSortSettings sort = CommonSortSettings();
  sort.IndexShow = false;
  grid.SetSortSettings(sort);
  grid.SetFindSecondKey(1);  // "nome/uf" narrows by the state
  grid.resize(545, 130);
  grid.EndLoading();
}

}  // namespace zenavo
