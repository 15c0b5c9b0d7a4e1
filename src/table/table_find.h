// Type-to-find in a table: which row a typed text reaches. Names are compared folded (case and
// accents aside), so "sao p" finds "São Paulo" and "brasilia" "Brasília".
#pragma once

#include <string>
#include <string_view>

#include "base/string_table.h"

namespace zenavo {

// `text` lower-cased and without accents, as UTF-8: cell bytes are read as UTF-8 when valid,
// otherwise as Latin-1. Letters of the Latin-1 and Latin Extended-A ranges lose their accents
// ("Ç" becomes "c"); other characters stay as they are. Appends to `out`.
void AppendFolded(std::string_view text, std::string& out);
std::string Folded(std::string_view text);

// Where a search looks: the name column and, optionally, a second key (the state) that a
// typed "name/key" or "name key" narrows by.
struct FindColumns {
  int Name = 0;
  int SecondKey = -1;  // none
};

// The data row that `typed` reaches, or -1 when none does. Rows are visited in the table's
// order from `from` to the last, then from the first data row; the first whose name starts
// with the text wins, else the first whose name contains it. With a second key, "name/key"
// narrows to rows whose key starts with the part after the last "/"; a text with no match as a
// whole name also tries its last word as the key ("bom jesus pi").
int FindRow(const StringTable& table, const FindColumns& columns, std::string_view typed,
            int from);

}  // namespace zenavo
