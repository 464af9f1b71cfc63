// The export boundary. Internals report failures as C++ exceptions. On POSIX
// they propagate to the host as they are; on Windows a C++ exception cannot
// cross into a host built by another compiler, so it is caught here, after
// the internals have unwound and released their temporaries, and raised again
// as a structured exception carrying the message text.
#pragma once

#include <cstddef>

namespace quarnel::exports {

struct Failure {
  unsigned code = 0;
  std::size_t length = 0;
  char message[256] = {};
};

// Describes the exception being handled; call only inside a catch block.
Failure describe_current_exception() noexcept;

#if defined(_WIN32)
[[noreturn]] void raise_failure(const Failure& failure);
#endif

template <class F>
decltype(auto) guarded(F&& body) {
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

}  // namespace quarnel::exports
