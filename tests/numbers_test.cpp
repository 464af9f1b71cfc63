// The number exports of both families: integers and doubles to text, the
// readers and their whole-text rule, appending, and the float exports'
// wiring to the process's regional settings.
//
// Facts relied on: StrToInt takes an optional sign and decimal digits in the
// 32-bit range, or hexadecimal digits after '$' (also "0x"), and raises its
// conversion error for anything else; IntToHex gives upper-case digits,
// zero-padded, never cut; the C scanners skip leading white space and count
// it in "%n", and "%X" accepts a sign and an optional "0x".
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <string>
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

// The digit writer that fills payloads directly, in both unit widths, and the
// integer exports, against the standard library at every power-of-ten edge
// and the limits; IntToHex against the C library's "%.*X".
TEST(NumberText, IntegersMatchTheStandardLibraryAtEveryEdge) {
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
    const auto negative = static_cast<std::int64_t>(0 - v);
    EXPECT_EQ(text(HA(LStrAllocFromUInt64A(v)).get()), std::to_string(v));
    EXPECT_EQ(text(HW(LStrAllocFromUInt64W(v)).get()), widen(std::to_string(v)));
    EXPECT_EQ(text(HA(LStrAllocFromInt64A(negative)).get()), std::to_string(negative));
    EXPECT_EQ(text(HW(LStrAllocFromInt64W(negative)).get()), widen(std::to_string(negative)));
  }
  check(std::numeric_limits<std::int64_t>::min());
  for (int value : {0, -1, 255, 0x12345, -2147483647 - 1, 2147483647})
    for (int digits = -2; digits <= 10; ++digits) {
      char want[16];
      std::snprintf(want, sizeof want, "%.*X", std::max(digits, 1), static_cast<unsigned>(value));
      EXPECT_EQ(text(HA(LStrIntToHexA(value, digits)).get()), want);
      EXPECT_EQ(text(HW(LStrIntToHexW(value, digits)).get()), widen(want));
    }
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
  EXPECT_EQ(LStrLengthW(HW(LStrFloatToStrFW(1, 9, 15, 2)).get()), 0);
  // FormatFloat takes its picture from a handle.
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

TEST(NumberReaders, IntegersOrTheirFailure) {
  // Each text through ToInt (kRaises: the conversion error) and through
  // ToIntDef (kDefault: the default given back), in both families.
  constexpr int kDefault = -99;
  const int min = std::numeric_limits<int>::min(), max = std::numeric_limits<int>::max();
  struct Case {
    std::string text;
    int value, value_or_default;
  } cases[] = {
      // clang-format off
      {"0x1F", 31, 31}, {"0X1f", 31, 31}, {" 0x1F", 31, kDefault}, {"0x1F ", 31, kDefault},
      {"0x1FZZ", 31, kDefault}, {"0xF:", 15, kDefault}, {"0xFG", 15, kDefault}, {"0xZZ", 0, kDefault},
      {"0x 1F", 31, 31}, {"0x0x1F", 31, 31}, {"0x0x", 0, kDefault}, {"0x-1F", -31, -31},
      {"0xFFFFFFFF", -1, -1}, {"0x80000000", min, min}, {" -42", -42, -42}, {"+7", 7, 7},
      {"\t\n-42", kRaises, -42}, {"$1F", 31, kDefault}, {"-$10", -16, kDefault},
      {"$80000000", min, kDefault}, {"x7FFFFFFF", max, kDefault}, {"-2147483648", min, min},
      {"2147483648", kRaises, min}, {"4294967297", kRaises, 1}, {"abc", kRaises, kDefault},
      {"", kRaises, kDefault}, {"0x", kRaises, kDefault}, {"42 ", kRaises, kDefault},
      {"$", kRaises, kDefault}, {"$100000000", kRaises, kDefault}, {"9:", kRaises, kDefault},
      {"$FG", kRaises, kDefault}, {"1.0", kRaises, kDefault}, {std::string("12\0", 3), kRaises, kDefault},
      // clang-format on
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    HA a = make_a(c.text);
    HW w = make_w(widen(c.text));
    EXPECT_EQ(LStrToIntDefA(a.get(), kDefault), c.value_or_default);
    EXPECT_EQ(LStrToIntDefW(w.get(), kDefault), c.value_or_default);
    for (int family = 0; family < 2; ++family) {
      int got = 0;
      std::string message;
      Failure f = failure_of([&] { got = family == 0 ? LStrToIntA(a.get()) : LStrToIntW(w.get()); },
                             &message);
      EXPECT_EQ(f, c.value == kRaises ? Failure::convert : Failure::none);
      if (c.value == kRaises)
        EXPECT_EQ(message, ("'" + c.text + "' is not a valid integer value").c_str());
      else
        EXPECT_EQ(got, c.value);
    }
  }
}

TEST(NumberReaders, DoublesOnlyFromWholeTexts) {
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
