// "Gravar" and "Imprimir": the standard dialog first, then the pointing table as an HTML file
// or on the printer chosen; cancelling either dialog changes nothing. The commands' keys: Enter
// on a focused button, Alt+letter for the buttons and the site boxes.
#include <QDir>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QSignalSpy>
#include <QTimer>

#include <functional>
#include <optional>

#include "form1_fixture.h"
#include "grid/table_printer.h"
#include "support/pdf_reader.h"

namespace zenavo::testing {
namespace {

class FormCommands : public FormTest {
 protected:
  void SetUp() override {
    OpenWithEverything();
    ClickRow(*Form().Grid2, FindRow(*Form().Grid2, "São Paulo", "SP"));
    Click(Form().Button1);
    ASSERT_TRUE(TakeErrors().empty());
  }
  void TearDown() override {
    CurrentPrinter().setOutputFileName(QString());
    CurrentPrinter().setOutputFormat(QPrinter::NativeFormat);
  }

  // Answers the save dialog: the output folder, then `name` typed and Enter; cancelled when
  // `name` is null, and when it is still open after Enter (a replacement refused). The dialog
  // must open in `startFolder` when one is given. With `replace`, Qt's question before a file
  // is replaced is expected and answered (from a timer of its own: the watchdog that runs this
  // handler cannot run again inside it).
  void ExpectSaveDialog(const char* name, QString startFolder = {},
                        std::optional<bool> replace = std::nullopt) {
    ExpectDialog([this, name, startFolder, replace](QWidget* widget) {
      auto* dialog = qobject_cast<QFileDialog*>(widget);
      if (!dialog) {
        ADD_FAILURE() << "not a file dialog: " << widget->metaObject()->className();
        widget->close();
        return;
      }
      EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
      EXPECT_TRUE(dialog->testOption(QFileDialog::DontUseNativeDialog));
      EXPECT_EQ(dialog->nameFilters(), QStringList{"Arquivo htm (*.htm)"});
      EXPECT_EQ(dialog->defaultSuffix(), "htm");
      if (!startFolder.isEmpty()) {
        EXPECT_EQ(dialog->directory().absolutePath(), startFolder);
      }
      if (!name) {
        dialog->reject();
        return;
      }
      dialog->setDirectory(QString::fromStdString(output_.Path()));
      auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      if (!edit) {
        ADD_FAILURE() << "no file name box";
        dialog->reject();
        return;
      }
      bool asked = false;
      if (replace) {
        QTimer::singleShot(0, [&asked, name, yes = *replace] {
          auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
          ASSERT_NE(box, nullptr) << "no question before replacing";
          asked = true;
          EXPECT_TRUE(box->text().contains(QString::fromLatin1(name))) << box->text().toStdString();
          box->button(yes ? QMessageBox::Yes : QMessageBox::No)->click();
        });
      }
      edit->setFocus();
      QTest::keyClicks(edit, QString::fromLatin1(name));
      QTest::keyClick(edit, Qt::Key_Return);
      EXPECT_EQ(asked, replace.has_value());
      if (dialog->isVisible()) dialog->reject();
    });
  }

  // The satellite table as the grid itself writes it.
  std::string TableAsHtml() {
    const std::string path = output_.Path() + "reference.html";
    Form().Grid1->ExportHtmlFile(path);
    const std::string html = output_.Read("reference.html");
    std::filesystem::remove(path);
    return html;
  }

