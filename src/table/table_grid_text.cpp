#include "table/table_grid_text.h"

namespace zenavo {

CellTextKind ClassifyCellText(std::string_view text, bool enableHtml) {
  // Decided on the text with a space appended, so an empty cell is shorter than 2 characters.
  if (text.empty() || text.front() == '=') return CellTextKind::Plain;
  if (text.starts_with("{\\")) return CellTextKind::RichText;
  if (text.starts_with("|\\")) return CellTextKind::Special;
  const bool tagged = text.find("</") != text.npos || text.find("<B") != text.npos ||
                      text.find("<I") != text.npos;
  return enableHtml && tagged ? CellTextKind::Formatted : CellTextKind::Plain;
}

}  // namespace zenavo
