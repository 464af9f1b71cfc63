// Reading, single characters, assignment, appending and setting the length
// against a string model, comparison.
#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/unit_scan.hpp"
#include "edit_support.hpp"

using namespace qtest;
using namespace std::string_literals;

TEST(Read, EmptyTextsAndTheBstrLayout) {
  HA a(LStrAllocA());
  HW empty(LStrAllocW()), x = make_w(QW("abc"));
  EXPECT_EQ(*LStrCstrA(a.get()), 0);
  EXPECT_EQ(*LStrCstrW(empty.get()), 0);
  EXPECT_EQ(*LStrBSTRRef(empty.get()), nullptr);
  EXPECT_EQ(*LStrBSTRRef(x.get()), LStrCstrW(x.get()));
  for (LStrHandleW w : {empty.get(), x.get()}) {
    EXPECT_EQ(static_cast<void*>(LStrBSTRRef(w)), static_cast<void*>(w));
    EXPECT_EQ(LStrCbstrW(w), LStrCstrW(w));
  }
  // A BSTR: its length in bytes before the text, a zero unit after it.
  std::uint32_t bytes;
  std::memcpy(&bytes, reinterpret_cast<const char*>(x->payload) - 4, 4);
  EXPECT_EQ(bytes, 6u);
  EXPECT_EQ(x->payload[3], 0);
}

TEST(CharAt, PositionsFollowTheBaseAndTheAnsiFormChecksThem) {
  // Every position from one before the text to one after, and the extremes.
  for (int base : {0, 1})
    for (int position :
         {-2147483647 - 1, base - 1, base, base + 1, base + 2, base + 3, 2147483647}) {
      SCOPED_TRACE(testing::Message() << "base " << base << " position " << position);
      const bool inside = position >= base && position < base + 3;
      const char expected = inside ? "xyz"[position - base] : '\0';
      Twins h = twins("xyz", base);
      HA shared(LStrAllocCloneAA(h.a.get()));
      char got = 0;
      std::string message;
      Failure f = failure_of([&] { got = LStrGetCharAtA(h.a.get(), position); }, &message);
      if (!inside) {
        EXPECT_EQ(f, Failure::range);
        EXPECT_EQ(message, "Range check error");
        EXPECT_EQ(failure_of([&] { LStrSetCharAtA(h.a.get(), position, 'q'); }), Failure::range);
        EXPECT_EQ(failure_of([&] { LStrCharAddrAtA(h.a.get(), position); }), Failure::range);
        EXPECT_EQ(text(h.a.get()), "xyz");
        continue;
      }
      EXPECT_EQ(got, expected);
      EXPECT_EQ(LStrGetCharAtW(h.w.get(), position), static_cast<LWideChar>(expected));
      // Writing through an address gives a shared A payload its own copy first.
      *LStrCharAddrAtA(h.a.get(), position) = 'Q';
      *LStrCharAddrAtW(h.w.get(), position) = QW('Q');
      EXPECT_EQ(LStrGetCharAtA(h.a.get(), position), 'Q');
      EXPECT_EQ(LStrGetCharAtW(h.w.get(), position), QW('Q'));
      EXPECT_EQ(text(shared.get()), "xyz");
      // A zero character keeps the length.
      LStrSetCharAtA(h.a.get(), position, 0);
      LStrSetCharAtW(h.w.get(), position, 0);
      EXPECT_EQ(LStrLengthA(h.a.get()) + LStrLengthW(h.w.get()), 6);
      EXPECT_EQ(text(h.a.get())[static_cast<std::size_t>(position - base)], 0);
      EXPECT_EQ(text(h.w.get())[static_cast<std::size_t>(position - base)], 0);
    }
  HA empty(LStrAllocA());
  EXPECT_EQ(failure_of([&] { LStrGetCharAtA(empty.get(), 1); }), Failure::range);
}

