// Texts at the longest a handle can hold: 0x7FFFFFF2 bytes for A handles,
// 0x3FFFFFFF units (2 GiB) for W handles. Every way of growing a text is
// driven from just below the limit to just past it; past it the call must
// fail as out of memory and leave the handle as it was, even where the
// handle's block would have room for more.
//
// Each case holds one text of about 2 GiB, and a few briefly hold two, so
// the suite needs several GiB of free memory; with less it skips and says so.
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/ansi_str.hpp"
#include "core/wide_str.hpp"
#include "quarnel/quarnel.hpp"
#include "support.hpp"

using namespace qtest;

namespace {

constexpr int kMaxA = static_cast<int>(quarnel::core::kMaxLengthA);
constexpr int kMaxW = static_cast<int>(quarnel::core::kMaxLengthW);
constexpr long long kNeededKiB = 8LL << 20;  // 8 GiB

long long available_kib() {
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  long long value = 0;
  while (meminfo >> key >> value) {
    if (key == "MemAvailable:") return value;
    meminfo.ignore(256, '\n');
  }
  return 0;
}

class Large : public ::testing::Test {
 protected:
  void SetUp() override {
    if (sizeof(void*) < 8) GTEST_SKIP() << "texts of 2 GiB need a 64-bit address space";
    const long long kib = available_kib();
    if (kib < kNeededKiB)
      GTEST_SKIP() << "skipped: " << kib / 1024 << " MiB available, " << kNeededKiB / 1024
                   << " MiB needed for texts of 2 GiB";
  }
};

// How a case ends: the grown text fits, or the call is refused.
enum class Outcome { fits, refused };

template <class H>
struct Case {
  const char* name;
  int start;  // length of the text the case starts from (all one character)
  std::function<void(H&)> grow;
  Outcome outcome;
  long long grown = 0;  // the length after growth, when it fits
};

// The text a case starts from: `length` characters 'x' ending in 'q', in a
// block of the handle's own that has room for the longest text, and usually
// a little more where the allocator rounds the block up. Built once per
// suite: the refused cases leave it as it was, and the others only shorten
// or lengthen it within that room.
void start_a(HA& h, int length) {
  if (!h) h.reset(LStrAllocStringOfCharA('x', kMaxA));
  LStrSetLengthA(h.get(), length);
  LStrSetCharAtA(h.get(), length, 'q');
}
void start_w(HW& h, int length) {
  if (!h) h.reset(LStrAllocStringOfCharW(QW('x'), kMaxW));
  LStrSetLengthW(h.get(), length);
  LStrSetCharAtW(h.get(), length, QW('q'));
}

template <class H, class Start, class Check>
void run(const std::vector<Case<H>>& cases, Start start, Check unchanged) {
  H h;
  for (const Case<H>& c : cases) {
    SCOPED_TRACE(c.name);
    start(h, c.start);
    Failure f = failure_of([&] { c.grow(h); });
    if (c.outcome == Outcome::refused) {
      EXPECT_EQ(f, Failure::out_of_memory);
      unchanged(h.get(), c.start);
    } else {
      EXPECT_EQ(f, Failure::none);
    }
  }
}

void a_unchanged(LStrHandleA h, int length) {
  ASSERT_EQ(LStrLengthA(h), length);
  const char* p = LStrCstrA(h);
  EXPECT_EQ(p[0], 'x');
  EXPECT_EQ(p[length - 1], 'q');
  EXPECT_EQ(p[length], '\0');
}

void w_unchanged(LStrHandleW h, int length) {
  ASSERT_EQ(LStrLengthW(h), length);
  const LWideChar* p = LStrCstrW(h);
  EXPECT_EQ(p[0], QW('x'));
  EXPECT_EQ(p[length - 1], QW('q'));
  EXPECT_EQ(p[length], 0);
  EXPECT_EQ(LStrWideCharBufSizeW(h), 2LL * length);
}

// Checks the length a fitting case left, where that is all it changed.
template <class H, class Length>
std::function<void(H&)> grows_to(std::function<void(H&)> grow, long long expected, Length len) {
  return [=](H& h) {
    grow(h);
    EXPECT_EQ(len(h.get()), expected);
  };
}

}  // namespace

