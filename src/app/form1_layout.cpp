// The main window's widgets at their designed places (left, top, width, height in pixels of
// the tab page), with their fonts, colours and the keyboard focus order, labels tall enough for
// whole letters, the keys of the main actions, and the names assistive technologies read.
#include <QApplication>
#include <QFontMetrics>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>

#include <algorithm>

#include "app/form1.h"
#include "app/form_gauges.h"
#include "gauges/angular_meter.h"
#include "gauges/jog_meter.h"
#include "grid/grid_configurations.h"
#include "grid/table_grid.h"
#include "numedit/qv_num_edit.h"
#include "ui/colors.h"
#include "ui/error_report.h"

namespace zenavo {

namespace {

// The window's client area and its place on the screen (the window manager adds the frame).
constexpr QPoint kFormPosition(71, 14);
constexpr QSize kClientSize(790, 693);
// What the window manager's frame adds around the client area (the designed outer size is
// 798 x 720).
constexpr QSize kFrameExtra(8, 27);

// The contact line under the buttons.
constexpr const char* kContactText = "D\u00favida e Sugest\u00f5es : contato@zenavo.app";

QFont PixelFont(const char* family, int pixelHeight, bool bold = false) {
  QFont font(QString::fromLatin1(family));
  font.setPixelSize(pixelHeight);
  font.setBold(bold);
  return font;
}

// A label drawn opaque in its own colours (text on background).
void Paint(QLabel& label, TColor text, TColor background) {
  QPalette palette = label.palette();
  palette.setColor(QPalette::WindowText, Resolve(text, palette));
  palette.setColor(QPalette::Window, Resolve(background, palette));
  label.setPalette(palette);
  // Explicit roles: the page's button-face role would otherwise pass down to the label.
  label.setBackgroundRole(QPalette::Window);
  label.setForegroundRole(QPalette::WindowText);
  label.setAutoFillBackground(true);
}

// A label at (left, top): sized to its text when `size` is empty, else of that size.
QLabel* NewLabel(QWidget* page, const char* name, const QString& text, QPoint at,
                 QSize size = QSize()) {
  auto* label = new QLabel(text, page);
  label->setObjectName(QString::fromLatin1(name));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setTextFormat(Qt::PlainText);
  label->move(at);
  if (size.isEmpty())
    label->adjustSize();
  else
    label->resize(size);
  return label;
}

// Gives a label room for whole letters in its font: the free faces report an ascent below the
// top of their accented capitals ("Óleo", "Érico") and a descent above the foot of their
// descenders ("Nhandeara"), so QLabel would cut both. Margins above and below the text take the
// difference. A label sized to its text is sized to it again; one of a designed size keeps its
// width and grows (never shrinks) to the height its text now needs. Its place stays.
void FitWholeLetters(QLabel& label) {
  const bool sizedToText = label.size() == label.sizeHint();
  const QFontMetrics metrics(label.font());
  const int accentTop = -metrics.tightBoundingRect(QStringLiteral("\u00d3\u00c9")).top();
  const int descenderFoot = metrics.tightBoundingRect(QStringLiteral("gjpqy")).bottom() + 1;
  label.setContentsMargins(0, std::max(0, accentTop - metrics.ascent()), 0,
                           std::max(0, descenderFoot - metrics.descent()));
  if (sizedToText) return label.adjustSize();
  const int needed =
      label.wordWrap() ? label.heightForWidth(label.width()) : label.sizeHint().height();
  if (needed > label.height()) label.resize(label.width(), needed);
}

// A compass mark: Verdana 27 pixels, red on black, above the dial it sits on.
QLabel* NewCompassMark(QWidget* page, const char* name, const char* text, QRect geometry) {
  QLabel* label =
      NewLabel(page, name, QString::fromLatin1(text), geometry.topLeft(), geometry.size());
  label->setFont(PixelFont("Verdana", 27));
  Paint(*label, clRed, clBlack);
  return label;
}

// Enter or Return on a focused push button presses it, as Space does.
class PressOnEnter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (key.key() != Qt::Key_Return && key.key() != Qt::Key_Enter) return false;
    // With Shift, Ctrl or Alt it presses nothing: taken here, or "Calcular", the default
    // button (Enter in a site box runs it), would press itself.
    if (!(key.modifiers() & ~Qt::KeypadModifier)) static_cast<QPushButton*>(watched)->click();
    return true;
  }
};

