// "Calcular" end to end with the real calculator: a city chosen by keyboard or mouse, the
// declination magc gives for it, every result cell of the pointing table; the calculator
// missing; a click queued while the window is busy; a read-only program folder; two windows
// calculating at once; sites no dish stands on.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QWindow>

#include <cmath>

#include "app/declination_lookup.h"
#include "app/pointing_table.h"
#include "base/float_text.h"
#include "form1_fixture.h"
#include "numedit/qv_num_edit.h"
#include "support/child_process.h"

// Qt's window-system input queue. A real click waits there until the event loop takes it; the
// test tools of Qt deliver theirs at once, so the queued click is put there directly.
class QWindowSystemInterface {
 public:
  struct AsynchronousDelivery;
  template <typename Delivery>
  static bool handleMouseEvent(QWindow* window, const QPointF& local, const QPointF& global,
                               Qt::MouseButtons state, Qt::MouseButton button, QEvent::Type type,
                               Qt::KeyboardModifiers modifiers, Qt::MouseEventSource source);
};

namespace zenavo::testing {
namespace {

// Queues a left click on `widget` at `point` as the window system does, to be handled when
// the event loop next takes input.
void QueueClick(QWidget* widget, QPoint point) {
  QWindow* window = widget->window()->windowHandle();
  const QPointF local = widget->mapTo(widget->window(), point);
  const QPointF global = widget->mapToGlobal(QPointF(point));
  for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease})
    QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
        window, local, global, type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
        Qt::LeftButton, type, Qt::NoModifier, Qt::MouseEventNotSynthesized);
}

struct Site {
  long double latitude, longitude, altitude;
};

class FormCalculate : public FormTest {
 protected:
  // Chooses the city row `city`, `state` of the city table with a click.
  void ChooseCity(const std::string& city, const std::string& state) {
    const int row = FindRow(*Form().Grid2, city, state);
    ASSERT_GT(row, 0) << city;
    ClickRow(*Form().Grid2, row);
  }
  Site SiteInBoxes() {
    return {Form().QvNumEdit1->Value(), Form().QvNumEdit2->Value(), Form().QvNumEdit3->Value()};
  }
  // The satellite table as "Calcular" must leave it for `site`, with the declination the
  // calculator in the data folder gives for it today.
  StringTable Expected(const StringTable& before, const Site& site, long double* declination) {
    const std::optional<long double> magc =
        LookUpDeclination(folder_.Path(), site.latitude, site.longitude);
    EXPECT_TRUE(magc.has_value());
    *declination = magc.value_or(0);
    StringTable expected = before;
    ComputePointingTable(expected, site.latitude, site.longitude, site.altitude, *declination);
    return expected;
  }
  void ExpectTable(const StringTable& expected) {
    const StringTable& shown = Form().Grid1->Table();
    ASSERT_EQ(shown.RowCount(), expected.RowCount());
    for (int row = 0; row < expected.RowCount(); ++row)
      for (int col = 0; col < kColSkew + 1; ++col)
        EXPECT_EQ(shown.Cells(col, row), expected.Cells(col, row)) << "cell " << col << "," << row;
  }
};

TEST_F(FormCalculate, SaoPauloChosenByKeyboardOrMouseGivesEveryResultCell) {
  for (const bool byKeyboard : {true, false}) {
    SCOPED_TRACE(byKeyboard ? "keyboard" : "mouse");
    OpenWithEverything();
    const int row = FindRow(*Form().Grid2, "São Paulo", "SP");
    ASSERT_GT(row, 0);
    if (byKeyboard)
      KeyToRow(*Form().Grid2, row);
    else
      ClickRow(*Form().Grid2, row, 3);
    EXPECT_EQ(Form().Label4->text().toStdString(), "São Paulo");
    EXPECT_EQ(Form().Label21->text().toStdString(), "SP");
    EXPECT_EQ(Form().QvNumEdit1->text().toStdString(), "-23.56739");
    EXPECT_EQ(Form().QvNumEdit2->text().toStdString(), "-46.57038");
    EXPECT_EQ(Form().QvNumEdit3->text().toStdString(), "784");

    long double declination = 0;
    const StringTable expected = Expected(Form().Grid1->Table(), SiteInBoxes(), &declination);
    Click(Form().Button1);
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(Form().MagneticDeclination(), declination);
    EXPECT_LT(declination, -15);  // São Paulo's declination, west
    ExpectTable(expected);
    const int starOne = FindRow(*Form().Grid1, "Star One C4", "-70.0");
    ASSERT_GT(starOne, 0);
    EXPECT_EQ(Cell(kColAzimuth, starOne).substr(0, 4), "312.");
    form_.reset();
  }
}

