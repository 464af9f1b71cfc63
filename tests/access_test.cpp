// Reading, single characters, set length, assignment, appending, comparison.
#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "core/unit_scan.hpp"
#include "support.hpp"

using namespace qtest;

TEST(Read, EmptyHandlesGiveTheSameConstant) {
  HA a(LStrAllocA()), a2(LStrAllocA());
  HW w(LStrAllocW());
  ASSERT_NE(LStrCstrA(a.get()), nullptr);
  EXPECT_EQ(LStrCstrA(a.get()), LStrCstrA(a2.get()));
  EXPECT_EQ(*LStrCstrA(a.get()), 0);
  EXPECT_EQ(*LStrCstrW(w.get()), 0);
  EXPECT_EQ(LStrCbstrW(w.get()), LStrCstrW(w.get()));
  EXPECT_EQ(static_cast<void*>(LStrBSTRRef(w.get())), static_cast<void*>(w.get()));
  EXPECT_EQ(*LStrBSTRRef(w.get()), nullptr);

  HW x = make_w(QW("hi"));
  EXPECT_EQ(*LStrBSTRRef(x.get()), LStrCstrW(x.get()));
  EXPECT_EQ(LStrCbstrW(x.get()), LStrCstrW(x.get()));
}

TEST(Read, BstrLayout) {
  HW w = make_w(QW("abc"));
  std::uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const char*>(w->payload) - 4, 4);
  EXPECT_EQ(bytes, 6u);
  EXPECT_EQ(w->payload[3], 0);
}

TEST(CharAt, PositionsFollowTheBaseAndTheAnsiFormChecksThem) {
  struct Case {
    int base, position;
    char expected;  // 0: range error
  } cases[] = {{1, 1, 'x'},       {1, 3, 'z'}, {1, 0, 0},
               {1, 4, 0},         {0, 0, 'x'}, {0, 2, 'z'},
               {0, 3, 0},         {0, -1, 0},  {0, -2147483647 - 1, 0},
               {1, 2147483647, 0}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "base " << c.base << " position " << c.position);
    HA a = make_a("xyz");
    HW w = make_w(QW("xyz"));
    LStrSetCharIndexBaseA(a.get(), c.base);
    LStrSetCharIndexBaseW(w.get(), c.base);
    char got = 0;
    std::string message;
    Failure f = failure_of([&] { got = LStrGetCharAtA(a.get(), c.position); }, &message);
    if (c.expected == 0) {
      EXPECT_EQ(f, Failure::range);
      EXPECT_EQ(message, "Range check error");
      EXPECT_EQ(failure_of([&] { LStrSetCharAtA(a.get(), c.position, 'q'); }), Failure::range);
      EXPECT_EQ(failure_of([&] { LStrCharAddrAtA(a.get(), c.position); }), Failure::range);
      EXPECT_EQ(text(a.get()), "xyz");
    } else {
      EXPECT_EQ(f, Failure::none);
      EXPECT_EQ(got, c.expected);
      EXPECT_EQ(LStrGetCharAtW(w.get(), c.position), static_cast<LWideChar>(c.expected));
      LStrSetCharAtA(a.get(), c.position, 'Q');
      LStrSetCharAtW(w.get(), c.position, QW('Q'));
      EXPECT_EQ(*LStrCharAddrAtA(a.get(), c.position), 'Q');
      EXPECT_EQ(*LStrCharAddrAtW(w.get(), c.position), QW('Q'));
    }
  }
  HA empty(LStrAllocA());
  EXPECT_EQ(failure_of([&] { LStrGetCharAtA(empty.get(), 1); }), Failure::range);
}

TEST(CharAt, WritingAZeroKeepsTheLength) {
  HA a = make_a("abc");
  LStrSetCharAtA(a.get(), 2, 0);
  EXPECT_EQ(LStrLengthA(a.get()), 3);
  EXPECT_STREQ(LStrCstrA(a.get()), "a");
}

