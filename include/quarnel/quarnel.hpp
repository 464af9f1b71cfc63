// quarnel.hpp - Quarnel for C++ hosts: a string type that owns one handle,
// and the list of them that the splitting functions fill.
//
//     quarnel::AString name = "port";
//     name += " = 8080";
//     quarnel::AStringList fields;
//     fields.split(name, '=', true);              // "port", "8080"
//     std::cout << fields.at(1) << '\n';
//
// AString (byte text in the ANSI code page) and WString (UTF-16) behave like
// std::string: they are copied, moved, compared, ordered, hashed and
// printed, convert to std::basic_string_view, and offer size(), empty(),
// data(), find(), rfind(), substr(), starts_with(), ends_with(), contains().
// Copies of an AString share its text until one of them changes (the
// library's copy-on-write), so copying is cheap.
//
// Positions. This C++ layer counts positions from 0 and answers "not found"
// with npos, as the standard library does. The exported functions count
// from each handle's index base (1 unless the host changes it) and answer
// 0 or -1; the handle's base plays no part here.
//
// Order. Comparison is the library's case-sensitive one: AString compares
// unsigned bytes over the whole length (as LStrCompareA), WString unsigned
// UTF-16 units up to each side's first zero unit (as LStrCompareW), and ==,
// <=> and std::hash all follow that rule.
//
// Failures. Every member throws on failure, whatever the thread's failure
// mode: quarnel::ERangeError, quarnel::EConvertError, quarnel::EInvalidHandle
// (quarnel/errors.hpp), std::bad_alloc, std::length_error for a size beyond
// the longest text, std::out_of_range for a position past the end. A
// wrapper never holds a null handle that a later call would dereference.
// (On Windows, a thread in raise mode gets the library's own failures as
// structured exceptions; in record mode, these C++ exceptions.)
//
// Moving. A moved-from string is a valid empty string with a handle of its
// own, usable with every member and every export; a list whose wrappers were
// moved out can be split into again.
//
// Appending. An AString whose text no other handle shares appends into its
// block's spare room inline, without a call; only when the block is full or
// shared does append() call the library, which grows the block by half
// again. A run of appends therefore costs about what std::string's does.
// WString appends always call the library.
//
// Layout. The classes are also the structs of quarnel.h: their fields, in
// order, are part of the library's interface (the library reads and writes
// them in place). Wrappers and the list's storage come from the heap the
// library shares with its hosts (LStrHeapAlloc / LStrHeapFree). The names
// CLAnsiStr, CLWideStr, CLAnsiStrList and CLWideStrList remain.
#ifndef QUARNEL_QUARNEL_HPP
#define QUARNEL_QUARNEL_HPP

#if !defined(__cplusplus) || (defined(_MSVC_LANG) ? _MSVC_LANG : __cplusplus) < 201703L
#error "quarnel.hpp needs C++17 or later: compile with -std=c++17 (or /std:c++17)"
#endif

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#if __has_include(<compare>)
#include <compare>
#endif
#if __has_include(<version>)
#include <version>
#endif
#if defined(__cpp_lib_format) && __has_include(<format>)
#include <format>
#endif
#if defined(QUARNEL_WITH_FMT)
#include <fmt/format.h>
#endif

#include "quarnel/detail/support.hpp"
#include "quarnel/detail/wrapper_list.hpp"
#include "quarnel/errors.hpp"
#include "quarnel/quarnel.h"

// A UTF-16 literal of the library's wide type on every platform:
// QUARNEL_W("abc") is L"abc" on Windows, u"abc" elsewhere.
#if defined(_WIN32)
#define QUARNEL_W(text) L##text
#else
#define QUARNEL_W(text) u##text
#endif

#if defined(__cpp_impl_three_way_comparison) && defined(__cpp_lib_three_way_comparison)
#define QUARNEL_HAS_SPACESHIP 1
#endif

namespace quarnel {

// One handle and whether to destroy it when the wrapper ends.
template <class Rec>
class LStrWrapper {
  using Ops = detail::HandleOps<Rec>;

