// TForm1: the main window. The dial area (two compass dials, the elevation scale and their
// marks) above the city table and the satellite (pointing) table, the site panel with the
// three numeric boxes and "Calcular", and the "Imprimir" and "Gravar" commands. The widgets
// keep the names and the pixel positions the window was designed with (96 dots per inch).
#pragma once

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

#include "app/site_line.h"
#include "base/text_file.h"

class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QTabWidget;

namespace zenavo {

class TAngularMeter;
class TJogMeter;
class TQvNumEdit;
class TTableGrid;

// The columns of the city table (Grid2).
enum CityColumn {
  kCityName = 0,
  kCityState = 1,
  kCityLatitude = 2,   // degrees, north positive
  kCityLongitude = 3,  // degrees, east positive
  kCityAltitude = 4,   // metres
};

// The window's caption.
inline constexpr const char* kForm1Caption = "Zenavo v. 0.5 beta";

class TForm1 : public QWidget {
 public:
  // Builds every widget with its stored settings, then runs FormCreate; an error escaping
  // FormCreate is shown in the error box and the window opens all the same. `dataFolder`
  // (ending with '/') holds the data files and the calculator magc.
  explicit TForm1(std::string dataFolder = ExecutableFolder(), QWidget* parent = nullptr);
  ~TForm1() override;

  // Fits the window into `available` (a screen's free area, frame included) when it is smaller
  // than the designed window: the window shrinks and its page scrolls. Otherwise nothing changes.
  void FitToScreen(const QRect& available);

  // The folder of the data files and of magc, ending with '/'.
  const std::string& DataFolder() const { return dataFolder_; }
  // The city file FormCreate loaded last: "municipios.csv" or "municipios_vg.csv".
  const std::string& CityFile() const { return cityFile_; }
  // The magnetic declination in degrees, east positive, that the last "Calcular" got from the
  // calculator; none before the first one and when the calculator gave none.
  std::optional<long double> MagneticDeclination() const { return magneticDeclination_; }
  // The site and declination of the results the pointing table holds; none when it holds none
  // (before the first "Calcular" and after every site change).
  const std::optional<CalculatedSite>& Calculation() const { return calculation_; }

  // Tells the user what the calculator warned of (a date outside its model's years, a site near
  // a magnetic pole); the table is computed all the same. The error box unless replaced.
  std::function<void(const std::string& warning)> OnCalculatorWarning;

  // The event handlers. An error they raise reaches the user in the error box; the handler's
  // remaining steps are skipped.
  // Loads the two tables: the plain pair in a point locale, otherwise (or when the probe or a
  // plain file fails) the _vg pair; a plain file that failed is named in the error box, with
  // the pair used instead.
  void FormCreate();
  // A city row chosen: its latitude, longitude and altitude go into the three boxes and its
  // city and state into Label4 and Label21 (all three cells parsed before anything changes).
  // Another site than the results were calculated for empties them (one site change).
  void Grid2SelectCell(int col, int row, bool& canSelect);
  // A satellite row chosen (the current row clicked again too): its azimuth, magnetic azimuth
  // and elevation go to the dials and the scale, its name to Label9; a row without results
  // changes nothing.
  void Grid1SelectCell(int col, int row, bool& canSelect);
  // A site box's text changed. Typed by the user: Label4 and Label21 name the chosen city while
  // the boxes still hold its site, otherwise "Local digitado"; results of another site are
  // emptied. Boxes filled by Grid2SelectCell are its own site change, not this one.
  void SiteBoxChanged();
  // "Calcular": the site from the boxes (an altitude outside -500..9,000 m is refused), the
  // declination and any warning from magc, the pointing table, then the dials on the current
  // satellite row. No declination leaves the magnetic azimuths empty and says so.
  void Button1Click();
  // "Imprimir": the print dialog, then the pointing table on the printer chosen.
  void Button2Click();
  // "Gravar": the save dialog (in the home folder, later in the folder last saved in; it asks
  // before replacing a file), then the pointing table as an HTML file.
  void Button3Click();

