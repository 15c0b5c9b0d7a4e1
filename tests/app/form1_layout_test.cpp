// The main window as designed: every widget's place and size on the tab page, the texts,
// fonts and colours of the labels, labels tall enough for whole letters, the gauges' start, the
// focus order, the fonts the window names mapped to installed faces, and Qt's dialog texts in
// Portuguese.
#include <QFontInfo>
#include <QFontMetrics>
#include <QScrollArea>
#include <QScrollBar>
#include <QLabel>
#include <QTabWidget>
#include <QTranslator>

#include <algorithm>

#include "app/form_fonts.h"
#include "app/translations.h"
#include "form1_fixture.h"
#include "gauges/angular_meter.h"
#include "gauges/jog_meter.h"
#include "numedit/qv_num_edit.h"
#include "support/text_recorder.h"

namespace zenavo::testing {
namespace {

class FormLayout : public FormTest {
 protected:
  void SetUp() override { OpenWithEverything(); }
  QWidget* Widget(const char* name) {
    return Form().findChild<QWidget*>(QString::fromLatin1(name));
  }
  QLabel* Label(const char* name) { return Form().findChild<QLabel*>(QString::fromLatin1(name)); }
};

TEST_F(FormLayout, EveryWidgetSitsAtItsPlaceOnTheTabPage) {
  struct Place {
    const char* name;
    // left, top, width, height; a label sized to its text has width 0. Labels grow to hold
    // whole letters of the free faces: Label8, designed 13 pixels high, is 14.
    QRect geometry;
  };
  const Place places[] = {
      {"AngularMeter1", {4, 0, 361, 361}},   {"AngularMeter2", {364, 0, 361, 361}},
      {"JogMeter2", {733, 0, 40, 362}},      {"Label8", {728, 360, 45, 14}},
      {"Label5", {173, -2, 20, 32}},         {"Label17", {25, 46, 47, 32}},
      {"Label18", {293, 52, 37, 32}},        {"Label10", {6, 166, 27, 32}},
      {"Label12", {177, 328, 18, 32}},       {"Label6", {533, -2, 20, 32}},
      {"Label20", {397, 38, 47, 32}},        {"Label19", {655, 46, 37, 32}},
      {"Label11", {705, 158, 17, 32}},       {"Label13", {537, 328, 18, 32}},
      {"Label9", {288, 8, 0, 0}},            {"Grid2", {8, 368, 545, 130}},
      {"Grid1", {8, 501, 545, 151}},         {"Bevel1", {568, 381, 201, 150}},
      {"Label3", {576, 384, 0, 0}},          {"Label4", {624, 384, 0, 0}},
      {"Label21", {624, 400, 0, 0}},         {"Label1", {576, 419, 0, 0}},
      {"QvNumEdit1", {632, 416, 68, 21}},    {"Label2", {576, 443, 0, 0}},
      {"QvNumEdit2", {632, 440, 68, 21}},    {"Label7", {576, 467, 0, 0}},
      {"QvNumEdit3", {632, 464, 68, 21}},    {"Button1", {608, 495, 121, 30}},
      {"Button2", {568, 552, 75, 25}},       {"Button3", {568, 584, 75, 25}},
      {"Label14", {600, 624, 3, 13}},        {"Label16", {640, 624, 121, 33}},
      {"Label15", {12, 653, 0, 0}},
  };
  for (const Place& place : places) {
    const QWidget* widget = Widget(place.name);
    if (!widget) {
      ADD_FAILURE() << place.name << " missing";
      continue;
    }
    EXPECT_EQ(widget->parentWidget(), Form().TabSheet1) << place.name;
    const QRect expected = place.geometry.width() > 0
                               ? place.geometry
                               : QRect(place.geometry.topLeft(), widget->sizeHint());
    EXPECT_EQ(widget->geometry(), expected) << place.name;
  }
}

// On a screen with less room than the designed 798 x 720 (frame included) the window fits it
// and its page scrolls: every widget can be scrolled into view. With room, nothing changes.
TEST_F(FormLayout, OnASmallScreenThePageScrollsAndEveryWidgetCanBeReached) {
  const int bar = Form().PageScroller->verticalScrollBar()->sizeHint().width();
  const struct Case {
    const char* name;
    QRect available;
    QSize client;
    QPoint place;  // of the frame
    bool vertical, horizontal;  // scroll bars shown
  } cases[] = {
      {"designed size", {0, 0, 798 + 71, 720 + 14}, {790, 693}, {71, 14}, false, false},
      {"1080p at 150 %", {0, 0, 1280, 680}, {790 + bar, 653}, {71, 0}, true, false},
      {"netbook", {0, 0, 1024, 600}, {790 + bar, 573}, {71, 0}, true, false},
      {"beside a panel", {48, 30, 700, 500}, {692, 473}, {48, 30}, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Form().FitToScreen(c.available);
    QApplication::processEvents();
    EXPECT_EQ(Form().size(), c.client);
    EXPECT_EQ(Form().frameGeometry().topLeft(), c.place);
    EXPECT_EQ(Form().PageScroller->verticalScrollBar()->isVisible(), c.vertical);
    EXPECT_EQ(Form().PageScroller->horizontalScrollBar()->isVisible(), c.horizontal);
    const QWidget* view = Form().PageScroller->viewport();
    for (QWidget* widget : Form().TabSheet1->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (widget->height() > view->height()) continue;  // the dials on the smallest screen
      Form().PageScroller->ensureWidgetVisible(widget, 0, 0);
      const QRect shown(widget->mapTo(view, QPoint(0, 0)), widget->size());
      EXPECT_TRUE(view->rect().contains(shown)) << widget->objectName().toStdString();
    }
    Form().resize(790, 693);
    Form().move(71, 14);
  }
}

TEST_F(FormLayout, TheWindowIsCaptionedAndPlacedAndItsPageControlFillsIt) {
  EXPECT_EQ(Form().windowTitle().toStdString(), "Zenavo v. 0.5 beta");
  EXPECT_EQ(Form().size(), QSize(790, 693));
  EXPECT_EQ(Form().frameGeometry().topLeft(), QPoint(71, 14));
  EXPECT_EQ(Form().PageControl1->geometry(), QRect(0, 0, 790, 693));
  ASSERT_EQ(Form().PageControl1->count(), 1);
  EXPECT_EQ(Form().PageControl1->widget(0), Form().TabSheet1);
  EXPECT_TRUE(Form().PageControl1->tabText(0).isEmpty());
  // Label15 at the foot of the page still lies within it.
  EXPECT_TRUE(Form().TabSheet1->rect().contains(Form().Label15->geometry()));
  EXPECT_EQ(Form().TabSheet1->backgroundRole(), QPalette::Button);
  EXPECT_TRUE(Form().TabSheet1->autoFillBackground());
}

TEST_F(FormLayout, LabelsShowTheirTextsInTheirFontsAndColours) {
  struct Look {
    const char* name;
    const char* text;
    const char* family;  // as the window names it
    int pixels;
    bool bold;
    QColor text_colour, background;  // invalid: the palette's own
  };
  const QColor red(255, 0, 0), black(0, 0, 0), lime(0, 255, 0);
  const Look looks[] = {
      {"Label5", "N", "Verdana", 27, false, red, black},
      {"Label17", "NW", "Verdana", 27, false, red, black},
      {"Label18", "NE", "Verdana", 27, false, red, black},
      {"Label10", "W", "Verdana", 27, false, red, black},
      {"Label12", "S", "Verdana", 27, false, red, black},
      {"Label6", "N", "Verdana", 27, false, red, black},
      {"Label20", "NW", "Verdana", 27, false, red, black},
      {"Label19", "NE", "Verdana", 27, false, red, black},
      {"Label11", "E", "Verdana", 27, false, red, black},
      {"Label13", "S", "Verdana", 27, false, red, black},
      {"Label9", "", "Tahoma", 16, true, lime, black},
      {"Label8", "Elevação", "MS Sans Serif", 11, false, {}, {}},
      {"Label3", "Local : ", "MS Sans Serif", 11, false, {}, {}},
      {"Label4", "", "MS Sans Serif", 11, false, {}, {}},
      {"Label21", "", "MS Sans Serif", 11, false, {}, {}},
      {"Label1", "Latitude", "MS Sans Serif", 11, false, {}, {}},
      {"Label2", "Longitude", "MS Sans Serif", 11, false, {}, {}},
      {"Label7", "Altitude", "MS Sans Serif", 11, false, {}, {}},
      {"Label14", "", "MS Sans Serif", 11, false, {}, {}},
      {"Label15", "Label15", "MS Sans Serif", 11, false, {}, {}},
      {"Label16", "Dúvida e Sugestões : contato@zenavo.app", "MS Sans Serif", 11, false, {}, {}},
  };
  for (const Look& look : looks) {
    const QLabel* label = Label(look.name);
    if (!label) {
      ADD_FAILURE() << look.name << " missing";
      continue;
    }
    EXPECT_EQ(ShownText(label->text()), QString::fromUtf8(look.text)) << look.name;
    EXPECT_EQ(label->font().family(), QString::fromLatin1(look.family)) << look.name;
    EXPECT_EQ(label->font().pixelSize(), look.pixels) << look.name;
    EXPECT_EQ(label->font().bold(), look.bold) << look.name;
    if (look.text_colour.isValid()) {
      EXPECT_EQ(label->palette().color(QPalette::WindowText), look.text_colour) << look.name;
      EXPECT_EQ(label->palette().color(QPalette::Window), look.background) << look.name;
      EXPECT_TRUE(label->autoFillBackground()) << look.name << " is opaque";
      EXPECT_EQ(label->backgroundRole(), QPalette::Window) << look.name;
      EXPECT_EQ(label->foregroundRole(), QPalette::WindowText) << look.name;
    }
  }
  EXPECT_TRUE(Form().Label16->wordWrap());
  EXPECT_TRUE(Form().Button1->font().bold());
  EXPECT_FALSE(Form().Button2->font().bold());
  EXPECT_EQ(ShownText(Form().Button1->text()), "Calcular");
  EXPECT_EQ(ShownText(Form().Button2->text()), "Imprimir");
  EXPECT_EQ(ShownText(Form().Button3->text()), "Gravar");
}

// Every label with a text holds whole letters of its font: drawn where it draws its lines, the
// ink of accented capitals ("ÓÉ") above the first baseline and of descenders ("gjpqy") below the
// last lies inside the label. Checked with cities and a satellite name the window shows.
TEST_F(FormLayout, EveryLabelHoldsAccentedCapitalsAndDescendersWhole) {
  const auto expectWholeLetters = [](QLabel& label) {
    SCOPED_TRACE(label.objectName().toStdString() + " \"" + label.text().toStdString() + "\"");
    const QFontMetrics metrics(label.font());
    const int accentTop = -metrics.tightBoundingRect(QString::fromUtf8("ÓÉ")).top();
    const int descenderFoot = metrics.tightBoundingRect(QStringLiteral("gjpqy")).bottom() + 1;
    TextRecorder recorder(label.width(), label.height());
    label.render(&recorder);
    ASSERT_FALSE(recorder.Items().empty());
    double first = label.height(), last = 0;
    for (const TextRecorder::Item& line : recorder.Items()) {
      first = std::min(first, line.Baseline.y());
      last = std::max(last, line.Baseline.y());
    }
    EXPECT_GE(first - accentTop, 0) << "accents cut";
    EXPECT_LE(last + descenderFoot, label.height()) << "descenders cut";
  };
  const struct {
    const char* city;
    const char* state;
  } sites[] = {{"Óleo", "SP"}, {"Érico Cardoso", "BA"}, {"Nhandeara", "SP"}};
  for (const auto& site : sites) {
    ClickRow(*Form().Grid2, FindRow(*Form().Grid2, site.city, site.state));
    Click(Form().Button1);
    for (int row = 1; row < Form().Grid1->RowCount(); ++row)
      if (Form().Grid1->Cells(0, row) == "Telstar 19 Vantage") ClickRow(*Form().Grid1, row, 2);
    EXPECT_EQ(Form().Label4->text().toStdString(), site.city);
    EXPECT_EQ(Form().Label9->text().toStdString(), "Telstar 19 Vantage");
    for (QLabel* label : Form().TabSheet1->findChildren<QLabel*>())
      if (!label->text().isEmpty()) expectWholeLetters(*label);
  }
}

TEST_F(FormLayout, CompassMarksAndTheSatelliteNameLieAboveTheDials) {
  const QObjectList& stack = Form().TabSheet1->children();  // bottom to top
  const auto level = [&](const QWidget* widget) { return stack.indexOf(widget); };
  for (const char* mark : {"Label5", "Label17", "Label18", "Label10", "Label12", "Label9"})
    EXPECT_GT(level(Widget(mark)), level(Form().AngularMeter1)) << mark;
  for (const char* mark : {"Label6", "Label20", "Label19", "Label11", "Label13", "Label9"})
    EXPECT_GT(level(Widget(mark)), level(Form().AngularMeter2)) << mark;
  // The bevel lies beneath the site panel and takes no clicks.
  EXPECT_LT(level(Form().Bevel1), level(Form().QvNumEdit1));
  EXPECT_TRUE(Form().Bevel1->testAttribute(Qt::WA_TransparentForMouseEvents));
  // A mark is drawn above the dial: its black background covers the dial's pixels.
  const QImage page = Form().TabSheet1->grab().toImage();
  const QPoint inN = Form().Label5->geometry().topLeft() + QPoint(1, 3);
  EXPECT_EQ(page.pixelColor(inN), QColor(0, 0, 0));
}

TEST_F(FormLayout, TheSitePanelAndGaugesStartAtTheirStoredValues) {
  struct Box {
    TQvNumEdit* edit;
    const char* text;
  };
  for (const Box& box : {Box{Form().QvNumEdit1, "-21"}, Box{Form().QvNumEdit2, "-45"},
                         Box{Form().QvNumEdit3, "0"}}) {
    EXPECT_EQ(box.edit->text().toStdString(), box.text) << box.edit->objectName().toStdString();
    EXPECT_EQ(box.edit->Alignment(), taRightJustify);
    EXPECT_EQ(box.edit->Decimals(), -1);
    EXPECT_EQ(box.edit->NumberFormat(), TNumberFormat::Standard);
  }
  EXPECT_EQ(Form().MagneticDeclination(), std::nullopt);
  EXPECT_EQ(Form().AngularMeter1->Position(), 90.0);
  EXPECT_EQ(Form().AngularMeter2->Position(), 90.0);
  EXPECT_EQ(Form().AngularMeter1->Caption(), "Norte Geográfico");
  EXPECT_EQ(Form().AngularMeter2->Caption(), "Norte Magnético");
  EXPECT_EQ(Form().JogMeter2->Value().Value(), 0.0);
}

TEST_F(FormLayout, TabWalksTheFocusOrderAndNothingElse) {
  QWidget* const order[] = {Form().QvNumEdit1, Form().QvNumEdit2, Form().Button1,
                            Form().Grid1,      Form().Grid2,      Form().QvNumEdit3,
                            Form().Button2,    Form().Button3,    Form().QvNumEdit1};
  EXPECT_EQ(QApplication::focusWidget(), order[0]) << "the first box has the focus at start";
  for (std::size_t i = 1; i < std::size(order); ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), order[i])
        << "after " << i << " Tab(s): "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                        : "nothing");
  }
}

