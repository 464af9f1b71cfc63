// One formatter for both families: a template over the text unit, so a
// format gives the same text on every platform and in both families.
#include "convert/printf_engine.hpp"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "convert/text_buffer.hpp"
#include "platform/platform.hpp"

namespace quarnel::convert {
namespace {

using core::wchar;

// Where the text goes: counts every unit and stores those that fit.
template <class Unit>
class Sink {
 public:
  Sink(Unit* out, std::size_t capacity) noexcept
      : out_(out), room_(capacity ? capacity - 1 : 0), terminate_(capacity != 0) {}

  void put(Unit u) noexcept {
    if (n_ < room_) out_[n_] = u;
    add(1);
  }
  void put(const Unit* s, std::size_t k) noexcept {
    std::copy_n(s, fit(k), out_ + std::min(n_, room_));
    add(k);
  }
  void put_ascii(const char* s, std::size_t k) noexcept {
    Unit* to = out_ + std::min(n_, room_);
    for (std::size_t i = 0, m = fit(k); i < m; ++i)
      to[i] = static_cast<Unit>(static_cast<unsigned char>(s[i]));
    add(k);
  }
  void pad(Unit u, std::size_t k) noexcept {
    std::fill_n(out_ + std::min(n_, room_), fit(k), u);
    add(k);
  }
  std::size_t count() const noexcept { return n_; }
  std::size_t finish() noexcept {
    if (terminate_) out_[std::min(n_, room_)] = 0;
    return n_;
  }

 private:
  std::size_t fit(std::size_t k) const noexcept { return n_ < room_ ? std::min(k, room_ - n_) : 0; }
  // Saturates rather than wrapping: such a text can never be stored anyway.
  void add(std::size_t k) noexcept { n_ = k > SIZE_MAX - n_ ? SIZE_MAX : n_ + k; }

