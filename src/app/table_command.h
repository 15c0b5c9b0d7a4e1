// "zenavo --tabela": the pointing table for one site as CSV on standard output, for installers
// who want plain text and for scripts. The window is built but never shown and its own steps
// run: the tables load as at start-up, the city is chosen in the city table or the site typed
// into the three boxes, and "Calcular" runs with the real magc.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

namespace zenavo {

inline constexpr const char* kTableOption = "--tabela";

// The program's usage text ("zenavo --help"), the table command's above all.
std::string TableCommandUsage();

// Runs the command on the arguments that follow "--tabela" with the program's files in
// `dataFolder` (ending with '/'). The table (its caption row first) goes to `out`, one CSV line
// a row, cells as UTF-8, delimited by ',' where the decimal separator is the point and by ';'
// where it is the comma. Returns the exit status: 0 done; 1 bad arguments, a city the table
// does not hold, a latitude beyond ±90 or a longitude beyond ±360 (usage or reason on `err`);
// 2 an error the window would have shown (a data file or magc missing, a calculation failing)
// or an empty satellite table, its text on `err`.
int RunTableCommand(const std::vector<std::string>& args, const std::string& dataFolder,
                    std::ostream& out, std::ostream& err);

}  // namespace zenavo
