// Splitting at a separator character. The scan runs over the line's text
// directly instead of fetching each character through the
// single-character accessor; the one visible effect of that accessor, an A
// source receiving a private copy of a shared payload, is reproduced.
#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/access.hpp"
#include "core/lifecycle.hpp"
#include "split/fields.hpp"
#include "split/split.hpp"

namespace quarnel::split {
namespace {

// The separators of a line, in order. A lines are scanned a block at a time:
// every separator of the block is found at once into a bit mask and handed
// out one per field, so a short field costs a few bit operations instead of
// a search of its own.
template <class Char>
class Separators;

template <>
class Separators<char> {
 public:
  Separators(std::string_view text, char separator) noexcept : text_(text), separator_(separator) {}

  // The position of the next separator, or the text's size when none is left.
  std::size_t next() noexcept {
    while (mask_ == 0) {
      if (block_ >= text_.size()) return text_.size();
      mask_ =
          text_.size() - block_ >= kBlock ? block_matches(text_.data() + block_) : tail_matches();
      block_ += kBlock;
    }
    std::size_t at = block_ - kBlock + std::countr_zero(mask_) / kBitsPerByte;
    mask_ &= mask_ - 1;
    return at;
  }

 private:
#if defined(__SSE2__)
  // Sixteen bytes per compare, one mask bit per byte.
  static constexpr std::size_t kBlock = 64;
  static constexpr int kBitsPerByte = 1;
  std::uint64_t block_matches(const char* p) const noexcept {
    const __m128i pattern = _mm_set1_epi8(separator_);
    std::uint64_t mask = 0;
    for (int i = 0; i < 4; ++i) {
      __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * i));
      auto bits = static_cast<std::uint32_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, pattern)));
      mask |= std::uint64_t{bits} << (16 * i);
    }
    return mask;
  }
#else
  // One 64-bit word, the top bit of each matching byte set: exact for every
  // byte (no borrow runs from one byte into the next).
  static constexpr std::size_t kBlock = 8;
  static constexpr int kBitsPerByte = 8;
  std::uint64_t block_matches(const char* p) const noexcept {
    constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7Fu;
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    word ^= 0x0101010101010101u * static_cast<unsigned char>(separator_);
    std::uint64_t mask = ~(((word & low7) + low7) | word | low7);
    if constexpr (std::endian::native == std::endian::big) mask = byte_reversed(mask);
    return mask;
  }
  static std::uint64_t byte_reversed(std::uint64_t v) noexcept {
    std::uint64_t r = 0;
    for (int i = 0; i < 8; ++i, v >>= 8) r = (r << 8) | (v & 0xFF);
    return r;
  }
#endif
  // The last, partial block: the text's last full block, shifted so only its
  // new bytes count; a text shorter than a block is copied out first. Nothing
  // past the text is read.
  std::uint64_t tail_matches() const noexcept {
    const std::size_t n = text_.size() - block_;
    if (text_.size() >= kBlock)
      return block_matches(text_.data() + text_.size() - kBlock) >> ((kBlock - n) * kBitsPerByte);
    char copy[kBlock] = {};
    std::memcpy(copy, text_.data() + block_, n);
    return block_matches(copy) & ((std::uint64_t{1} << (n * kBitsPerByte)) - 1);
  }

  std::string_view text_;
  char separator_;
  std::size_t block_ = 0;
  std::uint64_t mask_ = 0;
};

// W lines: the unit search finds each separator.
template <>
class Separators<core::wchar> {
 public:
  Separators(core::wstring_view text, core::wchar separator) noexcept
      : text_(text), separator_(separator) {}
  std::size_t next() noexcept {
    const std::size_t at = edit::find_unit(text_.substr(from_), separator_);
    const std::size_t end = at == edit::npos ? text_.size() : from_ + at;
    from_ = end + 1;
    return end;
  }

 private:
  core::wstring_view text_;
  core::wchar separator_;
  std::size_t from_ = 0;
};

// Reading characters of an A source makes its payload private first.
void prepare_source(core::ARec& h) {
  if (core::length_of(h) > 0) core::make_unique(h);
}
void prepare_source(core::WRec&) {}

// Calls `store` with each field of the source's line, while `more()` holds.
template <class Rec, class More, class Store>
void for_each_field(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                    More more, Store store) {
  Rec& h = *source.handle;
  prepare_source(h);
  auto text = core::view_of(h);
  Separators<typename core::FamilyOf<Rec>::Char> separators(text, separator);
  for (std::size_t start = 0; start < text.size() && more();) {
    std::size_t end = separators.next();
    store(text.substr(start, end - start));
    start = end + 1;
  }
}

}  // namespace

template <class Rec>
int by_separator(const LStrWrapper<Rec>& source, typename core::FamilyOf<Rec>::Char separator,
                 int slot_count, LStrWrapper<Rec>* slots, bool trim) {
  if (slot_count <= 0) return 0;
  int n = 0;
  for_each_field(
      source, separator, [&] { return n < slot_count; },
      [&](auto field) {
        Rec& slot = *slots[n++].handle;
        store_field(slot, field);
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
  list.clear();
  // Fields are stored up to their first zero; most lines have none, and one
  // look at the whole line spares a look at every field.
  auto line = core::view_of(*source.handle);
  bool zeros = up_to_zero(line).size() != line.size();
  for_each_field(
      source, separator, [] { return true; },
      [&](auto field) {
        if (trim) field = trimmed(field);
        store_field(next_slot(list), zeros ? up_to_zero(field) : field);
      });
  return list.count;
}

template int by_separator(const AWrapper&, char, int, AWrapper*, bool);
template int by_separator(const WWrapper&, core::wchar, int, WWrapper*, bool);
template int by_separator_into(const AWrapper&, char, AList&, bool);
template int by_separator_into(const WWrapper&, core::wchar, WList&, bool);

}  // namespace quarnel::split
