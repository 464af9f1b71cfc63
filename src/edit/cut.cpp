#include "edit/cut.hpp"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "edit/position.hpp"

namespace quarnel::edit {
namespace {

using core::FamilyOf;
using core::view_of;

// Copies the pieces, in order, into one new payload.
template <class Str, class View>
Str joined(std::initializer_list<View> pieces) {
  std::size_t total = 0;
  for (View p : pieces) total += p.size();
  Str s(total);
  std::size_t at = 0;
  for (View p : pieces) {
    if (!p.empty()) std::memcpy(s.data() + at, p.data(), p.size() * sizeof(p[0]));
    at += p.size();
  }
  return s;
}

template <class Rec>
Rec* new_piece(const Rec& h, long long start, long long count) {
  using Str = typename FamilyOf<Rec>::Str;
  return core::new_handle(Str::copy(
      view_of(h).substr(static_cast<std::size_t>(start), static_cast<std::size_t>(count))));
}

template <class Rec>
Rec* substring_of(const Rec& h, int position, int count) {
  using Str = typename FamilyOf<Rec>::Str;
  return core::new_handle(
      Str::copy(cut_text(view_of(h), one_based(position, h.charIndexBase), count)));
}

template <class Rec>
Rec* left_of(const Rec& h, int count) {
  const long long length = static_cast<long long>(core::length_of(h));
  return new_piece(h, 0, std::clamp<long long>(count, 0, length));
}

template <class Rec>
Rec* right_of(const Rec& h, int count) {
  const long long length = static_cast<long long>(core::length_of(h));
  const long long n = std::clamp<long long>(count, 0, length);
  return new_piece(h, length - n, n);
}

template <class Rec>
int insert_into(Rec& h, const Rec& source, int position) {
  using Str = typename FamilyOf<Rec>::Str;
  const auto text = view_of(h), piece = view_of(source);
  if (!piece.empty()) {
    const long long s = one_based(position, h.charIndexBase);
    const auto at = static_cast<std::size_t>(std::clamp<long long>(s - 1, 0, text.size()));
    // Built in full before it replaces the payload, so `source` may be h.
    core::install(h, joined<Str>({text.substr(0, at), piece, text.substr(at)}));
  }
  return static_cast<int>(core::length_of(h));
}

template <class Rec>
int erase_from(Rec& h, int position, int count) {
  using Str = typename FamilyOf<Rec>::Str;
  const auto text = view_of(h);
  const long long length = static_cast<long long>(text.size());
  const long long s = one_based(position, h.charIndexBase);
  if (s >= 1 && s <= length && count > 0) {
    const auto at = static_cast<std::size_t>(s - 1);
    const auto n = static_cast<std::size_t>(std::min<long long>(count, length - s + 1));
    // A fresh payload even when this one is private: a shared A payload
    // must keep its text for the other handles.
    core::install(h, joined<Str>({text.substr(0, at), text.substr(at + n)}));
  }
  return static_cast<int>(core::length_of(h));
}

}  // namespace

ARec* substring(const ARec& h, int position, int count) { return substring_of(h, position, count); }
WRec* substring(const WRec& h, int position, int count) { return substring_of(h, position, count); }
ARec* left(const ARec& h, int count) { return left_of(h, count); }
WRec* left(const WRec& h, int count) { return left_of(h, count); }
ARec* right(const ARec& h, int count) { return right_of(h, count); }
WRec* right(const WRec& h, int count) { return right_of(h, count); }
int insert(ARec& h, const ARec& source, int position) { return insert_into(h, source, position); }
int insert(WRec& h, const WRec& source, int position) { return insert_into(h, source, position); }
int erase(ARec& h, int position, int count) { return erase_from(h, position, count); }
int erase(WRec& h, int position, int count) { return erase_from(h, position, count); }

}  // namespace quarnel::edit
