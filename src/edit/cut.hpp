// Cutting pieces out of a handle's text into new handles, and inserting and
// deleting characters in place.
#pragma once

#include <algorithm>

#include "core/handle.hpp"

namespace quarnel::edit {

using core::ARec;
using core::WRec;

// The piece of `text` that a cut of `count` characters from 1-based `start`
// gives: a negative count takes the rest; a start past the end or a count
// below 1 gives nothing; a start before the first character is moved to it
// without shortening the count.
template <class Char>
std::basic_string_view<Char> cut_text(std::basic_string_view<Char> text, long long start,
                                      long long count) noexcept {
  const auto length = static_cast<long long>(text.size());
  if (count < 0) count = length < start ? 0 : length - start + 1;
  if (start > length || count < 1) return {};
  start = std::max(start, 1LL);
  return text.substr(static_cast<std::size_t>(start - 1),
                     static_cast<std::size_t>(std::min(count, length - start + 1)));
}

// New handles (base 1) holding a copy of the piece.
ARec* substring(const ARec& h, int position, int count);
WRec* substring(const WRec& h, int position, int count);
ARec* left(const ARec& h, int count);
WRec* left(const WRec& h, int count);
ARec* right(const ARec& h, int count);
WRec* right(const WRec& h, int count);

// In place; both return the new length. `source` may be `h` itself.
int insert(ARec& h, const ARec& source, int position);
int insert(WRec& h, const WRec& source, int position);
int erase(ARec& h, int position, int count);
int erase(WRec& h, int position, int count);

}  // namespace quarnel::edit