TEST_F(Large, AnsiGrowthStopsAtTheLongestText) {
  const std::string sixteen = "0123456789abcdef";
  using C = Case<HA>;
  auto len = [](LStrHandleA h) { return LStrLengthA(h); };
  std::vector<C> cases = {
      {"AppendA", kMaxA - 8,
       [&](HA& h) {
         HA tail = make_a(sixteen);
         LStrAppendA(h.get(), tail.get());
       },
       Outcome::refused},
      {"AppendASzStrA", kMaxA - 8, [&](HA& h) { LStrAppendASzStrA(h.get(), sixteen.data(), 16); },
       Outcome::refused},
      {"AppendCharA at the limit", kMaxA, [](HA& h) { LStrAppendCharA(h.get(), 'y'); },
       Outcome::refused},
      {"AppendCharA to the limit", kMaxA - 1,
       grows_to<HA>([](HA& h) { LStrAppendCharA(h.get(), 'y'); }, kMaxA, len), Outcome::fits},
      {"AppendIntValueA", kMaxA - 8, [](HA& h) { LStrAppendIntValueA(h.get(), -2147483647 - 1); },
       Outcome::refused},
      {"SetLengthA one past", kMaxA, [](HA& h) { LStrSetLengthA(h.get(), kMaxA + 1); },
       Outcome::refused},
      {"SetLengthA INT_MAX", kMaxA - 0x10000, [](HA& h) { LStrSetLengthA(h.get(), 0x7FFFFFFF); },
       Outcome::refused},
      {"InsertA", kMaxA - 8,
       [&](HA& h) {
         HA piece = make_a(sixteen);
         LStrInsertA(h.get(), piece.get(), 1);
       },
       Outcome::refused},
      {"CatSprintfA", kMaxA - 8, [&](HA& h) { _LStrCatSprintfA(h.get(), "%s", sixteen.c_str()); },
       Outcome::refused},
      {"PadLeftA", kMaxA - 8, [](HA& h) { LStrDestroyA(LStrPadLeftA(h.get(), '*', kMaxA + 1)); },
       Outcome::refused},
      {"ReplaceA", kMaxA - 8,
       [&](HA& h) { LStrDestroyA(LStrReplaceA(h.get(), "q", sixteen.c_str())); }, Outcome::refused},
      // A block grown by appending is allocated at the capped capacity; its
      // spare room must not carry the text past the limit either. Last, as
      // it gives the text away.
      {"appends after a capped block", 1,
       [&](HA& h) {
         h.reset(LStrAllocStringOfCharA('x', 0x60000000));
         HA ys(LStrAllocStringOfCharA('y', 0x1FFFFFF0));
         LStrAppendA(h.get(), ys.get());
         ys.reset();
         ASSERT_EQ(LStrLengthA(h.get()), 0x7FFFFFF0);
         EXPECT_EQ(failure_of([&] { LStrAppendASzStrA(h.get(), sixteen.data(), 16); }),
                   Failure::out_of_memory);
         EXPECT_EQ(failure_of([&] { LStrSetLengthA(h.get(), 0x7FFFFFFF); }),
                   Failure::out_of_memory);
         LStrAppendCharA(h.get(), 'a');
         LStrAppendCharA(h.get(), 'b');
         EXPECT_EQ(failure_of([&] { LStrAppendCharA(h.get(), 'c'); }), Failure::out_of_memory);
         ASSERT_EQ(LStrLengthA(h.get()), kMaxA);
         // The longest text still splits: one field, the whole text.
         CLAnsiStr source(h.release(), true);
         CLAnsiStrList fields(4);
         EXPECT_EQ(SplitBySepExA(&source, ',', &fields, false), 1);
         EXPECT_EQ(LStrLengthA(fields[0].handle), kMaxA);
       },
       Outcome::fits},
  };
  run(cases, start_a, a_unchanged);
}