 public:
  using Char = typename Ops::Char;
  using View = std::basic_string_view<Char>;
  using String = std::basic_string<Char>;
  using traits_type = std::char_traits<Char>;
  using value_type = Char;
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;
  using const_reference = const Char&;
  using const_pointer = const Char*;
  using const_iterator = const Char*;
  using iterator = const_iterator;
  static constexpr size_type npos = View::npos;

  Rec* handle;
  bool owned;

  // ---- Making ----------------------------------------------------------
  LStrWrapper() : handle(Ops::alloc()), owned(true) {}
  // A null text is empty.
  LStrWrapper(const Char* text) : handle(Ops::from(text, -1)), owned(true) {}
  LStrWrapper(const String& text) : LStrWrapper(View(text)) {}
  explicit LStrWrapper(View text) : handle(from_view(text)), owned(true) {}
  // One character, or count copies of it.
  template <class C, std::enable_if_t<std::is_same_v<C, Char>, int> = 0>
  explicit LStrWrapper(C c) : LStrWrapper(View(&c, 1)) {}
  LStrWrapper(size_type count, Char c) : LStrWrapper() { resize(count, c); }
  // Wraps an existing handle, for example the result of an exported
  // function; with take_ownership false the wrapper never destroys it. A
  // null handle (a call that failed in record mode) is refused: the
  // recorded failure is thrown.
  LStrWrapper(Rec* h, bool take_ownership) : handle(detail::made(h)), owned(take_ownership) {}

  // The text of a number: integers in decimal, doubles as LStrAllocFromDoubleA
  // writes them.
  template <class T, std::enable_if_t<std::is_arithmetic_v<T>, int> = 0>
  static LStrWrapper from_number(T value) {
    if constexpr (std::is_floating_point_v<T>)
      return LStrWrapper(Ops::from_double(static_cast<double>(value)), true);
    else if constexpr (std::is_signed_v<T>)
      return LStrWrapper(Ops::from_int(static_cast<std::int64_t>(value)), true);
    else
      return LStrWrapper(Ops::from_uint(static_cast<std::uint64_t>(value)), true);
  }

  // ---- Copying, moving, assigning ----------------------------------------
  // A copy is a new handle with the same text (A: sharing it until either
  // changes).
  LStrWrapper(const LStrWrapper& other)
      : handle(other.handle ? Ops::clone(other.handle) : Ops::alloc()), owned(true) {}
  // Takes the handle; the source gets a fresh empty one. Only if memory runs
  // out for that empty handle is the source left with none, which every
  // member still treats as an empty string.
  LStrWrapper(LStrWrapper&& other) noexcept : handle(other.handle), owned(other.owned) {
    other.handle = nullptr;
    other.handle = fresh_or_null();
    other.owned = true;
  }
  LStrWrapper& operator=(const LStrWrapper& other) {
    if (this == &other) return *this;
    if (!other.handle) return assign(View());
    Rec* h = own_handle();
    if (Ops::assign(h, other.handle) == 0 && !other.empty()) detail::throw_recorded_failure();
    return *this;
  }
  // Swaps the handles, then empties the source.
  LStrWrapper& operator=(LStrWrapper&& other) noexcept {
    if (this != &other) {
      swap(other);
      other.clear_or_detach();
    }
    return *this;
  }
  LStrWrapper& operator=(const Char* text) { return assign(View(text ? text : empty_text())); }
  LStrWrapper& operator=(const String& text) { return assign(View(text)); }
  LStrWrapper& operator=(View text) { return assign(text); }
  template <class C, std::enable_if_t<std::is_same_v<C, Char>, int> = 0>
  LStrWrapper& operator=(C c) {
    return assign(View(&c, 1));
  }
  // An owned empty handle with the default base is kept for the next
  // moved-from wrapper of this thread, so moving (a sort, a vector growing)
  // does not make and destroy a handle each time.
  ~LStrWrapper() {
    if (owned && handle && !handle->payload && handle->charIndexBase == 1) {
      Rec*& spare = detail::spare_handle<Rec>();
      if (!spare) {
        spare = std::exchange(handle, nullptr);
        return;
      }
    }
    reset();
  }