  Unit* out_;
  std::size_t room_;
  bool terminate_;
  std::size_t n_ = 0;
};

// A va_list inside a struct, so helpers can take it by reference whatever
// the platform's va_list type is.
struct Args {
  va_list ap;
};

enum class Size : unsigned char { none, hh, h, l, ll, j, z, t, L, I, I32, I64, w };

struct Conversion {
  bool left = false, plus = false, space = false, alt = false, zero = false;
  std::size_t width = 0;
  int precision = -1;  // -1: none given
  Size size = Size::none;
  unsigned conv = 0;
};

template <class Unit>
int read_number(const Unit*& p) noexcept {
  int n = 0;
  for (; *p >= '0' && *p <= '9'; ++p) n = n > (INT_MAX - 9) / 10 ? INT_MAX : n * 10 + (*p - '0');
  return n;
}

template <class Unit>
Size read_size(const Unit*& p) noexcept {
  switch (*p) {
    case 'h':
      return *++p == 'h' ? (++p, Size::hh) : Size::h;
    case 'l':
      return *++p == 'l' ? (++p, Size::ll) : Size::l;
    case 'L':
      return ++p, Size::L;
    case 'j':
      return ++p, Size::j;
    case 'z':
      return ++p, Size::z;
    case 't':
      return ++p, Size::t;
    case 'w':
      return ++p, Size::w;
    case 'I':
      if (p[1] == '6' && p[2] == '4') return p += 3, Size::I64;
      if (p[1] == '3' && p[2] == '2') return p += 3, Size::I32;
      return ++p, Size::I;
    default:
      return Size::none;
  }
}

std::int64_t signed_arg(Args& a, Size size) {
  switch (size) {
    case Size::hh:
      return static_cast<signed char>(va_arg(a.ap, int));
    case Size::h:
      return static_cast<short>(va_arg(a.ap, int));
    case Size::l:
      return va_arg(a.ap, long);
    case Size::ll:
    case Size::L:
    case Size::I64:
      return va_arg(a.ap, long long);
    case Size::j:
      return va_arg(a.ap, std::intmax_t);
    case Size::z:
    case Size::t:
    case Size::I:
      return va_arg(a.ap, std::ptrdiff_t);
    default:
      return va_arg(a.ap, int);
  }
}

std::uint64_t unsigned_arg(Args& a, Size size) {
  switch (size) {
    case Size::hh:
      return static_cast<unsigned char>(va_arg(a.ap, unsigned));
    case Size::h:
      return static_cast<unsigned short>(va_arg(a.ap, unsigned));
    case Size::l:
      return va_arg(a.ap, unsigned long);
    case Size::ll:
    case Size::L:
    case Size::I64:
      return va_arg(a.ap, unsigned long long);
    case Size::j:
      return va_arg(a.ap, std::uintmax_t);
    case Size::z:
    case Size::t:
    case Size::I:
      return va_arg(a.ap, std::size_t);
    default:
      return va_arg(a.ap, unsigned);
  }
}

void store_count(Args& a, Size size, std::size_t count) {
  switch (size) {
    case Size::hh:
      *va_arg(a.ap, signed char*) = static_cast<signed char>(count);
      break;
    case Size::h:
      *va_arg(a.ap, short*) = static_cast<short>(count);
      break;
    case Size::l:
      *va_arg(a.ap, long*) = static_cast<long>(count);
      break;
    case Size::ll:
    case Size::L:
    case Size::I64:
      *va_arg(a.ap, long long*) = static_cast<long long>(count);
      break;
    case Size::j:
      *va_arg(a.ap, std::intmax_t*) = static_cast<std::intmax_t>(count);
      break;
    case Size::z:
    case Size::t:
    case Size::I:
      *va_arg(a.ap, std::ptrdiff_t*) = static_cast<std::ptrdiff_t>(count);
      break;
    default:
      *va_arg(a.ap, int*) = static_cast<int>(count);
  }
}

// Writes prefix (sign, "0x"), `zeros` zeros and the body, padded to the
// width: on the right for '-', with zeros after the prefix for '0' where
// allowed, with spaces in front otherwise.
template <class Unit>
void put_padded(Sink<Unit>& out, const Conversion& sp, const char* prefix, std::size_t prefix_len,
                std::size_t zeros, const char* body, std::size_t body_len, bool zero_fill) {
  std::size_t len = prefix_len + zeros + body_len;
  std::size_t pad = sp.width > len ? sp.width - len : 0;
  bool fill_zeros = !sp.left && sp.zero && zero_fill;
  if (!sp.left && !fill_zeros) out.pad(' ', pad);
  out.put_ascii(prefix, prefix_len);
  out.pad('0', zeros + (fill_zeros ? pad : 0));
  out.put_ascii(body, body_len);
  if (sp.left) out.pad(' ', pad);
}

template <class Unit>
void put_integer(Sink<Unit>& out, const Conversion& sp, std::uint64_t v, bool negative) {
  unsigned base = sp.conv == 'o' ? 8 : (sp.conv == 'x' || sp.conv == 'X') ? 16 : 10;
  const char* set = sp.conv == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  char buf[24];
  char* end = buf + sizeof buf;
  char* p = end;
  bool nonzero = v != 0;
  if (nonzero || sp.precision != 0) do
      *--p = set[v % base];
    while ((v /= base) != 0);
  auto n = static_cast<std::size_t>(end - p);
  std::size_t zeros = sp.precision > 0 && static_cast<std::size_t>(sp.precision) > n
                          ? static_cast<std::size_t>(sp.precision) - n
                          : 0;
  // '#' with 'o' makes sure the text starts with a zero.
  if (sp.conv == 'o' && sp.alt && zeros == 0 && (n == 0 || *p != '0')) zeros = 1;
  char prefix[2];
  std::size_t prefix_len = 0;
  if (sp.conv == 'd' || sp.conv == 'i') {
    if (negative)
      prefix[prefix_len++] = '-';
    else if (sp.plus)
      prefix[prefix_len++] = '+';
    else if (sp.space)
      prefix[prefix_len++] = ' ';
  } else if ((sp.conv == 'x' || sp.conv == 'X') && sp.alt && nonzero) {
    prefix[prefix_len++] = '0';
    prefix[prefix_len++] = static_cast<char>(sp.conv);
  }
  put_padded(out, sp, prefix, prefix_len, zeros, p, n, sp.precision < 0);
}

// Room for the digits to_chars may write: every integer digit of the
// largest value plus the precision.
class DigitBuffer {
 public:
  explicit DigitBuffer(std::size_t size)
      : heap_(size > sizeof local_ ? static_cast<char*>(mem::heap_alloc(size)) : nullptr),
        size_(size) {}
  DigitBuffer(const DigitBuffer&) = delete;
  DigitBuffer& operator=(const DigitBuffer&) = delete;
  ~DigitBuffer() { mem::heap_free(heap_); }
  char* begin() noexcept { return heap_ ? heap_ : local_; }
  char* end() noexcept { return begin() + size_; }