  // The widgets, owned by the window; named as the window names them.
  QScrollArea* PageScroller = nullptr;  // holds PageControl1; scrolls it in a small window
  QTabWidget* PageControl1 = nullptr;
  QWidget* TabSheet1 = nullptr;
  TAngularMeter* AngularMeter1 = nullptr;
  TAngularMeter* AngularMeter2 = nullptr;
  TJogMeter* JogMeter2 = nullptr;
  TTableGrid* Grid1 = nullptr;
  TTableGrid* Grid2 = nullptr;
  QFrame* Bevel1 = nullptr;
  TQvNumEdit* QvNumEdit1 = nullptr;
  TQvNumEdit* QvNumEdit2 = nullptr;
  TQvNumEdit* QvNumEdit3 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button3 = nullptr;
  // Site panel.
  QLabel* Label1 = nullptr;   // "Latitude"
  QLabel* Label2 = nullptr;   // "Longitude"
  QLabel* Label3 = nullptr;   // "Local : "
  QLabel* Label4 = nullptr;   // the chosen city
  QLabel* Label7 = nullptr;   // "Altitude"
  QLabel* Label21 = nullptr;  // the chosen city's state
  // Dial area: compass marks, the elevation caption and the satellite shown.
  QLabel* Label5 = nullptr;   // "N", left dial
  QLabel* Label6 = nullptr;   // "N", right dial
  QLabel* Label8 = nullptr;   // "Elevação"
  QLabel* Label9 = nullptr;   // the satellite shown on the dials
  QLabel* Label10 = nullptr;  // "W", left dial
  QLabel* Label11 = nullptr;  // "E", right dial
  QLabel* Label12 = nullptr;  // "S", left dial
  QLabel* Label13 = nullptr;  // "S", right dial
  QLabel* Label17 = nullptr;  // "NW", left dial
  QLabel* Label18 = nullptr;  // "NE", left dial
  QLabel* Label19 = nullptr;  // "NE", right dial
  QLabel* Label20 = nullptr;  // "NW", right dial
  // Below the buttons.
  QLabel* Label14 = nullptr;  // empty
  QLabel* Label15 = nullptr;  // "Label15"
  QLabel* Label16 = nullptr;  // the contact line

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The layout: every widget at its place with its settings (form1_layout.cpp).
  void CreateWidgets();
  void CreateDialArea();
  void CreateTables();
  void CreateSitePanel();
  void CreateCommands();
  void ConnectHandlers();
  void SetFocusOrder();

  // The selected satellite's results on the dials, the scale and Label9; false (nothing
  // changed) when the row has no results.
  bool ShowSatellite(int row);
  // The current satellite row on the dials, or the dials at their start when it has no results.
  void ShowCurrentSatellite();
  // Needles at 90, the scale at 0, Label9 empty.
  void ResetSatelliteDisplay();
  // ComputePointingTable on Grid1's cells for `site` (rows done before a failure keep their
  // results), then the dials on the current satellite row, also when the loop stopped part way.
  void ComputePointingGrid(const CalculatedSite& site);
  // The site the boxes and the chosen city describe now (no declination, no time).
  CalculatedSite SiteInBoxes() const;
  // Empties the results, the dials and the site line unless they belong to the site now given.
  void SiteChanged();
  // The site line of the printout and the saved file, from Calculation().
  void UpdateSiteLine();

  // The chosen city row's name, state and site as the boxes hold them.
  struct ChosenCity {
    std::string City, State;
    long double Latitude = 0, Longitude = 0, Altitude = 0;
  };

  std::string dataFolder_;
  std::string cityFile_;
  std::optional<long double> magneticDeclination_;
  std::optional<ChosenCity> chosenCity_;
  std::optional<CalculatedSite> calculation_;
  bool fillingSite_ = false;  // Grid2SelectCell is writing the boxes
  QString lastSaveFolder_;
};

}  // namespace zenavo
