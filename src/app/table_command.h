// "zenavo --tabela": the pointing table for one site as CSV on standard output, for installers
// who want plain text and for scripts. The window is built but never shown and its own steps
// run: the tables load as at start-up, the city is chosen in the city table or the site typed
// into the three boxes, and "Calcular" runs with the real magc.
#pragma once

#include <QString>

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace zenavo {

inline constexpr const char* kTableOption = "--tabela";

// The site the table command asks for: a city of the city table, or three numbers as typed.
struct TableRequest {
  QString city, state;  // city empty: the site typed; state empty: any state
  std::string latitude, longitude, altitude;
};

// What the program's command line (the arguments after the program's name) asks for. Read
// before Qt starts, so that help, the version and a mistake need no display.
struct CommandLine {
  enum Action {
    kOpenWindow,    // no argument
    kShowHelp,      // --help, -h
    kShowVersion,   // --version
    kWriteTable,    // --tabela with a city (not blank) or three numbers
    kRefuse,        // anything else: the usage on the standard error, status 1
  };
  Action action = kOpenWindow;
  TableRequest table;  // for kWriteTable
};
CommandLine ParseCommandLine(const std::vector<std::string>& args);

// Answers what needs neither Qt nor the window (help, version, a refused command line) and
// returns the exit status; nothing for the window and the table command.
std::optional<int> AnswerWithoutQt(const CommandLine& command, std::ostream& out,
                                   std::ostream& err);

// The program's usage text ("zenavo --help"), the table command's above all.
std::string TableCommandUsage();

// Runs the table command for `request` with the program's files in `dataFolder` (ending with
// '/'). The table (its caption row first) goes to `out`, one CSV line a row, cells as UTF-8,
// delimited by ',' where the decimal separator is the point and by ';' where it is the comma.
// Returns the exit status: 0 done; 1 a city the table does not hold, a latitude beyond ±90 or
// a longitude beyond ±360; 2 an error the window would have shown (a data file or magc missing,
// a calculation failing), an empty satellite table, or a city file that is empty or holds a
// line that is not a city. Messages go to `err`, control characters in them escaped.
int RunTableCommand(const TableRequest& request, const std::string& dataFolder,
                    std::ostream& out, std::ostream& err);

}  // namespace zenavo