  TempFolder output_;
};

TEST_F(FormCommands, GravarWritesTheSatelliteTableUnderTheNameTyped) {
  struct Case {
    const char* typed;
    const char* file;
  };
  const Case cases[] = {{"tabela", "tabela.htm"}, {"pontos.htm", "pontos.htm"}};
  const std::string html = TableAsHtml();
  ASSERT_NE(html.find("Star One C4"), std::string::npos);
  for (const Case& c : cases) {
    ExpectSaveDialog(c.typed);
    Click(Form().Button3);
    EXPECT_TRUE(TakeErrors().empty());
    EXPECT_EQ(output_.Read(c.file), html) << c.typed;
  }
}

TEST_F(FormCommands, GravarAsksBeforeReplacingAFile) {
  for (const bool replace : {false, true}) {
    SCOPED_TRACE(replace ? "replaced" : "kept");
    output_.Write("antiga.htm", "old contents");
    ExpectSaveDialog("antiga.htm", {}, replace);
    Click(Form().Button3);
    EXPECT_EQ(output_.Read("antiga.htm"), replace ? TableAsHtml() : "old contents");
  }
}

TEST_F(FormCommands, GravarOpensInTheHomeFolderThenInTheFolderLastSavedIn) {
  ExpectSaveDialog(nullptr, QDir::homePath());
  Click(Form().Button3);
  ExpectSaveDialog("primeira", QDir::homePath());  // cancelling chose no folder
  Click(Form().Button3);
  ExpectDialog([&](QWidget* widget) {
    auto* dialog = qobject_cast<QFileDialog*>(widget);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->directory().absolutePath() + "/", QString::fromStdString(output_.Path()));
    dialog->reject();
  });
  Click(Form().Button3);
}

TEST_F(FormCommands, CancellingGravarWritesNothing) {
  ExpectSaveDialog(nullptr);
  Click(Form().Button3);
  EXPECT_TRUE(std::filesystem::is_empty(output_.Path()));
}

// Answers the print dialog: confirmed (the current printer writes a PDF file) or cancelled.
void ExpectPrintDialog(bool confirm) {
  ExpectDialog([confirm](QWidget* widget) {
    auto* dialog = qobject_cast<QPrintDialog*>(widget);
    if (!dialog) {
      ADD_FAILURE() << "not a print dialog: " << widget->metaObject()->className();
      widget->close();
      return;
    }
    EXPECT_EQ(dialog->printer(), &CurrentPrinter());
    EXPECT_TRUE(dialog->testOption(QAbstractPrintDialog::PrintToFile));
    EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintSelection));
    EXPECT_FALSE(dialog->testOption(QAbstractPrintDialog::PrintPageRange));
    // Confirmed as it stands: the printer keeps the PDF file the test gave it.
    dialog->done(confirm ? QDialog::Accepted : QDialog::Rejected);
  });
}

TEST_F(FormCommands, ImprimirPrintsTheSatelliteTableOnThePrinterChosen) {
  const std::string pdf = output_.Path() + "impresso.pdf";
  CurrentPrinter().setOutputFormat(QPrinter::PdfFormat);
  CurrentPrinter().setOutputFileName(QString::fromStdString(pdf));
  ExpectPrintDialog(true);
  Click(Form().Button2);
  EXPECT_TRUE(TakeErrors().empty());
  const std::vector<PdfPage> pages = ReadPdfPages(pdf);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_NE(pages[0].Find("Satelite"), nullptr);
  EXPECT_NE(pages[0].Find("C4"), nullptr);
  EXPECT_NE(pages[0].Find(Cell(2, FindRow(*Form().Grid1, "Star One C4", "-70.0"))), nullptr);
  EXPECT_NE(pages[0].Find("15/03/2026"), nullptr) << "the date of the fixed clock";
}

// With no printer at all, the user picks the dialog's PDF file entry and types a file name.
TEST_F(FormCommands, ImprimirPrintsToAPdfFileChosenInTheDialog) {
  const std::string pdf = output_.Path() + "escolhido.pdf";
  CurrentPrinter().setOutputFormat(QPrinter::NativeFormat);
  CurrentPrinter().setOutputFileName(QString());
  ExpectDialog([&](QWidget* widget) {
    auto* printers = widget->findChild<QComboBox*>(QStringLiteral("printers"));
    auto* fileName = widget->findChild<QLineEdit*>(QStringLiteral("filename"));
    ASSERT_NE(printers, nullptr);
    ASSERT_NE(fileName, nullptr);
    printers->setCurrentIndex(printers->count() - 1);  // the PDF file entry comes last
    ASSERT_TRUE(fileName->isEnabled());
    fileName->setText(QString::fromStdString(pdf));
    static_cast<QDialog*>(widget)->accept();
  });
  Click(Form().Button2);
  EXPECT_TRUE(TakeErrors().empty());
  const std::vector<PdfPage> pages = ReadPdfPages(pdf);
  ASSERT_EQ(pages.size(), 1u);
  EXPECT_NE(pages[0].Find("Satelite"), nullptr);
}

