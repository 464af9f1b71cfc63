#include "core/access.hpp"

#include <algorithm>

#include "core/lifecycle.hpp"
#include "core/unit_scan.hpp"
#include "platform/platform.hpp"

namespace quarnel::core {
namespace {

std::size_t requested(int length) noexcept {
  return length > 0 ? static_cast<std::size_t>(length) : 0;
}

// Setting the length always leaves an A handle with a block of its own.
bool ansi_shared_payload(const ARec& h) noexcept { return ansi_shared(h.payload); }
bool ansi_shared_payload(const WRec&) noexcept { return false; }

}  // namespace

template <class Rec>
int set_length_of(Rec& h, int length) {
  std::size_t n = requested(length);
  if (has_room(h, n)) {
    set_length_in_place(h, n);
  } else if (n != length_of(h) || ansi_shared_payload(h)) {
    auto s = make_str<Rec>(n, n);
    if (n) std::memcpy(s.data(), view_of(h).data(), std::min(n, length_of(h)) * sizeof(*s.data()));
    install(h, std::move(s));
  }
  return static_cast<int>(length_of(h));
}

int set_length(ARec& h, int length) { return set_length_of(h, length); }
int set_length(WRec& h, int length) { return set_length_of(h, length); }

char* char_address(ARec& h, int position) {
  // Signed arithmetic in 64 bits: a position near INT_MIN must not wrap.
  long long index = static_cast<long long>(position) + 1 - h.charIndexBase;
  if (index < 1 || index > static_cast<long long>(length_of(h))) throw ERangeError();
  make_unique(h);
  return h.payload + (index - 1);
}

int assign(ARec& dst, const ARec& src) noexcept {
  if (dst.payload != src.payload) install(dst, AnsiStr::share(src.payload));
  return static_cast<int>(length_of(dst));
}

int assign(WRec& dst, const WRec& src) {
  if (&dst != &src) install(dst, WideStr::copy(view_of(src)));
  return static_cast<int>(length_of(dst));
}

int compare(const ARec& a, const ARec& b) noexcept {
  std::string_view x = view_of(a), y = view_of(b);
  int c = std::memcmp(x.data(), y.data(), std::min(x.size(), y.size()));
  if (c == 0) c = x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
  return (c > 0) - (c < 0);
}

int compare(const WRec& a, const WRec& b) noexcept {
  if (!a.payload || !b.payload) return (a.payload != nullptr) - (b.payload != nullptr);
  // Both texts are read up to their first zero unit; within the shorter
  // length plus its terminator, that is where they first differ or end.
  const wchar* x = a.payload;
  const wchar* y = b.payload;
  const std::size_t n = std::min(bstr_length(x), bstr_length(y));
  const std::size_t i = first_stop(x, y, n);
  return static_cast<int>(x[i]) - static_cast<int>(y[i]);
}

int compare_ic(const ARec& a, const ARec& b) {
  // Each text counts up to its first zero byte, as a zero-terminated text.
  std::string_view x = view_of(a), y = view_of(b);
  WideStr wx = to_wide(x.substr(0, x.find('\0')));
  WideStr wy = to_wide(y.substr(0, y.find('\0')));
  auto* scratch = static_cast<std::uint32_t*>(
      mem::heap_alloc((wx.size() + wy.size() + 2) * sizeof(std::uint32_t)));
  std::unique_ptr<std::uint32_t, decltype([](std::uint32_t* p) { mem::heap_free(p); })> owner(
      scratch);
  return platform::compare_text_ic(wx.view().data(), wx.size(), wy.view().data(), wy.size(),
                                   scratch);
}

int compare_ic(const WRec& a, const WRec& b) noexcept {
  if (!a.payload || !b.payload) return (a.payload != nullptr) - (b.payload != nullptr);
  return platform::compare_units_ic(a.payload, b.payload);
}

}  // namespace quarnel::core
