// Double-byte characters of an ANSI code page: which bytes lead them, and
// the searches and tests of the A family that must not split one.
//
// Every routine takes the lead-byte set as a parameter. The exports pass the
// process's set (fixed once the library is loaded); tests pass the set of
// whichever code page they need, so the double-byte rules are checked even
// where the process runs under a single-byte page.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/char_rules.hpp"

namespace quarnel::edit {

class LeadBytes {
 public:
  // The bytes for which is_lead(byte) holds.
  template <class Predicate>
  explicit LeadBytes(Predicate&& is_lead) noexcept {
    for (unsigned b = 0; b < 256; ++b)
      if (is_lead(static_cast<unsigned char>(b))) set_.add(b);
  }

  // The lead bytes of the process's ANSI code page.
  static const LeadBytes& of_process() noexcept;

  bool operator()(unsigned char b) const noexcept { return set_.has(b); }
  bool operator()(char b) const noexcept { return (*this)(static_cast<unsigned char>(b)); }
  // False for single-byte code pages, where nothing below applies.
  bool any() const noexcept { return !set_.empty(); }

 private:
  chars::ByteSet set_;
};

enum class ByteKind { single, lead, trail };

// What the byte at `index` is, reading the text from its start: a lead byte
// always takes the byte after it as its trail. A zero byte counts as single.
ByteKind byte_kind(std::string_view text, std::size_t index, const LeadBytes& lead) noexcept;

// The first occurrence of `pattern` in `text` that starts on a character
// boundary, or npos; empty texts and patterns find nothing. Neither text
// should hold zero bytes (the callers cut them at the first one).
std::size_t find_on_boundary(std::string_view text, std::string_view pattern,
                             const LeadBytes& lead) noexcept;

// True when the byte at `index` (inside the text) is one of `delimiters`
// (read up to its first zero byte) and is a character of its own, neither
// the lead nor the trail byte of a double-byte character.
bool is_delimiter_at(std::string_view text, std::size_t index, std::string_view delimiters,
                     const LeadBytes& lead) noexcept;

// The index of the last byte that is one of `delimiters` (read up to its
// first zero byte), or npos. A trail byte that matches is skipped together
// with its lead byte; a lead byte that matches counts.
std::size_t last_delimiter(std::string_view text, std::string_view delimiters,
                           const LeadBytes& lead) noexcept;

// The index of the first byte of the last character of a non-empty text.
std::size_t last_char_start(std::string_view text, const LeadBytes& lead) noexcept;

}  // namespace quarnel::edit
