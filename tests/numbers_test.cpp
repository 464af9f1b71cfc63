// Floating-point text as the runtime routines document it, under injected
// regional settings. Facts relied on (from the routines' public docs, and
// where the routines behave otherwise, from their observed behaviour):
//  - FloatToStr is the general format with 15 significant digits: fixed
//    notation while the value has at most 15 integer digits and is at least
//    0.0001 (the docs say 0.00001; the routines switch at 0.0001, so 1E-5 is
//    scientific), trailing zeros and a needless decimal point dropped, the
//    exponent written "E20" / "E-5" (FloatToStr(1E100) is "1E100").
//  - ffExponent: "d.ddd...E+dddd" with Precision digits in all and at least
//    Digits (0..4) exponent digits, sign always shown.
//  - ffFixed / ffNumber: Digits (0..18) decimals, the value first rounded to
//    Precision significant digits (Precision 5, Digits 3: 345.6789 gives
//    345.680); more integer digits than Precision gives scientific notation.
//  - ffCurrency: CurrencyFormat 0-3 and NegCurrFormat 0-15 place the symbol,
//    sign, space and parentheses ("($1.23)", "-$1.23", ... "(1.23 $)").
//  - Not-a-number is "NAN", infinities "INF" and "-INF".
//  - FormatFloat's sample table: "0" with 0.5 gives "1" (halves round away
//    from zero), "#.##" with 0 gives "", "#,##0.00;;Zero" uses the first
//    section for -1234 and "Zero" for 0, "#.###E-0" with 0.5 gives "5E-1".
//
// Then the number exports of both families: integers and doubles to text,
// the readers and their whole-text rule, appending, and the float exports'
// wiring to the process's regional settings. StrToInt takes an optional sign
// and decimal digits in the 32-bit range, or hexadecimal digits after '$'
// (also "0x"), and raises its conversion error for anything else; IntToHex
// gives upper-case digits, zero-padded, never cut; the C scanners skip
// leading white space and count it in "%n", and "%X" accepts a sign and an
// optional "0x". tests/CMakeLists.txt runs the export tests a second time
// under a German locale and names it in QUARNEL_EXPECT_LOCALE; on Windows,
// Wine takes the user locale from the same environment.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "convert/float_format.hpp"
#include "convert/int_text.hpp"
#if !defined(_WIN32)
#include "platform/posix/number_settings.hpp"
#endif
#include "support.hpp"

using namespace quarnel::convert;
using namespace qtest;
using quarnel::platform::number_settings;

namespace {

constexpr int kRaises = std::numeric_limits<int>::min() + 12345;  // marks "raises"

const double kNaN = std::numeric_limits<double>::quiet_NaN();

const NumberSettings kUs{.currency = {'$'}};
// German conventions: separators, the euro sign (one unit) after the amount
// (layouts 3 and 8), two decimals.
const NumberSettings kDe{',', '.', {0x20AC}, 1, 3, 8, 2};
const NumberSettings kNoGrouping{.thousands = 0};  // a user without a thousands separator

// UTF-16 text from a byte literal that holds ASCII and at most '\x80' for the
// euro sign.
wstr w(const std::string& s) {
  wstr r;
  for (char c : s) r.push_back(c == '\x80' ? LWideChar(0x20AC) : LWideChar(c));
  return r;
}

wstr float_text(double v, unsigned format, int precision, int digits,
                const NumberSettings& s = kUs) {
  NumberText out;
  float_to_text(out, v, format, precision, digits, s);
  return wstr(out.view());
}

}  // namespace

