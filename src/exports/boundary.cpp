#include "exports/boundary.hpp"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "quarnel/errors.hpp"
#include "quarnel/quarnel.h"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace quarnel::exports {

constinit thread_local int thread_failure_mode QUARNEL_STATIC_TLS = kRaise;
constinit thread_local Failure thread_last_failure;

namespace {

void set_message(Failure& f, const char* text) noexcept {
  f.length = std::strlen(text);
  if (f.length >= sizeof f.message) f.length = sizeof f.message - 1;
  std::memcpy(f.message, text, f.length);
  f.message[f.length] = '\0';
}

}  // namespace

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
  } catch (const EInvalidHandle& e) {
    f.code = QUARNEL_EXCEPTION_INVALID_HANDLE;
    text = e.what();
  } catch (const std::bad_alloc&) {
    f.code = QUARNEL_EXCEPTION_OUT_OF_MEMORY;
    text = "Out of memory";
  } catch (const std::exception& e) {
    text = e.what();
  } catch (...) {
  }
  set_message(f, text);
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
#else
// Only the boundary's own failures start here; the internals' exceptions
// propagate as they were thrown.
void raise_failure(const Failure& failure) { throw EInvalidHandle(failure.message); }
#endif

bool admit(const char* export_name, const HandleArg* args, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    const HandleArg& arg = args[i];
    if (arg.record == nullptr && arg.may_be_null) continue;
    auto verdict = arg.record == nullptr ? core::registry::Verdict::unknown
                                         : core::registry::look_up(arg.record, arg.family);
    if (verdict == core::registry::Verdict::live) continue;
    Failure f;
    f.code = QUARNEL_EXCEPTION_INVALID_HANDLE;
    char text[sizeof f.message];
    std::snprintf(text, sizeof text, "%s: invalid handle argument %u%s", export_name,
                  static_cast<unsigned>(i + 1), core::registry::describe(verdict));
    set_message(f, text);
    if (thread_failure_mode == kRaise) raise_failure(f);
    thread_last_failure = f;
    return false;
  }
  return true;
}

int set_failure_mode(int mode) noexcept {
  int previous = thread_failure_mode;
  if (mode == kRaise || mode == kRecord) thread_failure_mode = mode;
  return previous;
}

unsigned last_failure(char* message, int capacity) noexcept {
  const Failure& last = thread_last_failure;
  if (message != nullptr && capacity > 0) {
    std::size_t n = last.length < static_cast<std::size_t>(capacity) - 1
                        ? last.length
                        : static_cast<std::size_t>(capacity) - 1;
    std::memcpy(message, last.message, n);
    message[n] = '\0';
  }
  return last.code;
}

}  // namespace quarnel::exports
