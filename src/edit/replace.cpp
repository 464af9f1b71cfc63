// Each pass finds the first occurrence of the search text in the working
// text, from its start, and puts the replacement in its place; the passes end
// when no occurrence is left. Done literally that costs a search and a copy
// of the whole text per occurrence. Two facts make it cheap:
//
//  - After a replacement at position p, no occurrence starts before
//    p - k + 1 (k the search length): one that did would end before p and
//    would have been there, and found first, in the previous pass too. So
//    everything before p - k + 1 is final and is never looked at again.
//  - When the replacement does not contain the search text, no occurrence
//    lies wholly inside the replacement just made. The next one either
//    starts in the k - 1 units before it, or starts so late that it reaches
//    past its end.
//
// The working text is therefore kept as a gap buffer: the final part at the
// front of one block, the part still to search at the back, free room in
// between. Each replacement moves the searched units to the front, drops the
// occurrence, writes the replacement at the start of the back part, and
// moves the last k - 1 final units back again. Each pass then searches only
// a window of about 2k units, and at memory speed from the replacement's
// tail onwards; ordinary texts take time linear in their length.
//
// Passes that never end are cut short with a documented answer: if the
// replacement contains the search text, or the passes re-read far more than
// the text holds (cascades that multiply the text, or quadratically many
// passes), the result is one left-to-right pass over the original text that
// replaces each occurrence once.
#include "edit/replace.hpp"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>

#include "core/access.hpp"
#include "core/memory.hpp"
#include "edit/finder.hpp"

namespace quarnel::edit {
namespace {

template <class Char>
using View = std::basic_string_view<Char>;

// The longest text a handle of the family can hold.
template <class Char>
constexpr std::size_t kMaxUnits = sizeof(Char) == 1 ? core::kMaxLengthA : core::kMaxLengthW;

// How much re-reading the passes may do before they are cut short: 32 units
// per unit of the text plus a fixed allowance, where a pass without any
// cascade re-reads at most about 3k for the k units it removes.
constexpr std::uint64_t kReadsPerUnit = 32;
constexpr std::uint64_t kFixedReads = std::uint64_t{1} << 22;
constexpr std::uint64_t kReadsPerPass = 16;  // for the calls themselves

template <class Char>
void put(Char* at, View<Char> text) noexcept {
  core::copy_units(at, text.data(), text.size());
}

// One left-to-right pass over the original: each occurrence, found without
// overlap, is replaced once.
template <class Str, class Char = typename Str::Char>
Str single_pass(View<Char> text, View<Char> search, View<Char> replacement) {
  const std::size_t k = search.size();
  std::uint64_t count = 0;
  for (std::size_t at = 0, hit; (hit = find(text.substr(at), search)) != npos; at += hit + k)
    ++count;
  const std::uint64_t size = text.size() - count * k + count * replacement.size();
  if (size > kMaxUnits<Char>) throw std::bad_alloc();
  Str s(static_cast<std::size_t>(size));
  Char* out = s.data();
  for (std::size_t at = 0;;) {
    const std::size_t hit = find(text.substr(at), search);
    const View<Char> kept = text.substr(at, hit);
    put(out, kept);
    out += kept.size();
    if (hit == npos) break;
    put(out, replacement);
    out += replacement.size();
    at += hit + k;
  }
  return s;
}

// The working text of the passes: `done` units at the front of the block
// that no later pass will touch, the units still to search at its back.
template <class Char>
class WorkingText {
 public:
  WorkingText(View<Char> text, std::size_t room) { reserve(text.size() + room, {}, text); }
  WorkingText(const WorkingText&) = delete;
  WorkingText& operator=(const WorkingText&) = delete;
  ~WorkingText() { mem::heap_free(block_); }

  std::size_t done() const noexcept { return done_; }
  View<Char> rest() const noexcept { return {block_ + rest_at_, capacity_ - rest_at_}; }