TEST_F(FormLayout, TheFontsTheWindowNamesAreFreeFacesAtTheirPixelHeights) {
  ASSERT_TRUE(fonts_->TahomaFound()) << "fonts-wine's Tahoma not found in " << kWineFontsFolder;
  struct Mapping {
    QWidget* widget;
    const char* face;  // installed family actually drawn
    int pixels;
  };
  const Mapping mappings[] = {
      {Form().Label5, "DejaVu Sans", 27},   // Verdana
      {Form().Label9, "Tahoma", 16},        // Tahoma, bold
      {Form().Label1, "Tahoma", 11},        // MS Sans Serif
      {Form().Grid1, "Tahoma", 11},         // the grids' Tahoma
  };
  for (const Mapping& m : mappings) {
    const QFontInfo info(m.widget->font());
    EXPECT_EQ(info.family().toStdString(), m.face) << m.widget->objectName().toStdString();
    EXPECT_EQ(info.pixelSize(), m.pixels) << m.widget->objectName().toStdString();
  }
  EXPECT_TRUE(QFontInfo(Form().Label9->font()).bold());
}

TEST(FormTranslations, StandardDialogTextsAreBrazilianPortuguese) {
  struct Case {
    QLocale locale;
    const char* cancel;  // Qt's "Cancel" button text
  };
  const Case cases[] = {
      {QLocale(QLocale::Portuguese, QLocale::Brazil), "Cancelar"},
      {QLocale::c(), "Cancelar"},  // no Qt translation for it: the window's Portuguese
      {QLocale(QLocale::German, QLocale::Germany), "Abbrechen"},
  };
  for (const Case& c : cases) {
    QTranslator* translator = InstallQtTranslations(*qApp, c.locale);
    if (!translator) {
      ADD_FAILURE() << c.locale.name().toStdString() << ": no translation (qt6-translations-l10n?)";
      continue;
    }
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel").toStdString(), c.cancel)
        << c.locale.name().toStdString();
    if (c.locale.language() == QLocale::Portuguese) {
      EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Save").toStdString(), "Salvar");
      EXPECT_EQ(QCoreApplication::translate("QPrintDialog", "&Print").toStdString(), "&Imprimir");
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
  }
}

}  // namespace
}  // namespace zenavo::testing
