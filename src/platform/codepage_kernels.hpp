// The inner loops of the code-page conversions, shared by the POSIX code
// pages and the Windows layer's single-byte fast path.
//
// Every ANSI code page maps bytes 0x00-0x7F to U+0000-U+007F. Runs of them
// are taken sixteen at a time with SSE2 (the baseline of every x86 target
// the library is built for; the single-byte encoder uses AVX2 where the CPU
// has it), elsewhere eight bytes at a time in a 64-bit word; only the other
// characters are looked up. Nothing is ever written
// past the last unit or byte a conversion produces, so the converters can
// fill a caller's buffer of exactly the right size.
//
// `Unit` is the platform's UTF-16 unit type (char16_t or wchar_t).
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quarnel::platform::kernels {

#if defined(__SSE2__)
inline __m128i load16(const void* p) noexcept {
  return _mm_loadu_si128(static_cast<const __m128i*>(p));
}
inline void store16(void* p, __m128i v) noexcept { _mm_storeu_si128(static_cast<__m128i*>(p), v); }
// Bytes to units: the low and the high eight bytes of v, each widened.
template <class Unit>
inline void store_widened(Unit* out, __m128i v) noexcept {
  const __m128i zero = _mm_setzero_si128();
  store16(out, _mm_unpacklo_epi8(v, zero));
  store16(out + 8, _mm_unpackhi_epi8(v, zero));
}
// One bit per unit of a and b (a's in bits 0-7): set where the unit is not
// ASCII.
inline unsigned non_ascii_units(__m128i a, __m128i b) noexcept {
  const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80)), zero = _mm_setzero_si128();
  const __m128i ascii = _mm_packs_epi16(_mm_cmpeq_epi16(_mm_and_si128(a, high), zero),
                                        _mm_cmpeq_epi16(_mm_and_si128(b, high), zero));
  return ~static_cast<unsigned>(_mm_movemask_epi8(ascii)) & 0xFFFF;
}
#endif

// Widens the ASCII bytes at the start of s[0, n) into out (when writing) and
// returns how many there are. With kSpare, while at least 64 bytes are left
// (so at least sixteen more units follow, a character taking at most four
// bytes), up to sixteen units may be written past the run: the conversion
// writes over them afterwards.
template <bool kWrite, bool kSpare = false, class Unit>
inline std::size_t ascii_bytes(const unsigned char* s, std::size_t n, Unit* out) noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; n - i >= 16; i += 16) {
    const __m128i v = load16(s + i);
    const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(v));
    const bool spare = kSpare && n - i >= 64;
    if (kWrite && (spare || !mask)) store_widened(out + i, v);
    if (!mask) continue;
    const unsigned ascii = static_cast<unsigned>(std::countr_zero(mask));
    if (kWrite && !spare) {
      // Exactly `ascii` units: two overlapping stores of eight when there
      // are at least eight, one by one otherwise.
      if (ascii >= 8) {
        const __m128i zero = _mm_setzero_si128();
        store16(out + i, _mm_unpacklo_epi8(v, zero));
        const __m128i last = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(s + i + ascii - 8));
        store16(out + i + ascii - 8, _mm_unpacklo_epi8(last, zero));
      } else {
        for (unsigned k = 0; k < ascii; ++k) out[i + k] = s[i + k];
      }
    }
    return i + ascii;
  }
#else
  for (; n - i >= 8; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, s + i, sizeof word);
    if (word & 0x8080808080808080u) break;
    if constexpr (kWrite)
      for (std::size_t k = 0; k < 8; ++k) out[i + k] = s[i + k];
  }
#endif
  for (; i < n && s[i] < 0x80; ++i)
    if constexpr (kWrite) out[i] = s[i];
  return i;
}

// Narrows the ASCII units at the start of s[0, n) into out (when writing) and
// returns how many there are. Up to sixteen bytes past them may be written:
// every unit gives at least one byte, so whatever is converted after them
// writes over those.
template <bool kWrite, class Unit>
inline std::size_t ascii_units(const Unit* s, std::size_t n, char* out) noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  for (; n - i >= 16; i += 16) {
    const __m128i a = load16(s + i), b = load16(s + i + 8);
    if constexpr (kWrite) store16(out + i, _mm_packus_epi16(a, b));
    if (const unsigned mask = non_ascii_units(a, b))
      return i + static_cast<unsigned>(std::countr_zero(mask));
  }
