#include "base/format_settings.h"

namespace zenavo {

namespace {
FormatSettings& Settings() {
  static FormatSettings settings;
  return settings;
}
}  // namespace

const FormatSettings& CurrentFormatSettings() { return Settings(); }

void SetFormatSettings(const FormatSettings& settings) { Settings() = settings; }

FormatSettings PointFormatSettings() { return FormatSettings{}; }

FormatSettings CommaFormatSettings() { return FormatSettings{',', '.', '/', "dd/MM/yyyy"}; }

ScopedFormatSettings::ScopedFormatSettings(const FormatSettings& settings)
    : previous_(CurrentFormatSettings()) {
  SetFormatSettings(settings);
}

ScopedFormatSettings::~ScopedFormatSettings() { SetFormatSettings(previous_); }

}  // namespace zenavo
