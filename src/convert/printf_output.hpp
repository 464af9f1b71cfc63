// Where formatted text goes: storage of a known capacity, or none at all when
// the formatter only measures. Every unit is counted whether it fits or not,
// so one pass measures and a second, given that much room, fills.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "convert/printf_conversion.hpp"

namespace quarnel::convert {

template <class Unit>
class Output {
 public:
  Output(Unit* storage, std::size_t capacity) noexcept
      : storage_(storage), room_(capacity ? capacity - 1 : 0), terminate_(capacity != 0) {}

  void put(Unit u) noexcept {
    if (count_ < room_) storage_[count_] = u;
    add(1);
  }
  void put(const Unit* s, std::size_t k) noexcept {
    std::copy_n(s, fitting(k), next());
    add(k);
  }
  // ASCII text (digits, signs, exponents) widened to the unit type.
  void put_ascii(std::string_view s) noexcept {
    Unit* to = next();
    for (std::size_t i = 0, m = fitting(s.size()); i < m; ++i)
      to[i] = static_cast<Unit>(static_cast<unsigned char>(s[i]));
    add(s.size());
  }
  void repeat(Unit u, std::uint64_t k) noexcept {
    std::fill_n(next(), fitting(k), u);
    add(k);
  }

  // Terminates what was stored and answers the length of the whole text,
  // SIZE_MAX when that cannot even be counted in a size_t.
  std::size_t finish() noexcept {
    if (terminate_) *next() = 0;
    return count_ > SIZE_MAX ? SIZE_MAX : static_cast<std::size_t>(count_);
  }

 private:
  Unit* next() const noexcept { return storage_ + std::min<std::uint64_t>(count_, room_); }
  std::size_t fitting(std::uint64_t k) const noexcept {
    return count_ < room_ ? static_cast<std::size_t>(std::min<std::uint64_t>(k, room_ - count_))
                          : 0;
  }
  // Saturates rather than wrapping: such a text can never be stored anyway.
  void add(std::uint64_t k) noexcept { count_ = k > UINT64_MAX - count_ ? UINT64_MAX : count_ + k; }

  Unit* storage_;
  std::size_t room_;
  bool terminate_;
  std::uint64_t count_ = 0;
};

// How many pad units a field of `length` units needs to reach the width.
inline std::uint64_t padding(const Conversion& conv, std::uint64_t length) noexcept {
  auto width = static_cast<std::uint64_t>(conv.width);
  return width > length ? width - length : 0;
}

// A number laid out for padding: sign or "0x" prefix, zeros for the
// precision, the digits, zeros that the digits did not need to carry, and
// an exponent.
struct NumberLayout {
  std::string_view prefix;
  std::uint64_t leading_zeros = 0;
  std::string_view digits;
  std::uint64_t trailing_zeros = 0;
  std::string_view exponent;
  bool zero_pad_allowed = true;  // '0' pads with zeros, unless a precision forbids
};

// Writes the number padded to the width: on the right for '-', with zeros
// after the prefix for '0' where allowed, with spaces in front otherwise.
template <class Unit>
void write_padded(Output<Unit>& out, const Conversion& conv, const NumberLayout& n) {
  std::uint64_t length =
      n.prefix.size() + n.leading_zeros + n.digits.size() + n.trailing_zeros + n.exponent.size();
  std::uint64_t pad = padding(conv, length);
  bool zero_pad = !conv.left && conv.zero && n.zero_pad_allowed;
  if (!conv.left && !zero_pad) out.repeat(' ', pad);
  out.put_ascii(n.prefix);
  out.repeat('0', n.leading_zeros + (zero_pad ? pad : 0));
  out.put_ascii(n.digits);
  out.repeat('0', n.trailing_zeros);
  out.put_ascii(n.exponent);
  if (conv.left) out.repeat(' ', pad);
}

// Writes text padded to the width with spaces.
template <class Unit>
void write_padded(Output<Unit>& out, const Conversion& conv, const Unit* s, std::size_t n) {
  std::uint64_t pad = padding(conv, n);
  if (!conv.left) out.repeat(' ', pad);
  out.put(s, n);
  if (conv.left) out.repeat(' ', pad);
}

}  // namespace quarnel::convert
