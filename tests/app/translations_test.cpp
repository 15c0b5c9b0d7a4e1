// The program's messages in the user's language: the Brazilian Portuguese translation in a
// pt_BR locale, the English source texts in the C locale, in the real error box and on the
// command's standard error.
#include "app/translations.h"

#include <QMessageBox>
#include <QTranslator>

#include <sstream>

#include "app/table_command.h"
#include "base/exceptions.h"
#include "form1_fixture.h"
#include "ui/error_report.h"

namespace zenavo::testing {
namespace {

// The program's translation for `locale` installed while it lives.
class ScopedZenavoTranslations {
 public:
  explicit ScopedZenavoTranslations(const QLocale& locale)
      : translator_(InstallZenavoTranslations(*qApp, locale)) {}
  ~ScopedZenavoTranslations() {
    if (translator_) QCoreApplication::removeTranslator(translator_);
    delete translator_;
  }
  bool Installed() const { return translator_ != nullptr; }

 private:
  QTranslator* translator_;
};

class Translations : public FormTest {};

TEST_F(Translations, TheErrorBoxSpeaksTheUsersLanguage) {
  const struct {
    const char* locale;
    bool translated;
    const char* noCalculator;  // "Calcular" without magc, in the real error box
    const char* conversion;    // a message with an argument
    const char* namedPipe;     // a message whose argument is one of the system's reasons
  } cases[] = {
      {"pt_BR", true, "Não foi possível executar a calculadora magc!",
       "'-5,0' não é um número válido",
       "Não foi possível abrir o arquivo \"/d/satélite.csv\". É um pipe nomeado, não um arquivo "
       "comum"},
      {"pt_PT", true, "Não foi possível executar a calculadora magc!",
       "'-5,0' não é um número válido",
       "Não foi possível abrir o arquivo \"/d/satélite.csv\". É um pipe nomeado, não um arquivo "
       "comum"},
      {"C", false, "Could not execute command line!",
       "'-5,0' is not a valid floating point value",
       "Cannot open file \"/d/satélite.csv\". It is a named pipe, not a regular file"},
      {"de_DE", false, "Could not execute command line!",
       "'-5,0' is not a valid floating point value",
       "Cannot open file \"/d/satélite.csv\". It is a named pipe, not a regular file"},
  };
  CopyFromBin(folder_, kDataFiles);  // no calculator
  Open();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.locale);
    const ScopedZenavoTranslations translations{QLocale(QString::fromLatin1(c.locale))};
    EXPECT_EQ(translations.Installed(), c.translated);
    EXPECT_EQ(TranslatedMessage(EConvertError::NotAFloat("-5,0")), c.conversion);
    EXPECT_EQ(TranslatedMessage(
                  EFOpenError("/d/satélite.csv", "It is a named pipe, not a regular file")),
              c.namedPipe);

    // The real box, not the runner's recorder: its text is read, then it is closed.
    const ErrorHandler recorder = SetErrorHandler({});
    QString shown;
    ExpectDialog([&shown, &c](QWidget* dialog) {
      auto* box = qobject_cast<QMessageBox*>(dialog);
      ASSERT_NE(box, nullptr);
      shown = box->text();
      SavePictureToLookAt(box->grab().toImage(), std::string("error_box_") + c.locale + ".png");
      box->accept();
    });
    Click(Form().Button1);
    SetErrorHandler(recorder);
    EXPECT_EQ(shown.toStdString(), c.noCalculator);
  }
}

TEST_F(Translations, TheCommandsStandardErrorIsTranslatedToo) {
  CopyFromBin(folder_, kDataFiles);
  const ScopedZenavoTranslations translations{QLocale(QStringLiteral("pt_BR"))};
  std::ostringstream out, err;
  const CommandLine command = ParseCommandLine({"--tabela", "-23.5", "-46.6", "700"});
  EXPECT_EQ(RunTableCommand(command.table, folder_.Path(), out, err), 2);
  EXPECT_EQ(err.str(), "zenavo: Não foi possível executar a calculadora magc!\n");
}

TEST_F(Translations, AMissingMagcResultNamesTheCalculatorNotItsFile) {
  const ScopedZenavoTranslations translations{QLocale(QStringLiteral("pt_BR"))};
  const EFOpenError error("/tmp/zenavo-magc-x/result.txt", "Arquivo inexistente",
                          kMagcResultMessage);
  EXPECT_EQ(TranslatedMessage(error), "A calculadora magc não produziu resultado: Arquivo inexistente");
  EXPECT_EQ(error.Message(),
            "Cannot open file \"/tmp/zenavo-magc-x/result.txt\". Arquivo inexistente");
}

}  // namespace
}  // namespace zenavo::testing