TEST_F(FormCalculate, WithoutTheCalculatorTheTableStaysAsItWas) {
  CopyFromBin(folder_, kDataFiles);
  Open();
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "";
  for (std::size_t start = 0; start <= path.size();) {
    const std::size_t end = std::min(path.find(':', start), path.size());
    ASSERT_FALSE(std::filesystem::exists(path.substr(start, end - start) + "/magc"))
        << "a magc on PATH would stand in for the missing one";
    start = end + 1;
  }
  const StringTable before = Form().Grid1->Table();
  Click(Form().Button1);
  EXPECT_EQ(TakeErrors(), std::vector<std::string>{"Could not execute command line!"});
  EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "the busy pointer outlived the run";
  ExpectTable(before);
  EXPECT_EQ(Form().MagneticDeclination(), std::nullopt);
}

TEST_F(FormCalculate, AClickQueuedWhileCalculatingWaitsUntilTheTableIsDone) {
  OpenWithEverything();
  ChooseCity("São Paulo", "SP");
  const Site saoPaulo = SiteInBoxes();
  const int manaus = FindRow(*Form().Grid2, "Manaus", "AM");
  ASSERT_GT(manaus, 0);
  Form().Grid2->SetTopRow(manaus);

  // Before "Calcular" runs, the user has already clicked Manaus and "Calcular" again.
  QueueClick(Form().Grid2->viewport(), Form().Grid2->CellRect(0, manaus).center());
  QueueClick(Form().Button1, Form().Button1->rect().center());
  Click(Form().Button1);
  EXPECT_EQ(Form().Label4->text().toStdString(), "São Paulo")
      << "the queued city was taken while the site was being calculated";
  long double declination = 0;
  const StringTable forSaoPaulo = Expected(Form().Grid1->Table(), saoPaulo, &declination);
  ExpectTable(forSaoPaulo);

  // Now the queued clicks: Manaus, then "Calcular" for Manaus.
  QTest::mouseMove(Form().windowHandle(), QPoint(1, 1));
  QApplication::processEvents();
  EXPECT_EQ(Form().Label4->text().toStdString(), "Manaus");
  const StringTable forManaus = Expected(forSaoPaulo, SiteInBoxes(), &declination);
  ExpectTable(forManaus);
  EXPECT_EQ(Form().MagneticDeclination(), declination);
  EXPECT_TRUE(TakeErrors().empty());
}

// The site typed into the boxes, then "Calcular".
class FormCalculateTyped : public FormCalculate {
 protected:
  void Type(TQvNumEdit* box, const char* text) {
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QString::fromLatin1(text));
  }
};

TEST_F(FormCalculateTyped, SitesNoDishStandsOnEndInResultsOrAClearMessage) {
  struct Case {
    const char* box;      // 1 latitude, 3 altitude
    const char* typed;
    const char* message;  // the end of the message shown, or nullptr for none
    bool results;         // the table computed (else it stays as it was)
  };
  const Case cases[] = {
      {"1", "90",
       "magc: warning: the site lies in the polar blackout zone (H < 2000 nT): compass bearings "
       "and the declination are unreliable",
       true},
      {"1", "-90", nullptr, true},
      {"1", "1E308", "(magc: latitude 1E308 lies outside -90..90)", false},
      {"1", "-1E308", "(magc: latitude -1E308 lies outside -90..90)", false},
      {"3", "-1E308", "The altitude -1E308 m lies outside -500 to 9,000 m; type the site's altitude in metres", false},
      {"3", "9001", "The altitude 9001 m lies outside -500 to 9,000 m; type the site's altitude in metres", false},
  };
  OpenWithEverything();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    Type(Form().QvNumEdit1, "-90");
    Type(Form().QvNumEdit3, "0");
    Type(*c.box == '1' ? Form().QvNumEdit1 : Form().QvNumEdit3, c.typed);
    const StringTable before = Form().Grid1->Table();
    Click(Form().Button1);
    const std::vector<std::string> errors = TakeErrors();
    if (c.message) {
      ASSERT_EQ(errors.size(), 1u);
      EXPECT_TRUE(errors[0].ends_with(c.message)) << errors[0];
    } else {
      EXPECT_TRUE(errors.empty()) << errors.front();
    }
    if (c.results)
      EXPECT_EQ(Cell(kColAzimuth, 1), kBelowHorizonText) << "no satellite is seen from a pole";
    else
      ExpectTable(before);
  }
}