  // Ends the wrapper: an owned handle is destroyed; the wrapper lets go of it.
  void reset() noexcept {
    if (owned && handle) Ops::destroy(handle);
    handle = nullptr;
  }
  void swap(LStrWrapper& other) noexcept {
    std::swap(handle, other.handle);
    std::swap(owned, other.owned);
  }
  friend void swap(LStrWrapper& a, LStrWrapper& b) noexcept { a.swap(b); }

  // Replaces the text. A wrapper without a handle gets one first.
  LStrWrapper& assign(View text) {
    const int n = checked_length(text.size());
    Rec* h = own_handle();
    if (Ops::assign(h, text.data(), n) == 0 && n > 0) detail::throw_recorded_failure();
    return *this;
  }

  // ---- Reading ---------------------------------------------------------
  // The text, zero-terminated; valid until the wrapper next changes.
  const Char* c_str() const noexcept { return handle ? Ops::text(handle) : empty_text(); }
  const Char* data() const noexcept { return c_str(); }
  size_type size() const noexcept {
    return handle ? static_cast<size_type>(Ops::length(handle)) : 0;
  }
  // The length as the exports count it (an int), kept for existing hosts;
  // size() is the std::size_t form.
  int length() const noexcept { return handle ? Ops::length(handle) : 0; }
  bool empty() const noexcept { return size() == 0; }
  static constexpr size_type max_size() noexcept { return Ops::kMaxLength; }
  View view() const noexcept { return View(c_str(), size()); }
  operator View() const noexcept { return view(); }
  String str() const { return String(view()); }

  const_iterator begin() const noexcept { return c_str(); }
  const_iterator end() const noexcept { return c_str() + size(); }
  const_iterator cbegin() const noexcept { return begin(); }
  const_iterator cend() const noexcept { return end(); }

  // pos counts from 0; at() refuses a position past the end with
  // std::out_of_range.
  template <class I, std::enable_if_t<std::is_integral_v<I>, int> = 0>
  Char operator[](I pos) const noexcept {
    return c_str()[pos];
  }
  template <class I, std::enable_if_t<std::is_integral_v<I>, int> = 0>
  Char at(I pos) const {
    if (!detail::index_below(pos, size()))
      throw std::out_of_range("quarnel: position past the end");
    return c_str()[pos];
  }
  Char front() const { return at(0); }
  Char back() const { return at(size() - 1); }

  // ---- Searching (positions from 0; npos when absent) ----------------------
  size_type find(View pattern, size_type pos = 0) const noexcept {
    return view().find(pattern, pos);
  }
  size_type find(Char c, size_type pos = 0) const noexcept { return view().find(c, pos); }
  size_type rfind(View pattern, size_type pos = npos) const noexcept {
    return view().rfind(pattern, pos);
  }
  size_type rfind(Char c, size_type pos = npos) const noexcept { return view().rfind(c, pos); }
  bool starts_with(View prefix) const noexcept { return view().substr(0, prefix.size()) == prefix; }
  bool starts_with(Char c) const noexcept { return !empty() && c_str()[0] == c; }
  bool ends_with(View suffix) const noexcept {
    return size() >= suffix.size() && view().substr(size() - suffix.size()) == suffix;
  }
  bool ends_with(Char c) const noexcept { return !empty() && c_str()[size() - 1] == c; }
  bool contains(View pattern) const noexcept { return find(pattern) != npos; }
  bool contains(Char c) const noexcept { return find(c) != npos; }

  // At most count characters from pos, as std::string::substr:
  // std::out_of_range when pos is past the end.
  LStrWrapper substr(size_type pos = 0, size_type count = npos) const {
    if (pos > size()) throw std::out_of_range("quarnel: substr position past the end");
    return LStrWrapper(view().substr(pos, count));
  }

