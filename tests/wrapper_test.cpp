// The C++ layer of quarnel.hpp: its edges (sizes, moved-from objects,
// record mode), its place in the standard library, and its text operations
// against std::string.
#include <algorithm>
#include <concepts>
#include <random>
#include <ranges>
#include <sstream>
#include <thread>
#include <tuple>
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
namespace qt = quarnel::testing;

// What a C++ user takes for granted of a string type.
template <class T>
concept hashable = requires(const T& t) {
  { std::hash<T>()(t) } -> std::convertible_to<std::size_t>;
};
static_assert(std::totally_ordered<AString> && std::totally_ordered<WString>);
static_assert(hashable<AString> && hashable<WString>);
static_assert(std::is_nothrow_move_constructible_v<AString> &&
              std::is_nothrow_move_assignable_v<WString>);
static_assert(std::ranges::random_access_range<const quarnel::WStringList> &&
              std::random_access_iterator<AStringList::const_iterator>);
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
int library_compare(LStrHandleA a, LStrHandleA b) { return LStrCompareA(a, b); }
int library_compare(LStrHandleW a, LStrHandleW b) { return LStrCompareW(a, b); }
int split_into(CLAnsiStr& s, CLAnsiStr* slots) { return SplitBySepA(&s, ',', 1, slots, false); }
int split_into(CLWideStr& s, CLWideStr* slots) { return SplitBySepW(&s, ',', 1, slots, false); }

template <class S>
class WrapperFamily : public ::testing::Test {};
using Families = ::testing::Types<AString, WString>;
TYPED_TEST_SUITE(WrapperFamily, Families);

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
    EXPECT_THROW(AString{a}, std::length_error) << n;
    EXPECT_THROW(s.assign(a), std::length_error) << n;
    EXPECT_THROW(s += a, std::length_error) << n;
    EXPECT_THROW(s + a, std::length_error) << n;
    EXPECT_THROW(AStringList().split(a, ','), std::length_error) << n;
    EXPECT_THROW(s.resize(n), std::length_error) << n;
    EXPECT_TRUE(s.empty());
#if !defined(_WIN32)
    std::u16string_view w(units.get(), n);  // past 0x3FFFFFFF units in every case
    EXPECT_THROW(WString{w}, std::length_error) << n;
#endif
  }
  EXPECT_THROW(AStringList(std::size_t{1} << 31), std::length_error);
}

// A moved-from string as a split's source, as a slot of the fixed-slot
// split, appended to; a list whose fields were moved out (one slot left
// with no handle at all) split into again.
template <class S>
void moved_from_strings_stay_usable() {
  S a = as<S>("x,y"), c = as<S>("q"), slots[1];
  S b(std::move(a)), taken(std::move(slots[0]));
  quarnel::LStrWrapperList<std::remove_pointer_t<decltype(a.handle)>> fields;
  EXPECT_TRUE(a.empty() && a.c_str()[0] == 0 && fields.split(a, ',') == 0);
  EXPECT_TRUE(split_into(b, slots) == 1 && slots[0] == as<S>("x"));
  c = std::move(b);
  b += as<S>("z");
  EXPECT_TRUE(b == as<S>("z") && c == as<S>("x,y"));
  std::vector<S> kept;
  fields.split(as<S>("a,b,c"), ',');
  for (S& f : fields) kept.push_back(std::move(f));
  fields[1].reset();
  EXPECT_EQ(fields.split(as<S>("d,e,f,g"), ','), 4u);
  EXPECT_TRUE(fields.at(1) == as<S>("e") && kept.back() == as<S>("c"));
}

TYPED_TEST(WrapperFamily, MovedFromStringsAndListsStayUsable) {
  moved_from_strings_stay_usable<TypeParam>();
  // Checked handles, on a thread of its own so that every handle it uses
  // (the thread's spare one included) is made and ended under the checks.
  qt::check_handles(true);
  std::thread([] { moved_from_strings_stay_usable<TypeParam>(); }).join();
  qt::check_handles(false);
}