#else
  for (; n - i >= 4; i += 4) {
    std::uint64_t word;
    std::memcpy(&word, s + i, sizeof word);
    if (word & 0xFF80FF80FF80FF80u) break;
    if constexpr (kWrite)
      for (std::size_t k = 0; k < 4; ++k) out[i + k] = static_cast<char>(s[i + k]);
  }
#endif
  for (; i < n && s[i] < 0x80; ++i)
    if constexpr (kWrite) out[i] = static_cast<char>(s[i]);
  return i;
}

// --- Single-byte pages -----------------------------------------------------------
//
// One unit per byte and one byte per unit, so the size is known before the
// first byte is read. Sixteen at a time: every byte is widened (or every unit
// narrowed) as if it were ASCII, then the few that are not are looked up and
// written over.

// A single-byte page as the loops see it: the units of bytes 0x80-0xFF, the
// byte of every unit, and where the upper half starts to map every byte to
// the unit of the same value (0xA0 in code page 1252, whose upper quarters
// are Latin-1; 0x100 where nothing does). Only characters below that point
// need a lookup, so Western text in 1252 converts almost without one.
template <class Unit>
struct SingleByteTables {
  const Unit* high;
  const unsigned char* to_byte;  // 0: the caller converts this unit itself
  unsigned identity_from;        // 0x80..0x100
};

// Where bytes b < 0x100 that the table maps to themselves start, from the
// upper half of a page.
template <class Unit>
unsigned identity_start(const Unit* high) noexcept {
  unsigned from = 0x100;
  while (from > 0x80 && static_cast<unsigned>(high[from - 1 - 0x80]) == from - 1) --from;
  return from;
}

// Decodes s[0, n), or with kStopAtZero only the bytes before the first zero
// byte; returns the units written.
template <bool kStopAtZero, class Unit>
std::size_t decode_single(const SingleByteTables<Unit>& t, const unsigned char* s, std::size_t n,
                          Unit* out) noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  // Bytes below identity_from and above 0x7F are, as signed bytes, the ones
  // below identity_from - 256.
  const __m128i limit = _mm_set1_epi8(static_cast<char>(static_cast<int>(t.identity_from) - 256));
  for (; n - i >= 16; i += 16) {
    const __m128i v = load16(s + i);
    if constexpr (kStopAtZero)
      if (_mm_movemask_epi8(_mm_cmpeq_epi8(v, _mm_setzero_si128()))) break;
    store_widened(out + i, v);
    for (unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(v, limit))); mask;
         mask &= mask - 1) {
      const std::size_t k = i + static_cast<unsigned>(std::countr_zero(mask));
      out[k] = t.high[s[k] - 0x80];
    }
  }
#endif
  for (; i < n; ++i) {
    const unsigned b = s[i];
    if (kStopAtZero && b == 0) break;
    out[i] = b < 0x80 ? static_cast<Unit>(b) : t.high[b - 0x80];
  }
  return i;
}

// The block loops of encode_single look at a block's looked-up units before
// writing it, so that a unit left to the caller stops the loop with nothing
// written from that unit on: the caller's converter may give its units fewer
// bytes than one each.
inline constexpr std::size_t kNoStop = ~std::size_t{0};

// The first unit of the block at s + i, among those `mask` marks, whose byte
// in the table is 0; kNoStop when there is none.
template <class Unit, class Mask>
std::size_t first_stop(const SingleByteTables<Unit>& t, const Unit* s, std::size_t i,
                       Mask mask) noexcept {
  for (; mask; mask &= mask - 1) {
    const std::size_t k = i + static_cast<unsigned>(std::countr_zero(mask));
    if (t.to_byte[static_cast<std::uint16_t>(s[k])] == 0) return k;
  }
  return kNoStop;
}

// Encodes s[i, stop) one unit at a time (none of them is left to the caller)
// and returns stop.
template <class Unit>
std::size_t encode_exactly(const SingleByteTables<Unit>& t, const Unit* s, std::size_t i,
                           std::size_t stop, char* out) noexcept {
  for (; i < stop; ++i)
    out[i] = static_cast<char>(s[i] < 0x80 ? s[i] : t.to_byte[static_cast<std::uint16_t>(s[i])]);
  return stop;
}

