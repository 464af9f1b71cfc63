// Crochemore and Perrin's two-way string matching.
//
// The pattern is cut once into a left and a right half at a critical
// factorisation (found from its two maximal suffixes, one per unit order).
// Each attempt compares the right half left to right, then the left half
// right to left; a mismatch in the right half shifts by the distance matched,
// a full match by the pattern's period. In a periodic pattern the prefix
// already known to match after such a shift is remembered, so no unit of the
// text is compared more than twice: linear time in constant space.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>
#include <type_traits>

namespace quarnel::edit {

inline constexpr std::size_t npos = static_cast<std::size_t>(-1);

namespace detail {

template <class Char>
class TwoWay {
 public:
  using View = std::basic_string_view<Char>;

  // `pattern` must not be empty; it is referred to, not copied.
  explicit TwoWay(View pattern) noexcept : x_(pattern) {
    const Factor a = maximal_suffix(false), b = maximal_suffix(true);
    const Factor& f = a.split >= b.split ? a : b;
    const auto m = static_cast<std::ptrdiff_t>(x_.size());
    split_ = f.split;
    period_ = f.period;
    // The pattern is periodic when its left half recurs one period later.
    periodic_ = split_ + 1 + period_ <= m &&
                std::memcmp(x_.data(), x_.data() + period_,
                            static_cast<std::size_t>(split_ + 1) * sizeof(Char)) == 0;
    // Otherwise any shift up to the longer half's length plus one is safe.
    if (!periodic_) period_ = std::max(split_ + 1, m - split_ - 1) + 1;
  }

  // The first occurrence at or after `from` for which accept(index) holds, or
  // npos. Occurrences are offered to `accept` in increasing order.
  template <class Accept>
  std::size_t find(View text, std::size_t from, Accept&& accept) const noexcept {
    const auto m = static_cast<std::ptrdiff_t>(x_.size());
    const auto n = static_cast<std::ptrdiff_t>(text.size());
    const Char* x = x_.data();
    const Char* y = text.data();
    // known: x[0..known] is already known to match at j (periodic case).
    std::ptrdiff_t j = static_cast<std::ptrdiff_t>(from), known = -1;
    while (j <= n - m) {
      std::ptrdiff_t i = std::max(split_, known) + 1;
      while (i < m && x[i] == y[i + j]) ++i;
      if (i < m) {
        j += i - split_;
        known = -1;
        continue;
      }
      const std::ptrdiff_t floor = periodic_ ? known : -1;
      i = split_;
      while (i > floor && x[i] == y[i + j]) --i;
      if (i <= floor && accept(static_cast<std::size_t>(j))) return static_cast<std::size_t>(j);
      j += period_;
      if (periodic_) known = m - period_ - 1;
    }
    return npos;
  }

  std::size_t find(View text, std::size_t from = 0) const noexcept {
    return find(text, from, [](std::size_t) { return true; });
  }

 private:
  struct Factor {
    std::ptrdiff_t split;  // the suffix starts at split + 1
    std::ptrdiff_t period;
  };

  // The lexicographically greatest suffix of the pattern under the unit
  // order (or, with `reversed`, under the opposite order) and its period.
  Factor maximal_suffix(bool reversed) const noexcept {
    using Unit = std::make_unsigned_t<Char>;
    const auto m = static_cast<std::ptrdiff_t>(x_.size());
    std::ptrdiff_t best = -1;  // the greatest suffix so far starts at best + 1
    std::ptrdiff_t j = 0;      // a rival suffix starts at j + 1
    std::ptrdiff_t k = 1;      // units of the rival compared so far, plus one
    std::ptrdiff_t p = 1;      // period of the greatest suffix
    while (j + k < m) {
      const auto rival = static_cast<Unit>(x_[j + k]);
      const auto held = static_cast<Unit>(x_[best + k]);
      if (rival == held) {
        if (k == p) {
          j += p;
          k = 1;
        } else {
          ++k;
        }
      } else if ((rival < held) != reversed) {
        // The rival loses; everything read so far belongs to one period.
        j += k;
        k = 1;
        p = j - best;
      } else {
        // The rival wins and becomes the greatest suffix.
        best = j;
        j = best + 1;
        k = p = 1;
      }
    }
    return {best, p};
  }

  View x_;
  std::ptrdiff_t split_ = -1;
  std::ptrdiff_t period_ = 1;
  bool periodic_ = false;
};

}  // namespace detail
}  // namespace quarnel::edit
