#include "app/form1.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrintDialog>
#include <QScopeGuard>

#include <exception>
#include <limits>
#include <optional>
#include <utility>

#include "app/declination_lookup.h"
#include "app/dial_position.h"
#include "app/pointing_table.h"
#include "base/clock.h"
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

// A box's value; NaN (equal to nothing) while it holds no number, such as a lone "-" typed.
long double ValueOrNaN(const TQvNumEdit& box) {
  try {
    return box.Value();
  } catch (const EConvertError&) {
    return std::numeric_limits<long double>::quiet_NaN();
  }
}

// The same site: the same name and the same three values.
bool SameSite(const CalculatedSite& a, const CalculatedSite& b) {
  return a.City == b.City && a.State == b.State && a.Latitude == b.Latitude &&
         a.Longitude == b.Longitude && a.AltitudeMetres == b.AltitudeMetres;
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
  {
    fillingSite_ = true;
    const auto filled = qScopeGuard([this] { fillingSite_ = false; });
    QvNumEdit1->SetValue(latitude);
    QvNumEdit2->SetValue(longitude);
    QvNumEdit3->SetValue(altitude);
  }
  // The values as the boxes hold them, so that the site compares equal while they are kept.
  chosenCity_ = ChosenCity{CellOf(*Grid2, kCityName, row), CellOf(*Grid2, kCityState, row),
                           QvNumEdit1->Value(), QvNumEdit2->Value(), QvNumEdit3->Value()};
  SiteChanged();
}

void TForm1::Grid1SelectCell(int, int row, bool&) { ShowSatellite(row); }

void TForm1::SiteBoxChanged() {
  if (fillingSite_) return;
  const CalculatedSite site = SiteInBoxes();
  SetLabelText(*Label4, site.City.empty() ? kTypedSiteName : site.City);
  SetLabelText(*Label21, site.State);
  SiteChanged();
}

CalculatedSite TForm1::SiteInBoxes() const {
  CalculatedSite site;
  site.Latitude = ValueOrNaN(*QvNumEdit1);
  site.Longitude = ValueOrNaN(*QvNumEdit2);
  site.AltitudeMetres = ValueOrNaN(*QvNumEdit3);
  if (chosenCity_ && site.Latitude == chosenCity_->Latitude &&
      site.Longitude == chosenCity_->Longitude && site.AltitudeMetres == chosenCity_->Altitude) {
    site.City = chosenCity_->City;
    site.State = chosenCity_->State;
  }
  return site;
}

void TForm1::SiteChanged() {
  if (!calculation_ || SameSite(*calculation_, SiteInBoxes())) return;
  calculation_.reset();
  Grid1->EditTable(ClearPointingResults);
  ResetSatelliteDisplay();
  UpdateSiteLine();
}

void TForm1::UpdateSiteLine() {
  const std::string line = SiteLineText(calculation_);
  Grid1->PrintSettings().FirstPageHeaderText = line;
  Grid1->HTMLSettings().Caption = line;
}

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

void TForm1::ShowCurrentSatellite() {
  // Row 0 holds the captions (also when a table without satellites makes it current).
  const int row = Grid1->Row();
  if (row < 1 || !ShowSatellite(row)) ResetSatelliteDisplay();
}

void TForm1::Button1Click() {
  CalculatedSite site = SiteInBoxes();
  site.Latitude = QvNumEdit1->Value();
  site.Longitude = QvNumEdit2->Value();
  site.AltitudeMetres = QvNumEdit3->Value();
  CheckSiteAltitude(site.AltitudeMetres);
  // Let the pressed button repaint before the window blocks on the calculator. Clicks and keys
  // wait until this command is done: a city click or a second "Calcular" queued behind this
  // one would otherwise run inside it, and the site read above would overwrite its results.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  // The busy pointer while the calculator runs (up to its time limit), not over a later box.
  const DeclinationLookup lookup = [&] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const auto restoreCursor = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
    return LookUpDeclinationAndWarnings(dataFolder_, site.Latitude, site.Longitude);
  }();
  magneticDeclination_ = site.Declination = lookup.Declination;
  site.Date = Clock().Today();
  site.Time = Clock().TimeOfDay();
  ComputePointingGrid(site);
  if (!lookup.Warnings.empty()) {
    std::string warning = lookup.Warnings;
    warning.pop_back();  // the last line's end
    if (OnCalculatorWarning)
      OnCalculatorWarning(warning);
    else
      ShowError(warning);
  }
  if (!lookup.Declination) throw Exception(kNoDeclinationMessage);
}

void TForm1::ComputePointingGrid(const CalculatedSite& site) {
  std::exception_ptr failure;
  try {
    Grid1->EditTable([&](StringTable& table) {
      ComputePointingTable(table, site.Latitude, site.Longitude, site.AltitudeMetres,
                           site.Declination);
    });
  } catch (...) {
    failure = std::current_exception();
  }
  // Every result the table holds now is this site's (a site change emptied the others).
  calculation_ = site;
  UpdateSiteLine();
  // Rows done before a failure carry new results too: the dials follow them, and the
  // failure is what the user is told.
  try {
    ShowCurrentSatellite();
  } catch (...) {
    if (!failure) throw;
  }
  if (failure) std::rethrow_exception(failure);
}

void TForm1::Button2Click() {
  QPrintDialog dialog(&CurrentPrinter(), this);
  // No page range or selection choice; printing to a PDF file is the desktop's own printer
  // choice ("Print to File (PDF)"), so a machine without a printer can still print.
  dialog.setOptions(QAbstractPrintDialog::PrintToFile);
  if (dialog.exec() != QDialog::Accepted) return;
  Grid1->PrintTable();
}

void TForm1::Button3Click() {
  QFileDialog dialog(this);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDirectory(lastSaveFolder_.isEmpty() ? QDir::homePath() : lastSaveFolder_);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setNameFilter(QStringLiteral("Arquivo htm (*.htm)"));
  dialog.setDefaultSuffix(QStringLiteral("htm"));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return;
  const QString file = dialog.selectedFiles().front();
  lastSaveFolder_ = QFileInfo(file).absolutePath();
  Grid1->ExportHtmlFile(QFile::encodeName(file).toStdString());
}

}  // namespace zenavo
