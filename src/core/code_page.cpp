// Conversions between the families, each in one pass over the text: the
// result's block is sized by what the input can become at most and the
// converter writes straight into it.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "core/handle.hpp"
#include "core/unit_scan.hpp"
#include "platform/platform.hpp"

namespace quarnel::core {
namespace {

constexpr bool is_high_surrogate(wchar u) noexcept { return u >= 0xD800 && u < 0xDC00; }

// Shortens the text of a fresh payload of ours to `length` characters; the
// rest of its block stays unused.
void shorten(AnsiStr& s, std::size_t length) noexcept {
  ansi_header(s.data())->length = static_cast<std::int32_t>(length);
  s.data()[length] = '\0';
}
void shorten(WideStr& s, std::size_t length) noexcept {
  const auto bytes = static_cast<std::uint32_t>(length * sizeof(wchar));
  std::memcpy(reinterpret_cast<char*>(s.data()) - sizeof bytes, &bytes, sizeof bytes);
  s.data()[length] = 0;
}

// Keeps `s` when its text of `length` characters fills most of its block,
// else copies the text into a block of the right size.
template <class Str>
Str fitted(Str s, std::size_t length, std::size_t room) {
  if (length == 0) return Str();
  if (room - length <= room / 4) {
    shorten(s, length);
    return s;
  }
  return Str::copy({s.data(), length});
}

}  // namespace

// A single-byte code page keeps the length. Otherwise a long text is
// converted a piece at a time into a block that starts a little larger than
// the text and grows when the next piece might not fit, so the output is
// never sized for the worst case of the whole text; a short one is measured
// first, which costs little while it sits in the cache.
AnsiStr to_ansi(wstring_view text) {
  const std::size_t n = text.size();
  if (n == 0) return AnsiStr();
  const std::size_t most = platform::ansi_bytes_per_unit();
  constexpr std::size_t kPiece = 16384;  // units
  if (most == 1 || n <= kPiece) {
    const std::size_t room = most == 1 ? n : platform::utf16_to_ansi(text.data(), n, nullptr);
    AnsiStr s(room);
    // A converter may write a surrogate pair as one default character.
    const std::size_t length = platform::utf16_to_ansi(text.data(), n, s.data());
    return length == room ? std::move(s) : fitted(std::move(s), length, room);
  }
  std::size_t room = std::min(n + n / 8 + most * kPiece, kMaxLengthA);
  AnsiStr s(room);
  std::size_t done = 0, length = 0;
  while (done < n) {
    std::size_t end = std::min(n, done + kPiece);
    // A surrogate pair stays within one piece.
    if (end < n && is_high_surrogate(text[end - 1])) --end;
    const wchar* piece = text.data() + done;
    const std::size_t count = end - done, most_bytes = most * count;
    if (length + most_bytes > room && room < kMaxLengthA) {
      room = std::min(std::max(length + most_bytes, room + room / 2), kMaxLengthA);
      AnsiStr grown(room);
      std::memcpy(grown.data(), s.data(), length);
      s = std::move(grown);
    }
    // At the length limit only a piece that really fits may be written.
    if (length + most_bytes > room &&
        length + platform::utf16_to_ansi(piece, count, nullptr) > room)
      throw std::bad_alloc();
    length += platform::utf16_to_ansi(piece, count, s.data() + length);
    done = end;
  }
  return fitted(std::move(s), length, room);
}

// On a single-byte page the zero is looked for a span at a time, and each
// span converted while it is still in the cache: one read of the text.
AnsiStr to_ansi_to_zero(wstring_view text) {
  const std::size_t n = text.size();
  if (platform::ansi_bytes_per_unit() != 1)
    return to_ansi(text.substr(0, find_unit(text.data(), n, 0)));
  if (n == 0) return AnsiStr();
  AnsiStr s(n);
  constexpr std::size_t kSpan = 32768;  // units
  std::size_t done = 0, length = 0;
  while (done < n) {
    std::size_t count = std::min(kSpan, n - done);
    // A surrogate pair stays within one span.
    if (count < n - done && is_high_surrogate(text[done + count - 1])) --count;
    const std::size_t before_zero = find_unit(text.data() + done, count, 0);
    length += platform::utf16_to_ansi(text.data() + done, before_zero, s.data() + length);
    done += before_zero;
    if (before_zero < count) break;
  }
  return fitted(std::move(s), length, n);
}

// Every byte becomes at most one unit, so a block of as many units as there
// are bytes holds the result.
WideStr to_wide(std::string_view text) {
  const std::size_t n = text.size();
  if (n == 0) return WideStr();
  if (n > kMaxLengthW) {
    // The result may still fit within the W limit: measure it first.
    const std::size_t units = platform::ansi_to_utf16(text.data(), n, nullptr);
    WideStr s(units);
    platform::ansi_to_utf16(text.data(), n, s.data());
    return s;
  }
  WideStr s(n);
  const std::size_t units = platform::ansi_to_utf16(text.data(), n, s.data());
  if (units == n) return s;
  return fitted(std::move(s), units, n);
}

}  // namespace quarnel::core
