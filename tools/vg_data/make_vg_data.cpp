// make_vg_data IN OUT: writes the comma-decimal variant of a data file, which the program loads
// in locales whose decimal separator is the comma. Same rows and columns; every field written
// as a point-decimal number ("-23.55") gets a comma instead ("-23,55"); fields are separated by
// semicolons, which the loader detects and which never clash with a decimal comma. A field that
// holds a semicolon or a quote is quoted, its quotes doubled.
#include <fstream>
#include <iostream>
#include <string>

#include "base/ascii.h"
#include "base/string_table.h"
#include "table/csv_loader.h"

namespace {

bool IsPointDecimal(const std::string& text) {
  std::size_t i = text.size() > 0 && text[0] == '-' ? 1 : 0;
  const std::size_t point = text.find('.');
  if (point == std::string::npos || point == i || point + 1 == text.size()) return false;
  for (; i < text.size(); ++i)
    if (i != point && !zenavo::IsDigit(text[i])) return false;
  return true;
}

std::string VgField(std::string text) {
  if (IsPointDecimal(text)) text[text.find('.')] = ',';
  if (text.find_first_of(";\"") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 3) {
    std::cerr << "usage: make_vg_data IN OUT\n";
    return 1;
  }
  try {
    zenavo::StringTable table(1, 1);
    zenavo::LoadFromCsvFile(table, argv[1]);
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    for (int row = 0; row < table.RowCount(); ++row) {
      for (int col = 0; col < table.ColCount(); ++col)
        out << (col ? ";" : "") << VgField(std::string(table.Cells(col, row)));
      out << "\n";
    }
    out.close();
    if (!out) {
      std::cerr << "make_vg_data: cannot write " << argv[2] << "\n";
      return 1;
    }
  } catch (const std::exception& error) {
    std::cerr << "make_vg_data: " << error.what() << "\n";
    return 1;
  }
  return 0;
}
