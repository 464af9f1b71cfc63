#include "edit/finder.hpp"

#include <cstdint>
#include <cstring>

#include "core/char_rules.hpp"
#include "core/unit_scan.hpp"

namespace quarnel::edit {
namespace {

// The next place in text[at, last] where an occurrence may start, or npos:
// where the first and the last unit of the pattern both match, checked for
// many places at a time. The first unit alone (a letter, a space) is common
// in most texts; both together rarely are.
template <class Char>
std::size_t next_candidate(std::basic_string_view<Char> text, std::size_t at, std::size_t last,
                           std::basic_string_view<Char> pattern) noexcept {
  const std::size_t count = last - at + 1;
  const std::size_t hit =
      core::find_ends(text.data() + at, count, pattern.size() - 1, pattern[0], pattern.back());
  return hit == count ? npos : at + hit;
}

// Whether the pattern's units after the first follow at `at`. Short patterns
// are compared in line: the call to memcmp would cost more than the units.
template <class Char>
bool matches_after_first(const Char* at, std::basic_string_view<Char> pattern) noexcept {
  const std::size_t m = pattern.size();
  if (m > 16) return std::memcmp(at + 1, pattern.data() + 1, (m - 1) * sizeof(Char)) == 0;
  for (std::size_t i = 1; i < m; ++i)
    if (at[i] != pattern[i]) return false;
  return true;
}

template <class Char>
std::size_t scan_and_check_units(std::basic_string_view<Char> text,
                                 std::basic_string_view<Char> pattern) noexcept {
  const std::size_t m = pattern.size(), n = text.size();
  if (m == 0) return 0;
  if (m > n) return npos;
  const std::size_t last = n - m;  // the last place an occurrence can start
  std::size_t at = 0;
  chars::SearchBudget budget(m);
  while (at <= last) {
    at = next_candidate(text, at, last, pattern);
    if (at == npos) return npos;
    if (matches_after_first(text.data() + at, pattern)) return at;
    ++at;
    // Each check may read the whole pattern. Many hits close together (long
    // runs of one unit, say) would make that quadratic.
    if (budget.spend(at)) return detail::TwoWay<Char>(pattern).find(text, at);
  }
  return npos;
}

}  // namespace

std::size_t find_unit(std::string_view text, char unit) noexcept {
  if (text.empty()) return npos;
  const void* hit = std::memchr(text.data(), static_cast<unsigned char>(unit), text.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : npos;
}

std::size_t find_unit(core::wstring_view text, core::wchar unit) noexcept {
  const std::size_t at = core::find_unit(text.data(), text.size(), unit);
  return at == text.size() ? npos : at;
}

std::size_t find(std::string_view text, std::string_view pattern) noexcept {
  return scan_and_check_units(text, pattern);
}

std::size_t find(core::wstring_view text, core::wstring_view pattern) noexcept {
  return scan_and_check_units(text, pattern);
}

}  // namespace quarnel::edit
