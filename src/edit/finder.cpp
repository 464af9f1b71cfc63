#include "edit/finder.hpp"

#include <bit>
#include <cstdint>
#include <cstring>

#include "core/char_rules.hpp"

namespace quarnel::edit {
namespace {

// Scans for one 16-bit unit with the C library's memchr, which reads memory
// many bytes at a time: it looks for one byte of the unit and accepts hits
// at the matching half of a unit only. The byte looked for is the low one
// unless that is zero (as for U+4E00), since the high bytes of Latin text
// are all zero and would make every unit a false hit.
std::size_t scan_units(const core::wchar* text, std::size_t count, core::wchar unit) noexcept {
  constexpr bool little = std::endian::native == std::endian::little;
  const unsigned low = unit & 0xFFu, high = unit >> 8;
  const bool use_low = low != 0 || high == 0;
  const auto key = static_cast<unsigned char>(use_low ? low : high);
  const std::size_t half = (use_low == little) ? 0 : 1;  // where the key sits in a unit
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  const std::size_t size = count * sizeof(core::wchar);
  std::size_t at = half;
  while (at < size) {
    const void* hit = std::memchr(bytes + at, key, size - at);
    if (!hit) return npos;
    const auto offset = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - bytes);
    if (offset % 2 == half) {
      std::size_t index = offset / 2;
      if (text[index] == unit) return index;
      at = offset + 2;
    } else {
      at = offset + 1;
    }
  }
  return npos;
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
    std::size_t hit = find_unit(text.substr(at, last - at + 1), pattern[0]);
    if (hit == npos) return npos;
    at += hit;
    if (std::memcmp(text.data() + at + 1, pattern.data() + 1, (m - 1) * sizeof(Char)) == 0)
      return at;
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
  return text.empty() ? npos : scan_units(text.data(), text.size(), unit);
}

std::size_t find(std::string_view text, std::string_view pattern) noexcept {
#if defined(_WIN32)
  // The Windows C runtime has no memmem.
  return detail::scan_and_check(text, pattern);
#else
  if (pattern.empty()) return 0;
  if (pattern.size() > text.size()) return npos;
  const void* hit = memmem(text.data(), text.size(), pattern.data(), pattern.size());
  return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : npos;
#endif
}

std::size_t find(core::wstring_view text, core::wstring_view pattern) noexcept {
#if defined(_WIN32)
  return detail::scan_and_check(text, pattern);
#else
  // memmem over the bytes, taking only hits at whole units. A hit at an odd
  // byte is rare in real text; if they keep coming, the unit-wise search
  // goes on from the first unit not yet ruled out.
  if (pattern.empty()) return 0;
  if (pattern.size() > text.size()) return npos;
  const auto* bytes = reinterpret_cast<const char*>(text.data());
  const std::size_t size = text.size() * sizeof(core::wchar);
  const std::size_t length = pattern.size() * sizeof(core::wchar);
  std::size_t at = 0;
  chars::SearchBudget budget(length);
  for (;;) {
    const void* hit = memmem(bytes + at, size - at, pattern.data(), length);
    if (!hit) return npos;
    const auto offset = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes);
    if (offset % 2 == 0) return offset / 2;
    at = offset + 1;
    if (budget.spend(at)) {
      const std::size_t from = at / 2 + 1;
      std::size_t found = detail::scan_and_check(text.substr(from), pattern);
      return found == npos ? npos : from + found;
    }
  }
#endif
}

std::size_t detail::scan_and_check(std::string_view text, std::string_view pattern) noexcept {
  return scan_and_check_units(text, pattern);
}

std::size_t detail::scan_and_check(core::wstring_view text, core::wstring_view pattern) noexcept {
  return scan_and_check_units(text, pattern);
}

}  // namespace quarnel::edit
