// How a POSIX locale's numeric and monetary conventions become the library's
// number settings (exposed for the tests, which read named locales).
#pragma once

#include <locale.h>

#include "platform/number_settings.hpp"

namespace quarnel::platform::posix {

// The settings a locale describes; what it leaves unset keeps the defaults.
NumberSettings settings_from_locale(locale_t loc) noexcept;

}  // namespace quarnel::platform::posix
