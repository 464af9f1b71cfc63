// The number exports of both families: integers and doubles to text, the
// readers and their whole-text rule, appending, and the float exports'
// wiring to the process's regional settings.
//
// Facts relied on: StrToInt takes an optional sign and decimal digits in the
// 32-bit range, or hexadecimal digits after '$' (also "0x"), and raises its
// conversion error for anything else; IntToHex gives upper-case digits,
// zero-padded, never cut; the C scanners skip leading white space and count
// it in "%n", and "%X" accepts a sign and an optional "0x".
#include <cmath>
#include <cstdint>
#include <functional>
#include <limits>
#include <vector>

#include "convert/float_format.hpp"
#include "core/memory.hpp"
#include "support.hpp"

using namespace qtest;

namespace {

wstr widen(std::string_view s) { return wstr(s.begin(), s.end()); }

// Expected text of the float exports under the process's own settings.
wstr process_text(double v, unsigned format, int precision, int digits) {
  quarnel::convert::NumberText out;
  quarnel::convert::float_to_text(out, v, format, precision, digits,
                                  quarnel::platform::number_settings());
  return wstr(out.view());
}

constexpr int kRaises = std::numeric_limits<int>::min() + 12345;  // marks "raises"

}  // namespace

TEST(NumberText, IntegersInBothFamilies) {
  struct Case {
    std::int64_t value;
    const char* text;
  } signed_cases[] = {{0, "0"},
                      {-7, "-7"},
                      {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808"},
                      {std::numeric_limits<std::int64_t>::max(), "9223372036854775807"}};
  for (const Case& c : signed_cases) {
    EXPECT_EQ(text(HA(LStrAllocFromInt64A(c.value)).get()), c.text);
    EXPECT_EQ(text(HW(LStrAllocFromInt64W(c.value)).get()), widen(c.text));
  }
  struct UCase {
    std::uint64_t value;
    const char* text;
  } unsigned_cases[] = {{0, "0"}, {4294967296u, "4294967296"}, {~0ull, "18446744073709551615"}};
  for (const UCase& c : unsigned_cases) {
    EXPECT_EQ(text(HA(LStrAllocFromUInt64A(c.value)).get()), c.text);
    EXPECT_EQ(text(HW(LStrAllocFromUInt64W(c.value)).get()), widen(c.text));
  }
  struct HexCase {
    int value, digits;
    const char* text;
  } hex_cases[] = {{255, 4, "00FF"},
                   {-1, 0, "FFFFFFFF"},
                   {0x12345, 2, "12345"},
                   {0, 0, "0"},
                   {0, -5, "0"},
                   {-2147483647 - 1, 10, "0080000000"},
                   {0xABCDEF, 7, "0ABCDEF"}};
  for (const HexCase& c : hex_cases) {
    EXPECT_EQ(text(HA(LStrIntToHexA(c.value, c.digits)).get()), c.text);
    EXPECT_EQ(text(HW(LStrIntToHexW(c.value, c.digits)).get()), widen(c.text));
  }
}

TEST(NumberText, DoublesFollowTheProcessSettings) {
  // Both families give the general text with 15 digits (A as FloatToStr, W
  // through "%g"), in the user's separators.
  for (double v : {0.0, 1234.5, -1.0 / 3, 1e20, 1.5e-7, 9.999999999999999,
                   std::numeric_limits<double>::quiet_NaN()}) {
    wstr expected = process_text(v, 0, 15, 0);
    EXPECT_EQ(text(HW(LStrAllocFromDoubleW(v)).get()), expected) << v;
    HA a(LStrAllocFromDoubleA(v));
    EXPECT_EQ(widen(text(a.get())), expected) << v;
    EXPECT_EQ(a->charIndexBase, 1);
  }
  for (int format = 0; format <= 4; ++format) {
    wstr expected = process_text(-1234.5, static_cast<unsigned>(format), 15, 2);
    EXPECT_EQ(text(HW(LStrFloatToStrFW(-1234.5, format, 15, 2)).get()), expected);
    // Only the low byte selects the format.
    EXPECT_EQ(text(HW(LStrFloatToStrFW(-1234.5, format + 0x300, 15, 2)).get()), expected);
  }
  const auto& s = quarnel::platform::number_settings();
  wstr fixed = widen("1234") + wstr(1, s.decimal) + widen("50");
  EXPECT_EQ(text(HW(LStrFloatToStrFW(1234.5, 2, 15, 2)).get()), fixed);
  if (s.decimal < 0x80) {
    EXPECT_EQ(widen(text(HA(LStrFloatToStrFA(1234.5, 2, 15, 2)).get())), fixed);
  }
  EXPECT_EQ(LStrLengthW(HW(LStrFloatToStrFW(1, 9, 15, 2)).get()), 0);
}

TEST(NumberText, FormatFloatTakesTheHandlesText) {
  double v = -1234.5;
  HA picture = make_a("0.0;(0.0)");
  HW wpicture = make_w(QW("0.0;(0.0)"));
  EXPECT_EQ(text(HA(LStrFormatFloatA(picture.get(), &v)).get()).substr(0, 5), "(1234");
  EXPECT_EQ(text(HW(LStrFormatFloatW(wpicture.get(), &v)).get()).substr(0, 5), QW("(1234"));
  // Text after a zero character is not part of the picture.
  HA cut = make_a(std::string_view("'x'\0junk", 8));
  EXPECT_EQ(text(HA(LStrFormatFloatA(cut.get(), &v)).get()), "-x");
  // Empty pictures: A formats with the empty picture (the general text), W
  // answers "#error#".
  HA empty_a(LStrAllocA());
  HW empty_w(LStrAllocW());
  EXPECT_EQ(widen(text(HA(LStrFormatFloatA(empty_a.get(), &v)).get())), process_text(v, 0, 15, 0));
  EXPECT_EQ(text(HW(LStrFormatFloatW(empty_w.get(), &v)).get()), QW("#error#"));
}

TEST(NumberReaders, ToIntReadsHexAfterThePrefixOrRaises) {
  struct Case {
    const char* text;
    int value;  // kRaises: the conversion error
  } cases[] = {
      {"0x1F", 31},
      {"0X1f", 31},
      {"0x1FZZ", 31},
      {"0xZZ", 0},
      {"0xFFFFFFFF", -1},
      {"0x-1", -1},
      {"0x 7", 7},
      {"42", 42},
      {" -42", -42},
      {"+7", 7},
      {"$1F", 31},
      {"-$10", -16},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", kRaises},
      {"abc", kRaises},
      {"", kRaises},
      {"0x", kRaises},
      {"42 ", kRaises},
      {"4 2", kRaises},
      {"$", kRaises},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    for (int family = 0; family < 2; ++family) {
      HA a = make_a(c.text);
      HW w = make_w(widen(c.text));
      int got = 0;
      std::string message;
      Failure f = failure_of([&] { got = family == 0 ? LStrToIntA(a.get()) : LStrToIntW(w.get()); },
                             &message);
      if (c.value == kRaises) {
        EXPECT_EQ(f, Failure::convert);
        EXPECT_EQ(message, "'" + std::string(c.text) + "' is not a valid integer value");
      } else {
        EXPECT_EQ(f, Failure::none);
        EXPECT_EQ(got, c.value);
      }
    }
  }
}

TEST(NumberReaders, DefaultReadersTakeOnlyWholeTexts) {
  const int d = -99;
  struct Case {
    std::string text;
    int value;
  } ints[] = {
      {"0x1F", 31},
      {"0X1f", 31},
      {" 42", 42},
      {"\t\n-42", -42},
      {"+0", 0},
      {"42 ", d},
      {"", d},
      {"0x", d},
      {" 0x1F", d},
      {"0x1F ", d},
      {"0x 1F", 31},
      {"0x-1F", -31},
      {"0x0x1F", 31},
      {"0x0x", d},
      {"4 2", d},
      {"1.0", d},
      {std::string("12\0", 3), d},
      {"4294967297", 1},
  };
  for (const Case& c : ints) {
    EXPECT_EQ(LStrToIntDefA(make_a(c.text).get(), d), c.value) << c.text;
    EXPECT_EQ(LStrToIntDefW(make_w(widen(c.text)).get(), d), c.value) << c.text;
  }
  const double dd = -0.25;
  struct DCase {
    std::string text;
    double value;
  } doubles[] = {
      {"1.5", 1.5},
      {" -2.5e3", -2500},
      {"+.5", 0.5},
      {"1e-400", 0},
      {"-1e999", -HUGE_VAL},
      {"0x1.8p1", 3},
      {"INF", HUGE_VAL},
      {"42", 42},
      {"1,5", dd},
      {"1.5 ", dd},
      {"", dd},
      {" ", dd},
      {"1e", dd},
      {"--1", dd},
      {"0x", dd},
      {".", dd},
      {std::string("2\0", 2), dd},
  };
  for (const DCase& c : doubles) {
    EXPECT_EQ(LStrToDoubleDefA(make_a(c.text).get(), dd), c.value) << c.text;
    EXPECT_EQ(LStrToDoubleDefW(make_w(widen(c.text)).get(), dd), c.value) << c.text;
  }
  EXPECT_TRUE(std::isnan(LStrToDoubleDefA(make_a("nan").get(), dd)));
  // Non-ASCII text never reads as a number.
  EXPECT_EQ(LStrToDoubleDefW(make_w(QW("1\u00BD")).get(), dd), dd);
}

TEST(NumberText, AppendIntValue) {
  HA a(LStrAllocA());
  char* p = LStrAppendIntValueA(a.get(), -7);
  EXPECT_EQ(p, LStrCstrA(a.get()));
  EXPECT_STREQ(p, "-7");
  EXPECT_STREQ(LStrAppendIntValueA(a.get(), -2147483647 - 1), "-7-2147483648");
  HW w = make_w(QW("n="));
  LStrSetCharIndexBaseW(w.get(), 0);
  LBSTR b = LStrAppendIntValueW(w.get(), 2147483647);
  EXPECT_EQ(b, w->payload);
  EXPECT_EQ(text(w.get()), QW("n=2147483647"));
  EXPECT_EQ(LStrGetCharIndexBaseW(w.get()), 0);
}

TEST(OutOfMemory, NumberAndFormatExportsFailCleanly) {
  namespace qt = quarnel::testing;
  double v = 1234.5;
  // Handles the operations use are made here: on Windows a failure leaves
  // the operation's own frame without running its destructors.
  HA long_picture = make_a(std::string(200, 'x') + "#,##0.00");
  std::vector<std::pair<const char*, std::function<void(LStrHandleA, LStrHandleW)>>> ops = {
      {"Int64A", [](LStrHandleA, LStrHandleW) { LStrDestroyA(LStrAllocFromInt64A(-5)); }},
      {"DoubleA", [](LStrHandleA, LStrHandleW) { LStrDestroyA(LStrAllocFromDoubleA(0.5)); }},
      {"DoubleW", [](LStrHandleA, LStrHandleW) { LStrDestroyW(LStrAllocFromDoubleW(0.5)); }},
      {"FloatToStrFA",
       [](LStrHandleA, LStrHandleW) { LStrDestroyA(LStrFloatToStrFA(-1e6, 4, 15, 2)); }},
      {"FormatFloatA",
       [&](LStrHandleA, LStrHandleW) { LStrDestroyA(LStrFormatFloatA(long_picture.get(), &v)); }},
      {"IntToHexW", [](LStrHandleA, LStrHandleW) { LStrDestroyW(LStrIntToHexW(1, 30)); }},
      {"AppendIntValueA", [](LStrHandleA a, LStrHandleW) { LStrAppendIntValueA(a, 12); }},
      {"AppendIntValueW", [](LStrHandleA, LStrHandleW w) { LStrAppendIntValueW(w, 12); }},
      {"SprintfA",
       [](LStrHandleA a, LStrHandleW) { _LStrSprintfA(a, "%s %ls %.300f", "x", QW("y"), 1.0); }},
      {"CatSprintfW",
       [](LStrHandleA, LStrHandleW w) { _LStrCatSprintfW(w, QW("%hs%s"), "x", QW("y")); }},
      {"FormatA", [](LStrHandleA a, LStrHandleW) { LStrDestroyA(_LStrFormatA(a, 1)); }},
      {"FormatW", [](LStrHandleA, LStrHandleW w) { LStrDestroyW(_LStrFormatW(w, 1)); }},
  };
  for (auto& [name, run] : ops) {
    SCOPED_TRACE(name);
    bool succeeded = false;
    for (long budget = 0; !succeeded && budget < 16; ++budget) {
      long live_before = qt::live_blocks();
      {
        HA a = make_a("shared %d");
        HA other(LStrAllocCloneAA(a.get()));
        HW w = make_w(QW("wide %d"));
        qt::fail_allocations_after(budget);
        Failure f = failure_of([&] { run(a.get(), w.get()); });
        qt::fail_allocations_after(-1);
        succeeded = f == Failure::none;
        if (!succeeded) {
          EXPECT_EQ(f, Failure::out_of_memory) << "budget " << budget;
          EXPECT_EQ(text(a.get()), "shared %d");
          EXPECT_EQ(text(other.get()), "shared %d");
          EXPECT_EQ(text(w.get()), QW("wide %d"));
        }
      }
      EXPECT_EQ(qt::live_blocks(), live_before) << "budget " << budget;
    }
    EXPECT_TRUE(succeeded);
  }
}
