#include "platform/posix/locale.hpp"

#include <wchar.h>
#include <wctype.h>

#include <initializer_list>

#include "platform/platform.hpp"

namespace quarnel::platform::posix {
namespace {

locale_t open_user_locale() noexcept {
  // The environment's locale may name one that is not installed; fall back
  // to a locale that still knows Unicode case, then to plain C.
  for (const char* name : {"", "C.UTF-8"})
    if (locale_t l = newlocale(LC_ALL_MASK, name, nullptr)) return l;
  return newlocale(LC_ALL_MASK, "C", nullptr);
}

struct UserLocale {
  locale_t handle = open_user_locale();
  ~UserLocale() {
    if (handle) freelocale(handle);
  }
};
const UserLocale the_user_locale;

// Decodes UTF-16 into code points, folding case on the way.
std::size_t fold_to_code_points(const wchar* s, std::size_t n, std::uint32_t* out,
                                locale_t loc) noexcept {
  std::size_t k = 0;
  for (std::size_t i = 0; i < n; ++i) {
    std::uint32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    out[k++] = static_cast<std::uint32_t>(towlower_l(static_cast<wint_t>(c), loc));
  }
  out[k] = 0;
  return k;
}

}  // namespace

locale_t user_locale() noexcept { return the_user_locale.handle; }

}  // namespace quarnel::platform::posix

namespace quarnel::platform {

int compare_text_ic(const wchar* a, std::size_t na, const wchar* b, std::size_t nb,
                    std::uint32_t* scratch) noexcept {
  static_assert(sizeof(wchar_t) == sizeof(std::uint32_t));
  locale_t loc = posix::user_locale();
  std::uint32_t* x = scratch;
  std::uint32_t* y = scratch + posix::fold_to_code_points(a, na, x, loc) + 1;
  posix::fold_to_code_points(b, nb, y, loc);
  return wcscoll_l(reinterpret_cast<const wchar_t*>(x), reinterpret_cast<const wchar_t*>(y), loc);
}

int compare_units_ic(const wchar* a, const wchar* b) noexcept {
  locale_t loc = posix::user_locale();
  auto fold = [loc](wchar u) -> int {
    // Surrogates are halves of characters; they compare as they are.
    if (u >= 0xD800 && u < 0xE000) return u;
    return static_cast<int>(towlower_l(u, loc)) & 0xFFFF;
  };
  for (;; ++a, ++b) {
    int x = fold(*a), y = fold(*b);
    if (x != y || x == 0) return x - y;
  }
}

}  // namespace quarnel::platform
