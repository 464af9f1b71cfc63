#include "convert/formatted.hpp"

#include <cstdint>
#include <new>

#include "convert/printf_engine.hpp"
#include "core/access.hpp"
#include "quarnel/errors.hpp"

namespace quarnel::convert {

using namespace core;

namespace {

// The fill pass into room measured for exactly `n` units. The two passes
// read the same format and arguments, so they agree; should the arguments
// change in between (a host thread writing to a string argument), the text
// is refused rather than stored with units that were never written.
template <class Char>
void fill(Char* storage, std::size_t n, const Char* format, va_list args) {
  if (format_text(storage, n + 1, format, args) != n)
    throw EConvertError("the format's arguments changed while the text was formatted");
}

}  // namespace

template <class Str>
Str formatted(const typename Str::Char* format, va_list args) {
  using Char = typename Str::Char;
  if (!format || !*format) return Str();
  std::size_t n = format_text(static_cast<Char*>(nullptr), 0, format, args);
  Str s(n);  // throws for a length no payload can hold
  if (n) fill(s.data(), n, format, args);
  return s;
}

template <class Rec>
int print_replace(Rec& dest, const CharOf<Rec>* format, va_list args) {
  install(dest, formatted<typename FamilyOf<Rec>::Str>(format, args));
  return static_cast<int>(length_of(dest));
}

template <class Rec>
int print_append(Rec& dest, const CharOf<Rec>* format, va_list args) {
  using Char = CharOf<Rec>;
  if (!format || !*format) return 0;
  std::size_t n = format_text(static_cast<Char*>(nullptr), 0, format, args);
  if (n == 0) return 0;
  auto old = view_of(dest);
  if (n > SIZE_MAX - old.size()) throw std::bad_alloc();
  typename FamilyOf<Rec>::Str s(old.size() + n);
  std::char_traits<Char>::copy(s.data(), old.data(), old.size());
  fill(s.data() + old.size(), n, format, args);
  install(dest, std::move(s));
  return static_cast<int>(n);
}

template <class Rec>
Rec* print_new(const Rec& format, va_list args) {
  using Str = typename FamilyOf<Rec>::Str;
  // An empty format handle gives an empty handle; the W family does not
  // even start the formatter for it.
  if (!format.payload) return new_handle(Str());
  return new_handle(formatted<Str>(text_of(format), args));
}

template AnsiStr formatted(const char*, va_list);
template WideStr formatted(const wchar*, va_list);
template int print_replace(ARec&, const char*, va_list);
template int print_replace(WRec&, const wchar*, va_list);
template int print_append(ARec&, const char*, va_list);
template int print_append(WRec&, const wchar*, va_list);
template ARec* print_new(const ARec&, va_list);
template WRec* print_new(const WRec&, va_list);

}  // namespace quarnel::convert
