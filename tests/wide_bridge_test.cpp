// The W size of a host's BSTR whose length prefix no handle of ours would hold.
#include <algorithm>
#include <cstdint>

#include "support.hpp"

using namespace qtest;

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