// `text` with a mnemonic: "&Calcular" shows "Calcular" with C underlined, and Alt+C presses it.
QPushButton* NewButton(QWidget* page, const char* name, const char* text, QRect geometry) {
  auto* button = new QPushButton(QString::fromUtf8(text), page);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(geometry);
  button->setAutoDefault(false);
  return button;
}

TQvNumEdit* NewNumEdit(QWidget* page, const char* name, QRect geometry, long double value) {
  auto* edit = new TQvNumEdit(page);
  edit->setObjectName(QString::fromLatin1(name));
  edit->setGeometry(geometry);
  edit->SetAlignment(taRightJustify);
  edit->SetDecimals(-1);
  edit->SetNumberFormat(TNumberFormat::Standard);
  edit->SetValue(value);
  return edit;
}

}  // namespace

void TForm1::CreateWidgets() {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QString::fromLatin1(kForm1Caption));
  setFont(PixelFont("MS Sans Serif", 11));
  // The button-face colour, read from the palette when painted.
  setBackgroundRole(QPalette::Button);
  setAutoFillBackground(true);
  move(kFormPosition);
  resize(kClientSize);

  // The page control fills the client area, never smaller than designed: in a smaller window
  // it scrolls, and the widget taking the focus is scrolled into view.
  PageScroller = new QScrollArea(this);
  PageScroller->setObjectName(QStringLiteral("PageScroller"));
  PageScroller->setFrameShape(QFrame::NoFrame);
  PageScroller->setFocusPolicy(Qt::NoFocus);
  PageScroller->setWidgetResizable(true);
  PageScroller->setGeometry(QRect(QPoint(0, 0), kClientSize));
  PageControl1 = new QTabWidget;
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setMinimumSize(kClientSize);
  PageControl1->setFocusPolicy(Qt::NoFocus);
  PageControl1->tabBar()->setFocusPolicy(Qt::NoFocus);
  TabSheet1 = new QWidget;
  TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
  TabSheet1->setBackgroundRole(QPalette::Button);
  TabSheet1->setAutoFillBackground(true);
  PageControl1->addTab(TabSheet1, QString());
  PageScroller->setWidget(PageControl1);
  const auto showFocused = [scroller = PageScroller, page = QPointer<QWidget>(TabSheet1)](
                               QWidget*, QWidget* now) {
    if (now && page && page->isAncestorOf(now)) scroller->ensureWidgetVisible(now);
  };
  QObject::connect(qApp, &QApplication::focusChanged, PageScroller, showFocused);

  CreateDialArea();
  CreateTables();
  CreateSitePanel();
  CreateCommands();
  ConnectHandlers();
  SetFocusOrder();
  for (QLabel* label : TabSheet1->findChildren<QLabel*>()) FitWholeLetters(*label);
}