TEST_F(FormCalculate, AReadOnlyProgramFolderCalculatesAsAnyOther) {
  CopyFromBin(folder_, kDataFiles);
  CopyFromBin(folder_, kCalculatorFiles);
  ASSERT_EQ(::chmod(folder_.Path().c_str(), 0555), 0);
  const std::string failure = RunUnprivileged([&]() -> std::string {
    if (::access(folder_.Path().c_str(), W_OK) == 0) return "the folder is writable";
    TForm1 form(folder_.Path());
    form.QvNumEdit1->SetValue(-23.56739L);
    form.QvNumEdit2->SetValue(-46.57038L);
    try {
      form.Button1Click();
    } catch (const std::exception& error) {
      return std::string("Calcular failed: ") + error.what();
    }
    const std::vector<std::string> errors = TakeErrors();
    if (!errors.empty()) return "error shown: " + errors.front();
    if (form.Grid1->Cells(kColAzimuth, 1).empty()) return "no results";
    return "";
  });
  ::chmod(folder_.Path().c_str(), 0755);
  EXPECT_EQ(failure, "");
  EXPECT_FALSE(folder_.Exists("result.txt"));
}

// A child process running a window that calculates `site` `runs` times: its report says
// whether each run got the declination `expected`.
pid_t StartWindowCalculating(const std::string& folder, Site site, long double expected,
                             int runs, int report) {
  const pid_t child = ::fork();
  if (child != 0) return child;
  std::string text;
  try {
    TForm1 form(folder);
    form.QvNumEdit1->SetValue(site.latitude);
    form.QvNumEdit2->SetValue(site.longitude);
    for (int run = 0; run < runs && text.empty(); ++run) {
      form.Button1Click();
      if (form.MagneticDeclination() != expected)
        text = "run " + std::to_string(run) + " read declination " +
               FloatToStr(form.MagneticDeclination().value_or(0));
    }
  } catch (const std::exception& error) {
    text = std::string("raised: ") + error.what();
  }
  if (text.empty()) text = "ok";
  [[maybe_unused]] const ssize_t written = ::write(report, text.data(), text.size());
  ::_exit(0);
}

std::string ReadReport(pid_t child, int fd) {
  std::string report;
  char buffer[512];
  for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) report.append(buffer, n);
  ::close(fd);
  int status = 0;
  ::waitpid(child, &status, 0);
  return report;
}

TEST_F(FormCalculate, TwoWindowsCalculatingAtOnceEachReadTheirOwnDeclination) {
  CopyFromBin(folder_, kDataFiles);
  CopyFromBin(folder_, kCalculatorFiles);
  const Site sites[] = {{-23.56739L, -46.57038L, 784}, {-3.13469L, -60.02334L, 34}};
  long double expected[2];
  for (int i = 0; i < 2; ++i)
    expected[i] = LookUpDeclination(folder_.Path(), sites[i].latitude, sites[i].longitude).value();
  ASSERT_NE(expected[0], expected[1]);
  // The calculator lingers before it writes, so the two windows' runs overlap.
  std::filesystem::rename(folder_.Path() + "magc", folder_.Path() + "magc.real");
  folder_.WriteScript("magc", "sleep 0.2\nexec \"$(dirname \"$0\")/magc.real\" \"$@\"\n");
  int pipes[2][2];
  pid_t children[2];
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(::pipe(pipes[i]), 0);
    children[i] = StartWindowCalculating(folder_.Path(), sites[i], expected[i], 3, pipes[i][1]);
    ::close(pipes[i][1]);
  }
  for (int i = 0; i < 2; ++i)
    EXPECT_EQ(ReadReport(children[i], pipes[i][0]), "ok") << "window " << i;
}

}  // namespace
}  // namespace zenavo::testing
