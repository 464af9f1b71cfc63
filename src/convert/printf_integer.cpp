// Integers and pointers.
#include <cstdint>

#include "convert/printf_writers.hpp"

namespace quarnel::convert {

template <class Unit>
void write_integer(Output<Unit>& out, const Conversion& conv, std::uint64_t magnitude,
                   bool negative) {
  const unsigned letter = conv.letter;
  const unsigned base = letter == 'o' ? 8 : (letter == 'x' || letter == 'X') ? 16 : 10;
  const char* digit_set = letter == 'X' ? "0123456789ABCDEF" : "0123456789abcdef";
  char digits[24];
  char* end = digits + sizeof digits;
  char* first = end;
  // A zero precision prints nothing for the value zero.
  if (magnitude != 0 || conv.precision != 0) {
    for (std::uint64_t v = magnitude; first == end || v != 0; v /= base)
      *--first = digit_set[v % base];
  }
  const auto count = static_cast<std::int64_t>(end - first);
  NumberLayout layout;
  layout.digits = {first, static_cast<std::size_t>(count)};
  layout.leading_zeros =
      conv.precision > count ? static_cast<std::uint64_t>(conv.precision - count) : 0;
  // '#' with 'o' makes sure the text starts with a zero.
  if (letter == 'o' && conv.alt && layout.leading_zeros == 0 && (count == 0 || *first != '0'))
    layout.leading_zeros = 1;
  if (letter == 'd' || letter == 'i') {
    layout.prefix = negative ? "-" : conv.plus ? "+" : conv.space ? " " : "";
  } else if ((letter == 'x' || letter == 'X') && conv.alt && magnitude != 0) {
    layout.prefix = letter == 'x' ? "0x" : "0X";
  }
  layout.zero_pad_allowed = conv.precision < 0;
  write_padded(out, conv, layout);
}

template <class Unit>
void write_pointer(Output<Unit>& out, const Conversion& conv, const void* pointer) {
  Conversion hex = conv;
  hex.letter = 'X';
  hex.precision = 2 * sizeof(void*);
  write_integer(out, hex, reinterpret_cast<std::uintptr_t>(pointer), false);
}

template void write_integer(Output<char>&, const Conversion&, std::uint64_t, bool);
template void write_integer(Output<core::wchar>&, const Conversion&, std::uint64_t, bool);
template void write_pointer(Output<char>&, const Conversion&, const void*);
template void write_pointer(Output<core::wchar>&, const Conversion&, const void*);

}  // namespace quarnel::convert