void TForm1::CreateDialArea() {
  QWidget* page = TabSheet1;
  AngularMeter1 = new TAngularMeter(page);
  AngularMeter1->setObjectName(QStringLiteral("AngularMeter1"));
  ApplyCompassDialSettings(*AngularMeter1, "Norte Geogr\u00e1fico");
  AngularMeter1->move(4, 0);
  AngularMeter2 = new TAngularMeter(page);
  AngularMeter2->setObjectName(QStringLiteral("AngularMeter2"));
  ApplyCompassDialSettings(*AngularMeter2, "Norte Magn\u00e9tico");
  AngularMeter2->move(364, 0);
  JogMeter2 = new TJogMeter(page);
  JogMeter2->setObjectName(QStringLiteral("JogMeter2"));
  ApplyElevationScaleSettings(*JogMeter2);
  JogMeter2->move(733, 0);

  Label8 = NewLabel(page, "Label8", QStringLiteral("Eleva\u00e7\u00e3o"), {728, 360}, {45, 13});
  JogMeter2->setAccessibleName(Label8->text());  // the scale's own caption is not shown
  Paint(*Label8, clWindowText, clBtnFace);
  // The marks are created after the dials, so they lie above them.
  Label5 = NewCompassMark(page, "Label5", "N", {173, -2, 20, 32});
  Label17 = NewCompassMark(page, "Label17", "NW", {25, 46, 47, 32});
  Label18 = NewCompassMark(page, "Label18", "NE", {293, 52, 37, 32});
  Label10 = NewCompassMark(page, "Label10", "W", {6, 166, 27, 32});
  Label12 = NewCompassMark(page, "Label12", "S", {177, 328, 18, 32});
  Label6 = NewCompassMark(page, "Label6", "N", {533, -2, 20, 32});
  Label20 = NewCompassMark(page, "Label20", "NW", {397, 38, 47, 32});
  Label19 = NewCompassMark(page, "Label19", "NE", {655, 46, 37, 32});
  Label11 = NewCompassMark(page, "Label11", "E", {705, 158, 17, 32});
  Label13 = NewCompassMark(page, "Label13", "S", {537, 328, 18, 32});
  // The satellite shown: lime green bold on black, sized to its name.
  Label9 = NewLabel(page, "Label9", QString(), {288, 8});
  Label9->setFont(PixelFont("Tahoma", 16, true));
  Paint(*Label9, clLime, clBlack);
  Label9->adjustSize();
  Label9->setAccessibleDescription(QStringLiteral("Sat\u00e9lite"));
}

void TForm1::CreateTables() {
  Grid2 = new TTableGrid(TabSheet1);
  Grid2->setObjectName(QStringLiteral("Grid2"));
  ConfigureCityGrid(*Grid2);
  Grid2->setAccessibleName(QStringLiteral("Cidades"));
  Grid2->setGeometry(8, 368, 545, 130);
  Grid1 = new TTableGrid(TabSheet1);
  Grid1->setObjectName(QStringLiteral("Grid1"));
  ConfigurePointingGrid(*Grid1);
  Grid1->setAccessibleName(QStringLiteral("Sat\u00e9lites"));
  Grid1->setGeometry(8, 501, 545, 151);
}

void TForm1::CreateSitePanel() {
  QWidget* page = TabSheet1;
  // The lowered frame around the site panel lies beneath its widgets and takes no clicks.
  Bevel1 = new QFrame(page);
  Bevel1->setObjectName(QStringLiteral("Bevel1"));
  Bevel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Bevel1->setLineWidth(1);
  Bevel1->setGeometry(568, 381, 201, 150);
  Bevel1->setAttribute(Qt::WA_TransparentForMouseEvents);
  Bevel1->lower();

  Label3 = NewLabel(page, "Label3", QStringLiteral("Local : "), {576, 384});
  Label4 = NewLabel(page, "Label4", QString(), {624, 384});
  Label4->setAccessibleDescription(QStringLiteral("Local"));
  Label21 = NewLabel(page, "Label21", QString(), {624, 400});
  Label21->setAccessibleDescription(QStringLiteral("Estado"));
  // Alt+L, Alt+O and Alt+A move to the boxes, which screen readers name by these labels.
  Label1 = NewLabel(page, "Label1", QStringLiteral("&Latitude"), {576, 419});
  QvNumEdit1 = NewNumEdit(page, "QvNumEdit1", {632, 416, 68, 21}, -21);
  Label1->setBuddy(QvNumEdit1);
  Label1->adjustSize();  // the mnemonic's mark takes no room once the label has a buddy
  Label2 = NewLabel(page, "Label2", QStringLiteral("L&ongitude"), {576, 443});
  QvNumEdit2 = NewNumEdit(page, "QvNumEdit2", {632, 440, 68, 21}, -45);
  Label2->setBuddy(QvNumEdit2);
  Label2->adjustSize();
  Label7 = NewLabel(page, "Label7", QStringLiteral("&Altitude"), {576, 467});
  QvNumEdit3 = NewNumEdit(page, "QvNumEdit3", {632, 464, 68, 21}, 0);
  Label7->setBuddy(QvNumEdit3);
  Label7->adjustSize();
  Button1 = NewButton(page, "Button1", "&Calcular", {608, 495, 121, 30});
  QFont bold = Button1->font();
  bold.setBold(true);
  Button1->setFont(bold);
  Button1->setDefault(true);  // Enter in a site box runs "Calcular"
}

