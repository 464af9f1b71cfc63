#include "edit/lead_bytes.hpp"

#include "edit/finder.hpp"
#include "platform/platform.hpp"

namespace quarnel::edit {
namespace {

// A set of bytes, for the delimiter tests.
class ByteSet {
 public:
  explicit ByteSet(std::string_view bytes) noexcept {
    for (char c : bytes) {
      auto b = static_cast<unsigned char>(c);
      bits_[b / 64] |= std::uint64_t{1} << (b % 64);
    }
  }
  bool has(char c) const noexcept {
    auto b = static_cast<unsigned char>(c);
    return (bits_[b / 64] >> (b % 64)) & 1;
  }

 private:
  std::uint64_t bits_[4] = {};
};

// Bytes that a lead byte claims as its trail: the next one, unless the text
// ends there or it is a zero byte, which always stands alone.
std::size_t char_length(std::string_view text, std::size_t at, const LeadBytes& lead) noexcept {
  return lead(text[at]) && at + 1 < text.size() && text[at + 1] != 0 ? 2 : 1;
}

}  // namespace

const LeadBytes& LeadBytes::of_process() noexcept {
  static const LeadBytes set([](unsigned char b) { return platform::is_lead_byte(b); });
  return set;
}

ByteKind byte_kind(std::string_view text, std::size_t index, const LeadBytes& lead) noexcept {
  if (text[index] == 0) return ByteKind::single;
  // Whatever ends just before a run of lead bytes ends a character, so the
  // run pairs up from its start: the byte is a trail exactly when an odd
  // number of lead bytes precede it in the run.
  std::size_t start = index;
  while (start > 0 && lead(text[start - 1])) --start;
  if ((index - start) % 2 == 1) return ByteKind::trail;
  return lead(text[index]) ? ByteKind::lead : ByteKind::single;
}

std::size_t find_on_boundary(std::string_view text, std::string_view pattern,
                             const LeadBytes& lead) noexcept {
  if (text.empty() || pattern.empty()) return npos;
  if (!lead.any()) return find(text, pattern);
  // Characters are counted off from the start as far as each hit; the count
  // only moves forwards, so all hits together cost one walk over the text.
  std::size_t boundary = 0;
  auto on_boundary = [&](std::size_t at) {
    while (boundary < at) boundary += lead(text[boundary]) ? 2 : 1;
    return boundary == at;
  };
  std::size_t from = 0, wasted = 0;
  for (;;) {
    std::size_t hit = find(text.substr(from), pattern);
    if (hit == npos) return npos;
    hit += from;
    if (on_boundary(hit)) return hit;
    from = hit + 1;
    // Hits on trail bytes that keep coming close together would each be
    // checked in full again; past a point the two-way search goes on alone.
    wasted += pattern.size();
    if (wasted > from + 4 * pattern.size() + 1024)
      return detail::TwoWay<char>(pattern).find(text, from, on_boundary);
  }
}

bool is_delimiter_at(std::string_view text, std::size_t index, std::string_view delimiters,
                     const LeadBytes& lead) noexcept {
  const char c = text[index];
  if (c == 0 || find_unit(up_to_zero(delimiters), c) == npos) return false;
  return !lead.any() || byte_kind(text, index, lead) == ByteKind::single;
}

std::size_t last_delimiter(std::string_view text, std::string_view delimiters,
                           const LeadBytes& lead) noexcept {
  const ByteSet set(up_to_zero(delimiters));  // never holds the zero byte
  if (!lead.any()) {
    for (std::size_t i = text.size(); i-- > 0;)
      if (set.has(text[i])) return i;
    return npos;
  }
  // Character by character from the start; scanning backwards would have to
  // re-read runs of lead bytes to tell trails apart.
  std::size_t found = npos;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = char_length(text, i, lead);
    if (len == 2 ? !set.has(text[i + 1]) && set.has(text[i]) : set.has(text[i])) found = i;
    i += len;
  }
  return found;
}

std::size_t last_char_start(std::string_view text, const LeadBytes& lead) noexcept {
  const std::size_t last = text.size() - 1;
  return lead.any() && byte_kind(text, last, lead) == ByteKind::trail ? last - 1 : last;
}

}  // namespace quarnel::edit