 private:
  char local_[512];
  char* heap_;
  std::size_t size_;
};

// The exponent of a scientific text "d.ddde+XX".
int exponent_of(const char* b, const char* e) {
  const char* mark = std::find(b, e, 'e');
  int x = 0;
  if (mark + 1 < e) std::from_chars(mark + 1 + (mark[1] == '+'), e, x);
  return x;
}

// Inserts '.' at `at` in the n characters at b (the buffer has room).
std::size_t insert_point(char* b, std::size_t n, std::size_t at) {
  std::memmove(b + at + 1, b + at, n - at);
  b[at] = '.';
  return n + 1;
}

template <class Unit, class F>
void put_floating(Sink<Unit>& out, const Conversion& sp, F value) {
  bool upper = sp.conv >= 'A' && sp.conv <= 'Z';
  unsigned kind = sp.conv | 0x20;
  char prefix[3];
  std::size_t prefix_len = 0;
  if (std::signbit(value))
    prefix[prefix_len++] = '-';
  else if (sp.plus)
    prefix[prefix_len++] = '+';
  else if (sp.space)
    prefix[prefix_len++] = ' ';
  F a = std::fabs(value);
  if (!std::isfinite(a)) {
    const char* text = std::isnan(a) ? (upper ? "NAN" : "nan") : (upper ? "INF" : "inf");
    put_padded(out, sp, prefix, prefix_len, 0, text, 3, false);
    return;
  }
  if (kind == 'a') {
    prefix[prefix_len++] = '0';
    prefix[prefix_len++] = upper ? 'X' : 'x';
  }
  int precision = sp.precision;
  std::size_t integer_digits = sizeof(F) > sizeof(double) ? 4950 : 320;
  DigitBuffer buf(integer_digits + static_cast<std::size_t>(std::max(precision, 0)) + 16);
  char* b = buf.begin();
  std::to_chars_result r{};
  if (kind == 'f') {
    r = std::to_chars(b, buf.end(), a, std::chars_format::fixed, precision < 0 ? 6 : precision);
  } else if (kind == 'e') {
    r = std::to_chars(b, buf.end(), a, std::chars_format::scientific,
                      precision < 0 ? 6 : precision);
  } else if (kind == 'g') {
    int p = precision < 0 ? 6 : precision == 0 ? 1 : precision;
    if (!sp.alt) {
      r = std::to_chars(b, buf.end(), a, std::chars_format::general, p);
    } else {
      // '#' keeps the trailing zeros: choose between the two forms as %g
      // does, from the exponent of the scientific form.
      r = std::to_chars(b, buf.end(), a, std::chars_format::scientific, p - 1);
      int x = exponent_of(b, r.ptr);
      if (x < p && x >= -4) r = std::to_chars(b, buf.end(), a, std::chars_format::fixed, p - 1 - x);
    }
  } else {
    r = precision < 0 ? std::to_chars(b, buf.end(), a, std::chars_format::hex)
                      : std::to_chars(b, buf.end(), a, std::chars_format::hex, precision);
  }
  auto n = static_cast<std::size_t>(r.ptr - b);
  if (sp.alt && std::find(b, b + n, '.') == b + n) {
    // '#': a decimal point even without digits after it.
    std::size_t exponent = static_cast<std::size_t>(
        std::find_if(b, b + n, [](char c) { return c == 'e' || c == 'p'; }) - b);
    n = insert_point(b, n, exponent);
  }
  if (upper)
    for (std::size_t i = 0; i < n; ++i)
      if (b[i] >= 'a' && b[i] <= 'z') b[i] = static_cast<char>(b[i] - 'a' + 'A');
  put_padded(out, sp, prefix, prefix_len, 0, b, n, true);
}

template <class Unit>
void put_text(Sink<Unit>& out, const Conversion& sp, const Unit* s, std::size_t n) {
  std::size_t pad = sp.width > n ? sp.width - n : 0;
  if (!sp.left) out.pad(' ', pad);
  out.put(s, n);
  if (sp.left) out.pad(' ', pad);
}

// Text of the other family, converted through the ANSI code page.
void convert_into(TextBuffer<wchar>& to, const char* s, std::size_t n) {
  std::size_t k = platform::ansi_to_utf16(s, n, nullptr);
  platform::ansi_to_utf16(s, n, to.extend(k));
}
void convert_into(TextBuffer<char>& to, const wchar* s, std::size_t n) {
  std::size_t k = platform::utf16_to_ansi(s, n, nullptr);
  platform::utf16_to_ansi(s, n, to.extend(k));
}

// The longest start of a converted text that fits in `limit` units without
// splitting a character.
std::size_t whole_characters(const wchar* s, std::size_t n, std::size_t limit) {
  if (n <= limit) return n;
  return limit > 0 && s[limit - 1] >= 0xD800 && s[limit - 1] < 0xDC00 ? limit - 1 : limit;
}
std::size_t whole_characters(const char* s, std::size_t n, std::size_t limit) {
  if (n <= limit) return n;
  bool utf8 = platform::ansi_code_page() == 65001;
  std::size_t i = 0;
  while (i < limit) {
    auto b = static_cast<unsigned char>(s[i]);
    std::size_t step = utf8 ? (b >= 0xF0   ? 4
                               : b >= 0xE0 ? 3
                               : b >= 0xC0 ? 2
                                           : 1)
                            : (platform::is_lead_byte(b) ? 2 : 1);
    if (i + step > limit) break;
    i += step;
  }
  return i;
}

template <class Unit, class Src>
void put_string(Sink<Unit>& out, const Conversion& sp, const Src* s) {
  auto limit = sp.precision < 0 ? SIZE_MAX : static_cast<std::size_t>(sp.precision);
  if (!s) {
    static constexpr Unit null_text[] = {'(', 'n', 'u', 'l', 'l', ')'};
    put_text(out, sp, null_text, std::min<std::size_t>(6, limit));
  } else if constexpr (std::is_same_v<Unit, Src>) {
    std::size_t n = 0;
    while (n < limit && s[n]) ++n;
    put_text(out, sp, s, n);
  } else {
    std::size_t n = std::char_traits<Src>::length(s);
    TextBuffer<Unit> converted;
    convert_into(converted, s, n);
    put_text(out, sp, converted.data(),
             whole_characters(converted.data(), converted.size(), limit));
  }
}

template <class Unit>
void put_char(Sink<Unit>& out, const Conversion& sp, unsigned value, bool wide) {
  if (wide == (sizeof(Unit) == sizeof(wchar))) {
    auto u = static_cast<Unit>(value);
    put_text(out, sp, &u, 1);
  } else {
    TextBuffer<Unit> converted;
    if constexpr (sizeof(Unit) == 1) {
      auto w = static_cast<wchar>(value);
      convert_into(converted, &w, 1);
    } else {
      auto c = static_cast<char>(value);
      convert_into(converted, &c, 1);
    }
    put_text(out, sp, converted.data(), converted.size());
  }
}

template <class Unit>
std::size_t format_units(Unit* buffer, std::size_t capacity, const Unit* format, va_list source) {
  Sink<Unit> out(buffer, capacity);
  Args a;
  va_copy(a.ap, source);
  struct End {
    Args& a;
    ~End() { va_end(a.ap); }
  } end{a};
  constexpr bool wide_family = sizeof(Unit) == sizeof(wchar);
  const Unit* p = format;
  while (*p) {
    if (*p != '%') {
      const Unit* q = p;
      while (*q && *q != '%') ++q;
      out.put(p, static_cast<std::size_t>(q - p));
      p = q;
      continue;
    }
    const Unit* start = p++;
    Conversion sp;
    for (;; ++p) {
      if (*p == '-')
        sp.left = true;
      else if (*p == '+')
        sp.plus = true;
      else if (*p == ' ')
        sp.space = true;
      else if (*p == '#')
        sp.alt = true;
      else if (*p == '0')
        sp.zero = true;
      else
        break;
    }
    if (*p == '*') {
      ++p;
      int w = va_arg(a.ap, int);
      if (w < 0) sp.left = true;  // a negative width is a '-' flag
      sp.width = w < 0 ? 0u - static_cast<unsigned>(w) : static_cast<unsigned>(w);
    } else {
      sp.width = static_cast<std::size_t>(read_number(p));
    }
    if (*p == '.') {
      ++p;
      if (*p == '*') {
        ++p;
        int given = va_arg(a.ap, int);
        sp.precision = given < 0 ? -1 : given;  // negative: as if none
      } else {
        sp.precision = read_number(p);
      }
    }
    sp.size = read_size(p);
    sp.conv = static_cast<unsigned>(*p);
    if (sp.conv == 0) {  // the format ends inside a conversion
      out.put(start, static_cast<std::size_t>(p - start));
      break;
    }
    ++p;
    // Which family a string or character argument belongs to.
    bool narrow_size = sp.size == Size::h;
    bool wide_size = sp.size == Size::l || sp.size == Size::w;
    switch (sp.conv) {
      case 'd':
      case 'i': {
        std::int64_t v = signed_arg(a, sp.size);
        put_integer(out, sp,
                    v < 0 ? 0 - static_cast<std::uint64_t>(v) : static_cast<std::uint64_t>(v),
                    v < 0);
        break;
      }
      case 'u':
      case 'o':
      case 'x':
      case 'X':
        put_integer(out, sp, unsigned_arg(a, sp.size), false);
        break;
      case 'e':
      case 'E':
      case 'f':
      case 'F':
      case 'g':
      case 'G':
      case 'a':
      case 'A':
#if defined(_WIN32)
        // Windows compilers make long double the same as double, so hosts
        // pass eight bytes for %Lf too.
        put_floating(out, sp, va_arg(a.ap, double));
#else
        if (sp.size == Size::L)
          put_floating(out, sp, va_arg(a.ap, long double));
        else
          put_floating(out, sp, va_arg(a.ap, double));
#endif
        break;
      case 'c':
      case 'C': {
        bool native = sp.conv == 'c';
        bool wide = wide_size || (!narrow_size && (native ? wide_family : !wide_family));
        put_char(out, sp, static_cast<unsigned>(va_arg(a.ap, int)), wide);
        break;
      }
      case 's':
      case 'S': {
        bool native = sp.conv == 's';
        bool wide = wide_size || (!narrow_size && (native ? wide_family : !wide_family));
        if (wide)
          put_string(out, sp, va_arg(a.ap, const wchar*));
        else
          put_string(out, sp, va_arg(a.ap, const char*));
        break;
      }
      case 'p': {
        Conversion hex = sp;
        hex.conv = 'X';
        hex.precision = static_cast<int>(2 * sizeof(void*));
        put_integer(out, hex, reinterpret_cast<std::uintptr_t>(va_arg(a.ap, void*)), false);
        break;
      }
      case 'n':
        store_count(a, sp.size, out.count());
        break;
      case '%':
        out.put('%');
        break;
      default:  // not a conversion: the text stays as written
        out.put(start, static_cast<std::size_t>(p - start));
    }
  }
  return out.finish();
}

}  // namespace

std::size_t format_text(char* out, std::size_t capacity, const char* format, va_list args) {
  return format_units(out, capacity, format, args);
}

std::size_t format_text(wchar* out, std::size_t capacity, const wchar* format, va_list args) {
  return format_units(out, capacity, format, args);
}

}  // namespace quarnel::convert
