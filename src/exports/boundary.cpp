#include "exports/boundary.hpp"

#include <cstring>
#include <exception>
#include <new>

#include "quarnel/errors.hpp"
#include "quarnel/quarnel.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace quarnel::exports {

Failure describe_current_exception() noexcept {
  Failure f;
  const char* text = "unknown failure";
  f.code = QUARNEL_EXCEPTION_INTERNAL;
  try {
    throw;
  } catch (const ERangeError& e) {
    f.code = QUARNEL_EXCEPTION_RANGE;
    text = e.what();
  } catch (const EConvertError& e) {
    f.code = QUARNEL_EXCEPTION_CONVERT;
    text = e.what();
  } catch (const std::bad_alloc&) {
    f.code = QUARNEL_EXCEPTION_OUT_OF_MEMORY;
    text = "Out of memory";
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  f.length = std::strlen(text);
  if (f.length >= sizeof f.message) f.length = sizeof f.message - 1;
  std::memcpy(f.message, text, f.length);
  f.message[f.length] = '\0';
  return f;
}

#if defined(_WIN32)
void raise_failure(const Failure& failure) {
  const ULONG_PTR arguments[2] = {reinterpret_cast<ULONG_PTR>(failure.message),
                                  static_cast<ULONG_PTR>(failure.length)};
  RaiseException(failure.code, EXCEPTION_NONCONTINUABLE, 2, arguments);
  // RaiseException does not return for a non-continuable exception.
  __builtin_unreachable();
}
#endif

}  // namespace quarnel::exports
