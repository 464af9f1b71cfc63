// The export boundary. Every export is one line:
//
//     return QUARNEL_BOUNDARY(handles(dst, src), append_text(*dst, view_of(*src)));
//
// naming the handle arguments (checked in checked-handles mode) and the call
// into the internals. Whether the call is guarded is not chosen by hand: an
// expression the compiler knows cannot throw (noexcept) runs bare, anything
// else runs inside the guard, so an export cannot forget its guard.
//
// Internals report failures as C++ exceptions. How a failure leaves an export
// is the calling thread's choice (LStrSetFailureMode):
//  - raise (the default): on POSIX the C++ exception propagates as it is; on
//    Windows a C++ exception cannot cross into a host built by another
//    compiler, so it is caught after the internals have unwound and released
//    their temporaries, and raised again as a structured exception carrying
//    the message text. The only cost over a bare call is one thread-local
//    read.
//  - record: the failure is caught, kept for LStrGetLastFailure, and the
//    export returns the zero of its result type.
#pragma once

#include <array>
#include <cstddef>
#include <type_traits>

#include "core/registry.hpp"
#include "quarnel/quarnel.h"

namespace quarnel::exports {

struct Failure {
  unsigned code = 0;
  std::size_t length = 0;
  char message[256] = {};
};

enum FailureMode : int { kRaise = 0, kRecord = 1 };

// The calling thread's failure mode, read by every call, and the failure of
// the last export it called in record mode. Both are constant-initialised,
// so reading them needs no guard. In an ELF shared library a thread-local
// normally costs a call to find the module's block; the four bytes of the
// mode are asked for in the static block instead, which makes the read one
// instruction. The message buffer is only touched in record mode.
#if defined(__ELF__)
#define QUARNEL_STATIC_TLS __attribute__((tls_model("initial-exec")))
#else
#define QUARNEL_STATIC_TLS
#endif
extern constinit thread_local int thread_failure_mode QUARNEL_STATIC_TLS;
extern constinit thread_local Failure thread_last_failure;

// Describes the exception being handled; call only inside a catch block.
Failure describe_current_exception() noexcept;

// Hands a failure to the host in raise mode: throws the matching C++
// exception on POSIX, raises the structured exception on Windows.
[[noreturn]] void raise_failure(const Failure& failure);

// One handle argument of an export, with the family the export expects.
struct HandleArg {
  const void* record;
  core::registry::Family family;
  bool may_be_null;
};

inline HandleArg handle_arg(LStrHandleA h, bool may_be_null = false) noexcept {
  return {h, core::registry::Family::ansi, may_be_null};
}
inline HandleArg handle_arg(LStrHandleW h, bool may_be_null = false) noexcept {
  return {h, core::registry::Family::wide, may_be_null};
}

// The handle arguments of an export. Handles always lead an export's
// argument list, so the n-th handle here is its n-th argument.
template <class... H>
std::array<HandleArg, sizeof...(H)> handles(H... h) noexcept {
  return {handle_arg(h)...};
}
// The destroy exports' handle, for which null means "nothing to do".
template <class H>
std::array<HandleArg, 1> handle_or_null(H h) noexcept {
  return {handle_arg(h, true)};
}

// Checked-handles mode: whether every handle argument is alive in the
// export's family. If not, the failure is raised (never returns) or, in
// record mode, recorded (returns false).
bool admit(const char* export_name, const HandleArg* args, std::size_t count);

template <class R>
R neutral() noexcept {
  if constexpr (!std::is_void_v<R>) return R{};
}

// Whether the call may run bare, inline in the export: no handle checks, raise
// mode, and on Windows a body that cannot throw (a C++ exception must not
// cross there). One flag and one thread-local test.
template <bool Nothrow>
inline bool bare() noexcept {
#if defined(_WIN32)
  if constexpr (!Nothrow) return false;
#endif
  return !core::registry::enabled() && thread_failure_mode == kRaise;
}

// Every other call crosses here, out of line so that the export's common
// path keeps its few instructions and registers. `handle_args` gives the
// handle arguments only when they are checked.
template <bool Nothrow, class HandleArgs, class Body>
[[gnu::noinline]] auto cross(const char* export_name, HandleArgs&& handle_args, Body&& body) {
  using R = decltype(body());
  constexpr std::size_t handle_count = std::tuple_size_v<decltype(handle_args())>;
  if constexpr (handle_count > 0) {
    if (core::registry::enabled()) {
      auto args = handle_args();
      if (!admit(export_name, args.data(), handle_count)) return neutral<R>();
    }
  }
  if (thread_failure_mode == kRaise) {
    if constexpr (Nothrow) {
      return body();
    } else {
#if defined(_WIN32)
      Failure failure;
      try {
        return body();
      } catch (...) {
        failure = describe_current_exception();
      }
      // Raised outside the catch block, so the C++ exception object is gone.
      raise_failure(failure);
#else
      return body();
#endif
    }
  }
  // Record mode: the failure, if any, is kept for LStrGetLastFailure and the
  // export returns the zero of its result type.
  Failure& last = thread_last_failure;
  last.code = 0;
  last.length = 0;
  last.message[0] = '\0';
  if constexpr (Nothrow) {
    return body();
  } else {
    try {
      return body();
    } catch (...) {
      last = describe_current_exception();
    }
    return neutral<R>();
  }
}

int set_failure_mode(int mode) noexcept;
unsigned last_failure(char* message, int capacity) noexcept;

}  // namespace quarnel::exports

// One export's crossing: its handle arguments and the expression that does
// its work. `__func__` is the export's own name, for failure messages.
#define QUARNEL_BOUNDARY(handle_args, expr)                        \
  (__builtin_expect(::quarnel::exports::bare<noexcept(expr)>(), 1) \
       ? [&] { return expr; }()                                    \
       : ::quarnel::exports::cross<noexcept(expr)>(                \
             __func__, [&] { return ::quarnel::exports::handle_args; }, [&] { return expr; }))

// The exports that read and set the thread's failure state are the boundary
// itself: they must leave the recorded failure alone, and cannot fail.
#define QUARNEL_BOUNDARY_STATE(expr) \
  [&] {                              \
    static_assert(noexcept(expr));   \
    return expr;                     \
  }()
