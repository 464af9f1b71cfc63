// The C++ layer of quarnel.hpp: its edges (sizes, moved-from objects,
// record mode), its place in the standard library, and its text operations
// against std::string.
#include <algorithm>
#include <concepts>
#include <map>
#include <memory>
#include <random>
#include <ranges>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#if defined(QUARNEL_TEST_FMT)
#include <fmt/format.h>
#endif
#include "core/memory.hpp"
#include "core/registry.hpp"
#include "quarnel/quarnel.hpp"
#include "support.hpp"

using quarnel::AString;
using quarnel::AStringList;
using quarnel::WString;
using quarnel::WStringList;
namespace qt = quarnel::testing;
using qtest::ModeScope;

// What a C++ user takes for granted of a string type.
template <class T>
concept hashable = requires(const T& t) {
  { std::hash<T>()(t) } -> std::convertible_to<std::size_t>;
};
static_assert(std::totally_ordered<AString> && std::totally_ordered<WString>);
static_assert(hashable<AString> && hashable<WString>);
static_assert(std::is_nothrow_move_constructible_v<AString> &&
              std::is_nothrow_move_assignable_v<WString>);
static_assert(std::ranges::random_access_range<AStringList> &&
              std::ranges::random_access_range<const WStringList>);
static_assert(std::random_access_iterator<AStringList::const_iterator>);
static_assert(std::convertible_to<const AString&, std::string_view>);
#if defined(__cpp_lib_format) && defined(__cpp_lib_format_ranges)
static_assert(std::formattable<AString, char> && std::formattable<WString, char>);
#endif
#if defined(QUARNEL_TEST_FMT)
static_assert(fmt::is_formattable<AString>::value && fmt::is_formattable<WString>::value);
#endif

namespace {

// Each byte as one UTF-16 unit, so one random text serves both families.
template <class S>
S as(std::string_view bytes) {
  std::basic_string<typename S::Char> units(bytes.begin(), bytes.end());
  return S(typename S::View(units));
}

template <class S>
void moved_from_strings_stay_usable() {
  using List = quarnel::LStrWrapperList<std::remove_pointer_t<decltype(S().handle)>>;
  S a = as<S>("x,y");
  S b(std::move(a));
  EXPECT_TRUE(a.empty() && a.c_str()[0] == 0 && a.handle != nullptr);
  List fields;
  EXPECT_EQ(fields.split(a, ','), 0u);  // as a split's source
  S slots[1];
  S taken(std::move(slots[0]));
  EXPECT_EQ(fields.split(b, ','), 2u);
  if constexpr (std::is_same_v<S, AString>) {  // as a slot of the fixed-slot split
    EXPECT_EQ(SplitBySepA(&b, ',', 1, slots, false), 1);
  } else {
    EXPECT_EQ(SplitBySepW(&b, ',', 1, slots, false), 1);
  }
  EXPECT_EQ(slots[0], as<S>("x"));
  a += as<S>("z");
  EXPECT_EQ(a, as<S>("z"));
  S c = as<S>("q");
  c = std::move(a);  // move assignment empties the source too
  EXPECT_TRUE(a.empty() && a.handle != nullptr);
  EXPECT_EQ(c, as<S>("z"));

  // Fields moved out of a list; the list is split into again.
  std::vector<S> kept;
  fields.split(as<S>("a,b,c"), ',');
  for (S& f : fields) kept.push_back(std::move(f));
  EXPECT_EQ(fields.split(as<S>("d,e,f,g"), ','), 4u);
  EXPECT_EQ(fields.back(), as<S>("g"));
  EXPECT_EQ(kept.back(), as<S>("c"));
  fields[1].reset();  // a slot with no handle at all
  EXPECT_EQ(fields.split(as<S>("h,i"), ','), 2u);
  EXPECT_EQ(fields.at(1), as<S>("i"));
}

}  // namespace

