#include "app/form1.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPrintDialog>

#include <exception>
#include <optional>
#include <utility>

#include "app/declination_lookup.h"
#include "app/dial_position.h"
#include "app/pointing_table.h"
#include "base/exceptions.h"
#include "base/float_text.h"
#include "gauges/angular_meter.h"
#include "gauges/jog_meter.h"
#include "grid/table_grid.h"
#include "grid/table_printer.h"
#include "numedit/qv_num_edit.h"
#include "ui/accessible_announce.h"
#include "ui/cell_text.h"
#include "ui/error_report.h"

namespace zenavo {

namespace {

// Where the gauges stand before a satellite is shown.
constexpr double kDialStartPosition = 90.0;
constexpr double kScaleStartValue = 0.0;

// Said when a plain data file fails in a point locale: the file, why, and the pair used instead.
constexpr const char* kUnreadDataFile =
    "Cannot read the data file \"%1\" (%2). The tables are loaded from \"%3\" and \"%4\" "
    "instead, whose numbers have a decimal comma: where numbers have a decimal point, "
    "\"Calcular\" cannot read them";

// Why `path` could not be loaded: the reason it cannot be opened (missing, unreadable, not a
// regular file), otherwise the loading error's own message.
std::string LoadFailureReason(const std::string& path, const std::exception& error) {
  std::string reason;
  if (!OpenRegularFile(path, reason).Valid()) return reason;
  return TranslatedMessage(error);
}

// A copy: the grid's cell texts change under later writes.
std::string CellOf(const TTableGrid& grid, int col, int row) { return grid.Cells(col, row); }

// The label's text is its accessible name: a screen reader is told when it changes.
void SetLabelText(QLabel& label, const std::string& cellText) {
  label.setText(CellTextToQString(cellText));
  label.adjustSize();
  QAccessibleEvent changed(&label, QAccessible::NameChanged);
  AnnounceAccessibility(changed);
}

}  // namespace

TForm1::TForm1(std::string dataFolder, QWidget* parent)
    : QWidget(parent), dataFolder_(std::move(dataFolder)) {
  if (!dataFolder_.empty() && dataFolder_.back() != '/') dataFolder_ += '/';
  CreateWidgets();
  ShowingErrors([this] { FormCreate(); });
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  bool plainPairLoaded = false;
  const char* loading = nullptr;  // the plain file being loaded
  try {
    StrToFloat("1.99");  // fails where the decimal separator is not the point
    loading = "satelite.csv";
    Grid1->LoadFromCsvFile(dataFolder_ + loading);
    loading = "municipios.csv";
    Grid2->LoadFromCsvFile(cityFile_ = dataFolder_ + loading);
    plainPairLoaded = true;
  } catch (const std::exception& error) {
    // Any failure switches to the comma-decimal pair; a plain file that failed is named, so
    // the conversion errors the other pair then gives do not come without a reason.
    if (loading)
      ShowError(TranslatedMessage(Exception(
          kUnreadDataFile, {loading, LoadFailureReason(dataFolder_ + loading, error),
                            "satelite_vg.csv", "municipios_vg.csv"})));
  }
  if (plainPairLoaded) return;
  Grid1->LoadFromCsvFile(dataFolder_ + "satelite_vg.csv");
  Grid2->LoadFromCsvFile(cityFile_ = dataFolder_ + "municipios_vg.csv");
}

void TForm1::Grid2SelectCell(int, int row, bool&) {
  const long double latitude = StrToFloat(CellOf(*Grid2, kCityLatitude, row));
  const long double longitude = StrToFloat(CellOf(*Grid2, kCityLongitude, row));
  const long double altitude = StrToFloat(CellOf(*Grid2, kCityAltitude, row));
  SetLabelText(*Label4, CellOf(*Grid2, kCityName, row));
  SetLabelText(*Label21, CellOf(*Grid2, kCityState, row));
  QvNumEdit1->SetValue(latitude);
  QvNumEdit2->SetValue(longitude);
  QvNumEdit3->SetValue(altitude);
}

void TForm1::Grid1SelectCell(int, int row, bool&) { ShowSatellite(row); }

bool TForm1::ShowSatellite(int row) {
  const std::string azimuth = CellOf(*Grid1, kColAzimuth, row);
  if (azimuth == kBelowHorizonText || azimuth.empty()) return false;
  const std::string magneticAzimuth = CellOf(*Grid1, kColMagneticAz, row);
  if (magneticAzimuth.empty()) return false;
  AngularMeter1->SetPosition(static_cast<double>(StrToFloat(azimuth)));
  AngularMeter2->SetPosition(
      MagneticDialPosition(static_cast<double>(StrToFloat(magneticAzimuth))));
  JogMeter2->Value().SetValue(static_cast<double>(StrToFloat(CellOf(*Grid1, kColElevation, row))));
  SetLabelText(*Label9, CellOf(*Grid1, kColName, row));
  return true;
}

void TForm1::ResetSatelliteDisplay() {
  AngularMeter1->SetPosition(kDialStartPosition);
  AngularMeter2->SetPosition(kDialStartPosition);
  JogMeter2->Value().SetValue(kScaleStartValue);
  SetLabelText(*Label9, "");
}

void TForm1::ShowCurrentSatelliteAgain() {
  if (Label9->text().isEmpty()) return;  // no satellite shown yet
  if (!ShowSatellite(Grid1->Row())) ResetSatelliteDisplay();
}

void TForm1::Button1Click() {
  const long double latitude = QvNumEdit1->Value();
  const long double longitude = QvNumEdit2->Value();
  const long double altitude = QvNumEdit3->Value();
  // Let the pressed button repaint before the window blocks on the calculator. Clicks and keys
  // wait until this command is done: a city click or a second "Calcular" queued behind this
  // one would otherwise run inside it, and the site read above would overwrite its results.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  if (const std::optional<long double> declination =
          LookUpDeclination(dataFolder_, latitude, longitude))
    magneticDeclination_ = *declination;
  ComputePointingGrid(latitude, longitude, altitude);
}

void TForm1::ComputePointingGrid(long double latitude, long double longitude,
                                 long double altitude) {
  std::exception_ptr failure;
  try {
    Grid1->EditTable([&](StringTable& table) {
      ComputePointingTable(table, latitude, longitude, altitude, magneticDeclination_);
    });
  } catch (...) {
    failure = std::current_exception();
  }
  // Rows done before a failure carry new results too: the dials follow them, and the
  // failure is what the user is told.
  try {
    ShowCurrentSatelliteAgain();
  } catch (...) {
    if (!failure) throw;
  }
  if (failure) std::rethrow_exception(failure);
}

void TForm1::Button2Click() {
  QPrintDialog dialog(&CurrentPrinter(), this);
  dialog.setOptions(QAbstractPrintDialog::PrintDialogOptions());
  if (dialog.exec() != QDialog::Accepted) return;
  Grid1->PrintTable();
}

void TForm1::Button3Click() {
  QFileDialog dialog(this);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("Arquivo htm (*.htm)"));
  dialog.setDefaultSuffix(QStringLiteral("htm"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  Grid1->ExportHtmlFile(QFile::encodeName(dialog.selectedFiles().front()).toStdString());
}

}  // namespace zenavo