TEST(CharAt, AddressOfASharedPayloadIsPrivate) {
  HA a = make_a("abc");
  HA b(LStrAllocCloneAA(a.get()));
  *LStrCharAddrAtA(b.get(), 1) = 'X';
  EXPECT_EQ(text(a.get()), "abc");
  EXPECT_EQ(text(b.get()), "Xbc");
}

TEST(SetLength, KeepsThePrefixAndNeverWritesASharedBlock) {
  struct Case {
    int length, expected;
  } cases[] = {{3, 3}, {0, 0}, {6, 6}, {9, 9}, {1000, 1000}, {-2, 0}};
  for (const Case& c : cases) {
    HA a = make_a("abcdef");
    HA shared(LStrAllocCloneAA(a.get()));
    HW w = make_w(QW("abcdef"));
    EXPECT_EQ(LStrSetLengthA(a.get(), c.length), c.expected);
    EXPECT_EQ(LStrSetLengthW(w.get(), c.length), c.expected);
    int kept = std::min(c.expected, 6);
    EXPECT_EQ(text(a.get()).substr(0, kept), std::string("abcdef").substr(0, kept));
    EXPECT_EQ(text(w.get()).substr(0, kept), wstr(QW("abcdef")).substr(0, kept));
    EXPECT_EQ(LStrCstrA(a.get())[c.expected], 0);
    EXPECT_EQ(LStrCstrW(w.get())[c.expected], 0);
    // The buffer is the host's to write, even at the same length.
    if (c.expected > 0) const_cast<char*>(LStrCstrA(a.get()))[0] = 'Z';
    EXPECT_EQ(text(shared.get()), "abcdef");
  }
}

TEST(Assign, SharesForAnsiCopiesForWide) {
  HA a = make_a("one"), b = make_a("two");
  EXPECT_EQ(LStrAssignA(a.get(), b.get()), 3);
  EXPECT_EQ(a->payload, b->payload);
  EXPECT_EQ(LStrAssignA(a.get(), a.get()), 3);
  HW x = make_w(QW("one")), y = make_w(QW("three"));
  EXPECT_EQ(LStrAssignW(x.get(), y.get()), 5);
  EXPECT_NE(x->payload, y->payload);
  EXPECT_EQ(text(x.get()), QW("three"));
  EXPECT_EQ(LStrAssignW(x.get(), x.get()), 5);
}

TEST(Assign, FromTextUnderTheLengthRule) {
  HA a = make_a("old");
  HW w = make_w(QW("old"));
  EXPECT_EQ(LStrAssignASzStrA(a.get(), "hello", -1), 5);
  EXPECT_EQ(LStrAssignWSzStrW(w.get(), QW("hello"), 2), 2);
  EXPECT_EQ(text(w.get()), QW("he"));
  // The text may be the handle's own.
  EXPECT_EQ(LStrAssignASzStrA(a.get(), LStrCstrA(a.get()) + 1, 3), 3);
  EXPECT_EQ(text(a.get()), "ell");
  EXPECT_EQ(LStrAssignASzStrA(a.get(), nullptr, 4), 0);
  EXPECT_EQ(LStrAssignWSzStrW(w.get(), nullptr, -1), 0);
}

TEST(Append, TextsHandlesAndCharacters) {
  HA a = make_a("ab");
  HA shared(LStrAllocCloneAA(a.get()));
  EXPECT_EQ(LStrAppendA(a.get(), a.get()), 4);
  EXPECT_EQ(text(a.get()), "abab");
  EXPECT_EQ(text(shared.get()), "ab");
  EXPECT_EQ(LStrAppendASzStrA(a.get(), "xyz", 2), 6);
  EXPECT_EQ(LStrAppendASzStrA(a.get(), nullptr, 5), 6);
  EXPECT_STREQ(LStrAppendCharA(a.get(), 'c'), "ababxyc");
  LStrAppendCharA(a.get(), 0);
  EXPECT_EQ(LStrLengthA(a.get()), 8);

  HW w(LStrAllocW());
  EXPECT_EQ(LStrAppendCharW(w.get(), 0), nullptr);
  EXPECT_EQ(LStrAppendWSzStrW(w.get(), nullptr, 5), 0);
  EXPECT_EQ(LStrAppendWSzStrW(w.get(), QW("ab"), -1), 2);
  EXPECT_EQ(LStrAppendW(w.get(), w.get()), 4);
  EXPECT_EQ(LStrAppendCharW(w.get(), QW('c')), w->payload);
  EXPECT_EQ(LStrAppendCharW(w.get(), 0), w->payload);
  EXPECT_EQ(text(w.get()), QW("ababc"));
}

