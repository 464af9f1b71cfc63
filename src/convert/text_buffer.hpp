// The one growable run of text units the conversions build their scratch
// text in: results whose length is not known before they are built (number
// pictures can carry any amount of literal text), digits of a number, text
// converted from the other family. Short texts stay inside the object;
// longer ones move to a block from the library's allocator, so running out
// of memory surfaces the usual way.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

#include "core/memory.hpp"

namespace quarnel::convert {

template <class Unit, std::size_t Inline = 96>
class TextBuffer {
 public:
  TextBuffer() noexcept = default;
  TextBuffer(const TextBuffer&) = delete;
  TextBuffer& operator=(const TextBuffer&) = delete;
  ~TextBuffer() {
    if (p_ != inline_) mem::heap_free(p_);
  }

  void push(Unit u) {
    if (n_ == cap_) grow(n_ + 1);
    p_[n_++] = u;
  }
  void append(const Unit* s, std::size_t k) {
    if (k > cap_ - n_) grow(n_ + k);
    std::copy(s, s + k, p_ + n_);
    n_ += k;
  }
  void append(std::basic_string_view<Unit> s) { append(s.data(), s.size()); }
  // ASCII text (digits, exponent letters) widened to the unit type.
  void append_ascii(std::string_view s) {
    if (s.size() > cap_ - n_) grow(n_ + s.size());
    for (char c : s) p_[n_++] = static_cast<Unit>(static_cast<unsigned char>(c));
  }
  void fill(Unit u, std::size_t k) {
    if (k > cap_ - n_) grow(n_ + k);
    std::fill_n(p_ + n_, k, u);
    n_ += k;
  }

  // Makes room for `k` more units and returns where they go; the caller
  // fills all of them.
  Unit* extend(std::size_t k) {
    if (k > cap_ - n_) grow(n_ + k);
    n_ += k;
    return p_ + n_ - k;
  }

  // Keeps the first `n` units (n at most the size).
  void truncate(std::size_t n) noexcept { n_ = std::min(n, n_); }
  void insert(std::size_t at, Unit u) {
    push(u);
    std::rotate(p_ + at, p_ + n_ - 1, p_ + n_);
  }
  void to_ascii_upper() noexcept {
    for (std::size_t i = 0; i < n_; ++i)
      if (p_[i] >= 'a' && p_[i] <= 'z') p_[i] = static_cast<Unit>(p_[i] - 'a' + 'A');
  }

  std::size_t size() const noexcept { return n_; }
  const Unit* data() const noexcept { return p_; }
  std::basic_string_view<Unit> view() const noexcept { return {p_, n_}; }

 private:
  void grow(std::size_t need) {
    std::size_t cap = std::max(need, cap_ * 2);
    auto* p = static_cast<Unit*>(mem::heap_alloc(cap * sizeof(Unit)));
    std::copy(p_, p_ + n_, p);
    if (p_ != inline_) mem::heap_free(p_);
    p_ = p;
    cap_ = cap;
  }

  Unit inline_[Inline];
  Unit* p_ = inline_;
  std::size_t n_ = 0;
  std::size_t cap_ = Inline;
};

}  // namespace quarnel::convert
