// Cutting a line into fields where it lies: views into the line, no copies.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace qtool {

// Calls `put(from, to)` with the [from, to) offsets of each field of `line`
// cut at `separator`, in order, while it returns true; the last field runs
// to the line's end. Separators are found sixteen bytes at a time.
template <class Put>
void for_each_cut(std::string_view line, char separator, Put put) {
  const char* p = line.data();
  std::size_t n = line.size(), from = 0, i = 0;
#if defined(__SSE2__)
  const __m128i sep = _mm_set1_epi8(separator);
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    auto mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, sep)));
    for (; mask; mask &= mask - 1) {
      std::size_t at = i + static_cast<std::size_t>(__builtin_ctz(mask));
      if (!put(from, at)) return;
      from = at + 1;
    }
  }
#endif
  for (; i < n; ++i) {
    if (p[i] != separator) continue;
    if (!put(from, i)) return;
    from = i + 1;
  }
  put(from, n);
}

// Bytes up to a space, trimmed from both ends of a field.
inline std::string_view trimmed(std::string_view s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
  return s;
}

// Calls `put(field)` with each field of a `sep` line, as the library's
// separator splitting gives them but with every byte kept (zeros too),
// while it returns true: an empty line has none, and a separator ending the
// line opens no field.
template <class Put>
void for_each_sep_field(std::string_view line, char separator, bool trim, Put put) {
  if (line.empty()) return;
  if (line.back() == separator) line.remove_suffix(1);
  for_each_cut(line, separator, [&](std::size_t from, std::size_t to) {
    std::string_view field = line.substr(from, to - from);
    return put(trim ? trimmed(field) : field);
  });
}

// The first `most` fields of a `sep` line (all when it is 0), appended to
// `out`.
inline void cut_sep(std::string_view line, char separator, bool trim, std::size_t most,
                    std::vector<std::string_view>& out) {
  for_each_sep_field(line, separator, trim, [&](std::string_view field) {
    out.push_back(field);
    return out.size() != most;
  });
}

}  // namespace qtool