  // ---- Changing ----------------------------------------------------------
  LStrWrapper& append(View text) {
    if (text.empty() || (handle && Ops::append_in_place(handle, text.data(), text.size())))
      return *this;
    const int n = checked_length(text.size());
    if (Ops::append(own_handle(), text.data(), n) == 0) detail::throw_recorded_failure();
    return *this;
  }
  LStrWrapper& append(size_type count, Char c) {
    if (count > max_size() - size()) checked_length(npos);
    return resize(size() + count, c);
  }
  void push_back(Char c) { append(View(&c, 1)); }
  LStrWrapper& operator+=(View text) { return append(text); }
  LStrWrapper& operator+=(const LStrWrapper& text) { return append(text.view()); }
  LStrWrapper& operator+=(const Char* text) { return append(View(text ? text : empty_text())); }
  LStrWrapper& operator+=(const String& text) { return append(View(text)); }
  LStrWrapper& operator+=(Char c) { return append(View(&c, 1)); }

  // Sets the length; added characters are c.
  LStrWrapper& resize(size_type count, Char c = Char()) {
    const size_type old = size();
    const int n = checked_length(count);
    Rec* h = own_handle();
    if (Ops::resize(h, n) != n) detail::throw_recorded_failure();
    if (count > old) traits_type::assign(const_cast<Char*>(Ops::text(h)) + old, count - old, c);
    return *this;
  }
  void clear() { resize(0); }

  // Every occurrence of search replaced by replacement, by the library's
  // rule (LStrReplaceA / LStrReplaceW: passes repeat until none is left, so
  // an occurrence that a replacement forms is replaced too).
  LStrWrapper replaced(const Char* search, const Char* replacement) const {
    return LStrWrapper(Ops::replaced(read_handle(), search, replacement), true);
  }
  // The text read as a decimal or hexadecimal integer (LStrToIntA /
  // LStrToIntW); quarnel::EConvertError when it is not one.
  int to_int() const {
    const int value = Ops::to_int(read_handle());
    if (value == 0) detail::throw_if_recorded();
    return value;
  }

  // ---- Comparing (the library's case-sensitive order) ----------------------
  // Compares as LStrCompareA / LStrCompareW would: -1, 0 or 1.
  static int compare(View a, View b) noexcept {
    if constexpr (!std::is_same_v<Char, char>) {
      a = a.substr(0, a.find(Char()));
      b = b.substr(0, b.find(Char()));
    }
    const int c = a.compare(b);
    return (c > 0) - (c < 0);
  }
  int compare(View other) const noexcept { return compare(view(), other); }

  // Text of the same character type: a View, a std::basic_string, a literal.
  template <class T>
  using if_text =
      std::enable_if_t<std::is_convertible_v<const T&, View> && !std::is_base_of_v<LStrWrapper, T>,
                       int>;

  friend bool operator==(const LStrWrapper& a, const LStrWrapper& b) noexcept {
    return compare(a.view(), b.view()) == 0;
  }
  template <class T, if_text<T> = 0>
  friend bool operator==(const LStrWrapper& a, const T& b) noexcept {
    return compare(a.view(), View(b)) == 0;
  }
#if defined(QUARNEL_HAS_SPACESHIP)
  friend std::strong_ordering operator<=>(const LStrWrapper& a, const LStrWrapper& b) noexcept {
    return compare(a.view(), b.view()) <=> 0;
  }
  template <class T, if_text<T> = 0>
  friend std::strong_ordering operator<=>(const LStrWrapper& a, const T& b) noexcept {
    return compare(a.view(), View(b)) <=> 0;
  }
#else
  friend bool operator!=(const LStrWrapper& a, const LStrWrapper& b) noexcept { return !(a == b); }
  friend bool operator<(const LStrWrapper& a, const LStrWrapper& b) noexcept {
    return compare(a.view(), b.view()) < 0;
  }
  friend bool operator>(const LStrWrapper& a, const LStrWrapper& b) noexcept { return b < a; }
  friend bool operator<=(const LStrWrapper& a, const LStrWrapper& b) noexcept { return !(b < a); }
  friend bool operator>=(const LStrWrapper& a, const LStrWrapper& b) noexcept { return !(a < b); }
  template <class T, if_text<T> = 0>
  friend bool operator!=(const LStrWrapper& a, const T& b) noexcept {
    return !(a == b);
  }
  template <class T, if_text<T> = 0>
  friend bool operator==(const T& a, const LStrWrapper& b) noexcept {
    return b == a;
  }
  template <class T, if_text<T> = 0>
  friend bool operator!=(const T& a, const LStrWrapper& b) noexcept {
    return !(b == a);
  }
#endif

