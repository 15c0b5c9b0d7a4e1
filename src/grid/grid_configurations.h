// The main window's two grids as it stores them: the pointing table Grid1 and the city table
// Grid2. Each function applies the stored settings inside the grid's loading bracket (one
// repaint at the end); the window then only places the grid.
#pragma once

#include "grid/table_grid.h"

namespace zenavo {

// Grid1: 7 columns ("Satelite" ... "Polarização"), 100 rows before loading, 545 x 151 pixels,
// columns sizable by the user, index-mode sorting with yellow triangles, the satellite print
// settings.
void ConfigurePointingGrid(TTableGrid& grid);

// Grid2: 5 columns ("Cidade" ... "Altitude"), 10 rows before loading, 545 x 130 pixels, drag
// selection of rows, plain-mode sorting with its arrow; typing a city finds it, "nome/uf" or
// "nome uf" narrowing by the state.
void ConfigureCityGrid(TTableGrid& grid);

}  // namespace zenavo