// Assignment and appending of texts (under the length rule), handles and
// single characters, and setting the length (the host then writes the
// buffer), against std::string. Sources are often the destination itself or
// a pointer into its own text; half the time a clone shares the A payload,
// and must keep its text.
TEST(Edit, AssignAppendAndSetLengthAgreeWithAStringModel) {
  std::mt19937 rng(17);
  Twins h = twins("");
  std::string model_a;
  wstr model_w;  // a W text appends no zero character
  for (int step = 0; step < 4000; ++step) {
    HA shared(rng() % 2 ? LStrAllocCloneAA(h.a.get()) : nullptr);
    const std::string before = model_a;
    const bool self = rng() % 3 == 0, null = rng() % 8 == 0, append = rng() % 2;
    Twins other = twins(random_text(rng, "ab\0"s, 5));
    const LStrHandleA src_a = self ? h.a.get() : other.a.get();
    const LStrHandleW src_w = self ? h.w.get() : other.w.get();
    const std::string full_a = text(src_a);
    const wstr full_w = text(src_w);
    // Own texts are read from their second character.
    const std::size_t skip = self && !full_a.empty() && !full_w.empty();
    const std::string piece_a = full_a.substr(skip);
    const wstr piece_w = full_w.substr(skip);
    // The length rule: a negative length reads to the first zero.
    const int n = static_cast<int>(rng() % (std::min(piece_a.size(), piece_w.size()) + 3)) - 2;
    auto take = [n, null](auto s) {
      using S = decltype(s);
      return null ? S() : s.substr(0, n < 0 ? s.find(typename S::value_type{}) : std::size_t(n));
    };
    if (!append && step % 3 != 2) model_a.clear(), model_w.clear();
    int got_a = 0, got_w = 0;
    if (step % 3 == 0) {
      got_a = (append ? LStrAppendASzStrA : LStrAssignASzStrA)(
          h.a.get(), null ? nullptr : LStrCstrA(src_a) + skip, n);
      got_w = (append ? LStrAppendWSzStrW : LStrAssignWSzStrW)(
          h.w.get(), null ? nullptr : LStrCstrW(src_w) + skip, n);
      model_a += take(piece_a), model_w += take(piece_w);
    } else if (step % 3 == 1) {
      got_a = (append ? LStrAppendA : LStrAssignA)(h.a.get(), src_a);
      got_w = (append ? LStrAppendW : LStrAssignW)(h.w.get(), src_w);
      model_a += full_a, model_w += full_w;
      // A shares the payload, W copies it.
      EXPECT_TRUE(append || h.a->payload == src_a->payload);
      EXPECT_TRUE(append || self || full_w.empty() || h.w->payload != src_w->payload);
    } else if (append || model_a.size() > 64) {
      // Growing keeps the text and the host writes the rest; it writes the
      // first character too, even at the same length.
      const int length = static_cast<int>(rng() % (model_a.size() + 40)) - 2;
      got_a = LStrSetLengthA(h.a.get(), length);
      got_w = LStrSetLengthW(h.w.get(), length);
      const std::size_t kept = static_cast<std::size_t>(std::max(length, 0));
      auto fill = [kept](auto* buffer, auto& model) {
        const std::size_t old = std::min(model.size(), kept);
        model.resize(kept, '-');
        std::copy(model.begin() + static_cast<std::ptrdiff_t>(old), model.end(), buffer + old);
        if (kept) buffer[0] = model[0] = 'Q';
        EXPECT_EQ(buffer[kept], 0);
      };
      fill(const_cast<char*>(LStrCstrA(h.a.get())), model_a);
      fill(const_cast<LWideChar*>(LStrCstrW(h.w.get())), model_w);
    } else {
      const char c = piece_a.empty() ? 0 : piece_a[0];
      model_a += c;
      if (c) model_w += static_cast<LWideChar>(c);
      const char* pa = LStrAppendCharA(h.a.get(), c);
      LWideChar* pw = LStrAppendCharW(h.w.get(), c);
      EXPECT_EQ(pa, LStrCstrA(h.a.get()));
      EXPECT_EQ(pw, h.w->payload);  // null while empty
      got_a = LStrLengthA(h.a.get()), got_w = LStrLengthW(h.w.get());
    }
    ASSERT_EQ(text(h.a.get()), model_a) << "step " << step;
    ASSERT_EQ(text(h.w.get()), model_w) << "step " << step;
    EXPECT_EQ(got_a, static_cast<int>(model_a.size()));
    EXPECT_EQ(got_w, static_cast<int>(model_w.size()));
    if (shared) {
      EXPECT_EQ(text(shared.get()), before);
    }
  }
}

// Comparison against std::string: A compares every byte as unsigned and
// answers -1, 0 or 1; W compares up to the first zero unit, but an empty
// text is below any other, answered exactly. The case-insensitive forms on ASCII texts.
TEST(Compare, OrderingOfBothFamiliesWithAndWithoutCase) {
  std::mt19937 rng(19);
  auto sign = [](auto x) { return (x > 0) - (x < 0); };
  auto lower = [](std::string s) {
    for (char& c : s) c = c == 'A' || c == 'B' ? static_cast<char>(c + 32) : c;
    return s;
  };
  for (int round = 0; round < 3000; ++round) {
    const std::string alphabet = round % 2 ? "aAbB"s : "ab\0\x80\x7f"s;
    const std::string s = random_text(rng, alphabet, 3), t = random_text(rng, alphabet, 3);
    SCOPED_TRACE(testing::Message() << '"' << s << "\" vs \"" << t << '"');
    HA a = make_a(s), b = make_a(t);
    HW x(LStrAllocCloneAW(a.get())), y(LStrAllocCloneAW(b.get()));
    EXPECT_EQ(LStrCompareA(a.get(), b.get()), sign(s.compare(t)));
    // An empty text is below any other, zero units included.
    const bool empty = s.empty() || t.empty();
    const int w = empty ? sign(static_cast<int>(s.size()) - static_cast<int>(t.size()))
                        : sign(wstr(LStrCstrW(x.get())).compare(LStrCstrW(y.get())));
    const int got_w = LStrCompareW(x.get(), y.get());
    EXPECT_EQ(empty ? got_w : sign(got_w), w);
    if (round % 2) {
      EXPECT_EQ(sign(LStrCompareICA(a.get(), b.get())), sign(lower(s).compare(lower(t))));
      EXPECT_EQ(sign(LStrCompareICW(x.get(), y.get())), sign(lower(s).compare(lower(t))));
    }
  }
  // W units compare as unsigned numbers, surrogates and private use included.
  HW high = make_w(QW("\xD83D\xDE00")), ascii = make_w(QW("z"));
  EXPECT_GT(LStrCompareW(high.get(), ascii.get()), 0);
  EXPECT_LT(LStrCompareW(ascii.get(), high.get()), 0);
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
