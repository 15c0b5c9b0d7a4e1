// Cell texts as the grid draws them: the bytes decoded for the screen, and the cell markup of
// formatted texts turned into the Qt rich text that draws it.
#pragma once

#include <QString>

#include <string_view>

namespace zenavo {

// The text a single-line cell shows (up to its first carriage return), decoded as UTF-8 when
// that part is valid UTF-8 and as Latin-1 otherwise, and cut after `maxChars` characters: a
// cell is never wider than a few thousand pixels, and laying out a text of a million
// characters for each paint takes half a second. `maxChars` at least 1.
QString ShownCellText(std::string_view cell, int maxChars);

// The cell markup as Qt rich text on one line, spaces and tabs kept. Tags, in any letter case:
// <B>, <I>, <U> and <FONT color=...> with their end tags. Anything else, a broken tag
// included, shows as the text it is; an end tag without its start tag is dropped, and open tags
// are closed at the end.
QString FormattedTextToHtml(const QString& text);

}  // namespace zenavo
