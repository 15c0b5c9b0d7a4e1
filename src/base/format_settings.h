// The global format settings: the locale's separators and short date format. Every conversion
// between text and number reads them. The application fills them from the system locale at
// start-up; tests set them explicitly.
#pragma once

#include <string>

namespace zenavo {

struct FormatSettings {
  char DecimalSeparator = '.';
  char ThousandSeparator = ',';
  char DateSeparator = '/';
  // Day, month and year letters as the locale writes them, e.g. "dd/MM/yyyy".
  std::string ShortDateFormat = "dd/MM/yyyy";
};

// The settings in force.
const FormatSettings& CurrentFormatSettings();
void SetFormatSettings(const FormatSettings& settings);

// Point decimals (".", ","), the settings the data files of point locales use.
FormatSettings PointFormatSettings();
// Comma decimals (",", "."), as in a Brazilian locale.
FormatSettings CommaFormatSettings();

// Puts settings in force for one scope and restores the previous ones at its end.
class ScopedFormatSettings {
 public:
  explicit ScopedFormatSettings(const FormatSettings& settings);
  ~ScopedFormatSettings();
  ScopedFormatSettings(const ScopedFormatSettings&) = delete;
  ScopedFormatSettings& operator=(const ScopedFormatSettings&) = delete;

 private:
  FormatSettings previous_;
};

}  // namespace zenavo