TEST(WrapperEdges, FailuresThrowInEitherFailureMode) {
#if defined(_WIN32)
  for (int mode : {1}) {  // raise mode delivers structured exceptions there
#else
  for (int mode : {0, 1}) {
#endif
    qtest::ModeScope scope(mode);
    AString percent_n("%n"), grown("abc");
    EXPECT_THROW(AString(_LStrFormatA(percent_n.handle, 1), true), quarnel::EConvertError);
    EXPECT_THROW(AString("12x").to_int(), quarnel::EConvertError);
    EXPECT_EQ(AString("0").to_int(), 0);
    EXPECT_THROW(AString().at(0), std::out_of_range);
    qt::fail_allocations_after(0);
    EXPECT_THROW(AString("made"), std::bad_alloc) << mode;
    EXPECT_THROW(WString(), std::bad_alloc) << mode;
    EXPECT_THROW(grown += std::string(100, 'x'), std::bad_alloc) << mode;
    qt::fail_allocations_after(-1);
    EXPECT_EQ(grown, "abc");
  }
}

// Every operation of the C++ layer against std::string, on random short
// texts over a tiny alphabet (zero bytes included for A; W compares up to
// the first zero unit, so its alphabet has none).
TYPED_TEST(WrapperFamily, MatchesStdStringOnRandomText) {
  using S = TypeParam;
  using Std = std::basic_string<typename S::Char>;
  const std::string_view alphabet(std::is_same_v<S, AString> ? "ab\0\xe9" : "ab\xe9",
                                  3 + sizeof(typename S::Char) % 2);
  std::mt19937 rng(25);
  auto random_text = [&] {
    std::string t(rng() % 9, ' ');
    for (char& c : t) c = alphabet[rng() % alphabet.size()];
    return t;
  };
  auto sign = [](auto v) { return (v > 0) - (v < 0); };
  for (int round = 0; round < 3000; ++round) {
    const std::string x = random_text(), y = random_text();
    const Std sx(x.begin(), x.end()), sy(y.begin(), y.end());
    const S a = as<S>(x), b = as<S>(y);
    const std::size_t pos = rng() % 11, count = rng() % 2 ? S::npos : rng() % 6;
    S c = a;  // shares a's text, which appending to c must leave alone
    c += b;
    c += typename S::Char('a');
    c += c;  // appending a string to itself doubles it
    const Std joined = sx + sy + Std(1, 'a');
    ASSERT_EQ(Std(c.data(), c.size()), joined + joined);
    ASSERT_TRUE(Std(a.view()) == sx && Std((a + b).view()) == sx + sy);
    const int order = a < b ? -1 : a == b ? 0 : 1;
    ASSERT_TRUE(order == sign(sx.compare(sy)) && ((a <=> b) < 0) == (order < 0));
    ASSERT_EQ(sign(library_compare(a.handle, b.handle)), order);
    ASSERT_TRUE(a != b || std::hash<S>()(a) == std::hash<S>()(b));
    ASSERT_EQ(std::tuple(a.find(b, pos), a.rfind(b, pos), a.starts_with(b), a.ends_with(b),
                         a.contains(b)),
              std::tuple(sx.find(sy, pos), sx.rfind(sy, pos), sx.starts_with(sy), sx.ends_with(sy),
                         sx.find(sy) != Std::npos));
    if (pos > sx.size()) {
      ASSERT_THROW(a.substr(pos, count), std::out_of_range);
    } else {
      ASSERT_EQ(Std(a.substr(pos, count).view()), sx.substr(pos, count));
    }
  }
}

TEST(WrapperList, IsARandomAccessRangeOfTheFields) {
  AStringList fields, other;
  EXPECT_TRUE(fields.empty() && fields.split(std::string_view("c, a ,b"), ',', true) == 3);
  const AStringList& view = fields;
  auto it = view.begin();
  EXPECT_TRUE(*it++ == "c" && it[1] == "b" && view.end() - it == 2);
  EXPECT_THROW(view.at(3), std::out_of_range);
  std::ranges::sort(fields);  // moves wrappers through the slots
  other.split("a,b,c", ',');
  EXPECT_TRUE(fields == other && fields.split_name_value(AString("port = 80"), '='));
  EXPECT_EQ(fields[1], "80");
}

TEST(WrapperText, NumbersFormattingUtf8AndWideOrder) {
  EXPECT_EQ(WString::from_number(18446744073709551615u), QUARNEL_W("18446744073709551615"));
  // UTF-8 converts by its own rules whatever the code page (1252 here); a
  // lone surrogate unit prints as U+FFFD.
  const WString w = quarnel::from_utf8("h\xc3\xa9 \xf0\x9f\x98\x80 \xff!");
  std::ostringstream out;
  out << AString::from_number(-42) << '|' << w + LWideChar(0xD800);
  EXPECT_EQ(out.str(), "-42|h\xc3\xa9 \xf0\x9f\x98\x80 \xef\xbf\xbd!\xef\xbf\xbd");
  EXPECT_EQ(quarnel::to_ansi(quarnel::from_utf8("caf\xc3\xa9")), "caf\xe9");
#if defined(QUARNEL_TEST_FMT)
  EXPECT_EQ(fmt::format("[{:>4}|{}]", AString("ab"), quarnel::from_utf8("\xc3\xa9")),
            "[  ab|\xc3\xa9]");
#endif
#if defined(__cpp_lib_format)
  EXPECT_EQ(std::format("[{:>4}]", AString("ab")), "[  ab]");
#endif
  // W order and hash stop at the first zero unit, as LStrCompareW does (A
  // order, zero bytes included, is held to std::string above).
  const WString a = as<WString>(std::string_view("a\0b", 3)), b = as<WString>("a");
  EXPECT_TRUE(a == b && std::hash<WString>()(a) == std::hash<WString>()(b));
}