TEST(WrapperEdges, SizesBeyondTheLongestTextAreRefusedUnread) {
  // Three bytes with no terminator: any read past them is caught by ASan.
  auto bytes = std::make_unique<char[]>(3);
  auto units = std::make_unique<char16_t[]>(3);
  std::vector<std::size_t> sizes = {std::size_t{1} << 31, 0xFFFFFFFFu, 0x7FFFFFF3u};
  if constexpr (sizeof(std::size_t) > 4) sizes.push_back(static_cast<std::size_t>(0x100000003ull));
  for (std::size_t n : sizes) {
    std::string_view a(bytes.get(), n);
    AString s;
    AStringList fields;
    EXPECT_THROW(AString{a}, std::length_error) << n;
    EXPECT_THROW(s.assign(a), std::length_error) << n;
    EXPECT_THROW(s += a, std::length_error) << n;
    EXPECT_THROW(s + a, std::length_error) << n;
    EXPECT_THROW(fields.split(a, ','), std::length_error) << n;
    EXPECT_THROW(s.resize(n), std::length_error) << n;
    EXPECT_TRUE(s.empty());
#if !defined(_WIN32)
    std::u16string_view w(units.get(), n);  // past 0x3FFFFFFF units in every case
    EXPECT_THROW(WString{w}, std::length_error) << n;
#endif
  }
  EXPECT_THROW(AStringList(std::size_t{1} << 31), std::length_error);
}

TEST(WrapperEdges, MovedFromStringsAndListsStayUsable) {
  moved_from_strings_stay_usable<AString>();
  moved_from_strings_stay_usable<WString>();
  // Checked handles, on a thread of its own so that every handle it uses
  // (the thread's spare one included) is made and ended under the checks.
  qt::check_handles(true);
  std::thread([] { moved_from_strings_stay_usable<AString>(); }).join();
  qt::check_handles(false);
}

TEST(WrapperEdges, FailuresThrowInEitherFailureMode) {
#if defined(_WIN32)
  const int modes[] = {1};  // raise mode delivers structured exceptions there
#else
  const int modes[] = {0, 1};
#endif
  for (int mode : modes) {
    ModeScope scope(mode);
    AString percent_n("%n");
    EXPECT_THROW(AString(_LStrFormatA(percent_n.handle, 1), true), quarnel::EConvertError);
    EXPECT_THROW(AString("12x").to_int(), quarnel::EConvertError);
    EXPECT_EQ(AString("0").to_int(), 0);
    EXPECT_THROW(AString().at(0), std::out_of_range);
    AString grown("abc");
    qt::fail_allocations_after(0);
    EXPECT_THROW(AString("made"), std::bad_alloc) << mode;
    EXPECT_THROW(WString(), std::bad_alloc) << mode;
    EXPECT_THROW(grown += std::string(100, 'x'), std::bad_alloc) << mode;
    EXPECT_THROW(grown + grown, std::bad_alloc) << mode;
    qt::fail_allocations_after(-1);
    EXPECT_EQ(grown, "abc");
  }
}

// Every operation of the C++ layer against std::string, on random short
// texts over a tiny alphabet (zero bytes included for A).
template <class S>
void matches_std_string(const char* alphabet_bytes, std::size_t alphabet_size) {
  using Std = std::basic_string<typename S::Char>;
  std::mt19937 rng(25);
  auto random_text = [&] {
    std::string t(rng() % 9, ' ');
    for (char& c : t) c = alphabet_bytes[rng() % alphabet_size];
    return t;
  };
  auto sign = [](auto v) { return (v > 0) - (v < 0); };
  for (int round = 0; round < 3000; ++round) {
    const std::string x = random_text(), y = random_text();
    const Std sx(x.begin(), x.end()), sy(y.begin(), y.end());
    const S a = as<S>(x), b = as<S>(y);
    const std::size_t pos = rng() % 11, count = rng() % 2 ? S::npos : rng() % 6;
    ASSERT_EQ(Std(a.data(), a.size()), sx);
    ASSERT_EQ(a.empty(), sx.empty());
    ASSERT_EQ(Std((a + b).view()), sx + sy);
    S c = a;
    c += b;
    c += typename S::Char('a');
    ASSERT_EQ(Std(c.view()), sx + sy + Std(1, 'a'));
    const int order = a < b ? -1 : a == b ? 0 : 1;
    ASSERT_EQ(order, sign(sx.compare(sy)));
    ASSERT_EQ((a <=> b) < 0, order < 0);
    if constexpr (std::is_same_v<S, AString>) {
      ASSERT_EQ(sign(LStrCompareA(a.handle, b.handle)), order);
    } else {
      ASSERT_EQ(sign(LStrCompareW(a.handle, b.handle)), order);
    }
    if (a == b) {
      ASSERT_EQ(std::hash<S>()(a), std::hash<S>()(b));
    }
    ASSERT_EQ(a.find(b, pos), sx.find(sy, pos));
    ASSERT_EQ(a.rfind(b, pos), sx.rfind(sy, pos));
    ASSERT_EQ(a.find(b.view().substr(0, 1)), sx.find(sy.substr(0, 1)));
    ASSERT_EQ(a.starts_with(b), sx.starts_with(sy));
    ASSERT_EQ(a.ends_with(b), sx.ends_with(sy));
    ASSERT_EQ(a.contains(b), sx.find(sy) != Std::npos);
    if (pos > sx.size()) {
      ASSERT_THROW(a.substr(pos, count), std::out_of_range);
    } else {
      ASSERT_EQ(Std(a.substr(pos, count).view()), sx.substr(pos, count));
    }
  }
}

