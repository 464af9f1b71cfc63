// The format loop: literal text is copied, each conversion is parsed into a
// value, its '*' numbers and its argument are read, and the writer for its
// kind writes it. One template serves both families, so a format gives the
// same text on every platform and in both families.
#include "convert/printf_engine.hpp"

#include <cstdint>
#include <type_traits>

#include "convert/printf_conversion.hpp"
#include "convert/printf_writers.hpp"
#include "quarnel/errors.hpp"

namespace quarnel::convert {
namespace {

using core::wchar;

// A copy of the caller's argument list, ended however the pass is left; the
// caller's own list stays unread for the next pass.
class ArgumentList {
 public:
  explicit ArgumentList(va_list source) noexcept { va_copy(list_, source); }
  ArgumentList(const ArgumentList&) = delete;
  ArgumentList& operator=(const ArgumentList&) = delete;
  ~ArgumentList() { va_end(list_); }

  template <class T>
  T next() {
    return va_arg(list_, T);
  }

  // The integer argument of a size, as 64 bits: sign-extended for the
  // signed conversions, zero-extended for the others.
  std::uint64_t next_integer(SizePrefix size, bool is_signed) {
    switch (size) {
      case SizePrefix::hh:
        return next_as<signed char>(is_signed);
      case SizePrefix::h:
        return next_as<short>(is_signed);
      case SizePrefix::l:
        return next_as<long>(is_signed);
      case SizePrefix::ll:
      case SizePrefix::L:
      case SizePrefix::I64:
        return next_as<long long>(is_signed);
      case SizePrefix::j:
        return next_as<std::intmax_t>(is_signed);
      case SizePrefix::z:
      case SizePrefix::t:
      case SizePrefix::I:
        return next_as<std::ptrdiff_t>(is_signed);
      default:
        return next_as<int>(is_signed);
    }
  }

 private:
  // Types narrower than int arrive promoted to int.
  template <class Int>
  std::uint64_t next_as(bool is_signed) {
    using Passed = std::conditional_t<(sizeof(Int) < sizeof(int)), int, Int>;
    const Passed passed = next<Passed>();
    if (is_signed)
      return static_cast<std::uint64_t>(static_cast<std::int64_t>(static_cast<Int>(passed)));
    return static_cast<std::make_unsigned_t<Int>>(passed);
  }

  va_list list_;
};

// "%n" stores the count so far through a pointer argument. The formatter
// takes formats from hosts, which may forward text they do not control, so
// it refuses any format holding one, before an argument is read.
template <class Unit>
void refuse_count_stores(const Unit* format) {
  for (const Unit* p = format; *p;) {
    if (*p++ != '%') continue;
    if (parse_conversion(p).letter == 'n')
      throw EConvertError("'%n' is not accepted in a format: it would write through a pointer");
  }
}

template <class Unit>
void write_float_argument(Output<Unit>& out, const Conversion& conv, ArgumentList& args) {
#if defined(_WIN32)
  // Windows compilers make long double the same as double, so hosts pass
  // eight bytes for %Lf too.
  write_floating(out, conv, args.next<double>());
#else
  if (conv.size == SizePrefix::L)
    write_floating(out, conv, args.next<long double>());
  else
    write_floating(out, conv, args.next<double>());
#endif
}

// Whether a string or character argument is UTF-16: 'h' says byte text and
// 'l' / 'w' UTF-16; otherwise the lower-case letter takes the output's own
// family and the upper-case one the other.
template <class Unit>
bool takes_wide_text(const Conversion& conv) noexcept {
  if (conv.size == SizePrefix::h) return false;
  if (conv.size == SizePrefix::l || conv.size == SizePrefix::w) return true;
  constexpr bool wide_output = sizeof(Unit) == sizeof(wchar);
  return (conv.letter == 's' || conv.letter == 'c') == wide_output;
}

// Writes one conversion; `as_written` is its text in the format, copied
// as it stands when the letter is not a conversion.
template <class Unit>
void write_conversion(Output<Unit>& out, const Conversion& conv, ArgumentList& args,
                      const Unit* as_written, std::size_t as_written_length) {
  switch (conv.letter) {
    case 'd':
    case 'i': {
      const std::uint64_t bits = args.next_integer(conv.size, true);
      const bool negative = static_cast<std::int64_t>(bits) < 0;
      write_integer(out, conv, negative ? 0 - bits : bits, negative);
      break;
    }
    case 'u':
    case 'o':
    case 'x':
    case 'X':
      write_integer(out, conv, args.next_integer(conv.size, false), false);
      break;
    case 'e':
    case 'E':
    case 'f':
    case 'F':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
      write_float_argument(out, conv, args);
      break;
    case 'c':
    case 'C':
      write_character(out, conv, static_cast<unsigned>(args.next<int>()),
                      takes_wide_text<Unit>(conv));
      break;
    case 's':
    case 'S':
      if (takes_wide_text<Unit>(conv))
        write_string(out, conv, args.next<const wchar*>());
      else
        write_string(out, conv, args.next<const char*>());
      break;
    case 'p':
      write_pointer(out, conv, args.next<void*>());
      break;
    case '%':
      out.put('%');
      break;
    default:  // not a conversion: the text stays as written
      out.put(as_written, as_written_length);
  }
}

template <class Unit>
std::size_t format_units(Unit* storage, std::size_t capacity, const Unit* format, va_list source) {
  refuse_count_stores(format);
  Output<Unit> out(storage, capacity);
  ArgumentList args(source);
  const Unit* p = format;
  while (*p) {
    if (*p != '%') {
      const Unit* literal = p;
      while (*p && *p != '%') ++p;
      out.put(literal, static_cast<std::size_t>(p - literal));
      continue;
    }
    const Unit* start = p++;
    Conversion conv = parse_conversion(p);
    const auto as_written_length = static_cast<std::size_t>(p - start);
    if (conv.letter == 0) {  // the format ends inside a conversion
      out.put(start, as_written_length);
      break;
    }
    if (conv.width_from_argument) apply_width_argument(conv, args.next<int>());
    if (conv.precision_from_argument) apply_precision_argument(conv, args.next<int>());
    write_conversion(out, conv, args, start, as_written_length);
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
