#include "app/table_command.h"

#include <QString>

#include <exception>
#include <limits>

#include <optional>
#include <ostream>
#include <utility>

#include "app/form1.h"
#include "app/pointing_table.h"
#include "base/exceptions.h"
#include "base/float_text.h"
#include "base/format_settings.h"
#include "table/csv_loader.h"
#include "grid/table_grid.h"
#include "numedit/qv_num_edit.h"
#include "ui/cell_text.h"
#include "ui/error_report.h"

namespace zenavo {

namespace {

constexpr int kUsageError = 1;
constexpr int kShownError = 2;

// The site of "--tabela ARGS": "--cidade NAME[/STATE]" with a name that is not blank, or three
// values that are not options.
std::optional<TableRequest> ParseRequest(const std::vector<std::string>& args) {
  TableRequest request;
  if (args.size() == 2 && args[0] == "--cidade") {
    const QString name = QString::fromUtf8(args[1]).trimmed();
    const qsizetype slash = name.lastIndexOf('/');
    request.city = slash < 0 ? name : name.left(slash).trimmed();
    if (slash >= 0) request.state = name.mid(slash + 1).trimmed();
    if (request.city.isEmpty()) return std::nullopt;
    return request;
  }
  if (args.size() == 3 && !args[0].starts_with("--")) {
    request.latitude = args[0], request.longitude = args[1], request.altitude = args[2];
    return request;
  }
  return std::nullopt;
}

// A message as one line a terminal shows safely: decoded as a cell is (UTF-8, else Latin-1),
// control characters written as escapes (\n, \t, \x1b) so that neither data nor arguments can
// break the line or steer the terminal.
std::string EscapedForTerminal(const std::string& message) {
  QString text;
  for (const QChar c : CellTextToQString(message)) {
    if (c.category() != QChar::Other_Control) {
      text += c;
    } else if (c == '\n' || c == '\r' || c == '\t') {
      text += c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\t";
    } else {
      text += QString("\\x%1").arg(c.unicode(), 2, 16, QChar('0'));
    }
  }
  return text.toStdString();
}

// Every message of the command reaches the standard error here, as the error box would word it.
void PrintError(std::ostream& err, const std::string& message) {
  err << "zenavo: " << EscapedForTerminal(ErrorBoxText(message)) << '\n';
}

// The city table holds at least one city, and every line of the file after the caption row is
// a city: a name, a state and three numbers. Otherwise the file is empty, damaged or cut short,
// and no city search could be trusted.
void CheckCityTable(const TTableGrid& cities, const std::string& path) {
  // The file's first line is the caption row, as in the satellite file.
  if (cities.RowCount() < 2) throw Exception("The city file \"%1\" holds no city", {path});
  for (int row = 1; row < cities.RowCount(); ++row) {
    const auto filled = [&](int col) {
      return !CellTextToQString(cities.Cells(col, row)).trimmed().isEmpty();
    };
    const auto number = [&](int col) { return TryStrToFloat(cities.Cells(col, row)).has_value(); };
    if (!filled(kCityName) || !filled(kCityState) || !number(kCityLatitude) ||
        !number(kCityLongitude) || !number(kCityAltitude))
      throw Exception(
          "The city file \"%1\" is damaged: line %2 is not a city (name, state, latitude, "
          "longitude, altitude)",
          {path, std::to_string(row + 1)});
  }
}

// `text` without its accents, for comparing names typed on a keyboard without them.
QString WithoutAccents(const QString& text) {
  QString plain;
  for (const QChar c : text.normalized(QString::NormalizationForm_D))
    if (c.category() != QChar::Mark_NonSpacing) plain += c;
  return plain;
}

// The city table's rows holding the city (and state, when given), case aside; when no name
// matches as written, the rows whose names match without accents ("sao paulo").
std::vector<int> CityRows(const TTableGrid& cities, const TableRequest& request) {
  const auto matching = [&](auto fold) {
    const QString city = fold(request.city), state = fold(request.state);
    const auto same = [&](const std::string& cell, const QString& text) {
      return fold(CellTextToQString(cell).trimmed()).compare(text, Qt::CaseInsensitive) == 0;
    };
    std::vector<int> rows;
    for (int row = cities.FixedRows(); row < cities.RowCount(); ++row)
      if (same(cities.Cells(kCityName, row), city) &&
          (state.isEmpty() || same(cities.Cells(kCityState, row), state)))
        rows.push_back(row);
    return rows;
  };
  std::vector<int> rows = matching([](const QString& text) { return text; });
  if (rows.empty()) rows = matching(WithoutAccents);
  return rows;
}

// A typed value within -limit..limit (latitude and longitude where the magnetic model answers).
void TypeIntoBox(TQvNumEdit& box, const std::string& text, const char* what, long double limit) {
  const long double value = StrToFloat(text);
  if (!(value >= -limit && value <= limit))
    throw Exception(std::string(what) + " fora do intervalo de " + FloatToStr(-limit) + " a " +
                    FloatToStr(limit) + ": " + text);
  box.SetValue(value);
}

void WriteTable(const TTableGrid& table, std::ostream& out) {
  const char delimiter = CurrentFormatSettings().DecimalSeparator == ',' ? ';' : ',';
  for (int row = 0; row < table.RowCount(); ++row) {
    std::vector<std::string> fields;
    for (int col = 0; col < table.ColCount(); ++col)
      fields.push_back(CellTextToQString(table.Cells(col, row)).toStdString());
    out << FormatCsvLine(fields, delimiter) << '\n';
  }
  out.flush();
}

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine command;
  if (args.empty()) return command;
  if (args.size() == 1 && (args[0] == "--help" || args[0] == "-h"))
    command.action = CommandLine::kShowHelp;
  else if (args.size() == 1 && args[0] == "--version")
    command.action = CommandLine::kShowVersion;
  else if (const std::optional<TableRequest> request =
               args[0] == kTableOption
                   ? ParseRequest(std::vector<std::string>(args.begin() + 1, args.end()))
                   : std::nullopt)
    command.action = CommandLine::kWriteTable, command.table = *request;
  else
    command.action = CommandLine::kRefuse;
  return command;
}

std::optional<int> AnswerWithoutQt(const CommandLine& command, std::ostream& out,
                                   std::ostream& err) {
  switch (command.action) {
    case CommandLine::kShowHelp:
      out << TableCommandUsage();
      return 0;
    case CommandLine::kShowVersion:
      out << "zenavo 0.5.0\n";
      return 0;
    case CommandLine::kRefuse:
      err << TableCommandUsage();
      return kUsageError;
    case CommandLine::kOpenWindow:
    case CommandLine::kWriteTable:
      break;
  }
  return std::nullopt;
}

std::string TableCommandUsage() {
  return "Uso: zenavo --tabela LATITUDE LONGITUDE ALTITUDE\n"
         "     zenavo --tabela --cidade NOME[/UF]\n"
         "Escreve na saída padrão, em CSV, a tabela de apontamento dos satélites para o local:\n"
         "latitude e longitude em graus (norte e leste positivos), altitude em metros, números\n"
         "com o separador decimal do idioma do sistema. Sem janela nem tela.\n"
         "Sem opções, zenavo abre a janela; zenavo --version mostra a versão.\n";
}

int RunTableCommand(const TableRequest& request, const std::string& dataFolder,
                    std::ostream& out, std::ostream& err) {
  // What the window would show in its error box (in the user's language) goes to the
  // standard error instead.
  std::vector<std::string> errors;
  const auto collect = [&errors](const std::string& message) { errors.push_back(message); };
  struct HandlerBack {
    ErrorHandler previous;
    ~HandlerBack() { SetErrorHandler(std::move(previous)); }
  } handlerBack{SetErrorHandler(collect)};
  const auto failed = [&errors, &err] {
    for (const std::string& message : errors) PrintError(err, message);
    return !errors.empty();
  };
  TForm1 form(dataFolder);  // loads both tables, as at start-up
  if (failed()) return kShownError;
  // The calculator's warnings are said, and the table is written all the same.
  form.OnCalculatorWarning = [&err](const std::string& warning) {
    err << EscapedForTerminal(warning) << '\n';
  };
  try {
    // The file's first line is the caption row: a file of one line or none holds no satellite.
    if (form.Grid1->RowCount() < 2) throw Exception("a tabela de satélites está vazia");
    if (!request.city.isEmpty()) CheckCityTable(*form.Grid2, form.CityFile());
  } catch (const std::exception& error) {
    PrintError(err, TranslatedMessage(error));
    return kShownError;
  }

  if (!request.city.isEmpty()) {
    const std::vector<int> rows = CityRows(*form.Grid2, request);
    if (rows.size() != 1) {
      PrintError(err, (rows.empty() ? "cidade não encontrada: "
                                    : "há cidades com esse nome em mais de um estado; escreva "
                                      "NOME/UF: ") +
                          request.city.toStdString());
      return kUsageError;
    }
    // As a click on the city's row: its site goes into the three boxes.
    ShowingErrors([&] {
      bool canSelect = true;
      form.Grid2SelectCell(kCityName, rows.front(), canSelect);
    });
    if (failed()) return kShownError;
  } else {
    try {
      TypeIntoBox(*form.QvNumEdit1, request.latitude, "latitude", 90);
      TypeIntoBox(*form.QvNumEdit2, request.longitude, "longitude", 360);
      CheckSiteAltitude(StrToFloat(request.altitude));  // a typed altitude no site has
      TypeIntoBox(*form.QvNumEdit3, request.altitude, "altitude",
                  std::numeric_limits<long double>::infinity());
    } catch (const std::exception& error) {
      PrintError(err, TranslatedMessage(error));
      return kUsageError;
    }
  }
  ShowingErrors([&] { form.Button1Click(); });
  if (failed()) return kShownError;
  WriteTable(*form.Grid1, out);
  if (out) return 0;
  PrintError(err, "não foi possível escrever na saída padrão");
  return kShownError;
}

}  // namespace zenavo
