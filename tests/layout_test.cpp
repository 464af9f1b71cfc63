// The record and payload layouts that hosts rely on.
#include <cstddef>
#include <cstring>

#include "core/ansi_str.hpp"
#include "support.hpp"

using LAnsiStrCore::LAnsiStrRec;
using LWideStrCore::LWideStrRec;

static_assert(offsetof(LAnsiStrRec, payload) == 0);
static_assert(offsetof(LWideStrRec, payload) == 0);
static_assert(sizeof(bool) == 1);
#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(LAnsiStrRec) == 8 && offsetof(LAnsiStrRec, charIndexBase) == 4);
static_assert(sizeof(LWideStrRec) == 8 && offsetof(LWideStrRec, charIndexBase) == 4);
#endif

// Before the text: the code page (low half of the first word), the
// reference count and the length.
TEST(Layout, AnsiPayloadHeaderPrecedesTheText) {
  qtest::HA a = qtest::make_a("hello");
  qtest::HA b(LStrAllocCloneAA(a.get()));
  std::uint32_t header[3];
  std::memcpy(header, a->payload - 12, sizeof header);
  EXPECT_EQ(header[0] & 0xFFFF, 1252u);
  EXPECT_EQ(header[1], 2u);
  EXPECT_EQ(header[2], 5u);
  EXPECT_EQ(a->payload[5], 0);
}
