// The dial area: a satellite row chosen in the pointing table swings the two compass needles
// and the elevation scale and names the satellite; rows without results change nothing; the
// magnetic needle reads magnetic azimuths beyond 0..360; a new "Calcular" carries the dials
// along with the satellite they show.
#include <QAccessible>

#include "app/pointing_table.h"
#include "base/float_text.h"
#include "form1_fixture.h"
#include "gauges/angular_meter.h"
#include "gauges/jog_meter.h"
#include "support/accessibility_events.h"

namespace zenavo::testing {
namespace {

// What the dial area shows.
struct Dials {
  double trueNorth, magneticNorth, elevation;
  std::string name;
  bool operator==(const Dials&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Dials& d) {
  return out << "{" << d.trueNorth << ", " << d.magneticNorth << ", " << d.elevation << ", \""
             << d.name << "\"}";
}

const Dials kStart{90, 90, 0, ""};

// Satellites for São Paulo and Manaus: Leste (30° E) stands above São Paulo's horizon and
// below Manaus's.
const char* const kSatellites =
    "Satelite,Posição,Azimute,Elevação,Az. Magnet,Hora Az.,Polarização\n"
    "Star One C4,-70.0,,,,,\nLeste,30.0,,,,,\nOutro lado,120.0,,,,,\nSem posição,,,,,,\n";
enum { kStarOne = 1, kLeste = 2, kOtherSide = 3, kNoPosition = 4 };

class FormDials : public FormTest {
 protected:
  void SetUp() override {
    folder_.Write("satelite.csv", kSatellites);
    CopyFromBin(folder_, {"municipios.csv"});
    CopyFromBin(folder_, kCalculatorFiles);
    Open();
  }
  Dials Shown() {
    return {Form().AngularMeter1->Position(), Form().AngularMeter2->Position(),
            Form().JogMeter2->Value().Value(), Form().Label9->text().toStdString()};
  }
  // What the row's result cells put on the dials, the magnetic reading as given.
  Dials Results(int row, double magnetic) {
    return {static_cast<double>(StrToFloat(Cell(kColAzimuth, row))), magnetic,
            static_cast<double>(StrToFloat(Cell(kColElevation, row))), Cell(kColName, row)};
  }
  // Chooses a satellite row by clicking its azimuth cell (a click on the current row's first
  // column does nothing in this table).
  void ChooseSatellite(int row) { ClickRow(*Form().Grid1, row, kColAzimuth); }
  void CalculateFor(const char* city, const char* state) {
    ClickRow(*Form().Grid2, FindRow(*Form().Grid2, city, state));
    Click(Form().Button1);
    EXPECT_TRUE(TakeErrors().empty());
  }
};

TEST_F(FormDials, AChosenSatelliteSwingsBothNeedlesAndTheScale) {
  EXPECT_EQ(Shown(), kStart);
  ChooseSatellite(kStarOne);
  EXPECT_EQ(Shown(), kStart) << "a row not yet calculated changes nothing";

  CalculateFor("São Paulo", "SP");
  ASSERT_EQ(Cell(kColAzimuth, kOtherSide), kBelowHorizonText);
  ChooseSatellite(kStarOne);
  const Dials starOne =
      Results(kStarOne, static_cast<double>(StrToFloat(Cell(kColMagneticAz, kStarOne))));
  EXPECT_EQ(Shown(), starOne);
  EXPECT_EQ(Shown().name, "Star One C4");
  EXPECT_NEAR(Shown().trueNorth, 312.76, 0.5);

  for (int row : {kOtherSide, kNoPosition}) {
    ChooseSatellite(row);
    EXPECT_EQ(Shown(), starOne) << "row " << row << " has no results to show";
  }
  EXPECT_EQ(Form().Label9->geometry().topLeft(), QPoint(288, 8));
  EXPECT_EQ(Form().Label9->size(), Form().Label9->sizeHint()) << "sized to the name";
}

TEST_F(FormDials, TheMagneticNeedleReadsAzimuthsBeyondOneTurn) {
  struct Case {
    const char* magnetic;  // the table's text, kept as it is
    double needle;
  };
  const Case cases[] = {
      {"371.50", 11.5},   {"-19.50", 340.5},  {"12.25", 12.25}, {"360.00", 0.0},
      {"-360.00", 0.0},   {"720.00", 0.0},    {"-0.01", 359.99},
      {"725.00", 360.0},  // beyond: clamped as the dial does
      {"-9686.24", 0.0},  // the missing declination's values: clamped
  };
  const int row = kStarOne;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.magnetic);
    Form().Grid1->SetCells(kColAzimuth, row, "350.00");
    Form().Grid1->SetCells(kColElevation, row, "30.00");
    Form().Grid1->SetCells(kColMagneticAz, row, c.magnetic);
    ChooseSatellite(row + 1);  // away and back: each choice raises the event
    ChooseSatellite(row);
    EXPECT_NEAR(Form().AngularMeter2->Position(), c.needle, 1e-9);
    EXPECT_EQ(Form().AngularMeter1->Position(), 350.0);
    EXPECT_EQ(Cell(kColMagneticAz, row), c.magnetic);
  }
}

TEST_F(FormDials, AnEmptyElevationMovesTheNeedlesThenSaysSo) {
  Form().Grid1->SetCells(kColAzimuth, kLeste, "10.00");
  Form().Grid1->SetCells(kColMagneticAz, kLeste, "20.00");
  ChooseSatellite(kLeste);
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{"'' is not a valid floating point value"});
  EXPECT_EQ(Shown(), (Dials{10, 20, 0, ""}));
}

