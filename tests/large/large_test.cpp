// Texts at the longest a handle can hold: 0x7FFFFFF2 bytes for A handles,
// 0x3FFFFFFF units (2 GiB) for W handles. Every way of growing a text is
// driven from just below the limit to just past it; past it the call must
// fail as out of memory and leave the handle as it was, even where the
// handle's block would have room for more.
//
// Each case holds one text of about 2 GiB, and a few briefly hold two, so
// the suite needs several GiB of free memory; with less it skips and says so.
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

// A call that would carry a text past its family's limit, made on a handle
// whose text is `start` characters long.
template <class H>
struct Refused {
  const char* name;
  int start;
  std::function<void(H&)> grow;
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

// Reads the length word and the text as a host does, without a call.
template <class Rec>
void unchanged(Rec* h, int length) {
  using Ops = quarnel::detail::HandleOps<Rec>;
  ASSERT_EQ(Ops::length(h), length);
  const typename Ops::Char* p = Ops::text(h);
  EXPECT_EQ(p[0], 'x');
  EXPECT_EQ(p[length - 1], 'q');
  EXPECT_EQ(p[length], 0);
}

// Each call must fail as out of memory and leave the text as it was.
template <class H, class Start>
void expect_refused(H& h, const std::vector<Refused<H>>& cases, Start start) {
  for (const Refused<H>& c : cases) {
    SCOPED_TRACE(c.name);
    start(h, c.start);
    EXPECT_EQ(failure_of([&] { c.grow(h); }), Failure::out_of_memory);
    unchanged(h.get(), c.start);
  }
}

}  // namespace

TEST_F(Large, AnsiTextsStopAtTheLongest) {
  const std::string sixteen = "0123456789abcdef";
  std::string huge;
  CLAnsiStrList fields(2);
  HA held;
  HW w;
  expect_refused<HA>(
      held,
      {
          {"AppendA", kMaxA - 8, [&](HA& h) { LStrAppendA(h.get(), make_a(sixteen).get()); }},
          {"AppendASzStrA", kMaxA - 8,
           [&](HA& h) { LStrAppendASzStrA(h.get(), sixteen.data(), 16); }},
          {"AppendCharA", kMaxA, [](HA& h) { LStrAppendCharA(h.get(), 'y'); }},
          {"AppendIntValueA", kMaxA - 8,
           [](HA& h) { LStrAppendIntValueA(h.get(), -2147483647 - 1); }},
          {"SetLengthA", kMaxA, [](HA& h) { LStrSetLengthA(h.get(), kMaxA + 1); }},
          {"InsertA", kMaxA - 8, [&](HA& h) { LStrInsertA(h.get(), make_a(sixteen).get(), 1); }},
          {"CatSprintfA", kMaxA - 8,
           [&](HA& h) { _LStrCatSprintfA(h.get(), "%s", sixteen.c_str()); }},
          {"PadLeftA", kMaxA - 8,
           [](HA& h) { LStrDestroyA(LStrPadLeftA(h.get(), '*', kMaxA + 1)); }},
          {"ReplaceA", kMaxA - 8,
           [&](HA& h) { LStrDestroyA(LStrReplaceA(h.get(), "q", sixteen.c_str())); }},
          // Conversions whose result would be longer than a W text can be.
          {"AllocCloneAW", kMaxW + 1, [&](HA& h) { w.reset(LStrAllocCloneAW(h.get())); }},
          {"AllocFromASzStrW", kMaxW + 1,
           [&](HA& h) { w.reset(LStrAllocFromASzStrW(LStrCstrA(h.get()), kMaxW + 1)); }},
      },
      start_a);
  EXPECT_FALSE(w);
  start_a(held, kMaxA - 1);
  LStrAppendCharA(held.get(), 'y');
  EXPECT_EQ(LStrLengthA(held.get()), kMaxA);

  // Host texts longer than any handle can hold, on a short text: one
  // character past the limit, then "=v" for the name-value split.
  held.reset();
  huge.reserve(static_cast<std::size_t>(kMaxA) + 3);
  huge.append(static_cast<std::size_t>(kMaxA) + 1, 'y').append("=v");
  expect_refused<HA>(
      held,
      {
          {"AllocFromASzStrA", 2,
           [&](HA&) { LStrDestroyA(LStrAllocFromASzStrA(huge.data(), kMaxA + 1)); }},
          {"AssignASzStrA", 2, [&](HA& h) { LStrAssignASzStrA(h.get(), huge.data(), kMaxA + 1); }},
          {"AppendASzStrA", 2, [&](HA& h) { LStrAppendASzStrA(h.get(), huge.data(), -1); }},
          {"ReplaceA", 2, [&](HA& h) { LStrDestroyA(LStrReplaceA(h.get(), "q", huge.c_str())); }},
          {"SplitNamedEquA", 2, [&](HA&) { SplitNamedEquA(huge.c_str(), &fields, false, '='); }},
      },
      [](HA& h, int) { h = make_a("xq"); });
  huge = std::string();

  // A block grown by appending is allocated at the capped capacity; its
  // spare room must not carry the text past the limit either.
  held.reset(LStrAllocStringOfCharA('x', 0x60000000));
  HA ys(LStrAllocStringOfCharA('y', 0x1FFFFFF0));
  LStrAppendA(held.get(), ys.get());
  ys.reset();
  ASSERT_EQ(LStrLengthA(held.get()), 0x7FFFFFF0);
  EXPECT_EQ(failure_of([&] { LStrAppendASzStrA(held.get(), sixteen.data(), 16); }),
            Failure::out_of_memory);
  EXPECT_EQ(failure_of([&] { LStrSetLengthA(held.get(), 0x7FFFFFFF); }), Failure::out_of_memory);
  LStrAppendCharA(held.get(), 'a');
  LStrAppendCharA(held.get(), 'b');
  EXPECT_EQ(failure_of([&] { LStrAppendCharA(held.get(), 'c'); }), Failure::out_of_memory);
  ASSERT_EQ(LStrLengthA(held.get()), kMaxA);
  // The longest text still splits: one field, the whole text.
  CLAnsiStr source(held.release(), true);
  EXPECT_EQ(SplitBySepExA(&source, ',', &fields, false), 1);
  EXPECT_EQ(LStrLengthA(fields[0].handle), kMaxA);
}

