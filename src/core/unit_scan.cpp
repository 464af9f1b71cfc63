#include "core/unit_scan.hpp"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quarnel::core {

#if defined(__SSE2__)
namespace {

constexpr std::size_t kLanes = 8;

template <class Unit>
__m128i load(const Unit* p) noexcept {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
}
__m128i splat(char c) noexcept { return _mm_set1_epi8(c); }
__m128i splat(wchar u) noexcept { return _mm_set1_epi16(static_cast<short>(u)); }
template <class Unit>
__m128i equal(__m128i a, __m128i b) noexcept {
  if constexpr (sizeof(Unit) == 1)
    return _mm_cmpeq_epi8(a, b);
  else
    return _mm_cmpeq_epi16(a, b);
}

// The loops below first skip blocks of four vectors in which nothing is
// found, which keeps several loads in flight, then look for the exact place
// one vector at a time.
constexpr std::size_t kBlock = 4;

// Bit 2k of the mask belongs to lane k (each lane sets two bits).
std::size_t first_lane(int mask) noexcept {
  return static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(mask))) / 2;
}

}  // namespace
#endif

std::size_t find_unit(const wchar* s, std::size_t n, wchar unit) noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i key = _mm_set1_epi16(static_cast<short>(unit));
  auto hits = [&](std::size_t at) { return _mm_cmpeq_epi16(load(s + at), key); };
  for (; n - i >= kBlock * kLanes; i += kBlock * kLanes) {
    const __m128i any = _mm_or_si128(_mm_or_si128(hits(i), hits(i + kLanes)),
                                     _mm_or_si128(hits(i + 2 * kLanes), hits(i + 3 * kLanes)));
    if (_mm_movemask_epi8(any)) break;
  }
  for (; n - i >= kLanes; i += kLanes)
    if (int m = _mm_movemask_epi8(_mm_cmpeq_epi16(load(s + i), key))) return i + first_lane(m);
#endif
  for (; i < n; ++i)
    if (s[i] == unit) return i;
  return n;
}

namespace {

#if defined(__SSE2__)
// Copies blocks of four vectors from s to out while none holds a zero unit;
// returns how many units it copied. Streaming stores bypass the cache.
template <bool Streaming>
std::size_t copy_blocks_to_zero(wchar* out, const wchar* s, std::size_t n) noexcept {
  const __m128i zero = _mm_setzero_si128();
  auto zeros = [&](__m128i v) { return _mm_cmpeq_epi16(v, zero); };
  auto store = [&](std::size_t at, __m128i v) {
    if constexpr (Streaming)
      _mm_stream_si128(reinterpret_cast<__m128i*>(out + at), v);
    else
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + at), v);
  };
  std::size_t i = 0;
  for (; n - i >= kBlock * kLanes; i += kBlock * kLanes) {
    const __m128i a = load(s + i), b = load(s + i + kLanes);
    const __m128i c = load(s + i + 2 * kLanes), d = load(s + i + 3 * kLanes);
    if (_mm_movemask_epi8(
            _mm_or_si128(_mm_or_si128(zeros(a), zeros(b)), _mm_or_si128(zeros(c), zeros(d)))))
      break;
    store(i, a);
    store(i + kLanes, b);
    store(i + 2 * kLanes, c);
    store(i + 3 * kLanes, d);
  }
  if constexpr (Streaming) _mm_sfence();
  return i;
}
#endif

}  // namespace

std::size_t copy_to_zero(wchar* out, const wchar* s, std::size_t n) noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  // A copy larger than the core's own cache would evict its source to make
  // room for its destination, and then read the destination's old contents
  // before overwriting them: past this size the destination is written
  // around the cache, which about halves the memory traffic.
  constexpr std::size_t kStreamingBytes = std::size_t{1} << 20;
  if (n * sizeof(wchar) >= kStreamingBytes) {
    // Streaming stores need a 16-byte-aligned destination.
    for (; reinterpret_cast<std::uintptr_t>(out + i) % 16 != 0; ++i)
      if ((out[i] = s[i]) == 0) return i;
    i += copy_blocks_to_zero<true>(out + i, s + i, n - i);
  } else {
    i = copy_blocks_to_zero<false>(out, s, n);
  }
#endif
  for (; i < n && s[i] != 0; ++i) out[i] = s[i];
  return i;
}

namespace {

// The exact place where a comparison stops, in a stretch where it is known
// to stop.
std::size_t locate_stop(const wchar* x, const wchar* y, std::size_t n) noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; n - i >= kLanes; i += kLanes) {
    const __m128i a = load(x + i);
    const __m128i go = _mm_andnot_si128(_mm_cmpeq_epi16(a, zero), _mm_cmpeq_epi16(a, load(y + i)));
    if (int m = _mm_movemask_epi8(go); m != 0xFFFF) return i + first_lane(~m & 0xFFFF);
  }
#endif
  for (; i < n; ++i)
    if (x[i] != y[i] || x[i] == 0) return i;
  return n;
}

}  // namespace

std::size_t first_stop(const wchar* x, const wchar* y, std::size_t n) noexcept {
  // The first difference, stretch by stretch with the C library's memcmp,
  // then its exact place within the stretch.
  constexpr std::size_t kStretch = 16384;
  std::size_t differ = n;
  for (std::size_t i = 0; i < n; i += kStretch) {
    const std::size_t m = std::min(kStretch, n - i);
    if (std::memcmp(x + i, y + i, m * sizeof(wchar)) != 0) {
      differ = i + locate_stop(x + i, y + i, m);
      break;
    }
  }
  // Texts that agree up to and including x[n] compare equal whatever zero
  // units lie inside them, so the scan for one is needed only otherwise.
  if (differ == n && x[n] == y[n]) return n;
  return find_unit(x, differ, 0);
}

namespace {

template <class Unit>
std::size_t find_ends_in(const Unit* s, std::size_t n, std::size_t gap, Unit first,
                         Unit last) noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  constexpr std::size_t lanes = 16 / sizeof(Unit);
  const __m128i f = splat(first), l = splat(last);
  auto both = [&](std::size_t at) {
    return _mm_and_si128(equal<Unit>(load(s + at), f), equal<Unit>(load(s + at + gap), l));
  };
  for (; n - i >= kBlock * lanes; i += kBlock * lanes) {
    const __m128i any = _mm_or_si128(_mm_or_si128(both(i), both(i + lanes)),
                                     _mm_or_si128(both(i + 2 * lanes), both(i + 3 * lanes)));
    if (_mm_movemask_epi8(any)) break;
  }
  for (; n - i >= lanes; i += lanes) {
    if (int m = _mm_movemask_epi8(both(i)))
      return i +
             static_cast<std::size_t>(std::countr_zero(static_cast<unsigned>(m))) / sizeof(Unit);
  }
#endif
  for (; i < n; ++i)
    if (s[i] == first && s[i + gap] == last) return i;
  return n;
}

}  // namespace

std::size_t find_ends(const char* s, std::size_t n, std::size_t gap, char first,
                      char last) noexcept {
  return find_ends_in(s, n, gap, first, last);
}

std::size_t find_ends(const wchar* s, std::size_t n, std::size_t gap, wchar first,
                      wchar last) noexcept {
  return find_ends_in(s, n, gap, first, last);
}

}  // namespace quarnel::core