  // ---- Concatenating -------------------------------------------------------
  friend LStrWrapper operator+(const LStrWrapper& a, const LStrWrapper& b) {
    return joined(a.view(), b.view());
  }
  template <class T, if_text<T> = 0>
  friend LStrWrapper operator+(const LStrWrapper& a, const T& b) {
    return joined(a.view(), View(b));
  }
  template <class T, if_text<T> = 0>
  friend LStrWrapper operator+(const T& a, const LStrWrapper& b) {
    return joined(View(a), b.view());
  }
  friend LStrWrapper operator+(const LStrWrapper& a, Char b) {
    return joined(a.view(), View(&b, 1));
  }
  friend LStrWrapper operator+(Char a, const LStrWrapper& b) {
    return joined(View(&a, 1), b.view());
  }
  // Appending to a temporary reuses it.
  friend LStrWrapper operator+(LStrWrapper&& a, const LStrWrapper& b) {
    return std::move(a.append(b.view()));
  }
  template <class T, if_text<T> = 0>
  friend LStrWrapper operator+(LStrWrapper&& a, const T& b) {
    return std::move(a.append(View(b)));
  }
  friend LStrWrapper operator+(LStrWrapper&& a, Char b) { return std::move(a.append(View(&b, 1))); }

  // Deprecated name of reset(), kept for existing hosts.
  [[deprecated("use reset()")]] void End() noexcept { reset(); }

 private:
  static const Char* empty_text() noexcept { return Ops::kEmpty; }
  static int checked_length(size_type n) {
    return detail::checked_int(n, Ops::kMaxLength, "quarnel: text longer than a handle can hold");
  }
  static size_type checked_length_size(size_type n) {
    return static_cast<size_type>(checked_length(n));
  }
  static Rec* from_view(View text) { return Ops::from(text.data(), checked_length(text.size())); }
  static LStrWrapper joined(View a, View b) {
    if (b.size() > max_size() - checked_length_size(a.size())) checked_length(npos);
    LStrWrapper s(a);
    s.append(b);
    return s;
  }
  static Rec* fresh_or_null() noexcept {
    if (Rec* spare = std::exchange(detail::spare_handle<Rec>(), nullptr)) return spare;
    try {
      return Ops::alloc();
    } catch (...) {
      return nullptr;
    }
  }
  // The handle to change: a wrapper without one gets a new empty handle.
  Rec* own_handle() {
    if (!handle) {
      handle = Ops::alloc();
      owned = true;
    }
    return handle;
  }
  // The handle to pass to a reading export.
  Rec* read_handle() const { return const_cast<LStrWrapper*>(this)->own_handle(); }
  // After a move: an owned handle is emptied and kept; a borrowed one (which
  // belongs to someone else) is let go for a fresh handle.
  void clear_or_detach() noexcept {
    if (owned && handle) {
      // Already empty (a moved-from wrapper, as sorting leaves them): no call.
      if (!handle->payload) return;
      try {
        if (Ops::resize(handle, 0) == 0) return;
      } catch (...) {
      }
    }
    reset();
    handle = fresh_or_null();
    owned = true;
  }
};

template <class Rec>
std::ostream& operator<<(std::ostream& out, const LStrWrapper<Rec>& s) {
  if constexpr (std::is_same_v<typename LStrWrapper<Rec>::Char, char>) {
    return out << s.view();
  } else {
    std::string utf8;
    detail::append_utf8(utf8, s.view());
    return out << utf8;
  }
}

// A growable list of wrappers, filled by the splitting functions. It is a
// random-access range of the fields of the last split.
template <class Rec>
class LStrWrapperList {
  using Ops = detail::HandleOps<Rec>;

 public:
  using Wrapper = LStrWrapper<Rec>;
  using Char = typename Wrapper::Char;
  using View = typename Wrapper::View;
  using value_type = Wrapper;
  using size_type = std::size_t;
  using difference_type = std::ptrdiff_t;
  using reference = Wrapper&;
  using const_reference = const Wrapper&;

  std::int32_t growBy;
  std::int32_t capacity;
  std::int32_t count;
  Wrapper** items;

