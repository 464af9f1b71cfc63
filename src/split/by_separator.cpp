// Splitting at a separator character. The scan runs over the line's text
// directly instead of fetching each character through the
// single-character accessor; the one visible effect of that accessor, an A
// source receiving a private copy of a shared payload, is reproduced.
#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/access.hpp"
#include "core/lifecycle.hpp"
#include "split/fields.hpp"
#include "split/split.hpp"

namespace quarnel::split {
namespace {

// The separators of a line, in order. The line is scanned a block at a time:
// every separator of the block is found at once into a bit mask and handed
// out one per field, so a short field costs a few bit operations instead of
// a search of its own.
template <class Char>
class Separators {
 public:
  Separators(std::basic_string_view<Char> text, Char separator) noexcept
      : text_(text), separator_(separator) {}

  // The position of the next separator, or the text's size when none is left.
  std::size_t next() noexcept {
    while (mask_ == 0) {
      if (block_ >= text_.size()) return text_.size();
      mask_ =
          text_.size() - block_ >= kUnits ? block_matches(text_.data() + block_) : tail_matches();
      block_ += kUnits;
    }
    std::size_t at = block_ - kUnits + std::countr_zero(mask_) / kBits;
    mask_ &= mask_ - 1;
    return at;
  }

 private:
#if defined(__SSE2__)
  // 64 bytes a block, one mask bit per unit.
  static constexpr std::size_t kUnits = 64 / sizeof(Char);
  static constexpr int kBits = 1;
  std::uint64_t block_matches(const Char* p) const noexcept {
    std::uint64_t mask = 0;
    for (std::size_t i = 0; i < kUnits / 16; ++i)
      mask |= std::uint64_t{sixteen_matches(p + 16 * i)} << (16 * i);
    return mask;
  }
  std::uint32_t sixteen_matches(const Char* p) const noexcept {
    auto load = [](const Char* q) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(q)); };
    __m128i hits;
    if constexpr (sizeof(Char) == 1) {
      hits = _mm_cmpeq_epi8(load(p), _mm_set1_epi8(static_cast<char>(separator_)));
    } else {
      const __m128i pattern = _mm_set1_epi16(static_cast<short>(separator_));
      hits =
          _mm_packs_epi16(_mm_cmpeq_epi16(load(p), pattern), _mm_cmpeq_epi16(load(p + 8), pattern));
    }
    return static_cast<std::uint32_t>(_mm_movemask_epi8(hits));
  }
#else
  // One 64-bit word a block, the top bit of each matching unit set: exact for
  // every unit, as no carry runs from one unit into the next.
  static constexpr std::size_t kUnits = 8 / sizeof(Char);
  static constexpr int kBits = 8 * sizeof(Char);
  std::uint64_t block_matches(const Char* p) const noexcept {
    constexpr std::uint64_t ones = ~std::uint64_t{0} / ((std::uint64_t{1} << kBits) - 1);
    constexpr std::uint64_t low = ones * ((std::uint64_t{1} << (kBits - 1)) - 1);
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    word ^= ones * static_cast<std::make_unsigned_t<Char> >(separator_);
    return ~(((word & low) + low) | word | low);
  }
  // The lowest mask bit must be the first unit.
  static_assert(std::endian::native == std::endian::little);
#endif
  // The last, partial block: the text's last full block, shifted so only its
  // new units count. A text shorter than a block is taken sixteen units at a
  // time, the last sixteen overlapping, or copied out when shorter still.
  // Nothing past the text is read.
  std::uint64_t tail_matches() const noexcept {
    const std::size_t n = text_.size() - block_;
    if (text_.size() >= kUnits)
      return block_matches(text_.data() + text_.size() - kUnits) >> ((kUnits - n) * kBits);
#if defined(__SSE2__)
    if (n >= 16) {  // a text shorter than a block: block_ is 0
      std::uint64_t mask = 0;
      std::size_t i = 0;
      for (; n - i >= 16; i += 16) mask |= std::uint64_t{sixteen_matches(text_.data() + i)} << i;
      if (i < n)
        mask |= std::uint64_t{sixteen_matches(text_.data() + n - 16) >> (16 - (n - i))} << i;
      return mask;
    }
#endif
    Char copy[kUnits] = {};
    std::memcpy(copy, text_.data() + block_, n * sizeof(Char));
    return block_matches(copy) & ((std::uint64_t{1} << (n * kBits)) - 1);
  }

  std::basic_string_view<Char> text_;
  Char separator_;
  std::size_t block_ = 0;
  std::uint64_t mask_ = 0;
};

// Reading characters of an A source makes its payload private first.
void prepare_source(core::ARec& h) {
  if (core::length_of(h) > 0) core::make_unique(h);
}
void prepare_source(core::WRec&) {}

// Calls `store` with each field of the source's line and the pinned line,
// while `more()` holds.
template <class Rec, class More, class Store>
void for_each_field(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                    More more, Store store) {
  Rec& h = *source.handle;
  prepare_source(h);
  PinnedText<Rec> line(core::view_of(h));
  auto text = line.text();
  Separators<typename core::FamilyOf<Rec>::Char> separators(text, separator);
  for (std::size_t start = 0; start < text.size() && more();) {
    std::size_t end = separators.next();
    store(text.substr(start, end - start), line);
    start = end + 1;
  }
}

}  // namespace

template <class Rec>
int by_separator(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                 int slot_count, LStrWrapper<Rec>* slots, bool trim) {
  if (slot_count <= 0) return 0;
  require_live(source.handle, "the source");
  for (int i = 0; i < slot_count; ++i) require_live(slots[i].handle, "slot", i);
  int n = 0;
  for_each_field(
      source, separator, [&] { return n < slot_count; },
      [&](auto field, auto& line) {
        Rec& slot = *slots[n++].handle;
        store_field(slot, field, line);
        // The slot holds the whole field; trimming works on the slot itself.
        if (trim) edit::trim_in_place(slot, edit::Ends::both);
      });
  for (int i = n; i < slot_count; ++i)
    core::install(*slots[i].handle, typename core::FamilyOf<Rec>::Str());
  return n;
}

template <class Rec>
int by_separator_into(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                      LStrWrapperList<Rec>& list, bool trim) {
  require_live(source.handle, "the source");
  list.clear();
  // Fields are stored up to their first zero; most lines have none, and one
  // look at the whole line (the separator scan, asked for a zero) spares a
  // look at every field.
  auto whole = core::view_of(*source.handle);
  bool zeros = Separators(whole, decltype(separator){0}).next() != whole.size();
  for_each_field(
      source, separator, [] { return true; },
      [&](auto field, auto& line) {
        if (trim) field = trimmed(field);
        append_field(list, zeros ? up_to_zero(field) : field, line);
      });
  return list.count;
}

template int by_separator(const AWrapper&, char, int, AWrapper*, bool);
template int by_separator(const WWrapper&, core::wchar, int, WWrapper*, bool);
template int by_separator_into(const AWrapper&, char, AList&, bool);
template int by_separator_into(const WWrapper&, core::wchar, WList&, bool);

}  // namespace quarnel::split