TEST_F(FormDials, ANewCalculationCarriesTheDialsAlong) {
  CalculateFor("São Paulo", "SP");
  ChooseSatellite(kStarOne);
  const Dials saoPaulo = Shown();

  // Manaus: the highlighted Star One row gets new results, and so do the dials.
  CalculateFor("Manaus", "AM");
  const Dials manaus =
      Results(kStarOne, static_cast<double>(StrToFloat(Cell(kColMagneticAz, kStarOne))));
  EXPECT_EQ(Shown(), manaus);
  EXPECT_NE(Shown().trueNorth, saoPaulo.trueNorth);

  // Leste is seen from São Paulo only: shown there, then back to the start from Manaus.
  CalculateFor("São Paulo", "SP");
  ChooseSatellite(kLeste);
  ASSERT_EQ(Shown().name, "Leste");
  CalculateFor("Manaus", "AM");
  ASSERT_EQ(Cell(kColAzimuth, kLeste), kBelowHorizonText);
  EXPECT_EQ(Shown(), kStart);
}

TEST_F(FormTest, TheDialsFollowTheRowsDoneBeforeACalculationStops) {
  folder_.Write("satelite.csv",
                "Satelite,Posição\nStar One C4,-70.0\nQuebrado,abc\n");
  CopyFromBin(folder_, {"municipios.csv"});
  CopyFromBin(folder_, kCalculatorFiles);
  Open();
  const std::vector<std::string> stopped{"'abc' is not a valid floating point value"};
  for (const char* city : {"São Paulo", "Manaus"}) {
    SCOPED_TRACE(city);
    ClickRow(*Form().Grid2, FindRow(*Form().Grid2, city, city[0] == 'M' ? "AM" : "SP"));
    Click(Form().Button1);
    EXPECT_EQ(TakeErrors(), stopped);
    if (Form().Label9->text().isEmpty()) ClickRow(*Form().Grid1, 1, kColAzimuth);
    const double azimuth = static_cast<double>(StrToFloat(Cell(kColAzimuth, 1)));
    EXPECT_EQ(Form().AngularMeter1->Position(), azimuth) << "the dial shows this city's row";
  }
}

// What a screen reader hears: the gauges as named values, the site boxes named by their labels,
// the satellite and the place as text, each change announced.
TEST_F(FormDials, AScreenReaderHearsTheGaugesTheSiteAndTheSatellite) {
  AccessibilityEvents events;
  ClickRow(*Form().Grid2, FindRow(*Form().Grid2, "São Paulo", "SP"));
  events.Take({});
  Click(Form().Button1);  // the current satellite row, Star One, goes to the dials
  ASSERT_EQ(Form().Grid1->Row(), kStarOne);
  const auto changed = events.Take({QAccessible::ValueChanged, QAccessible::NameChanged});
  const auto announced = [&](QObject* object, QAccessible::Event type) {
    return std::count_if(changed.begin(), changed.end(),
                         [&](const auto& e) { return e.Object == object && e.Type == type; });
  };
  const struct Gauge {
    QWidget* widget;
    const char* name;
    int col;  // the result the gauge shows
    double value;
  } gauges[] = {
      {Form().AngularMeter1, "Norte Geográfico", kColAzimuth, Form().AngularMeter1->Position()},
      {Form().AngularMeter2, "Norte Magnético", kColMagneticAz, Form().AngularMeter2->Position()},
      {Form().JogMeter2, "Elevação", kColElevation, Form().JogMeter2->Value().Value()},
  };
  for (const Gauge& g : gauges) {
    SCOPED_TRACE(g.name);
    QAccessibleInterface* gauge = QAccessible::queryAccessibleInterface(g.widget);
    ASSERT_NE(gauge, nullptr);
    ASSERT_NE(gauge->valueInterface(), nullptr);
    EXPECT_EQ(gauge->role(), QAccessible::Dial);
    EXPECT_EQ(gauge->text(QAccessible::Name).toStdString(), g.name);
    EXPECT_EQ(gauge->valueInterface()->currentValue().toDouble(), g.value);
    EXPECT_EQ(gauge->text(QAccessible::Value).toStdString(), Cell(g.col, kStarOne));
    EXPECT_EQ(announced(g.widget, QAccessible::ValueChanged), 1);
  }
  const struct Text {
    QWidget* widget;
    const char* name;
  } texts[] = {
      {Form().QvNumEdit1, "Latitude"}, {Form().QvNumEdit2, "Longitude"},
      {Form().QvNumEdit3, "Altitude"}, {Form().Label4, "São Paulo"},
      {Form().Label21, "SP"},          {Form().Label9, "Star One C4"},
  };
  for (const Text& t : texts) {
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(t.widget);
    EXPECT_EQ(text->text(QAccessible::Name).toStdString(), t.name);
  }
  EXPECT_EQ(announced(Form().Label9, QAccessible::NameChanged), 1);
}

}  // namespace
}  // namespace zenavo::testing
