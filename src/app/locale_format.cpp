#include "app/locale_format.h"

namespace zenavo {

namespace {
// The first character of a locale symbol as one 8-bit character, or `fallback` when the
// symbol is not a single ASCII character (the conversions work on bytes).
char SingleByte(const QString& symbol, char fallback) {
  if (symbol.size() == 1 && symbol[0].unicode() < 0x80) return static_cast<char>(symbol[0].unicode());
  return fallback;
}
}  // namespace

FormatSettings FormatSettingsFromLocale(const QLocale& locale) {
  FormatSettings settings;
  settings.DecimalSeparator = SingleByte(locale.decimalPoint(), '.');
  // A locale without a usable thousands separator (e.g. a non-breaking space) gets the
  // character that cannot be confused with its decimal separator.
  settings.ThousandSeparator =
      SingleByte(locale.groupSeparator(), settings.DecimalSeparator == ',' ? '.' : ',');
  const QString dateFormat = locale.dateFormat(QLocale::ShortFormat);
  settings.ShortDateFormat = dateFormat.toStdString();
  for (QChar c : dateFormat) {
    if (!c.isLetter()) {
      settings.DateSeparator = SingleByte(QString(c), '/');
      break;
    }
  }
  return settings;
}

}  // namespace zenavo
