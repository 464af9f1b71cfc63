// The record and payload layouts that hosts rely on.
#include <cstddef>
#include <cstring>

#include "core/ansi_str.hpp"
#include "support.hpp"

using LAnsiStrCore::LAnsiStrRec;
using LWideStrCore::LWideStrRec;

static_assert(offsetof(LAnsiStrRec, payload) == 0);
static_assert(offsetof(LWideStrRec, payload) == 0);
static_assert(sizeof(LWideChar) == 2);
static_assert(sizeof(bool) == 1);
#if defined(__i386__) || defined(_M_IX86)
static_assert(sizeof(LAnsiStrRec) == 8 && offsetof(LAnsiStrRec, charIndexBase) == 4);
static_assert(sizeof(LWideStrRec) == 8 && offsetof(LWideStrRec, charIndexBase) == 4);
#endif

TEST(Layout, AnsiPayloadHeaderPrecedesTheText) {
  qtest::HA a = qtest::make_a("hello");
  qtest::HA b(LStrAllocCloneAA(a.get()));
  const char* p = a->payload;
  std::int32_t length, count;
  std::uint16_t code_page;
  std::memcpy(&length, p - 4, 4);
  std::memcpy(&count, p - 8, 4);
  std::memcpy(&code_page, p - 12, 2);
  EXPECT_EQ(length, 5);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(code_page, 1252);
  EXPECT_EQ(p[5], 0);
}