void TForm1::CreateCommands() {
  QWidget* page = TabSheet1;
  Button2 = NewButton(page, "Button2", "&Imprimir", {568, 552, 75, 25});
  Button3 = NewButton(page, "Button3", "&Gravar", {568, 584, 75, 25});
  Label14 = NewLabel(page, "Label14", QString(), {600, 624}, {3, 13});
  Label16 = NewLabel(page, "Label16", QString::fromUtf8(kContactText), {640, 624}, {121, 33});
  Label16->setWordWrap(true);
  Label15 = NewLabel(page, "Label15", QStringLiteral("Label15"), {12, 653});
}

void TForm1::ConnectHandlers() {
  Grid1->OnSelectCell = [this](TTableGrid&, int col, int row, bool& canSelect) {
    Grid1SelectCell(col, row, canSelect);
  };
  Grid2->OnSelectCell = [this](TTableGrid&, int col, int row, bool& canSelect) {
    Grid2SelectCell(col, row, canSelect);
  };
  // A click's handler shows its own error: nothing is thrown through Qt's signal machinery.
  const auto connect = [this](QPushButton* button, void (TForm1::*handler)()) {
    QObject::connect(button, &QPushButton::clicked, this,
                     [this, handler] { ShowingErrors([this, handler] { (this->*handler)(); }); });
  };
  connect(Button1, &TForm1::Button1Click);
  connect(Button2, &TForm1::Button2Click);
  connect(Button3, &TForm1::Button3Click);
  auto* enter = new PressOnEnter(this);
  for (QPushButton* button : {Button1, Button2, Button3}) button->installEventFilter(enter);
  // Ctrl+F: the city table takes the focus and starts a search by name.
  QObject::connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
    Grid2->setFocus(Qt::ShortcutFocusReason);
    Grid2->StartFind();
  });
  for (TQvNumEdit* box : {QvNumEdit1, QvNumEdit2, QvNumEdit3})
    QObject::connect(box, &QLineEdit::textChanged, this,
                     [this] { ShowingErrors([this] { SiteBoxChanged(); }); });
}

void TForm1::SetFocusOrder() {
  QWidget* const order[] = {QvNumEdit1, QvNumEdit2, Button1, Grid1,
                            Grid2,      QvNumEdit3, Button2, Button3};
  for (std::size_t i = 1; i < std::size(order); ++i) QWidget::setTabOrder(order[i - 1], order[i]);
  QvNumEdit1->setFocus();
}

void TForm1::FitToScreen(const QRect& available) {
  const QSize room = available.size() - kFrameExtra;
  if (room.width() >= kClientSize.width() && room.height() >= kClientSize.height()) return;
  // Room for the scroll bar across the side that scrolls, where the screen has it.
  const int bar = PageScroller->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  QSize client = kClientSize;
  if (room.height() < client.height()) client.rwidth() += bar;
  if (room.width() < client.width()) client.rheight() += bar;
  client = client.boundedTo(room);
  resize(client);
  // The designed place, moved as little as needed to keep the frame on the free area.
  const QSize outer = client + kFrameExtra;
  const auto place = [](int designed, int from, int room, int size) {
    return std::max(from, std::min(designed, from + room - size));
  };
  move(place(kFormPosition.x(), available.left(), available.width(), outer.width()),
       place(kFormPosition.y(), available.top(), available.height(), outer.height()));
}

void TForm1::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  PageScroller->setGeometry(rect());  // the page control fills the client area, or scrolls
}

}  // namespace zenavo