  // The first n units still to search become final.
  void keep(std::size_t n) noexcept {
    std::memmove(block_ + done_, block_ + rest_at_, n * sizeof(Char));
    done_ += n;
    rest_at_ += n;
  }
  // The last n final units go back to be searched again.
  void take_back(std::size_t n) noexcept {
    done_ -= n;
    rest_at_ -= n;
    std::memmove(block_ + rest_at_, block_ + done_, n * sizeof(Char));
  }
  // Replaces the first n units still to search by `text`. False, with
  // nothing changed, when the working text would outgrow any handle.
  bool replace_front(std::size_t n, View<Char> text) {
    if (text.size() > n && size() - n > kMaxUnits<Char> - text.size()) return false;
    rest_at_ += n;
    if (rest_at_ - done_ < text.size()) {
      const std::size_t need = size() + text.size();
      reserve(std::max(need + need / 2, std::size_t{64}), {block_, done_}, rest());
    }
    rest_at_ -= text.size();
    put(block_ + rest_at_, text);
    return true;
  }

  template <class Str>
  Str text() const {
    Str s(size());
    put(s.data(), View<Char>(block_, done_));
    put(s.data() + done_, rest());
    return s;
  }

 private:
  std::size_t size() const noexcept { return done_ + (capacity_ - rest_at_); }

  // Moves to a block of `capacity` units (within what a handle can hold, and
  // never less than is kept) holding `front` and `back`.
  void reserve(std::size_t capacity, View<Char> front, View<Char> back) {
    capacity = std::max(std::min(capacity, kMaxUnits<Char>), front.size() + back.size());
    auto* block = static_cast<Char*>(mem::heap_alloc(capacity * sizeof(Char)));
    put(block, front);
    put(block + capacity - back.size(), back);
    mem::heap_free(block_);
    block_ = block;
    capacity_ = capacity;
    done_ = front.size();
    rest_at_ = capacity - back.size();
  }

  Char* block_ = nullptr;
  std::size_t capacity_ = 0;
  std::size_t done_ = 0;
  std::size_t rest_at_ = 0;
};

// The places of the occurrences, found once, in a block of the library's
// heap that doubles as it fills.
class Hits {
 public:
  Hits() = default;
  Hits(const Hits&) = delete;
  Hits& operator=(const Hits&) = delete;
  ~Hits() { mem::heap_free(at_); }

  void push(std::size_t at) {
    if (size_ == capacity_) {
      const std::size_t capacity = std::max<std::size_t>(2 * capacity_, 256);
      auto* block = static_cast<std::size_t*>(mem::heap_alloc(capacity * sizeof(std::size_t)));
      if (size_) std::memcpy(block, at_, size_ * sizeof(std::size_t));
      mem::heap_free(at_);
      at_ = block;
      capacity_ = capacity;
    }
    at_[size_++] = at;
  }
  std::size_t size() const noexcept { return size_; }
  std::size_t operator[](std::size_t i) const noexcept { return at_[i]; }

