#include "support.hpp"

#include <new>
#include <utility>

#include "quarnel/errors.hpp"

#if defined(_WIN32)
#include <windows.h>
#endif

namespace qtest {

#if defined(_WIN32)
// mingw has no __try, so a vectored handler catches the library's structured
// exception: it records it and resumes at a point marked before the call, as
// longjmp would. The export that raised has already released everything it
// allocated before raising, so abandoning its frames is safe.
//
// The resume point is a __builtin_setjmp buffer: frame pointer, resume
// address and stack pointer, which is all the compiler needs there (it
// reloads every other register after the mark). The handler writes those
// three into the faulting context and lets the dispatcher continue with it.
// (A context from RtlCaptureContext marks such a point on x86_64 only: on
// i386 resuming it returns from the caller with a junk value instead.)
// On i386 the thread's chain of exception registrations lives in the TIB
// rather than in tables, so the handler also restores the chain's head to
// what it was at the mark: any registration below it is on abandoned stack.
namespace {
struct Catcher {
  void* resume[5];
#if defined(__i386__)
  void* chain = nullptr;
#endif
  volatile bool armed = false;
  volatile bool caught = false;
  DWORD code = 0;
  std::string message;
};
thread_local Catcher* current = nullptr;

#if defined(__i386__)
// The chain's head is the first word of the TIB, at fs:[0].
void* chain_head() {
  void* head;
  asm volatile("movl %%fs:0, %0" : "=r"(head));
  return head;
}
void set_chain_head(void* head) { asm volatile("movl %0, %%fs:0" : : "r"(head) : "memory"); }
#endif

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
  CONTEXT* to = info->ContextRecord;
#if defined(__x86_64__)
  to->Rbp = reinterpret_cast<DWORD64>(c->resume[0]);
  to->Rip = reinterpret_cast<DWORD64>(c->resume[1]);
  to->Rsp = reinterpret_cast<DWORD64>(c->resume[2]);
#elif defined(__i386__)
  to->Ebp = reinterpret_cast<DWORD>(c->resume[0]);
  to->Eip = reinterpret_cast<DWORD>(c->resume[1]);
  to->Esp = reinterpret_cast<DWORD>(c->resume[2]);
  set_chain_head(c->chain);
#else
#error "resuming after a structured exception is written for x86 only"
#endif
  return EXCEPTION_CONTINUE_EXECUTION;
}
}  // namespace

Failure run_catching(void (*body)(void*), void* context, std::string* message) {
  [[maybe_unused]] static PVOID handler = AddVectoredExceptionHandler(1, on_exception);
  Catcher catcher;
  Catcher* volatile self = &catcher;
  current = self;
#if defined(__i386__)
  self->chain = chain_head();
#endif
  if (__builtin_setjmp(self->resume) == 0) {
    self->armed = true;
    body(context);
    self->armed = false;
  }
  current = nullptr;
  if (!self->caught) return Failure::none;
  if (message) *message = self->message;
  static const std::pair<DWORD, Failure> kinds[] = {
      {QUARNEL_EXCEPTION_RANGE, Failure::range},
      {QUARNEL_EXCEPTION_CONVERT, Failure::convert},
      {QUARNEL_EXCEPTION_OUT_OF_MEMORY, Failure::out_of_memory},
      {QUARNEL_EXCEPTION_INVALID_HANDLE, Failure::invalid_handle}};
  for (const auto& [code, kind] : kinds)
    if (self->code == code) return kind;
  return Failure::other;
}
#else
Failure run_catching(void (*body)(void*), void* context, std::string* message) {
  try {
    body(context);
    return Failure::none;
  } catch (const std::bad_alloc&) {
    return Failure::out_of_memory;
  } catch (const std::exception& e) {
    if (message) *message = e.what();
    if (dynamic_cast<const quarnel::ERangeError*>(&e)) return Failure::range;
    if (dynamic_cast<const quarnel::EConvertError*>(&e)) return Failure::convert;
    if (dynamic_cast<const quarnel::EInvalidHandle*>(&e)) return Failure::invalid_handle;
    return Failure::other;
  } catch (...) {
    return Failure::other;
  }
}
#endif

}  // namespace qtest
