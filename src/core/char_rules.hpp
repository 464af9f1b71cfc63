// The character rules that every converter, search and tool of the library
// shares: how a UTF-8 sequence is read, when a double-byte lead byte takes the
// next byte as its trail, a set of bytes or units, and when a search that
// keeps hitting false candidates hands over to a linear-time algorithm.
//
// Header-only and free of the rest of the library, so that the tools can use
// it too. Each rule is written here once; a second copy elsewhere is a bug.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quarnel::chars {

// --- UTF-8 -----------------------------------------------------------------

// One step over UTF-8 text: the sequence that starts at the current byte.
struct Utf8Step {
  std::size_t length;   // bytes consumed: the whole sequence, or its
                        // longest well-formed prefix when it is malformed
  bool valid;           // true when `length` bytes form a complete sequence
  char32_t code_point;  // the character when `valid`
};

// Reads the sequence at s[0, left), left >= 1. A malformed sequence takes the
// longest prefix that could still have begun a well-formed one (at least one
// byte), so that a decoder replaces each maximal bad prefix by one
// replacement character. The range allowed for the first continuation byte
// rules out overlong forms (E0 80..9F, F0 80..8F), UTF-16 surrogates
// (ED A0..BF) and values above U+10FFFF (F4 90..BF).
constexpr Utf8Step utf8_step(const unsigned char* s, std::size_t left) noexcept {
  const unsigned lead = s[0];
  if (lead < 0x80) return {1, true, lead};
  if (lead < 0xC2 || lead > 0xF4) return {1, false, 0};
  std::size_t need;  // continuation bytes after the lead
  unsigned lo = 0x80, hi = 0xBF;
  if (lead < 0xE0) {
    need = 1;
  } else if (lead < 0xF0) {
    need = 2;
    if (lead == 0xE0) lo = 0xA0;
    if (lead == 0xED) hi = 0x9F;
  } else {
    need = 3;
    if (lead == 0xF0) lo = 0x90;
    if (lead == 0xF4) hi = 0x8F;
  }
  char32_t c = lead & (0x3Fu >> need);
  std::size_t length = 1;
  while (length <= need && length < left) {
    const unsigned b = s[length];
    if (b < lo || b > hi) break;
    c = c << 6 | (b & 0x3Fu);
    lo = 0x80;
    hi = 0xBF;
    ++length;
  }
  return length > need ? Utf8Step{length, true, c} : Utf8Step{length, false, 0};
}

// --- Double-byte code pages ----------------------------------------------------

// Bytes in the character that starts at s[0] (left >= 1 bytes available) of
// a double-byte code page: a lead byte takes the next byte as its trail,
// whatever it is, except that a lead byte at the end of the text or before a
// zero byte stands alone.
constexpr std::size_t double_byte_length(bool lead, const unsigned char* s,
                                         std::size_t left) noexcept {
  return lead && left > 1 && s[1] != 0 ? 2 : 1;
}

// --- Sets of bytes or UTF-16 units ---------------------------------------------

// A set of the values below Size, one bit each: 32 bytes for bytes, 8 KB for
// UTF-16 units.
template <std::size_t Size>
class UnitSet {
 public:
  constexpr void add(std::size_t v) noexcept { bits_[v / 64] |= std::uint64_t{1} << (v % 64); }
  constexpr bool has(std::size_t v) const noexcept { return (bits_[v / 64] >> (v % 64)) & 1; }
  constexpr bool empty() const noexcept {
    for (std::uint64_t w : bits_)
      if (w) return false;
    return true;
  }

 private:
  std::uint64_t bits_[Size / 64] = {};
};

using ByteSet = UnitSet<256>;

// The set of the bytes of s[0, n).
inline ByteSet byte_set(const char* s, std::size_t n) noexcept {
  ByteSet set;
  for (std::size_t i = 0; i < n; ++i) set.add(static_cast<unsigned char>(s[i]));
  return set;
}

// --- Searching -------------------------------------------------------------------

// Keeps account of a fast search that checks candidates (hits of a scan for
// part of the pattern) one by one. Checks that keep failing close together
// would make such a search quadratic; once they have cost well over the
// distance covered, the caller goes on with the linear-time two-way search.
class SearchBudget {
 public:
  explicit constexpr SearchBudget(std::size_t pattern_length) noexcept : pattern_(pattern_length) {}

  // Records one failed check; true when the caller, now `covered` units into
  // the text, should hand over to the two-way search.
  constexpr bool spend(std::size_t covered) noexcept {
    spent_ += pattern_;
    return spent_ > 2 * std::uint64_t{covered} + 4 * std::uint64_t{pattern_} + 1024;
  }

 private:
  std::size_t pattern_;
  std::uint64_t spent_ = 0;
};

}  // namespace quarnel::chars
