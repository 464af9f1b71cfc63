// The user's locale from the environment, created once at load without
// touching the process's own locale, and never changed afterwards.
#pragma once

#include <locale.h>

namespace quarnel::platform::posix {

locale_t user_locale() noexcept;

}  // namespace quarnel::platform::posix