#if defined(__SSE2__) && (defined(__GNUC__) || defined(__clang__)) && \
    (defined(__x86_64__) || defined(__i386__))
#define QUARNEL_KERNELS_AVX2 1
#include <immintrin.h>

// Whether the CPU has AVX2, asked once.
inline bool has_avx2() noexcept {
  static const bool yes = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return yes;
}

// encode_single's loop 32 units at a time; returns where it stopped, with
// *stopped set when that is a unit whose byte in the table is 0.
template <class Unit>
__attribute__((target("avx2"))) std::size_t encode_single_avx2(const SingleByteTables<Unit>& t,
                                                               const Unit* s, std::size_t n,
                                                               char* out, bool* stopped) noexcept {
  const __m256i limit =
      _mm256_set1_epi8(static_cast<char>(static_cast<int>(t.identity_from) - 256));
  const __m256i zero = _mm256_setzero_si256();
  std::size_t i = 0;
  for (; n - i >= 32; i += 32) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 16));
    const __m256i low = _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8);
    const __m256i high = _mm256_permute4x64_epi64(
        _mm256_packus_epi16(_mm256_srli_epi16(a, 8), _mm256_srli_epi16(b, 8)), 0xD8);
    const auto mask =
        ~static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpeq_epi8(high, zero))) |
        static_cast<std::uint32_t>(_mm256_movemask_epi8(_mm256_cmpgt_epi8(limit, low)));
    if (const std::size_t stop = first_stop(t, s, i, mask); stop != kNoStop) {
      *stopped = true;
      return encode_exactly(t, s, i, stop, out);
    }
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), low);
    for (std::uint32_t m = mask; m; m &= m - 1) {
      const std::size_t k = i + static_cast<unsigned>(std::countr_zero(m));
      out[k] = static_cast<char>(t.to_byte[static_cast<std::uint16_t>(s[k])]);
    }
  }
  return i;
}
#endif

// Encodes s[0, n) until the first unit whose byte in the table is 0, which
// the caller deals with; returns how many units were encoded, one byte each.
template <class Unit>
std::size_t encode_single(const SingleByteTables<Unit>& t, const Unit* s, std::size_t n,
                          char* out) noexcept {
  std::size_t i = 0;
#if defined(QUARNEL_KERNELS_AVX2)
  if (has_avx2()) {
    bool stopped = false;
    i = encode_single_avx2(t, s, n, out, &stopped);
    if (stopped) return i;
  }
#endif
#if defined(__SSE2__)
  // A unit needs the table when it is above 0xFF (its high byte is not
  // zero) or when its low byte lies in 0x80..identity_from - 1.
  const __m128i limit = _mm_set1_epi8(static_cast<char>(static_cast<int>(t.identity_from) - 256));
  const __m128i zero = _mm_setzero_si128();
  for (; n - i >= 16; i += 16) {
    const __m128i a = load16(s + i), b = load16(s + i + 8);
    const __m128i low = _mm_packus_epi16(a, b);
    const __m128i high = _mm_packus_epi16(_mm_srli_epi16(a, 8), _mm_srli_epi16(b, 8));
    const unsigned mask =
        (static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(high, zero))) ^ 0xFFFF) |
        static_cast<unsigned>(_mm_movemask_epi8(_mm_cmplt_epi8(low, limit)));
    if (const std::size_t stop = first_stop(t, s, i, mask); stop != kNoStop)
      return encode_exactly(t, s, i, stop, out);
    store16(out + i, low);
    for (unsigned m = mask; m; m &= m - 1) {
      const std::size_t k = i + static_cast<unsigned>(std::countr_zero(m));
      out[k] = static_cast<char>(t.to_byte[static_cast<std::uint16_t>(s[k])]);
    }
  }
#endif
  for (; i < n; ++i) {
    if (s[i] < 0x80) {
      out[i] = static_cast<char>(s[i]);
      continue;
    }
    const unsigned char byte = t.to_byte[static_cast<std::uint16_t>(s[i])];
    if (byte == 0) return i;
    out[i] = static_cast<char>(byte);
  }
  return n;
}

}  // namespace quarnel::platform::kernels