TEST(Compare, OrderingOfBothFamilies) {
  struct Case {
    std::string_view a, b;
    int ansi;  // LStrCompareA exactly
    int wide;  // sign of LStrCompareW
  } cases[] = {
      {"abc", "abd", -1, -1}, {"ab", "abc", -1, -1},
      {"abc", "ab", 1, 1},    {"\x80", "\x7f", 1, 1},
      {"", "", 0, 0},         {"", "a", -1, -1},
      {"a", "", 1, 1},        {std::string_view("a\0b", 3), std::string_view("a\0c", 3), -1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + std::string(c.b));
    HA a = make_a(c.a), b = make_a(c.b);
    EXPECT_EQ(LStrCompareA(a.get(), b.get()), c.ansi);
    HW x(LStrAllocCloneAW(a.get())), y(LStrAllocCloneAW(b.get()));
    int w = LStrCompareW(x.get(), y.get());
    EXPECT_EQ((w > 0) - (w < 0), c.wide);
    if (c.a.empty() || c.b.empty()) {
      EXPECT_EQ(w, c.wide);
    }
  }
  // W units compare as unsigned numbers, surrogates and private use included.
  HW high = make_w(QW("\xD83D\xDE00")), ascii = make_w(QW("z"));
  EXPECT_GT(LStrCompareW(high.get(), ascii.get()), 0);
  EXPECT_LT(LStrCompareW(ascii.get(), high.get()), 0);
}

