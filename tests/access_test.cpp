// Assignment, appending, setting the length and single characters against a
// string model; comparison; the W scans behind them.
#include <algorithm>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/unit_scan.hpp"
#include "edit_support.hpp"

using namespace qtest;
using namespace std::string_literals;

// Assignment and appending of texts (under the length rule), handles and
// single characters, setting the length (the host then writes the buffer),
// and reading and writing single characters, against std::string. Sources
// are often the destination itself or a pointer into its own text; half the
// time a clone shares the A payload, and must keep its text. Every text ends
// in a zero character, an empty one too; a W payload is a BSTR (null while
// empty), its length in bytes just before its first unit.
TEST(Edit, AssignAppendSetLengthAndCharactersAgreeWithAStringModel) {
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
    const int kind = step % 4;
    if (!append && kind < 2) model_a.clear(), model_w.clear();
    int got_a = 0, got_w = 0;
    if (kind == 0) {
      got_a = (append ? LStrAppendASzStrA : LStrAssignASzStrA)(
          h.a.get(), null ? nullptr : LStrCstrA(src_a) + skip, n);
      got_w = (append ? LStrAppendWSzStrW : LStrAssignWSzStrW)(
          h.w.get(), null ? nullptr : LStrCstrW(src_w) + skip, n);
      model_a += take(piece_a), model_w += take(piece_w);
    } else if (kind == 1) {
      got_a = (append ? LStrAppendA : LStrAssignA)(h.a.get(), src_a);
      got_w = (append ? LStrAppendW : LStrAssignW)(h.w.get(), src_w);
      model_a += full_a, model_w += full_w;
      // A shares the payload, W copies it.
      EXPECT_TRUE(append || h.a->payload == src_a->payload);
      EXPECT_TRUE(append || self || full_w.empty() || h.w->payload != src_w->payload);
    } else if (kind == 2 && (append || model_a.size() > 64)) {
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
    } else if (kind == 3) {
      // Positions count from the handle's base; only the A form checks them:
      // every position from one before the text to one after, and the
      // extremes. Writing through an address gives a shared A payload its
      // own copy first; a zero character keeps the length.
      const int base = static_cast<int>(rng() % 2), size = static_cast<int>(model_a.size());
      LStrSetCharIndexBaseA(h.a.get(), base);
      LStrSetCharIndexBaseW(h.w.get(), base);
      const int far[] = {INT_MIN, INT_MAX, base - 1 + static_cast<int>(rng() % (size + 2))};
      const int position = far[rng() % 8 ? 2 : rng() % 2];
      const std::size_t i = static_cast<std::size_t>(position) - static_cast<std::size_t>(base);
      const char c = "Q\0"[rng() % 2];
      std::string message;
      if (position < base || position >= base + size) {
        EXPECT_EQ(failure_of([&] { LStrGetCharAtA(h.a.get(), position); }, &message),
                  Failure::range);
        EXPECT_EQ(message, "Range check error");
        EXPECT_EQ(failure_of([&] { LStrSetCharAtA(h.a.get(), position, 'q'); }), Failure::range);
        EXPECT_EQ(failure_of([&] { LStrCharAddrAtA(h.a.get(), position); }), Failure::range);
      } else {
        EXPECT_EQ(LStrGetCharAtA(h.a.get(), position), model_a[i]);
        rng() % 2 ? void(*LStrCharAddrAtA(h.a.get(), position) = c)
                  : LStrSetCharAtA(h.a.get(), position, c);
        model_a[i] = c;
      }
      if (position >= base && i < model_w.size()) {
        EXPECT_EQ(LStrGetCharAtW(h.w.get(), position), model_w[i]);
        rng() % 2 ? void(*LStrCharAddrAtW(h.w.get(), position) = c)
                  : LStrSetCharAtW(h.w.get(), position, c);
        model_w[i] = c;
      }
      got_a = LStrLengthA(h.a.get()), got_w = LStrLengthW(h.w.get());
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
    EXPECT_TRUE(LStrCstrA(h.a.get())[model_a.size()] == 0 &&
                LStrCstrW(h.w.get())[model_w.size()] == 0);
    EXPECT_EQ(static_cast<void*>(LStrBSTRRef(h.w.get())), static_cast<void*>(h.w.get()));
    EXPECT_EQ(LStrCbstrW(h.w.get()), LStrCstrW(h.w.get()));
    std::uint32_t bytes = 0;
    if (h.w->payload) std::memcpy(&bytes, reinterpret_cast<const char*>(h.w->payload) - 4, 4);
    EXPECT_EQ(bytes, 2 * model_w.size());
    EXPECT_EQ(h.w->payload == nullptr, model_w.empty());
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