  // growBy slots are added whenever the list is full (at least 1); a step
  // beyond INT32_MAX is refused with std::length_error.
  template <class I = std::int32_t, std::enable_if_t<std::is_integral_v<I>, int> = 0>
  explicit LStrWrapperList(I grow_by = 16)
      : growBy(grow_by < 1 ? 1 : checked_step(grow_by)), capacity(0), count(0), items(nullptr) {}
  LStrWrapperList(const LStrWrapperList&) = delete;
  LStrWrapperList& operator=(const LStrWrapperList&) = delete;
  LStrWrapperList(LStrWrapperList&& other) noexcept
      : growBy(other.growBy),
        capacity(std::exchange(other.capacity, 0)),
        count(std::exchange(other.count, 0)),
        items(std::exchange(other.items, nullptr)) {}
  LStrWrapperList& operator=(LStrWrapperList&& other) noexcept {
    if (this != &other) {
      reset();
      growBy = other.growBy;
      capacity = std::exchange(other.capacity, 0);
      count = std::exchange(other.count, 0);
      items = std::exchange(other.items, nullptr);
    }
    return *this;
  }
  ~LStrWrapperList() { reset(); }

  // Forgets the fields and keeps every wrapper for reuse.
  void clear() noexcept { count = 0; }
  // Ends and frees every wrapper and the array, as LStrListEndA/W do.
  void reset() noexcept { Ops::end_list(this); }

  // Adds growBy slots, each a new wrapper around a fresh empty handle. If
  // memory runs out part-way, the slots made so far stay in the list.
  void grow() { detail::grow_list<Ops>(*this); }

  // Stores a zero-terminated text in the next slot, growing when full. The
  // slot keeps its handle (and that handle's index base).
  void append(const Char* text) {
    Ops::assign(&detail::next_slot<Ops>(*this), text);
    ++count;
  }

  // ---- Splitting (each first clears the list) ------------------------------
  // At every separator; returns the number of fields. With trim, characters
  // of code 0x20 and below leave both ends of each field.
  template <class W, std::enable_if_t<std::is_same_v<W, Wrapper>, int> = 0>
  size_type split(const W& line, Char separator, bool trim = false) {
    splitting_by(line, separator, trim);
    return size();
  }
  size_type split(View line, Char separator, bool trim = false) {
    return split(Wrapper(line), separator, trim);
  }
  // "name<separator>value": true with the name and value in slots 0 and 1.
  bool split_name_value(const Wrapper& text, Char separator, bool trim = true) {
    return name_value(text.c_str(), separator, trim);
  }

  // ---- Access ------------------------------------------------------------
  size_type size() const noexcept { return count > 0 ? static_cast<size_type>(count) : 0; }
  bool empty() const noexcept { return count <= 0; }
  template <class I, std::enable_if_t<std::is_integral_v<I>, int> = 0>
  Wrapper& operator[](I i) noexcept {
    return *items[i];
  }
  template <class I, std::enable_if_t<std::is_integral_v<I>, int> = 0>
  const Wrapper& operator[](I i) const noexcept {
    return *items[i];
  }
  template <class I, std::enable_if_t<std::is_integral_v<I>, int> = 0>
  Wrapper& at(I i) {
    return *items[checked_index(i)];
  }
  template <class I, std::enable_if_t<std::is_integral_v<I>, int> = 0>
  const Wrapper& at(I i) const {
    return *items[checked_index(i)];
  }
  Wrapper& front() { return at(0); }
  const Wrapper& front() const { return at(0); }
  Wrapper& back() { return at(size() - 1); }
  const Wrapper& back() const { return at(size() - 1); }

  // Random access over the fields of the last split.
  template <bool Const>
  class Iter {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using iterator_concept = std::random_access_iterator_tag;
    using value_type = Wrapper;
    using difference_type = std::ptrdiff_t;
    using reference = std::conditional_t<Const, const Wrapper&, Wrapper&>;
    using pointer = std::conditional_t<Const, const Wrapper*, Wrapper*>;

