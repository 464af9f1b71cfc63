#include "support.hpp"

#include <new>

#include "quarnel/errors.hpp"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace qtest {

#if defined(_WIN32)
// mingw has no __try, so a vectored handler catches the library's structured
// exception: it records it and resumes at a context captured before the call,
// as setjmp/longjmp would. The export that raised has already released
// everything it allocated before raising, so abandoning its frame is safe.
namespace {
struct Catcher {
  CONTEXT resume;
  volatile bool armed = false;
  volatile bool caught = false;
  DWORD code = 0;
  std::string message;
};
thread_local Catcher* current = nullptr;

LONG CALLBACK on_exception(EXCEPTION_POINTERS* info) {
  Catcher* c = current;
  DWORD code = info->ExceptionRecord->ExceptionCode;
  if (!c || !c->armed || (code & 0xFFFFFF00u) != 0xE0510000u) return EXCEPTION_CONTINUE_SEARCH;
  c->armed = false;
  c->caught = true;
  c->code = code;
  if (info->ExceptionRecord->NumberParameters >= 2)
    c->message.assign(reinterpret_cast<const char*>(info->ExceptionRecord->ExceptionInformation[0]),
                      info->ExceptionRecord->ExceptionInformation[1]);
  *info->ContextRecord = c->resume;
  return EXCEPTION_CONTINUE_EXECUTION;
}
}  // namespace

Failure run_catching(void (*body)(void*), void* context, std::string* message) {
  static PVOID handler = AddVectoredExceptionHandler(1, on_exception);
  (void)handler;
  Catcher catcher;
  Catcher* volatile self = &catcher;
  current = self;
  RtlCaptureContext(&self->resume);
  if (!self->caught) {
    self->armed = true;
    body(context);
    self->armed = false;
  }
  current = nullptr;
  if (!self->caught) return Failure::none;
  if (message) *message = self->message;
  switch (self->code) {
    case QUARNEL_EXCEPTION_RANGE:
      return Failure::range;
    case QUARNEL_EXCEPTION_CONVERT:
      return Failure::convert;
    case QUARNEL_EXCEPTION_OUT_OF_MEMORY:
      return Failure::out_of_memory;
    case QUARNEL_EXCEPTION_INVALID_HANDLE:
      return Failure::invalid_handle;
    default:
      return Failure::other;
  }
}
#else
Failure run_catching(void (*body)(void*), void* context, std::string* message) {
  try {
    body(context);
    return Failure::none;
  } catch (const quarnel::ERangeError& e) {
    if (message) *message = e.what();
    return Failure::range;
  } catch (const quarnel::EConvertError& e) {
    if (message) *message = e.what();
    return Failure::convert;
  } catch (const quarnel::EInvalidHandle& e) {
    if (message) *message = e.what();
    return Failure::invalid_handle;
  } catch (const std::bad_alloc&) {
    return Failure::out_of_memory;
  } catch (...) {
    return Failure::other;
  }
}
#endif

}  // namespace qtest
