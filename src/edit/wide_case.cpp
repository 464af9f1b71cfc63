#include "edit/wide_case.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quarnel::edit {
namespace {

constexpr bool is_surrogate(core::wchar u) noexcept { return (u & 0xF800) == 0xD800; }

constexpr core::wchar plain_ascii(core::wchar u, platform::Case to) noexcept {
  if (to == platform::Case::upper) return u >= 'a' && u <= 'z' ? u - 0x20 : u;
  return u >= 'A' && u <= 'Z' ? u + 0x20 : u;
}

}  // namespace

const WideCaseTable& WideCaseTable::of(platform::Case to) noexcept {
  static const WideCaseTable lower(platform::Case::lower), upper(platform::Case::upper);
  return to == platform::Case::lower ? lower : upper;
}

WideCaseTable::WideCaseTable(platform::Case to) noexcept : to_(to) {
  for (unsigned u = 0; u < 0x10000; ++u) map_[u] = static_cast<core::wchar>(u);
  // Two calls, around the surrogates, rather than 63,488 of one unit each.
  platform::map_case(map_, 0xD800, to);
  platform::map_case(map_ + 0xE000, 0x2000, to);
  plain_ascii_ = true;
  for (core::wchar u = 0; u < 0x80; ++u) plain_ascii_ &= map_[u] == plain_ascii(u, to);
}

std::size_t WideCaseTable::map_ascii(const core::wchar* from, core::wchar* to,
                                     std::size_t count) const noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  // Eight units at a time while they are ASCII and the locale maps ASCII as
  // the C locale does (not, for instance, Turkish 'i').
  if (!plain_ascii_) return 0;
  const bool upper = to_ == platform::Case::upper;
  const __m128i first = _mm_set1_epi16(upper ? 'a' - 1 : 'A' - 1);
  const __m128i last = _mm_set1_epi16(upper ? 'z' + 1 : 'Z' + 1);
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80)), zero = _mm_setzero_si128();
  const __m128i delta = _mm_set1_epi16(0x20);
  for (; count - i >= 8; i += 8) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + i));
    if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, high), zero)) != 0xFFFF) break;
    const __m128i in = _mm_and_si128(_mm_cmpgt_epi16(v, first), _mm_cmplt_epi16(v, last));
    const __m128i step = _mm_and_si128(in, delta);
    v = upper ? _mm_sub_epi16(v, step) : _mm_add_epi16(v, step);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + i), v);
  }
#else
  (void)from, (void)to, (void)count;
#endif
  return i;
}

void WideCaseTable::map(const core::wchar* from, core::wchar* to,
                        std::size_t count) const noexcept {
  // By table, with runs of ASCII taken many at a time; surrogates come
  // through unchanged, and only when there were any does a second pass hand
  // their runs to the locale.
  bool surrogates = false;
  for (std::size_t i = 0; i < count;) {
    i += map_ascii(from + i, to + i, count - i);
    for (const std::size_t end = std::min(count, i + 64); i < end; ++i) {
      const core::wchar u = from[i];
      surrogates |= is_surrogate(u);
      to[i] = map_[u];
    }
  }
  if (!surrogates) return;
  for (std::size_t i = 0; i < count;) {
    if (!is_surrogate(to[i])) {
      ++i;
      continue;
    }
    std::size_t end = i + 1;
    while (end < count && is_surrogate(to[end])) ++end;
    platform::map_case(to + i, end - i, to_);
    i = end;
  }
}

}  // namespace quarnel::edit
