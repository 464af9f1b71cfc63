// Copying A text into a caller's UTF-16 buffer, and the two size functions.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "support.hpp"

using namespace qtest;

namespace {

struct Case {
  std::string ansi;  // code page 1252
  wstr wide;         // the text up to the first zero byte, converted
};

const Case kCases[] = {
    {"", QW("")},
    {"abc", QW("abc")},
    {std::string("ab\0cd", 5), QW("ab")},
    {std::string("\0x", 2), QW("")},
    {"caf\xe9 \x80\x81\xff", QW("caf\u00e9 \u20ac\u0081\u00ff")},
};

}  // namespace

// The twins' size functions measure different things on the same text: the
// A one UTF-16 units up to the first zero plus a terminator, the W one bytes
// of the whole text, zero units included, without a terminator.
TEST(WideBridge, SizesOfTheTwinsMeasureDifferentThings) {
  for (const Case& c : kCases) {
    HA a = make_a(c.ansi);
    HW w(LStrAllocCloneAW(a.get()));
    EXPECT_EQ(LStrWideCharBufSizeA(a.get()), static_cast<int>(c.wide.size()) + 1) << c.ansi;
    EXPECT_EQ(LStrWideCharBufSizeW(w.get()), 2 * static_cast<int>(c.ansi.size())) << c.ansi;
  }
  EXPECT_EQ(LStrWideCharBufSizeW(make_w(QW("\U0001F600")).get()), 4);  // a surrogate pair
}

TEST(WideBridge, CopyWritesTextAndTerminatorWithinCapacity) {
  constexpr LWideChar kGuard = 0xBEEF;
  for (const Case& c : kCases) {
    HA a = make_a(c.ansi);
    int need = LStrWideCharBufSizeA(a.get());
    for (int capacity : {need + 3, need, need - 1, 0, -1}) {
      SCOPED_TRACE(testing::Message() << c.ansi << " capacity " << capacity);
      std::vector<LWideChar> buffer(static_cast<std::size_t>(need) + 4, kGuard);
      EXPECT_EQ(LStrWideCharA(a.get(), buffer.data(), capacity), buffer.data());
      if (capacity >= need) {
        EXPECT_EQ(wstr(buffer.data()), c.wide);
      }
      // Nothing beyond the capacity is ever touched.
      for (std::size_t i = static_cast<std::size_t>(capacity > 0 ? capacity : 0); i < buffer.size();
           ++i)
        EXPECT_EQ(buffer[i], kGuard) << "unit " << i;
    }
  }
  HA a = make_a("abc");
  EXPECT_EQ(LStrWideCharA(a.get(), nullptr, 0), nullptr);
}

// A host may store any BSTR through LStrBSTRRef, also one whose length
// prefix says more than 2 GiB: its size is capped, never negative.
TEST(WideBridge, WideSizeOfAnOversizedHostBstrIsNotNegative) {
  for (std::uint32_t prefix : {0x7FFFFFFEu, 0x80000000u, 0xFFFFFFFEu}) {
    alignas(4) std::uint32_t block[2] = {prefix, 0};
    HW w(LStrAllocW());
    *LStrBSTRRef(w.get()) = reinterpret_cast<LBSTR>(&block[1]);
    EXPECT_EQ(LStrWideCharBufSizeW(w.get()), static_cast<int>(std::min(prefix, 0x7FFFFFFFu)));
    *LStrBSTRRef(w.get()) = nullptr;  // not a real BSTR: not to be released
  }
}
