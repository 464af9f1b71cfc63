// The number exports of both families: integers and doubles to text, the
// readers and their whole-text rule, appending, and the float exports'
// wiring to the process's regional settings.
//
// Facts relied on: StrToInt takes an optional sign and decimal digits in the
// 32-bit range, or hexadecimal digits after '$' (also "0x"), and raises its
// conversion error for anything else; IntToHex gives upper-case digits,
// zero-padded, never cut; the C scanners skip leading white space and count
// it in "%n", and "%X" accepts a sign and an optional "0x".
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "convert/float_format.hpp"
#include "convert/int_text.hpp"
#include "support.hpp"

using namespace qtest;

namespace {

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
  const std::int64_t min64 = std::numeric_limits<std::int64_t>::min();
  EXPECT_EQ(text(HA(LStrAllocFromInt64A(min64)).get()), "-9223372036854775808");
  EXPECT_EQ(text(HW(LStrAllocFromInt64W(min64)).get()), QW("-9223372036854775808"));
  EXPECT_EQ(text(HA(LStrAllocFromInt64A(0)).get()), "0");
  EXPECT_EQ(text(HW(LStrAllocFromInt64W(-7)).get()), QW("-7"));
  EXPECT_EQ(text(HA(LStrAllocFromUInt64A(~0ull)).get()), "18446744073709551615");
  EXPECT_EQ(text(HW(LStrAllocFromUInt64W(~0ull)).get()), QW("18446744073709551615"));
  EXPECT_EQ(text(HW(LStrAllocFromUInt64W(0)).get()), QW("0"));
  struct HexCase {
    int value, digits;
    const char* text;
  } hex_cases[] = {{255, 4, "00FF"},
                   {-1, 0, "FFFFFFFF"},
                   {0x12345, 2, "12345"},
                   {0, -5, "0"},
                   {-2147483647 - 1, 10, "0080000000"}};
  for (const HexCase& c : hex_cases) {
    EXPECT_EQ(text(HA(LStrIntToHexA(c.value, c.digits)).get()), c.text);
    EXPECT_EQ(text(HW(LStrIntToHexW(c.value, c.digits)).get()), widen(c.text));
  }
}

// The digit writer that fills payloads directly, in both unit widths,
// against the standard library at every power-of-ten edge and the limits.
TEST(NumberText, DecimalWriterMatchesToCharsAtEveryEdge) {
  std::vector<std::uint64_t> values = {0, std::numeric_limits<std::uint64_t>::max()};
  for (std::uint64_t p = 1; p <= 1000000000000000000ull; p *= 10)
    for (std::uint64_t v : {p - 1, p, p + 1, 2 * p - 1}) values.push_back(v);
  auto check = [](auto value) {
    char want[24];
    const auto n = static_cast<std::size_t>(std::to_chars(want, want + 24, value).ptr - want);
    char a[24];
    char16_t w[24];
    ASSERT_EQ(quarnel::convert::decimal_length(value), n) << want;
    ASSERT_EQ(quarnel::convert::write_decimal(a, value), n);
    ASSERT_EQ(quarnel::convert::write_decimal(w, value), n);
    EXPECT_EQ(std::string_view(a, n), std::string_view(want, n));
    EXPECT_EQ(std::u16string_view(w, n), std::u16string(want, want + n));
  };
  for (std::uint64_t v : values) {
    check(v);
    check(static_cast<std::int64_t>(v));
    check(0 - static_cast<std::int64_t>(v));
  }
  check(std::numeric_limits<std::int64_t>::min());
}

TEST(NumberText, DoublesFollowTheProcessSettings) {
  // Both families give the general text with 15 digits (A as FloatToStr, W
  // through "%g"), in the user's separators.
  for (double v : {1234.5, -1.0 / 3, 1e20, std::numeric_limits<double>::quiet_NaN()}) {
    wstr expected = process_text(v, 0, 15, 0);
    EXPECT_EQ(text(HW(LStrAllocFromDoubleW(v)).get()), expected) << v;
    EXPECT_EQ(widen(text(HA(LStrAllocFromDoubleA(v)).get())), expected) << v;
  }
  for (int format = 0; format <= 4; ++format) {
    // Only the low byte of the format selects it.
    wstr expected = process_text(-1234.5, static_cast<unsigned>(format), 15, 2);
    EXPECT_EQ(text(HW(LStrFloatToStrFW(-1234.5, format + 0x300, 15, 2)).get()), expected);
    EXPECT_EQ(widen(text(HA(LStrFloatToStrFA(-1234.5, format, 15, 2)).get())).size(),
              expected.size());
  }
  LWideChar point = quarnel::platform::number_settings().decimal;
  EXPECT_EQ(text(HW(LStrFloatToStrFW(1234.5, 2, 15, 2)).get()),
            QW("1234") + wstr(1, point) + QW("50"));
  EXPECT_EQ(LStrLengthW(HW(LStrFloatToStrFW(1, 9, 15, 2)).get()), 0);
}