TEST(FloatToStrF, EachFormatCode) {
  // What the C library comparison below leaves out: zero has no sign,
  // non-finite values; the fixed forms, rounded once to the precision or the
  // decimals (halves away from zero, carries included), unsigned when they
  // show zero, scientific with more integer digits than the precision; the
  // user's separators.
  struct Case {
    double value;
    unsigned format;
    int precision, digits;
    const char* text;
    const NumberSettings& settings = kUs;
  } cases[] = {
      // clang-format off
      {-0.0, kGeneral, 15, 0, "0"}, {kNaN, kGeneral, 15, 0, "NAN"}, {-HUGE_VAL, kExponent, 15, 0, "-INF"},
      {345.6789, kFixed, 5, 3, "345.680"},           {0.125, kFixed, 15, 2, "0.13"},
      {-2.5, kFixed, 15, 0, "-3"},                   {0.015, kFixed, 15, 2, "0.01"},
      {-0.001, kFixed, 15, 2, "0.00"},               {9.999, kFixed, 15, 2, "10.00"},
      {123456, kFixed, 4, 1, "1.235E5"},             {0.5, kFixed, 15, 40, "0.500000000000000000"},
      {-999.5, kNumber, 15, 0, "-1,000"},            {1234567.891, kNumber, 15, 2, "1,234,567.89"},
      {-1234.5, kCurrency, 15, 0, "($1,235)"},       {kNaN, kFixed, 15, 2, "NAN"},
      {1.5, 5, 15, 2, ""}, {1.5e-7, kGeneral, 15, 0, "1,5E-7", kDe}, {1234567, kNumber, 15, 0, "1234567", kNoGrouping},
      {1234567.891, kNumber, 15, 2, "1.234.567,89", kDe}, {-1234.5, kCurrency, 15, 2, "-1.234,50 \x80", kDe},
      // clang-format on
  };
  for (const Case& c : cases)
    EXPECT_EQ(float_text(c.value, c.format, c.precision, c.digits, c.settings), w(c.text))
        << c.value << " format " << c.format << " " << c.precision << "/" << c.digits;
}

TEST(FloatToStrF, CurrencyLayoutsFollowTheSettings) {
  const char* layouts[20] = {"$1.23",   "1.23$",   "$ 1.23",  "1.23 $",   "($1.23)",
                             "-$1.23",  "$-1.23",  "$1.23-",  "(1.23$)",  "-1.23$",
                             "1.23-$",  "1.23$-",  "-1.23 $", "-$ 1.23",  "1.23 $-",
                             "$ 1.23-", "$ -1.23", "1.23- $", "($ 1.23)", "(1.23 $)"};
  NumberSettings s = kUs;
  for (int i = 0; i < 20; ++i) {
    // The first four are the positive layouts, the rest the negative ones.
    (i < 4 ? s.currency_format : s.negative_currency_format) =
        static_cast<std::uint8_t>(i < 4 ? i : i - 4);
    EXPECT_EQ(float_text(i < 4 ? 1.234 : -1.234, kCurrency, 15, 2, s), w(layouts[i])) << i;
  }
}

TEST(FormatFloat, PicturesAndSections) {
  // The documented sample table first; then digits beyond the placeholders,
  // literals, quotes and extra points; sections (empty ones fall back,
  // rounding to zero picks the third); large values without scientific
  // notation, which use the general format.
  struct Case {
    const char* picture;
    double value;
    const char* text;
    const NumberSettings& settings = kUs;
  } cases[] = {
      // clang-format off
      {"", -0.5, "-0.5"}, {"0", 0.5, "1"}, {"0.00", 0.5, "0.50"}, {"#.##", 1234, "1234"},
      {"#.##", 0.5, ".5"}, {"#.##", 0, ""}, {"#,##0.00", -1234, "-1,234.00"},
      {"#,##0.00;(#,##0.00)", -1234, "(1,234.00)"}, {"#,##0.00;;Zero", -1234, "-1,234.00"},
      {"#,##0.00;;Zero", 0, "Zero"}, {"0.000E+00", 0.5, "5.000E-01"},
      {"0.000E+00", -1234, "-1.234E+03"}, {"#.###E-0", 1234, "1.234E3"}, {"#.###E-0", 0, "0E0"},
      {"00000", 1234.567, "01235"}, {"$#,##0.00", -5, "-$5.00"},
      {"'#'0 \"units;\"", 42, "#42 units;"}, {"#-#", 12345, "1234-5"}, {".00", 12.5, "12.50"},
      {"0.0.0", 1.125, "1.13"}, {"00.00E+000", 1234, "12.34E+002"}, {"0E+0", 9.6, "1E+1"},
      {";(0)", -5, "-5"}, {"0.0;(0.0);nil", -0.01, "nil"}, {"0.0;(0.0)", -0.01, "(0.0)"},
      {"0.0", -0.01, "0.0"}, {"0;(0);zero;ignored", 0, "zero"},
      {"0", 999999999999999999.0, "1E18"}, {"0.00E+00", 1e300, "1.00E+300"}, {"0", kNaN, "NAN"},
      {"#,##0.00", 1234.5, "1.234,50", kDe},
      // clang-format on
  };
  for (const Case& c : cases) {
    NumberText out;
    format_float(out, w(c.picture), c.value, c.settings);
    EXPECT_EQ(wstr(out.view()), w(c.text)) << c.picture << " with " << c.value;
  }
}