TEST_F(Large, WideGrowthStopsAtTheLongestText) {
  const std::basic_string<LWideChar> sixteen = QW("0123456789abcdef");
  using C = Case<HW>;
  auto len = [](LStrHandleW h) { return LStrLengthW(h); };
  std::vector<C> cases = {
      {"AppendW", kMaxW - 8,
       [&](HW& h) {
         HW tail = make_w(sixteen);
         LStrAppendW(h.get(), tail.get());
       },
       Outcome::refused},
      {"AppendWSzStrW", kMaxW - 8, [&](HW& h) { LStrAppendWSzStrW(h.get(), sixteen.data(), 16); },
       Outcome::refused},
      {"AppendCharW at the limit", kMaxW, [](HW& h) { LStrAppendCharW(h.get(), QW('y')); },
       Outcome::refused},
      {"AppendCharW to the limit", kMaxW - 1,
       grows_to<HW>([](HW& h) { LStrAppendCharW(h.get(), QW('y')); }, kMaxW, len), Outcome::fits},
      {"AppendIntValueW", kMaxW - 8, [](HW& h) { LStrAppendIntValueW(h.get(), -2147483647 - 1); },
       Outcome::refused},
      {"SetLengthW past", kMaxW, [](HW& h) { LStrSetLengthW(h.get(), 0x40000100); },
       Outcome::refused},
      {"InsertW", kMaxW - 8,
       [&](HW& h) {
         HW piece = make_w(sixteen);
         LStrInsertW(h.get(), piece.get(), 1);
       },
       Outcome::refused},
      {"CatSprintfW", kMaxW - 8,
       [&](HW& h) { _LStrCatSprintfW(h.get(), QW("%s"), QW("0123456789abcdef")); },
       Outcome::refused},
      {"PadLeftW", kMaxW - 8,
       [](HW& h) { LStrDestroyW(LStrPadLeftW(h.get(), QW('*'), kMaxW + 1)); }, Outcome::refused},
      {"ReplaceW", kMaxW - 8,
       [&](HW& h) { LStrDestroyW(LStrReplaceW(h.get(), QW("q"), sixteen.c_str())); },
       Outcome::refused},
      {"WideCharBufSizeW at the limit", kMaxW,
       [](HW& h) { EXPECT_EQ(LStrWideCharBufSizeW(h.get()), 2LL * kMaxW); }, Outcome::fits},
  };
  run(cases, start_w, w_unchanged);
}

// Conversions whose result would be longer than its family allows.
TEST_F(Large, ConversionsPastTheLimitAreRefused) {
  HA a(LStrAllocStringOfCharA('x', kMaxW + 1));
  HW w;
  EXPECT_EQ(failure_of([&] { w.reset(LStrAllocCloneAW(a.get())); }), Failure::out_of_memory);
  EXPECT_EQ(failure_of([&] { w.reset(LStrAllocFromASzStrW(LStrCstrA(a.get()), kMaxW + 1)); }),
            Failure::out_of_memory);
  EXPECT_FALSE(w);
}

// Texts a host passes in that are longer than any handle can hold.
TEST_F(Large, HostTextsLongerThanAnyHandleAreRefused) {
  {
    // One character past the limit, then "=v" for the name-value split.
    std::string huge;
    huge.reserve(static_cast<std::size_t>(kMaxA) + 3);
    huge.append(static_cast<std::size_t>(kMaxA) + 1, 'y').append("=v");
    HA h = make_a("aqa");
    CLAnsiStrList fields(2);
    const std::vector<std::pair<const char*, std::function<void()>>> calls = {
        {"AllocFromASzStrA", [&] { LStrDestroyA(LStrAllocFromASzStrA(huge.data(), kMaxA + 1)); }},
        {"AssignASzStrA", [&] { LStrAssignASzStrA(h.get(), huge.data(), kMaxA + 1); }},
        {"AppendASzStrA", [&] { LStrAppendASzStrA(h.get(), huge.data(), -1); }},
        {"ReplaceA", [&] { LStrDestroyA(LStrReplaceA(h.get(), "q", huge.c_str())); }},
        {"SplitNamedEquA", [&] { SplitNamedEquA(huge.c_str(), &fields, false, '='); }},
    };
    for (const auto& [name, call] : calls) {
      EXPECT_EQ(failure_of([&] { call(); }), Failure::out_of_memory) << name;
      EXPECT_EQ(text(h.get()), "aqa") << name;
    }
  }
  const wstr huge(static_cast<std::size_t>(kMaxW) + 1, QW('y'));
  HW h = make_w(QW("aqa"));
  const std::vector<std::pair<const char*, std::function<void()>>> calls = {
      {"AllocFromWSzStrW", [&] { LStrDestroyW(LStrAllocFromWSzStrW(huge.data(), -1)); }},
      {"AssignWSzStrW", [&] { LStrAssignWSzStrW(h.get(), huge.data(), kMaxW + 1); }},
      {"AppendWSzStrW", [&] { LStrAppendWSzStrW(h.get(), huge.data(), -1); }},
  };
  for (const auto& [name, call] : calls) {
    EXPECT_EQ(failure_of([&] { call(); }), Failure::out_of_memory) << name;
    EXPECT_EQ(text(h.get()), QW("aqa")) << name;
  }
}