TEST(NumberText, FormatFloatTakesTheHandlesText) {
  double v = -1234.5;
  HW picture = make_w(QW("0.0;(0.0)"));
  EXPECT_EQ(text(HW(LStrFormatFloatW(picture.get(), &v)).get()).substr(0, 5), QW("(1234"));
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
      // clang-format off
      {"0x1F", 31}, {"0X1f", 31}, {"0x1FZZ", 31}, {"0xZZ", 0}, {"0xFFFFFFFF", -1}, {"0x-1", -1},
      {" -42", -42}, {"+7", 7}, {"$1F", 31}, {"-$10", -16}, {"-2147483648", -2147483647 - 1},
      {"2147483648", kRaises}, {"abc", kRaises}, {"", kRaises}, {"0x", kRaises}, {"42 ", kRaises},
      {"$", kRaises}, {"$80000000", -2147483647 - 1}, {"x7FFFFFFF", 2147483647},
      {"$100000000", kRaises}, {"9:", kRaises}, {"$FG", kRaises},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    HA a = make_a(c.text);
    HW w = make_w(widen(c.text));
    for (int family = 0; family < 2; ++family) {
      int got = 0;
      std::string message;
      Failure f = failure_of([&] { got = family == 0 ? LStrToIntA(a.get()) : LStrToIntW(w.get()); },
                             &message);
      EXPECT_EQ(f, c.value == kRaises ? Failure::convert : Failure::none);
      if (c.value == kRaises)
        EXPECT_EQ(message, "'" + std::string(c.text) + "' is not a valid integer value");
      else
        EXPECT_EQ(got, c.value);
    }
  }
}

TEST(NumberReaders, DefaultReadersTakeOnlyWholeTexts) {
  const int d = -99;
  struct Case {
    std::string text;
    int value;
  } ints[] = {
      // clang-format off
      {"0x1F", 31}, {"0X1f", 31}, {" 42", 42}, {"\t\n-42", -42}, {"42 ", d}, {"", d}, {"0x", d},
      {" 0x1F", d}, {"0x1F ", d}, {"0x 1F", 31}, {"0x-1F", -31}, {"0x0x1F", 31}, {"0x0x", d},
      {"1.0", d}, {std::string("12\0", 3), d}, {"4294967297", 1}, {"9:", d}, {"0xF:", d},
      {"0xFG", d}, {"0x80000000", -2147483647 - 1},
      // clang-format on
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
      // clang-format off
      {"1.5", 1.5}, {" -2.5e3", -2500}, {"+.5", 0.5}, {"1e-400", 0}, {"-1e999", -HUGE_VAL},
      {"0x1.8p1", 3}, {"INF", HUGE_VAL}, {"1,5", dd}, {"1.5 ", dd}, {"", dd}, {" ", dd},
      {"1e", dd}, {"--1", dd}, {"0x", dd}, {std::string("2\0", 2), dd},
      // clang-format on
  };
  for (const DCase& c : doubles) {
    EXPECT_EQ(LStrToDoubleDefA(make_a(c.text).get(), dd), c.value) << c.text;
    EXPECT_EQ(LStrToDoubleDefW(make_w(widen(c.text)).get(), dd), c.value) << c.text;
  }
  EXPECT_TRUE(std::isnan(LStrToDoubleDefA(make_a("nan").get(), dd)));
  EXPECT_EQ(LStrToDoubleDefW(make_w(QW("1\u00BD")).get(), dd), dd);  // not ASCII
}

TEST(NumberText, AppendIntValue) {
  HA a(LStrAllocA());
  char* p = LStrAppendIntValueA(a.get(), -7);
  EXPECT_EQ(p, LStrCstrA(a.get()));
  EXPECT_STREQ(LStrAppendIntValueA(a.get(), -2147483647 - 1), "-7-2147483648");
  HW w = make_w(QW("n="));
  EXPECT_EQ(LStrAppendIntValueW(w.get(), 2147483647), w->payload);
  EXPECT_EQ(text(w.get()), QW("n=2147483647"));
}