TEST(FloatToStrF, ExponentAndGeneralFormsMatchTheCLibraryButForHalves) {
  // Against the C library's "%.*E" and "%.*G" with the exponent rewritten (at
  // least Digits digits, 1 to 4; '+' only in exponent form). The C library
  // rounds exact halves to even, ours away from zero: only there may the
  // texts differ. Every other value is an odd number of halves, quarters,
  // ...: rounding it one digit short of its length is an exact half. Now and
  // then a subnormal; precisions past 18 act as 18.
  std::mt19937_64 next(7);
  auto c_text = [](const char* format, int precision, double v, int digits, const char* exponent) {
    char t[96];
    std::snprintf(t, sizeof t, format, precision, v);
    if (char* e = std::strchr(t, 'E'))
      std::snprintf(e + 1, 8, exponent, std::clamp(digits, 1, 4), std::atoi(e + 1));
    return w(t);
  };
  int halves = 0;
  for (int i = 0; i < 20000; ++i) {
    const auto shift = static_cast<int>(i % 16 ? next() % 200 - 100 : next() % 60 - 1110);
    double v = std::ldexp(static_cast<double>(next() >> 11), shift);
    if (i % 2) v = std::ldexp(static_cast<double>(2 * (next() % 100000) + 1), -1 - int(next() % 8));
    char exact[128];
    std::snprintf(exact, sizeof exact, "%.60e", v);
    const std::string digits = std::string(1, exact[0]) + std::string(exact + 2, 60);
    const int last = std::max(1, static_cast<int>(digits.find_last_not_of('0')));
    const int precision = i % 2 ? last : 1 + static_cast<int>(next() % 20);
    const int p = std::min(precision, 18), exponent_digits = static_cast<int>(next() % 6);
    if (i % 3 == 0) v = -v;
    if (float_text(v, kExponent, precision, exponent_digits) ==
        c_text("%.*E", p - 1, v, exponent_digits, "%+.*d")) {
      ASSERT_EQ(float_text(v, kGeneral, precision, exponent_digits),
                c_text("%.*G", p, v, exponent_digits, "%.*d"))
          << v << " at " << precision;
      continue;
    }
    // Must be an exact half: the exact expansion continues with 5000...
    // (The first mismatch ends the test: a broken writer fails everywhere.)
    ASSERT_EQ(digits.substr(static_cast<std::size_t>(p), 41), "5" + std::string(40, '0'))
        << v << " at " << precision;
    ++halves;
  }
  EXPECT_GT(halves, 2000);
}

// The integer exports, whose digit writer fills payloads directly in both
// unit widths, against the standard library at every power-of-ten edge and
// the limits; the low 32 bits of each appended, and through IntToHex against
// the C library's "%.*X".
TEST(NumberText, IntegersMatchTheStandardLibraryAtEveryEdge) {
  std::vector<std::uint64_t> values = {0, 0x7FFFFFFF, 0x80000000, 1ull << 63, ~0ull};
  for (std::uint64_t p = 1; p <= 1000000000000000000ull; p *= 10)
    for (std::uint64_t v : {p - 1, p, p + 1, 2 * p - 1}) values.push_back(v);
  for (std::uint64_t v : values) {
    EXPECT_EQ(text(HA(LStrAllocFromUInt64A(v)).get()), std::to_string(v));
    EXPECT_EQ(text(HW(LStrAllocFromUInt64W(v)).get()), widen(std::to_string(v)));
    for (auto s : {static_cast<std::int64_t>(v), static_cast<std::int64_t>(0 - v)}) {
      EXPECT_EQ(text(HA(LStrAllocFromInt64A(s)).get()), std::to_string(s));
      EXPECT_EQ(text(HW(LStrAllocFromInt64W(s)).get()), widen(std::to_string(s)));
    }
    // Appending gives back the whole payload.
    const auto low = static_cast<int>(v);
    EXPECT_EQ(std::string(LStrAppendIntValueA(make_a("n=").get(), low)),
              "n=" + std::to_string(low));
    EXPECT_EQ(wstr(LStrAppendIntValueW(make_w(QW("n=")).get(), low)),
              widen("n=" + std::to_string(low)));
    for (int digits = -2; digits <= 10; ++digits) {
      char want[16];
      std::snprintf(want, sizeof want, "%.*X", std::max(digits, 1), static_cast<unsigned>(low));
      EXPECT_EQ(text(HA(LStrIntToHexA(low, digits)).get()), want);
      EXPECT_EQ(text(HW(LStrIntToHexW(low, digits)).get()), widen(want));
    }
  }
}

