// Fills the global format settings from the system locale.
#pragma once

#include <QLocale>

#include "base/format_settings.h"

namespace zenavo {

// The separators and short date format of `locale` in the format settings' terms.
FormatSettings FormatSettingsFromLocale(const QLocale& locale);

}  // namespace zenavo