TEST_F(Large, WideTextsStopAtTheLongest) {
  const wstr sixteen = QW("0123456789abcdef");
  HW held;
  // The calls whose length rule is the same code for both families are
  // driven past the limit on A texts above; here the W limit itself.
  expect_refused<HW>(
      held,
      {
          {"AppendW", kMaxW - 8, [&](HW& h) { LStrAppendW(h.get(), make_w(sixteen).get()); }},
          {"AppendWSzStrW", kMaxW - 8,
           [&](HW& h) { LStrAppendWSzStrW(h.get(), sixteen.data(), 16); }},
          {"AppendCharW", kMaxW, [](HW& h) { LStrAppendCharW(h.get(), QW('y')); }},
          {"SetLengthW", kMaxW, [](HW& h) { LStrSetLengthW(h.get(), 0x40000100); }},
          {"ReplaceW", kMaxW - 8,
           [&](HW& h) { LStrDestroyW(LStrReplaceW(h.get(), QW("q"), sixteen.c_str())); }},
      },
      start_w);
  start_w(held, kMaxW - 1);
  LStrAppendCharW(held.get(), QW('y'));
  EXPECT_EQ(LStrLengthW(held.get()), kMaxW);
  EXPECT_EQ(LStrWideCharBufSizeW(held.get()), 2LL * kMaxW);

  held.reset();
  const wstr huge(static_cast<std::size_t>(kMaxW) + 1, QW('y'));
  expect_refused<HW>(
      held,
      {
          {"AllocFromWSzStrW", 2,
           [&](HW&) { LStrDestroyW(LStrAllocFromWSzStrW(huge.data(), -1)); }},
          {"AssignWSzStrW", 2, [&](HW& h) { LStrAssignWSzStrW(h.get(), huge.data(), kMaxW + 1); }},
          {"AppendWSzStrW", 2, [&](HW& h) { LStrAppendWSzStrW(h.get(), huge.data(), -1); }},
      },
      [](HW& h, int) { h = make_w(QW("xq")); });
}
