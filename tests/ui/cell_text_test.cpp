#include "ui/cell_text.h"

#include <gtest/gtest.h>

namespace zenavo {
namespace {

TEST(CellTextToQString, ValidUtf8IsUtf8AndAnythingElseLatin1) {
  struct Case {
    const char* name;
    std::string bytes;
    QString expected;
  } cases[] = {
      {"empty", "", ""},
      {"ASCII", "Eutelsat 5 West B", "Eutelsat 5 West B"},
      {"UTF-8", "Posi\xC3\xA7\xC3\xA3o", u"Posição"_qs},
      {"UTF-8 of three and four bytes", "\xE2\x82\xAC \xF0\x9F\x93\xA1", u"€ 📡"_qs},
      {"Latin-1", "S\xE3o Paulo", u"São Paulo"_qs},
      {"Latin-1 after valid UTF-8", "\xC3\xA7 e \xE7", u"Ã§ e ç"_qs},
      {"UTF-8 sequence cut at the end", "Posi\xC3", u"PosiÃ"_qs},
      {"overlong encoding", "\xC0\xAF", u"À¯"_qs},
      {"encoded surrogate", "\xED\xA0\x80", u"í\u00A0\u0080"_qs},
      {"NUL kept", std::string("a\0b", 3), QString(QChar(u'a')) + QChar(0) + QChar(u'b')},
  };
  for (const Case& c : cases) EXPECT_EQ(CellTextToQString(c.bytes), c.expected) << c.name;
}

}  // namespace
}  // namespace zenavo
