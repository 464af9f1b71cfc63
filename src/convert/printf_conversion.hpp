// One conversion of a printf format ("%-08.3lld"), read into a value before
// anything is written: flags, width, precision, size prefix and the
// conversion letter. Reading it needs no argument; a '*' is only marked, and
// the argument list supplies the number later.
#pragma once

#include <climits>
#include <cstdint>

namespace quarnel::convert {

enum class SizePrefix : unsigned char { none, hh, h, l, ll, j, z, t, L, I, I32, I64, w };

struct Conversion {
  bool left = false;   // '-': pad on the right
  bool plus = false;   // '+': a sign on every signed number
  bool space = false;  // ' ': a blank where a '+' would go
  bool alt = false;    // '#': the alternative form
  bool zero = false;   // '0': pad numbers with zeros after the sign
  // Widths and precisions are at most INT_MAX (a written one saturates
  // there, one from '*' is an int), and every sum or difference of them is
  // taken in 64 bits, where it cannot overflow.
  std::int64_t width = 0;
  std::int64_t precision = -1;  // -1: none given
  bool width_from_argument = false;
  bool precision_from_argument = false;
  SizePrefix size = SizePrefix::none;
  unsigned letter = 0;  // 0: the format ends inside the conversion
};

namespace printf_detail {

template <class Unit>
std::int64_t read_number(const Unit*& p) noexcept {
  std::int64_t n = 0;
  for (; *p >= '0' && *p <= '9'; ++p) n = n >= INT_MAX ? INT_MAX : n * 10 + (*p - '0');
  return n > INT_MAX ? INT_MAX : n;
}

template <class Unit>
SizePrefix read_size(const Unit*& p) noexcept {
  switch (*p) {
    case 'h':
      return *++p == 'h' ? (++p, SizePrefix::hh) : SizePrefix::h;
    case 'l':
      return *++p == 'l' ? (++p, SizePrefix::ll) : SizePrefix::l;
    case 'L':
      return ++p, SizePrefix::L;
    case 'j':
      return ++p, SizePrefix::j;
    case 'z':
      return ++p, SizePrefix::z;
    case 't':
      return ++p, SizePrefix::t;
    case 'w':
      return ++p, SizePrefix::w;
    case 'I':
      if (p[1] == '6' && p[2] == '4') return p += 3, SizePrefix::I64;
      if (p[1] == '3' && p[2] == '2') return p += 3, SizePrefix::I32;
      return ++p, SizePrefix::I;
    default:
      return SizePrefix::none;
  }
}

}  // namespace printf_detail

// Reads the conversion that follows a '%'; `p` points after the '%' and is
// left after the conversion letter (or on the terminating zero).
template <class Unit>
Conversion parse_conversion(const Unit*& p) noexcept {
  Conversion conv;
  for (;; ++p) {
    if (*p == '-')
      conv.left = true;
    else if (*p == '+')
      conv.plus = true;
    else if (*p == ' ')
      conv.space = true;
    else if (*p == '#')
      conv.alt = true;
    else if (*p == '0')
      conv.zero = true;
    else
      break;
  }
  if (*p == '*')
    ++p, conv.width_from_argument = true;
  else
    conv.width = printf_detail::read_number(p);
  if (*p == '.') {
    ++p;
    if (*p == '*')
      ++p, conv.precision_from_argument = true;
    else
      conv.precision = printf_detail::read_number(p);
  }
  conv.size = printf_detail::read_size(p);
  conv.letter = static_cast<unsigned>(*p);
  if (conv.letter) ++p;
  return conv;
}

// A '*' width or precision given by the argument list: a negative width is a
// '-' flag, a negative precision counts as none.
inline void apply_width_argument(Conversion& conv, int width) noexcept {
  if (width < 0) conv.left = true;
  conv.width = width < 0 ? -std::int64_t{width} : width;
}
inline void apply_precision_argument(Conversion& conv, int precision) noexcept {
  conv.precision = precision < 0 ? -1 : precision;
}

}  // namespace quarnel::convert
