// Scans over UTF-16 units at memory speed (the W family's counterpart of
// memchr and memcmp), and the candidate filter of substring search for both
// families. Sixteen bytes are compared at a time where the processor offers
// 128-bit vectors (SSE2), one unit at a time elsewhere.
#pragma once

#include <cstddef>

#include "core/wide_str.hpp"

namespace quarnel::core {

// Index of the first `unit` in s[0, n), or n.
std::size_t find_unit(const wchar* s, std::size_t n, wchar unit) noexcept;

// Copies s[0, n) to out up to the first zero unit, which is not copied, and
// returns how many units it copied: n when s[0, n) holds no zero. One pass
// instead of a scan followed by a copy.
std::size_t copy_to_zero(wchar* out, const wchar* s, std::size_t n) noexcept;

// Where a comparison of zero-terminated texts is decided: the first i < n
// at which x[i] != y[i] or x[i] is zero, or n. When x and y agree through
// x[n] == y[n], n is returned even if a zero unit lies before it: the
// comparison's outcome is the same. x[n] and y[n] must be readable.
std::size_t first_stop(const wchar* x, const wchar* y, std::size_t n) noexcept;

// Index of the first i < n with s[i] == first and s[i + gap] == last, or n.
// For bytes and for units alike.
// s[0, n + gap) must be readable. Finds the candidates of a substring search
// (first and last unit of the pattern), which are rare in most texts even
// where the first unit alone is common.
std::size_t find_ends(const char* s, std::size_t n, std::size_t gap, char first,
                      char last) noexcept;
std::size_t find_ends(const wchar* s, std::size_t n, std::size_t gap, wchar first,
                      wchar last) noexcept;

}  // namespace quarnel::core
