// Strings from string tables: the suite's own (null module) and those of a
// module it loads, both built from the same .rc files on every platform, so
// one table of expectations serves Windows resources and POSIX tables alike.
#include "convert/load_string.hpp"

#include <string>

#include "resources/strings.h"
#include "support.hpp"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#include <unistd.h>
#endif

using namespace qtest;

namespace {

// The module sits next to the test program.
void* test_module() {
#if defined(_WIN32)
  static void* module = LoadLibraryA("quarnel_test_strings.dll");
#else
  static void* module = [] {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    std::string dir = n > 0 ? std::string(path, static_cast<std::size_t>(n)) : std::string(".");
    dir.erase(dir.find_last_of('/') + 1);
    return dlopen((dir + "quarnel_test_strings.so").c_str(), RTLD_NOW | RTLD_LOCAL);
  }();
#endif
  return module;
}

struct Expected {
  int id;
  const LWideChar* wide;
  const char* ansi;  // in code page 1252
};

const Expected kShared[] = {
    {IDS_FIRST, QW("first"), "first"},
    {IDS_BLOCK1_LAST, QW("last of block 1"), "last of block 1"},
    {IDS_BLOCK2_FIRST, QW("Quarnel block 2"), "Quarnel block 2"},
    {IDS_ESCAPES, QW("tab\there\nquote \" back\\slash AB"), "tab\there\nquote \" back\\slash AB"},
    {IDS_GAP, QW(""), ""},
    {IDS_EMPTY, QW(""), ""},
    {IDS_UTF8, QW("caf\u00e9 5 \u20ac \u4e2d"), "caf\xe9 5 \x80 ?"},
    {IDS_WIDE, QW("wide \u4e2d\u6587 \u20ac"), "wide ?? \x80"},
    {IDS_JOINED, QW("joined from three"), "joined from three"},
    {IDS_BLOCK3_BASE, QW(""), ""},
    {IDS_BLOCK3_LAST, QW("last of block 3"), "last of block 3"},
    {IDS_NEUTRAL_AND_GERMAN, QW("neutral"), "neutral"},
    {IDS_GERMAN_ONLY, QW("nur deutsch"), "nur deutsch"},
    {IDS_NO_BLOCK, QW(""), ""},
    {IDS_HIGHEST, QW("highest identifier"), "highest identifier"},
};

}  // namespace

// Each module also answers IDS_WHO from its own table.
TEST(StringTable, ProgramAndModuleTablesGiveTheirEntries) {
  ASSERT_NE(test_module(), nullptr);
  for (void* module : {static_cast<void*>(nullptr), test_module()}) {
    for (const Expected& e : kShared) {
      SCOPED_TRACE(testing::Message() << "module " << module << " id " << e.id);
      HW w(LStrAllocLoadStrW(module, e.id));
      HA a(LStrAllocLoadStrA(module, e.id));
      ASSERT_NE(w, nullptr);
      ASSERT_NE(a, nullptr);
      EXPECT_EQ(text(w.get()), e.wide);
      EXPECT_EQ(text(a.get()), e.ansi);
      EXPECT_EQ(LStrGetCharIndexBaseW(w.get()) + LStrGetCharIndexBaseA(a.get()), 2);
    }
    EXPECT_EQ(text(HA(LStrAllocLoadStrA(module, IDS_WHO)).get()),
              module ? "string module" : "test program");
  }
}

#if !defined(_WIN32)
TEST(StringTable, ModulesWithoutATableGiveEmptyHandles) {
  // libc has no table; neither do the libraries it depends on.
  void* libc = dlopen("libc.so.6", RTLD_NOW | RTLD_NOLOAD);
  ASSERT_NE(libc, nullptr);
  EXPECT_EQ(LStrLengthW(HW(LStrAllocLoadStrW(libc, IDS_FIRST)).get()), 0);
  EXPECT_EQ(LStrLengthA(HA(LStrAllocLoadStrA(libc, IDS_FIRST)).get()), 0);
  dlclose(libc);
}
#endif

// Every truncation of a block at every index: an entry shows only when its
// length word and all its units lie inside the size given.
TEST(StringTable, BlockWalkStaysInsideTheBlock) {
  // Entries 0 "a" (bytes 0-3), 1 absent, 2 "bc" (bytes 6-11), then 13 absent.
  const std::uint16_t block[] = {1, 'a', 0, 2, 'b', 'c', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  for (std::size_t size = 0; size <= sizeof block; ++size) {
    for (unsigned index = 0; index < 16; ++index) {
      auto entry = quarnel::convert::block_entry(block, size, index);
      const char* expected = index == 0 && size >= 4 ? "a" : index == 2 && size >= 12 ? "bc" : "";
      EXPECT_EQ(std::string(entry.begin(), entry.end()), expected) << size << " " << index;
    }
  }
}
