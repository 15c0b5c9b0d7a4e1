#include "table/table_find.h"

#include <optional>

#include "base/utf8_text.h"

namespace zenavo {

namespace {

// Base letters of U+00C0..U+00FF and U+0100..U+017F; '*' keeps the character.
constexpr std::string_view kLatin1Bases =
    "aaaaaa*ceeeeiiii" "dnooooo*ouuuuy**" "aaaaaa*ceeeeiiii" "dnooooo*ouuuuy*y";
constexpr std::string_view kExtendedABases =
    "aaaaaacccccccc" "dddd" "eeeeeeeeee" "gggggggg" "hhhh" "iiiiiiiiii" "**" "jj" "kkk"
    "llllllllll" "nnnnnnnnn" "oooooo" "**" "rrrrrr" "ssssssss" "tttttt" "uuuuuuuuuuuu" "ww" "yyy"
    "zzzzzz" "s";
static_assert(kLatin1Bases.size() == 0x40 && kExtendedABases.size() == 0x80);

void AppendFoldedChar(char32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return;
  }
  if (c >= 0x300 && c < 0x370) return;  // a combining accent
  if (c == 0xC6 || c == 0xE6 || c == 0xDF) {
    out.append(c == 0xDF ? "ss" : "ae");
    return;
  }
  char base = '*';
  if (c >= 0xC0 && c < 0x100) base = kLatin1Bases[c - 0xC0];
  if (c >= 0x100 && c < 0x180) base = kExtendedABases[c - 0x100];
  if (base != '*')
    out += base;
  else
    AppendUtf8(c, out);
}

bool Contains(std::string_view name, std::string_view text, bool atStart) {
  return atStart ? name.starts_with(text) : name.find(text) != std::string_view::npos;
}

// One search for a folded name text and an optional folded key prefix.
int FindFolded(const StringTable& table, const FindColumns& columns, std::string_view name,
               std::optional<std::string_view> key, int from) {
  const int first = table.FixedRows(), count = table.RowCount() - first;
  if (count <= 0) return -1;
  if (from < first || from >= table.RowCount()) from = first;
  std::string folded;
  int containing = -1;
  for (int i = 0; i < count; ++i) {
    const int row = first + (from - first + i) % count;
    if (key) {
      folded.clear();
      AppendFolded(table.Cells(columns.SecondKey, row), folded);
      if (!folded.starts_with(*key)) continue;
    }
    folded.clear();
    AppendFolded(table.Cells(columns.Name, row), folded);
    if (Contains(folded, name, true)) return row;
    if (containing < 0 && Contains(folded, name, false)) containing = row;
  }
  return containing;
}

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

void AppendFolded(std::string_view text, std::string& out) {
  const size_t start = out.size();
  for (size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte < 0x80) {  // most of a name: no decoding
      out += static_cast<char>(byte >= 'A' && byte <= 'Z' ? byte - 'A' + 'a' : byte);
      ++i;
    } else if (const std::optional<char32_t> c = NextUtf8(text, i)) {
      AppendFoldedChar(*c, out);
    } else {  // not UTF-8: the whole text is Latin-1
      out.resize(start);
      for (const char latin1 : text) AppendFoldedChar(static_cast<unsigned char>(latin1), out);
      return;
    }
  }
}

std::string Folded(std::string_view text) {
  std::string out;
  AppendFolded(text, out);
  return out;
}

int FindRow(const StringTable& table, const FindColumns& columns, std::string_view typed,
            int from) {
  const std::string text = Folded(typed);
  if (Trimmed(text).empty()) return -1;
  if (columns.SecondKey < 0) return FindFolded(table, columns, text, std::nullopt, from);
  const std::string_view view = text;
  if (const size_t slash = view.rfind('/'); slash != std::string_view::npos)
    return FindFolded(table, columns, Trimmed(view.substr(0, slash)),
                      Trimmed(view.substr(slash + 1)), from);
  const int row = FindFolded(table, columns, text, std::nullopt, from);
  const std::string_view whole = Trimmed(view);
  const size_t space = whole.rfind(' ');
  if (row >= 0 || space == std::string_view::npos) return row;
  return FindFolded(table, columns, Trimmed(whole.substr(0, space)), whole.substr(space + 1), from);
}

}  // namespace zenavo
