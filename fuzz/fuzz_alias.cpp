// A differential fuzz target for splits whose source is also one of their
// destinations. Each input describes a split (form, family, trim, separator,
// layout), the texts and index bases of its destination handles, and which
// of them is the source. The split runs twice on identical destinations:
// once with the source being that destination, once with a distinct handle
// holding the same text (a fresh copy or, for the A family, a second handle
// on the same payload). Results, counts and every destination's text and
// base must agree, and the distinct source must keep its text. The
// name-value split, which reads a text pointer, gets a pointer into the
// destination's own text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_support.hpp"
#include "quarnel/quarnel.hpp"

namespace {

using qfuzz::Bytes;
using qfuzz::check;

enum class Form { sep, sep_list, widths, columns, name_value };

struct Case {
  Form form;
  bool trim, clone_source, share_next;
  std::size_t slots;   // destinations
  std::size_t source;  // which destination is the source
  int grow_by;
  unsigned bases;  // bit i: destination i has base 0
  unsigned char separator;
  std::size_t offset;  // name-value: where in the destination's text the text starts
  std::vector<int> layout;
  std::vector<std::string> texts;
};

Case read_case(Bytes& in) {
  Case c;
  unsigned flags = in.take();
  c.form = static_cast<Form>(flags % 5);
  c.trim = flags & 8;
  c.clone_source = flags & 16;
  c.share_next = flags & 32;
  c.slots = 1 + in.take() % 6;
  c.source = in.take() % c.slots;
  c.grow_by = 1 + static_cast<int>(in.take() % 3);
  c.bases = in.take();
  const unsigned char separators[] = {',', ' ', '=', 0};
  unsigned s = in.take();
  c.separator = s % 8 < 4 ? separators[s % 4] : static_cast<unsigned char>(s);
  c.offset = in.take() % 4;
  for (int n = static_cast<int>(in.take() % 7) * (c.form == Form::columns ? 2 : 1); n > 0; --n)
    c.layout.push_back(static_cast<signed char>(in.take()) % 12);
  for (std::size_t i = 0; i < c.slots; ++i) c.texts.push_back(in.text());
  return c;
}

// The family's exports beyond the handle operations the wrappers use.
template <class Rec>
struct Api;
template <>
struct Api<LAnsiStrCore::LAnsiStrRec> : quarnel::detail::HandleOps<LAnsiStrCore::LAnsiStrRec> {
  static constexpr auto set_base = [](auto... a) { return LStrSetCharIndexBaseA(a...); };
  static constexpr auto base = [](auto... a) { return LStrGetCharIndexBaseA(a...); };
  static constexpr auto sep = [](auto... a) { return SplitBySepA(a...); };
  static constexpr auto sep_list = [](auto... a) { return SplitBySepExA(a...); };
  static constexpr auto widths = [](auto... a) { return SplitByFixedLayoutA(a...); };
  static constexpr auto columns = [](auto... a) { return SplitByFixedLayoutExA(a...); };
  static constexpr auto name_value = [](auto... a) { return SplitNamedEquA(a...); };
};
template <>
struct Api<LWideStrCore::LWideStrRec> : quarnel::detail::HandleOps<LWideStrCore::LWideStrRec> {
  static constexpr auto set_base = [](auto... a) { return LStrSetCharIndexBaseW(a...); };
  static constexpr auto base = [](auto... a) { return LStrGetCharIndexBaseW(a...); };
  static constexpr auto sep = [](auto... a) { return SplitBySepW(a...); };
  static constexpr auto sep_list = [](auto... a) { return SplitBySepExW(a...); };
  static constexpr auto widths = [](auto... a) { return SplitByFixedLayoutW(a...); };
  static constexpr auto columns = [](auto... a) { return SplitByFixedLayoutExW(a...); };
  static constexpr auto name_value = [](auto... a) { return SplitNamedEquW(a...); };
};

// The fuzzer's bytes as the family's units, one unit per byte.
template <class Char>
std::basic_string<Char> units(const std::string& bytes) {
  std::basic_string<Char> t;
  for (char b : bytes) t += static_cast<Char>(static_cast<unsigned char>(b));
  return t;
}

// What a split left: its result and every destination's text and base,
// plus the list's count and capacity.
template <class Text>
struct Outcome {
  int result = 0, count = 0, capacity = 0;
  std::vector<Text> texts;
  std::vector<int> bases;
  bool operator==(const Outcome&) const = default;
};

template <class Rec>
Outcome<std::basic_string<typename Api<Rec>::Char>> run(const Case& c, bool alias) {
  using F = Api<Rec>;
  using Text = std::basic_string<typename F::Char>;
  using Wrapper = quarnel::LStrWrapper<Rec>;
  const bool list_form = c.form != Form::sep;
  std::vector<Wrapper> slots(list_form ? 0 : c.slots);
  quarnel::LStrWrapperList<Rec> list(c.grow_by);
  std::vector<Rec*> handles;
  for (std::size_t i = 0; i < c.slots; ++i) {
    if (list_form) list.append(F::kEmpty);
    handles.push_back(list_form ? list[i].handle : slots[i].handle);
    const Text t = units<typename F::Char>(c.texts[i]);
    F::assign(handles[i], t.data(), static_cast<int>(t.size()));
    F::set_base(handles[i], (c.bases >> i) & 1 ? 0 : 1);
  }
  Rec* source_slot = handles[c.source];
  // Another destination sharing the source's payload (A; a copy in W).
  if (c.share_next && c.slots > 1) F::assign(handles[(c.source + 1) % c.slots], source_slot);

  const Text line = units<typename F::Char>(c.texts[c.source]);
  Wrapper distinct(
      c.clone_source ? F::clone(source_slot) : F::from(line.data(), static_cast<int>(line.size())),
      true);
  F::set_base(distinct.handle, F::base(source_slot));
  Wrapper aliased(source_slot, false);
  const Wrapper* source = alias ? &aliased : &distinct;

  const auto sep = static_cast<typename F::Char>(c.separator);
  const int n = static_cast<int>(c.layout.size()) / (c.form == Form::columns ? 2 : 1);
  Outcome<Text> out;
  switch (c.form) {
    case Form::sep:
      out.result = F::sep(source, sep, static_cast<int>(c.slots), slots.data(), c.trim);
      break;
    case Form::sep_list:
      out.result = F::sep_list(source, sep, &list, c.trim);
      break;
    case Form::widths:
      out.result = F::widths(source, n, c.layout.data(), &list, c.trim);
      break;
    case Form::columns:
      out.result = F::columns(source, n, c.layout.data(), &list, c.trim);
      break;
    case Form::name_value: {
      // A zero-terminated text from `offset` units into the source's text.
      Text tail = line.substr(0, line.find(typename F::Char{0}));
      std::size_t at = c.offset < tail.size() ? c.offset : tail.size();
      out.result = alias ? F::name_value(F::text(source_slot) + at, &list, c.trim, sep)
                         : F::name_value(tail.c_str() + at, &list, c.trim, sep);
      break;
    }
  }
  out.count = list.count;
  out.capacity = list.capacity;
  if (list_form) handles.clear();
  for (int i = 0; list_form && i < list.capacity; ++i) handles.push_back(list[i].handle);
  for (Rec* h : handles) {
    out.texts.emplace_back(F::text(h), static_cast<std::size_t>(F::length(h)));
    out.bases.push_back(F::base(h));
  }
  if (!alias) check(distinct.str() == line, "the distinct source keeps its text");
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Bytes in(data, size);
  const Case c = read_case(in);
  // A split whose source is a destination gives what a distinct source gives.
  check(run<LAnsiStrCore::LAnsiStrRec>(c, true) == run<LAnsiStrCore::LAnsiStrRec>(c, false), "A");
  check(run<LWideStrCore::LWideStrRec>(c, true) == run<LWideStrCore::LWideStrRec>(c, false), "W");
  return 0;
}