TEST_F(FormCommands, CancellingImprimirPrintsNothing) {
  const std::string pdf = output_.Path() + "impresso.pdf";
  CurrentPrinter().setOutputFormat(QPrinter::PdfFormat);
  CurrentPrinter().setOutputFileName(QString::fromStdString(pdf));
  ExpectPrintDialog(false);
  Click(Form().Button2);
  EXPECT_FALSE(output_.Exists("impresso.pdf"));
}

TEST_F(FormCommands, EnterOnAFocusedButtonAndAltLettersPressTheCommands) {
  const struct Case {
    const char* name;
    QWidget* from;  // where the focus is
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    QPushButton* pressed;  // null: none
    QWidget* focus;        // where the focus is afterwards
    std::function<void()> dialog;
  } cases[] = {
      {"Return on Calcular", Form().Button1, Qt::Key_Return, {}, Form().Button1, Form().Button1,
       {}},
      {"keypad Enter on Gravar", Form().Button3, Qt::Key_Enter, Qt::KeypadModifier, Form().Button3,
       Form().Button3, [this] { ExpectSaveDialog(nullptr); }},
      {"Return on Imprimir", Form().Button2, Qt::Key_Return, {}, Form().Button2, Form().Button2,
       [] { ExpectPrintDialog(false); }},
      {"Shift+Return on Calcular", Form().Button1, Qt::Key_Return, Qt::ShiftModifier, nullptr,
       Form().Button1, {}},
      // A button's letter presses it where the focus is; a label's moves to its box.
      {"Alt+C", Form().Grid2, Qt::Key_C, Qt::AltModifier, Form().Button1, Form().Grid2, {}},
      {"Alt+I", Form().QvNumEdit1, Qt::Key_I, Qt::AltModifier, Form().Button2, Form().QvNumEdit1,
       [] { ExpectPrintDialog(false); }},
      {"Alt+G", Form().Grid1, Qt::Key_G, Qt::AltModifier, Form().Button3, Form().Grid1,
       [this] { ExpectSaveDialog(nullptr); }},
      {"Alt+L", Form().Button2, Qt::Key_L, Qt::AltModifier, nullptr, Form().QvNumEdit1, {}},
      {"Alt+O", Form().Grid1, Qt::Key_O, Qt::AltModifier, nullptr, Form().QvNumEdit2, {}},
      {"Alt+A", Form().QvNumEdit1, Qt::Key_A, Qt::AltModifier, nullptr, Form().QvNumEdit3, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    QApplication::setActiveWindow(&Form());  // back from the last case's dialog
    c.from->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), c.from);
    QPushButton* const buttons[] = {Form().Button1, Form().Button2, Form().Button3};
    std::vector<std::unique_ptr<QSignalSpy>> spies;
    for (QPushButton* button : buttons)
      spies.push_back(std::make_unique<QSignalSpy>(button, &QPushButton::clicked));
    if (c.dialog) c.dialog();
    QTest::keyClick(c.from, c.key, c.modifiers);
    // A mnemonic presses its button after a short visible press.
    EXPECT_TRUE(QTest::qWaitFor([] { return PendingDialogHandlers() == 0; }));
    QTest::qWait(c.modifiers & Qt::AltModifier ? 200 : 0);
    QApplication::setActiveWindow(&Form());
    for (std::size_t i = 0; i < spies.size(); ++i)
      EXPECT_EQ(spies[i]->count(), buttons[i] == c.pressed ? 1 : 0) << "Button" << i + 1;
    EXPECT_EQ(QApplication::focusWidget(), c.focus);
    EXPECT_TRUE(TakeErrors().empty());
  }
}

}  // namespace
}  // namespace zenavo::testing
