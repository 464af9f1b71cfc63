// Helpers shared by the tests: owning wrappers for handles, UTF-16 literals
// that work on every platform, and a way to expect the library's failures
// whichever way the platform delivers them.
#pragma once

#include <gtest/gtest.h>

#include <cstdarg>
#include <memory>
#include <string>
#include <string_view>

#include "quarnel/quarnel.h"

// A UTF-16 literal of the library's unit type.
#if defined(_WIN32)
#define QW(s) L##s
#else
#define QW(s) u##s
#endif

namespace qtest {

using wstr = std::basic_string<LWideChar>;
using wview = std::basic_string_view<LWideChar>;

struct DestroyA {
  void operator()(LStrHandleA h) const { LStrDestroyA(h); }
};
struct DestroyW {
  void operator()(LStrHandleW h) const { LStrDestroyW(h); }
};
using HA = std::unique_ptr<LAnsiStrCore::LAnsiStrRec, DestroyA>;
using HW = std::unique_ptr<LWideStrCore::LWideStrRec, DestroyW>;

inline HA make_a(std::string_view s) {
  return HA(LStrAllocFromASzStrA(s.data(), static_cast<int>(s.size())));
}
inline HW make_w(wview s) { return HW(LStrAllocFromWSzStrW(s.data(), static_cast<int>(s.size()))); }
inline std::string text(LStrHandleA h) { return std::string(LStrCstrA(h), LStrLengthA(h)); }

// Each byte as one UTF-16 unit of the same value (Latin-1 style): bytes of
// 0x80 and above never sign-extend.
inline wstr widen(std::string_view s) {
  wstr w;
  for (char c : s) w += static_cast<LWideChar>(static_cast<unsigned char>(c));
  return w;
}
inline wstr text(LStrHandleW h) { return wstr(LStrCstrW(h), LStrLengthW(h)); }

// Calls a va_list export (VPrintf and the like) with the arguments after the
// format as its list.
template <class F, class H, class Char>
int with_va_list(F f, H h, const Char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = f(h, format, args);
  va_end(args);
  return n;
}

// Failure kinds as the platform reports them.
enum class Failure { none, range, convert, out_of_memory, invalid_handle, other };

// Runs `body` and reports which failure, if any, left it. On Windows the
// library raises structured exceptions; elsewhere C++ exceptions.
Failure run_catching(void (*body)(void*), void* context, std::string* message = nullptr);

template <class F>
Failure failure_of(F&& f, std::string* message = nullptr) {
  return run_catching([](void* c) { (*static_cast<F*>(c))(); }, &f, message);
}

// Sets the calling thread's failure mode for one scope.
class ModeScope {
 public:
  explicit ModeScope(int mode) : previous_(LStrSetFailureMode(mode)) {}
  ~ModeScope() { LStrSetFailureMode(previous_); }
  ModeScope(const ModeScope&) = delete;
  ModeScope& operator=(const ModeScope&) = delete;

 private:
  int previous_;
};

}  // namespace qtest