    Iter() noexcept = default;
    explicit Iter(Wrapper* const* at) noexcept : at_(at) {}
    // iterator -> const_iterator
    template <bool C = Const, std::enable_if_t<C, int> = 0>
    Iter(const Iter<false>& other) noexcept : at_(other.base()) {}

    reference operator*() const noexcept { return **at_; }
    pointer operator->() const noexcept { return *at_; }
    reference operator[](difference_type n) const noexcept { return *at_[n]; }
    Iter& operator++() noexcept { return ++at_, *this; }
    Iter operator++(int) noexcept { return Iter(at_++); }
    Iter& operator--() noexcept { return --at_, *this; }
    Iter operator--(int) noexcept { return Iter(at_--); }
    Iter& operator+=(difference_type n) noexcept { return at_ += n, *this; }
    Iter& operator-=(difference_type n) noexcept { return at_ -= n, *this; }
    friend Iter operator+(Iter i, difference_type n) noexcept { return i += n; }
    friend Iter operator+(difference_type n, Iter i) noexcept { return i += n; }
    friend Iter operator-(Iter i, difference_type n) noexcept { return i -= n; }
    friend difference_type operator-(Iter a, Iter b) noexcept { return a.at_ - b.at_; }
    friend bool operator==(Iter a, Iter b) noexcept { return a.at_ == b.at_; }
    friend bool operator!=(Iter a, Iter b) noexcept { return a.at_ != b.at_; }
    friend bool operator<(Iter a, Iter b) noexcept { return a.at_ < b.at_; }
    friend bool operator>(Iter a, Iter b) noexcept { return a.at_ > b.at_; }
    friend bool operator<=(Iter a, Iter b) noexcept { return a.at_ <= b.at_; }
    friend bool operator>=(Iter a, Iter b) noexcept { return a.at_ >= b.at_; }
    Wrapper* const* base() const noexcept { return at_; }

   private:
    Wrapper* const* at_ = nullptr;
  };
  using iterator = Iter<false>;
  using const_iterator = Iter<true>;
  // The earlier name of the iterator type.
  using Iterator = iterator;

  iterator begin() noexcept { return iterator(items); }
  iterator end() noexcept { return iterator(items + size()); }
  const_iterator begin() const noexcept { return const_iterator(items); }
  const_iterator end() const noexcept { return const_iterator(items + size()); }
  const_iterator cbegin() const noexcept { return begin(); }
  const_iterator cend() const noexcept { return end(); }

  // Lists are equal when their fields are.
  friend bool operator==(const LStrWrapperList& a, const LStrWrapperList& b) noexcept {
    if (a.size() != b.size()) return false;
    for (size_type i = 0; i < a.size(); ++i)
      if (!(a[i] == b[i])) return false;
    return true;
  }
  friend bool operator!=(const LStrWrapperList& a, const LStrWrapperList& b) noexcept {
    return !(a == b);
  }

  [[deprecated("use clear() or reset()")]] void Clear(bool keep_storage) noexcept {
    keep_storage ? clear() : reset();
  }
  [[deprecated("use grow()")]] void Grow() { grow(); }
  [[deprecated("use append()")]] void Append(const Char* text) { append(text); }