TEST(Compare, CaseInsensitiveForms) {
  struct Case {
    std::string_view a, b;
    int sign;
  } cases[] = {{"ABC", "abc", 0}, {"abc", "ABD", -1}, {"b", "A", 1}, {"", "a", -1}, {"", "", 0}};
  for (const Case& c : cases) {
    HA a = make_a(c.a), b = make_a(c.b);
    HW x(LStrAllocCloneAW(a.get())), y(LStrAllocCloneAW(b.get()));
    int ia = LStrCompareICA(a.get(), b.get());
    int iw = LStrCompareICW(x.get(), y.get());
    EXPECT_EQ((ia > 0) - (ia < 0), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ((iw > 0) - (iw < 0), c.sign) << c.a << " vs " << c.b;
  }
}

// The W scans behind comparison and trimming against a unit-by-unit model,
// at lengths around their vector blocks, the comparison's stretches and the
// size past which copies bypass the cache, with the zero unit or the
// difference at either end, in the middle, or nowhere.
TEST(UnitScan, CopyAndComparisonStopWhereAUnitByUnitModelDoes) {
  using quarnel::core::wchar;
  std::mt19937 rng(13);
  for (std::size_t n : {1u, 7u, 31u, 32u, 33u, 16383u, 16384u, 16385u, (1u << 19) + 77}) {
    std::vector<wchar> x(n + 1);
    for (wchar& u : x) u = static_cast<wchar>(1 + rng() % 3);
    for (std::size_t zero : {n, std::size_t{0}, std::size_t{5}, n / 2, n - 1})
      for (std::size_t differ : {n + 1, n, n / 2 + 1, n - 1}) {
        SCOPED_TRACE(testing::Message() << n << " zero " << zero << " differ " << differ);
        std::vector<wchar> a = x, b;
        if (zero < n) a[zero] = 0;
        b = a;
        if (differ <= n) b[differ] = static_cast<wchar>(b[differ] + 1);
        std::size_t first = 0;
        while (first < n && a[first] == b[first] && a[first] != 0) ++first;
        const std::size_t stop = quarnel::core::first_stop(a.data(), b.data(), n);
        EXPECT_EQ(a[stop] - b[stop], a[first] - b[first]);
        EXPECT_TRUE(stop == first || stop == n);
        // Copies into a destination that is not 16-byte aligned.
        std::vector<wchar> out(n + 2, 0xFFFF);
        const std::size_t copied = quarnel::core::copy_to_zero(out.data() + 1, a.data(), n);
        EXPECT_EQ(copied, std::min(zero, n));
        EXPECT_TRUE(std::equal(a.begin(), a.begin() + copied, out.begin() + 1));
      }
  }
}

// Every call that reads one handle (or a pointer into one) and writes
// another gives, when both are the same handle, what it gives with a copy:
// texts that fit in place and texts that need a new payload.
TEST(Aliasing, ReadingAndWritingOneHandleActsAsOnACopy) {
  // Lambdas throughout: on 32-bit Windows the exports are stdcall, and a
  // plain function pointer type holds only the lambdas' convention.
  using CallA = int (*)(LStrHandleA dst, LStrHandleA src);
  using CallW = int (*)(LStrHandleW dst, LStrHandleW src);
  const struct {
    const char* name;
    CallA a;
    CallW w;
  } calls[] = {
      {"Assign", [](LStrHandleA d, LStrHandleA s) { return LStrAssignA(d, s); },
       [](LStrHandleW d, LStrHandleW s) { return LStrAssignW(d, s); }},
      {"Append", [](LStrHandleA d, LStrHandleA s) { return LStrAppendA(d, s); },
       [](LStrHandleW d, LStrHandleW s) { return LStrAppendW(d, s); }},
      {"Insert", [](LStrHandleA d, LStrHandleA s) { return LStrInsertA(d, s, 2); },
       [](LStrHandleW d, LStrHandleW s) { return LStrInsertW(d, s, 2); }},
      {"AssignSzStr from the second character",
       [](LStrHandleA d, LStrHandleA s) { return LStrAssignASzStrA(d, LStrCstrA(s) + 1, -1); },
       [](LStrHandleW d, LStrHandleW s) { return LStrAssignWSzStrW(d, LStrCstrW(s) + 1, -1); }},
      {"AppendSzStr",
       [](LStrHandleA d, LStrHandleA s) { return LStrAppendASzStrA(d, LStrCstrA(s), -1); },
       [](LStrHandleW d, LStrHandleW s) { return LStrAppendWSzStrW(d, LStrCstrW(s), -1); }},
      {"CatSprintf",
       [](LStrHandleA d, LStrHandleA s) { return _LStrCatSprintfA(d, "<%s>", LStrCstrA(s)); },
       [](LStrHandleW d, LStrHandleW s) { return _LStrCatSprintfW(d, QW("<%s>"), LStrCstrW(s)); }},
  };
  // A handle holding `t`, in a block with room for 40 more characters or not.
  auto make = [](std::string_view t, bool roomy) {
    std::string padded = std::string(t) + std::string(roomy ? 40 : 0, 'x');
    HA a = make_a(padded);
    HW w = make_w(widen(padded));
    LStrSetLengthA(a.get(), static_cast<int>(t.size()));
    LStrSetLengthW(w.get(), static_cast<int>(t.size()));
    return std::pair(std::move(a), std::move(w));
  };
  for (std::string_view t : {"ab", "abcdefghijklmnopqrstuvwxyz0123456789"}) {
    for (bool roomy : {false, true}) {
      for (const auto& c : calls) {
        SCOPED_TRACE(testing::Message() << c.name << " '" << t << "' roomy " << roomy);
        auto [a, w] = make(t, roomy);
        auto [a_dst, w_dst] = make(t, roomy);
        auto [a_src, w_src] = make(t, roomy);
        EXPECT_EQ(c.a(a.get(), a.get()), c.a(a_dst.get(), a_src.get()));
        EXPECT_EQ(text(a.get()), text(a_dst.get()));
        EXPECT_EQ(c.w(w.get(), w.get()), c.w(w_dst.get(), w_src.get()));
        EXPECT_EQ(text(w.get()), text(w_dst.get()));
      }
    }
  }
}