 private:
  std::size_t* at_ = nullptr;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// True when `search` occurs at one of the first `starts` places of the text
// `left` followed by `right`.
template <class Char>
bool occurs_across(View<Char> left, View<Char> right, View<Char> search,
                   std::size_t starts) noexcept {
  // Unit by unit: the texts are short, and memcmp calls would cost more.
  const std::size_t k = search.size(), total = left.size() + right.size();
  auto unit = [&](std::size_t i) { return i < left.size() ? left[i] : right[i - left.size()]; };
  for (std::size_t s = 0; s < starts && s + k <= total; ++s) {
    std::size_t j = 0;
    while (j < k && unit(s + j) == search[j]) ++j;
    if (j == k) return true;
  }
  return false;
}

// The passes give the same text as one left-to-right pass exactly when no
// replacement forms a new occurrence with the units around it. For short
// search and replacement texts that is checked at each replacement, on the
// result as it is written: no occurrence may start in the k - 1 units before
// the replacement or in the replacement (it would have to run on into the
// units after it). The occurrences are found first, which sizes the result;
// it is then written straight into its payload. False (with `result`
// untouched) as soon as a replacement would cascade; the passes then run.
constexpr std::size_t kShort = 64;

template <class Str, class Char = typename Str::Char>
bool replace_without_cascades(View<Char> text, View<Char> search, View<Char> replacement,
                              std::size_t first, Str& result) {
  const std::size_t n = text.size(), k = search.size(), r = replacement.size();
  Hits hits;
  for (std::size_t at = first; at != npos;) {
    hits.push(at);
    const std::size_t next = find(text.substr(at + k), search);
    at = next == npos ? npos : at + k + next;
  }
  const std::uint64_t count = hits.size();
  const std::uint64_t size = n - count * k + count * r;
  if (size > kMaxUnits<Char>) return false;
  Str s(static_cast<std::size_t>(size));
  Char* const out = s.data();
  std::size_t written = 0, at = 0;
  for (std::size_t i = 0; i < hits.size(); ++i) {
    const std::size_t hit = hits[i];
    put(out + written, text.substr(at, hit - at));
    written += hit - at;
    put(out + written, replacement);
    at = hit + k;
    const std::size_t before = std::min(k - 1, written);
    const View<Char> left(out + written - before, before + r);
    if (occurs_across(left, text.substr(at, k - 1), search, left.size())) return false;
    written += r;
  }
  put(out + written, text.substr(at));
  result = std::move(s);
  return true;
}

template <class Str, class Char = typename Str::Char>
Str replace_all(View<Char> text, View<Char> search, View<Char> replacement) {
  const std::size_t k = search.size(), r = replacement.size();
  std::size_t hit = find(text, search);
  if (hit == npos) return Str::copy(text);
  // Every pass would leave an occurrence inside the replacement.
  if (find(replacement, search) != npos) return single_pass<Str>(text, search, replacement);
  // The first replacement alone would outgrow any handle (the host's
  // replacement text may itself be longer than any handle).
  if (r > k && (r > kMaxUnits<Char> || text.size() - k > kMaxUnits<Char> - r))
    return single_pass<Str>(text, search, replacement);
  if (Str result; k <= kShort && r <= kShort &&
                  replace_without_cascades(text, search, replacement, hit, result))
    return result;

  std::uint64_t allowance = kReadsPerUnit * text.size() + kFixedReads;
  // Room for a few growing replacements; more is made as needed.
  WorkingText<Char> work(text, r > k ? std::min(r - k, kMaxUnits<Char>) + text.size() / 8 : 0);
  for (;;) {
    work.keep(hit);
    if (!work.replace_front(k, replacement)) return single_pass<Str>(text, search, replacement);
    const std::size_t back = std::min(k - 1, work.done());
    work.take_back(back);
    const std::uint64_t reads = back + (k - 1) + std::min(r, k - 1) + kReadsPerPass;
    if (reads > allowance) return single_pass<Str>(text, search, replacement);
    allowance -= reads;

    // An occurrence that starts among the units taken back, or else one
    // that starts late enough in the replacement to reach past it.
    const View<Char> rest = work.rest();
    hit = back ? find(rest.substr(0, back + k - 1), search) : npos;
    if (hit == npos) {
      const std::size_t from = back + (r >= k ? r - k + 1 : 0);
      hit = find(rest.substr(from), search);
      if (hit == npos) break;
      hit += from;
    }
  }
  return work.template text<Str>();
}

template <class Rec, class Char>
Rec* replaced_in(const Rec& h, const Char* search, const Char* replacement) {
  using Str = typename core::FamilyOf<Rec>::Str;
  const View<Char> text = core::view_of(h);
  const View<Char> s = search ? View<Char>(search) : View<Char>();
  const View<Char> r = replacement ? View<Char>(replacement) : View<Char>();
  return core::new_handle(s.empty() ? Str::copy(text) : replace_all<Str>(text, s, r));
}

}  // namespace

core::ARec* replaced(const core::ARec& h, const char* search, const char* replacement) {
  return replaced_in(h, search, replacement);
}

core::WRec* replaced(const core::WRec& h, const core::wchar* search,
                     const core::wchar* replacement) {
  return replaced_in(h, search, replacement);
}

}  // namespace quarnel::edit