TEST(NumberText, DoublesFollowTheProcessSettings) {
  // Both families give the general text with 15 digits (A as FloatToStr, W
  // through "%g"), in the user's separators.
  for (double v : {1234.5, -1.0 / 3, 1e20, std::numeric_limits<double>::quiet_NaN()}) {
    wstr expected = float_text(v, 0, 15, 0, number_settings());
    EXPECT_EQ(text(HW(LStrAllocFromDoubleW(v)).get()), expected) << v;
    EXPECT_EQ(widen(text(HA(LStrAllocFromDoubleA(v)).get())), expected) << v;
  }
  for (int format = 0; format <= 5; ++format) {
    // Only the low byte of the format selects it; there is no format 5.
    wstr expected = float_text(-1234.5, static_cast<unsigned>(format), 15, 2, number_settings());
    EXPECT_EQ(text(HW(LStrFloatToStrFW(-1234.5, format + 0x300, 15, 2)).get()), expected);
    EXPECT_EQ(widen(text(HA(LStrFloatToStrFA(-1234.5, format, 15, 2)).get())).size(),
              expected.size());
  }
  // FormatFloat takes its picture from a handle, up to its first zero
  // character. Empty pictures: A formats with the empty picture (the general
  // text), W answers "#error#".
  double v = -1234.5;
  EXPECT_EQ(text(HW(LStrFormatFloatW(make_w(QW("0.0;(0.0)")).get(), &v)).get()).substr(0, 5),
            QW("(1234"));
  EXPECT_EQ(text(HA(LStrFormatFloatA(make_a(std::string_view("'x'\0junk", 8)).get(), &v)).get()),
            "-x");
  EXPECT_EQ(widen(text(HA(LStrFormatFloatA(HA(LStrAllocA()).get(), &v)).get())),
            float_text(v, 0, 15, 0, number_settings()));
  EXPECT_EQ(text(HW(LStrFormatFloatW(HW(LStrAllocW()).get(), &v)).get()), QW("#error#"));
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
  const std::pair<std::string, double> doubles[] = {
      // clang-format off
      {"1.5", 1.5}, {" -2.5e3", -2500}, {"+.5", 0.5}, {"1e-400", 0}, {"-1e999", -HUGE_VAL},
      {"0x1.8p1", 3}, {"INF", HUGE_VAL}, {"1,5", dd}, {"1.5 ", dd}, {"", dd}, {" ", dd},
      {"1e", dd}, {"--1", dd}, {"0x", dd}, {std::string("2\0", 2), dd},
      // clang-format on
  };
  for (const auto& [input, value] : doubles) {
    EXPECT_EQ(LStrToDoubleDefA(make_a(input).get(), dd), value) << input;
    EXPECT_EQ(LStrToDoubleDefW(make_w(widen(input)).get(), dd), value) << input;
  }
  EXPECT_TRUE(std::isnan(LStrToDoubleDefA(make_a("nan").get(), dd)));
  EXPECT_EQ(LStrToDoubleDefW(make_w(QW("1\u00BD")).get(), dd), dd);  // not ASCII
}

TEST(ProcessNumberSettings, FollowTheUsersLocale) {
  const char* expected = std::getenv("QUARNEL_EXPECT_LOCALE");
  if (!expected) GTEST_SKIP() << "checked in the run under a named locale";
  ASSERT_STREQ(expected, "de_DE.UTF-8");
  // The separators, and the euro sign through code page 1252; the rest of
  // number output under these settings is checked by the number tests this
  // run repeats.
  EXPECT_EQ(text(HA(LStrFloatToStrFA(-1234.5, 4, 15, 2)).get()), "-1.234,50 \x80");
}

#if !defined(_WIN32)
TEST(ProcessNumberSettings, PosixLocaleConventionsBecomeWindowsLayouts) {
  // A locale's conventions as the currency text they give. The C locale sets
  // nothing, so the defaults stand; German amounts are "1.234,50 €" (layout
  // 3) and "-1.234,50 €" (layout 8).
  for (auto [name, expected] : {std::pair{"C", u"\u00a41,234.50|(\u00a41,234.50)"},
                                {"de_DE.UTF-8", u"1.234,50 \u20ac|-1.234,50 \u20ac"}}) {
    locale_t loc = newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
    ASSERT_TRUE(loc) << name << " missing? tools/setup.sh generates it";
    const NumberSettings s = quarnel::platform::posix::settings_from_locale(loc);
    freelocale(loc);
    EXPECT_EQ(
        float_text(1234.5, kCurrency, 15, 2, s) + u'|' + float_text(-1234.5, kCurrency, 15, 2, s),
        expected);
  }
}
#endif
