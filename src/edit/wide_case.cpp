#include "edit/wide_case.hpp"

#include <algorithm>
#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quarnel::edit {
namespace {

struct CaseRange {
  char32_t first, last;
  int delta;
};

#include "edit/wide_case_table.inc"

constexpr bool is_high_surrogate(core::wchar u) noexcept { return u >= 0xD800 && u < 0xDC00; }
constexpr bool is_low_surrogate(core::wchar u) noexcept { return u >= 0xDC00 && u < 0xE000; }

}  // namespace

struct WideCaseTable::Data {
  const unsigned char* blocks;  // of each 128 units: its row in kCaseDelta
  const CaseRange* ranges;      // beyond the BMP, in order
  std::size_t range_count;
};

namespace {

constexpr WideCaseTable::Data kUpperData{kCaseUpperBlock, kCaseUpperRanges,
                                         std::size(kCaseUpperRanges)};
constexpr WideCaseTable::Data kLowerData{kCaseLowerBlock, kCaseLowerRanges,
                                         std::size(kCaseLowerRanges)};

inline core::wchar map_unit(const unsigned char* blocks, core::wchar u) noexcept {
  return static_cast<core::wchar>(u + kCaseDelta[blocks[u >> 7]][u & 127]);
}

}  // namespace

const WideCaseTable& WideCaseTable::of(platform::Case to) noexcept {
  static constexpr WideCaseTable lower(kLowerData, platform::Case::lower),
      upper(kUpperData, platform::Case::upper);
  return to == platform::Case::lower ? lower : upper;
}

unsigned WideCaseTable::unicode_version() noexcept {
  return kCaseUnicodeVersion[0] << 16 | kCaseUnicodeVersion[1] << 8 | kCaseUnicodeVersion[2];
}

core::wchar WideCaseTable::operator[](core::wchar unit) const noexcept {
  return map_unit(data_->blocks, unit);
}

char32_t WideCaseTable::map_code_point(char32_t c) const noexcept {
  if (c < 0x10000) return map_unit(data_->blocks, static_cast<core::wchar>(c));
  const CaseRange* end = data_->ranges + data_->range_count;
  const CaseRange* r = std::lower_bound(data_->ranges, end, c,
                                        [](const CaseRange& x, char32_t v) { return x.last < v; });
  return r != end && r->first <= c ? static_cast<char32_t>(static_cast<int>(c) + r->delta) : c;
}

std::size_t WideCaseTable::map_ascii(const core::wchar* from, core::wchar* to,
                                     std::size_t count) const noexcept {
  std::size_t i = 0;
#if defined(__SSE2__)
  // Eight units at a time while they are ASCII.
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
  // Runs of ASCII many at a time, everything else by table, a surrogate pair
  // as the character it encodes.
  const unsigned char* blocks = data_->blocks;
  for (std::size_t i = 0; i < count;) {
    i += map_ascii(from + i, to + i, count - i);
    for (const std::size_t end = std::min(count, i + 64); i < end; ++i) {
      const core::wchar u = from[i];
      if (is_high_surrogate(u) && i + 1 < count && is_low_surrogate(from[i + 1])) {
        const char32_t c = 0x10000 + ((char32_t{u} - 0xD800) << 10) + (from[i + 1] - 0xDC00u);
        const char32_t m = map_code_point(c);
        to[i] = static_cast<core::wchar>(0xD800 + ((m - 0x10000) >> 10));
        to[++i] = static_cast<core::wchar>(0xDC00 + (m & 0x3FF));
        continue;
      }
      to[i] = map_unit(blocks, u);
    }
  }
}

}  // namespace quarnel::edit
