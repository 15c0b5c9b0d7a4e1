// How a grid cell's text is shown, decided on its bytes alone (no Qt): plain text, formatted
// text (a small markup) or one of two special forms, and the part of it a single-line cell shows.
#pragma once

#include <string_view>

namespace zenavo {

enum class CellTextKind {
  Plain,      // drawn as it stands
  Formatted,  // holds "</", "<B" or "<I": drawn with its markup applied
  RichText,   // starts with "{\"
  Special,    // starts with "|\"
};

// The kind of a cell text. Texts starting with "=" are plain; formatted text needs
// `enableHtml`, and the tags are matched case-sensitively ("<b>" alone stays plain).
CellTextKind ClassifyCellText(std::string_view text, bool enableHtml);

// What a single-line cell shows: the text up to its first carriage return.
inline std::string_view ShownLine(std::string_view text) {
  return text.substr(0, text.find('\r'));
}

}  // namespace zenavo
