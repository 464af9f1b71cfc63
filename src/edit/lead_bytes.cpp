#include "edit/lead_bytes.hpp"

#include "edit/finder.hpp"
#include "platform/platform.hpp"

namespace quarnel::edit {
namespace {

std::size_t char_length(std::string_view text, std::size_t at, const LeadBytes& lead) noexcept {
  return chars::double_byte_length(
      lead(text[at]), reinterpret_cast<const unsigned char*>(text.data()) + at, text.size() - at);
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
  std::size_t from = 0;
  chars::SearchBudget budget(pattern.size());
  for (;;) {
    std::size_t hit = find(text.substr(from), pattern);
    if (hit == npos) return npos;
    hit += from;
    if (on_boundary(hit)) return hit;
    from = hit + 1;
    // Hits on trail bytes that keep coming close together would each be
    // checked in full again; past a point the two-way search goes on alone.
    if (budget.spend(from)) return detail::TwoWay<char>(pattern).find(text, from, on_boundary);
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
  const std::string_view d = up_to_zero(delimiters);
  const chars::ByteSet set = chars::byte_set(d.data(), d.size());  // never holds the zero byte
  auto in_set = [&set](char c) { return set.has(static_cast<unsigned char>(c)); };
  if (!lead.any()) {
    for (std::size_t i = text.size(); i-- > 0;)
      if (in_set(text[i])) return i;
    return npos;
  }
  // Character by character from the start; scanning backwards would have to
  // re-read runs of lead bytes to tell trails apart.
  std::size_t found = npos;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t len = char_length(text, i, lead);
    if (len == 2 ? !in_set(text[i + 1]) && in_set(text[i]) : in_set(text[i])) found = i;
    i += len;
  }
  return found;
}

std::size_t last_char_start(std::string_view text, const LeadBytes& lead) noexcept {
  const std::size_t last = text.size() - 1;
  return lead.any() && byte_kind(text, last, lead) == ByteKind::trail ? last - 1 : last;
}

}  // namespace quarnel::edit
