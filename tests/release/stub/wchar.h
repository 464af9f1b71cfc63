/* The link check builds without any C runtime's headers; the library's header
 * asks <wchar.h> only for wchar_t, which the compiler's <stddef.h> gives. */
#pragma once
#include <stddef.h>