TEST(WrapperText, MatchesStdStringOnRandomText) {
  matches_std_string<AString>("ab\0\xe9", 4);
  // W compares up to the first zero unit, so its alphabet has none.
  matches_std_string<WString>("ab\xe9", 3);
}

TEST(WrapperText, WideOrderStopsAtTheFirstZeroUnitAsTheLibraryDoes) {
  const WString a = as<WString>(std::string_view("a\0b", 3)), b = as<WString>("a");
  EXPECT_TRUE(a == b && std::hash<WString>()(a) == std::hash<WString>()(b));
  EXPECT_EQ(LStrCompareW(a.handle, b.handle), 0);
  EXPECT_NE(as<AString>(std::string_view("a\0b", 3)), AString("a"));
}

TEST(WrapperList, IsARandomAccessRangeOfTheFields) {
  AStringList fields;
  EXPECT_TRUE(fields.empty());
  EXPECT_EQ(fields.split(std::string_view("c, a ,b"), ',', true), 3u);
  const AStringList& view = fields;
  const std::vector<std::string_view> expected = {"c", "a", "b"};
  EXPECT_TRUE(std::ranges::equal(view, expected));
  auto it = view.begin();
  EXPECT_EQ(*it++, "c");
  EXPECT_EQ(it[1], "b");
  EXPECT_EQ(view.end() - view.begin(), 3);
  EXPECT_THROW(view.at(3), std::out_of_range);
  std::ranges::sort(fields);  // moves wrappers through the slots
  EXPECT_TRUE(std::ranges::equal(view, std::vector<std::string_view>{"a", "b", "c"}));
  AStringList other;
  other.split("a,b,c", ',');
  EXPECT_TRUE(fields == other);
  EXPECT_TRUE(fields.split_name_value(AString("port = 80"), '='));
  EXPECT_EQ(fields[1], "80");
}

TEST(WrapperText, NumbersFormattingAndUtf8) {
  EXPECT_EQ(AString::from_number(-42), "-42");
  EXPECT_EQ(WString::from_number(18446744073709551615u), QUARNEL_W("18446744073709551615"));
  // UTF-8 converts by its own rules whatever the code page (1252 here).
  const WString w = quarnel::from_utf8("h\xc3\xa9 \xf0\x9f\x98\x80 \xff!");
  EXPECT_EQ(w, QUARNEL_W("h\u00e9 \U0001F600 \uFFFD!"));
  EXPECT_EQ(quarnel::to_utf8(w), "h\xc3\xa9 \xf0\x9f\x98\x80 \xef\xbf\xbd!");
  EXPECT_EQ(quarnel::to_utf8(std::basic_string_view<LWideChar>(QUARNEL_W("\xD800x"))),
            "\xef\xbf\xbdx");
  std::ostringstream out;
  out << AString("a") << '|' << w;
  EXPECT_EQ(out.str(), "a|h\xc3\xa9 \xf0\x9f\x98\x80 \xef\xbf\xbd!");
  EXPECT_EQ(quarnel::to_ansi(quarnel::from_utf8("caf\xc3\xa9")), "caf\xe9");
#if defined(QUARNEL_TEST_FMT)
  EXPECT_EQ(fmt::format("[{:>4}|{}]", AString("ab"), quarnel::from_utf8("\xc3\xa9")),
            "[  ab|\xc3\xa9]");
#endif
#if defined(__cpp_lib_format)
  EXPECT_EQ(std::format("[{:>4}]", AString("ab")), "[  ab]");
#endif
}
