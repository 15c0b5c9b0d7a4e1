// Cell text (bytes, as the 8-bit data files hold them) as Qt text.
#pragma once

#include <QString>

#include <string_view>

namespace zenavo {

// The cell's bytes decoded as UTF-8 when they are valid UTF-8, otherwise as Latin-1, so that
// files in a legacy 8-bit encoding still read.
QString CellTextToQString(std::string_view bytes);

}  // namespace zenavo
