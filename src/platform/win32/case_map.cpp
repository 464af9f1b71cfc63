// Windows maps the A family's case itself: CharLowerBuffA and CharUpperBuffA
// work in place on exactly the characters given (zero characters included),
// following the user's language settings and the ANSI code page.
#include "platform/case_map.hpp"

#include <windows.h>

namespace quarnel::platform {

// Texts of handles are shorter than 2^31 characters, so a DWORD holds every
// length that reaches here.
void map_case(char* text, std::size_t count, Case to) noexcept {
  if (count == 0) return;
  if (to == Case::lower)
    CharLowerBuffA(text, static_cast<DWORD>(count));
  else
    CharUpperBuffA(text, static_cast<DWORD>(count));
}

}  // namespace quarnel::platform