 private:
  template <class I>
  static std::int32_t checked_step(I n) {
    return static_cast<std::int32_t>(
        detail::checked_int(n, 0x7FFFFFFF, "quarnel: list growth step too large"));
  }
  template <class I>
  size_type checked_index(I i) const {
    if (!detail::index_below(i, size()))
      throw std::out_of_range("quarnel: list index past the end");
    return static_cast<size_type>(i);
  }
  // A line with text always gives at least one field: none means the call
  // failed in record mode.
  void splitting_by(const Wrapper& line, char separator, bool trim) {
    if (SplitBySepExA(&line, separator, this, trim) == 0 && !line.empty())
      detail::throw_if_recorded();
  }
  void splitting_by(const Wrapper& line, LWideChar separator, bool trim) {
    if (SplitBySepExW(&line, separator, this, trim) == 0 && !line.empty())
      detail::throw_if_recorded();
  }
  bool name_value(const char* text, char separator, bool trim) {
    if (SplitNamedEquA(text, this, trim, separator)) return true;
    detail::throw_if_recorded();
    return false;
  }
  bool name_value(const LWideChar* text, LWideChar separator, bool trim) {
    if (SplitNamedEquW(text, this, trim, separator)) return true;
    detail::throw_if_recorded();
    return false;
  }
};

// ---- The names to use ------------------------------------------------------
using AString = LStrWrapper<LAnsiStrCore::LAnsiStrRec>;
using WString = LStrWrapper<LWideStrCore::LWideStrRec>;
using AStringList = LStrWrapperList<LAnsiStrCore::LAnsiStrRec>;
using WStringList = LStrWrapperList<LWideStrCore::LWideStrRec>;
using ::CLAnsiStr;
using ::CLAnsiStrList;
using ::CLWideStr;
using ::CLWideStrList;

// ---- Conversions -------------------------------------------------------------
// Between the families through the process's ANSI code page (characters it
// cannot represent become its default character).
inline WString to_wide(const AString& s) { return WString(LStrAllocCloneAW(s.handle), true); }
inline AString to_ansi(const WString& s) { return AString(LStrAllocCloneWA(s.handle), true); }

// UTF-8 <-> UTF-16, the same whatever the code page; ill-formed input becomes
// U+FFFD.
inline WString from_utf8(std::string_view text) {
  const std::basic_string<LWideChar> units = detail::utf16_from_utf8(text);
  return WString(std::basic_string_view<LWideChar>(units));
}
inline std::string to_utf8(std::basic_string_view<LWideChar> text) {
  std::string out;
  detail::append_utf8(out, text);
  return out;
}
inline std::string to_utf8(const WString& s) { return to_utf8(s.view()); }

}  // namespace quarnel

namespace std {
template <class Rec>
struct hash<quarnel::LStrWrapper<Rec>> {
  // Hashes what the comparison compares (a W text up to its first zero unit).
  std::size_t operator()(const quarnel::LStrWrapper<Rec>& s) const noexcept {
    auto v = s.view();
    if constexpr (!std::is_same_v<typename quarnel::LStrWrapper<Rec>::Char, char>)
      v = v.substr(0, v.find(typename quarnel::LStrWrapper<Rec>::Char()));
    return std::hash<decltype(v)>()(v);
  }
};
}  // namespace std

#if defined(__cpp_lib_format_ranges)
// A string has begin() and end(), but prints as text, never as a range of
// characters.
namespace std {
template <class Rec>
constexpr range_format format_kind<quarnel::LStrWrapper<Rec>> = range_format::disabled;
}  // namespace std
#endif

#if defined(__cpp_lib_format)
// std::format("{}", s): the text with the string presentation's options; a
// WString is shown as UTF-8.
namespace std {
template <class Rec>
struct formatter<quarnel::LStrWrapper<Rec>, char> : formatter<string_view, char> {
  template <class Context>
  auto format(const quarnel::LStrWrapper<Rec>& s, Context& ctx) const {
    if constexpr (std::is_same_v<typename quarnel::LStrWrapper<Rec>::Char, char>)
      return std::formatter<std::string_view, char>::format(s.view(), ctx);
    else
      return std::formatter<std::string_view, char>::format(quarnel::to_utf8(s), ctx);
  }
};
}  // namespace std
#endif

#if defined(FMT_VERSION)
// fmt::format("{}", s), when fmt is included before this header (or
// QUARNEL_WITH_FMT is defined): as std::formatter above.
namespace fmt {
template <class Rec>
struct formatter<quarnel::LStrWrapper<Rec>, char> : formatter<string_view, char> {
  template <class Context>
  auto format(const quarnel::LStrWrapper<Rec>& s, Context& ctx) const {
    if constexpr (std::is_same_v<typename quarnel::LStrWrapper<Rec>::Char, char>) {
      return fmt::formatter<fmt::string_view, char>::format(fmt::string_view(s.data(), s.size()),
                                                            ctx);
    } else {
      const std::string utf8 = quarnel::to_utf8(s);
      return fmt::formatter<fmt::string_view, char>::format(
          fmt::string_view(utf8.data(), utf8.size()), ctx);
    }
  }
};
}  // namespace fmt
#endif

#endif  // QUARNEL_QUARNEL_HPP
