// Models of replacement shared by the replacement tests and the fuzz target:
// the passes done literally, and a single left-to-right pass.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qmodel {

// Replaces the first occurrence, then searches again from the start, until
// none is left. Gives up (nullopt) after `max_passes` passes or once the text
// is longer than `max_length`: runs that look endless.
template <class Char>
std::optional<std::basic_string<Char>> by_passes(std::basic_string<Char> t,
                                                 std::basic_string_view<Char> s,
                                                 std::basic_string_view<Char> r, int max_passes,
                                                 std::size_t max_length) {
  for (int pass = 0; pass < max_passes && t.size() <= max_length; ++pass) {
    const std::size_t p = t.find(s);
    if (p == t.npos) return t;
    t.replace(p, s.size(), r);
  }
  return std::nullopt;
}

// One left-to-right pass, each occurrence found without overlap replaced once.
template <class Char>
std::basic_string<Char> once(std::basic_string_view<Char> t, std::basic_string_view<Char> s,
                             std::basic_string_view<Char> r) {
  std::basic_string<Char> out;
  std::size_t at = 0;
  for (std::size_t p; (p = t.find(s, at)) != t.npos; at = p + s.size())
    out.append(t.substr(at, p - at)).append(r);
  return out.append(t.substr(at));
}

}  // namespace qmodel
