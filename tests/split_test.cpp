// Field splitting: separator, fixed layouts, name-value, and the wrapper list
// shared between host and library.
#include <new>
#include <random>
#include <vector>

#include "core/memory.hpp"
#include "edit_support.hpp"
#include "quarnel/quarnel.hpp"

using namespace qtest;
using Fields = std::vector<std::string>;

namespace {

Fields fields_of(const CLAnsiStrList& list) {
  Fields out;
  for (const CLAnsiStr& w : list) out.emplace_back(w.view());
  return out;
}

// The field rules, written out plainly: a field starts at 0 and after each
// separator, but only while its start lies inside the line.
Fields model_split(std::string_view line, char sep) {
  Fields out;
  for (std::size_t start = 0; start < line.size();) {
    std::size_t end = line.find(sep, start);
    if (end == std::string_view::npos) end = line.size();
    out.emplace_back(line.substr(start, end - start));
    start = end + 1;
  }
  return out;
}

std::string model_trim(std::string s) {
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= 32) s.pop_back();
  std::size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) <= 32) ++i;
  return s.substr(i);
}

}  // namespace

TEST(SplitBySep, MatchesTheFieldRulesOnRandomLines) {
  std::mt19937 rng(7);
  const char alphabet[] = {',', ',', 'a', ' ', '\0', 'b'};
  for (int round = 0; round < 400; ++round) {
    std::string line;
    // Mostly short lines, some longer than the scanner's blocks.
    for (int i = rng() % (round % 4 ? 9 : 200); i > 0; --i)
      line += alphabet[rng() % sizeof alphabet];
    bool trim = rng() % 2;
    int slot_count = static_cast<int>(rng() % 5);
    SCOPED_TRACE(testing::Message() << "line '" << line << "' trim " << trim);
    Fields expected = model_split(line, ',');

    CLAnsiStr source(line);
    LStrSetCharIndexBaseA(source.handle, static_cast<int>(rng() % 2));
    std::vector<CLAnsiStr> slots(static_cast<std::size_t>(slot_count), CLAnsiStr("old"));
    int n = SplitBySepA(&source, ',', slot_count, slots.data(), trim);
    ASSERT_EQ(n, std::min<int>(slot_count, static_cast<int>(expected.size())));
    for (int i = 0; i < slot_count; ++i) {
      std::string want = i < n ? expected[i] : "";
      EXPECT_EQ(slots[i].str(), trim ? model_trim(want) : want);
    }

    CLAnsiStrList list(2);
    ASSERT_EQ(SplitBySepExA(&source, ',', &list, trim), static_cast<int>(expected.size()));
    CLWideStr wsource(widen(line));
    CLWideStrList wlist(3);
    ASSERT_EQ(SplitBySepExW(&wsource, QW(','), &wlist, trim), static_cast<int>(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
      std::string want = trim ? model_trim(expected[i]) : expected[i];
      want = want.substr(0, want.find('\0'));  // lists store zero-terminated text
      EXPECT_EQ(list[static_cast<int>(i)].str(), want);
      EXPECT_EQ(wlist[static_cast<int>(i)].str(), widen(want));
    }
  }
}

TEST(SplitBySep, SlotsKeepTheirHandlesAndBases) {
  CLAnsiStr source("a,b,c");
  CLAnsiStr slots[2];
  LStrSetCharIndexBaseA(slots[1].handle, 0);
  LStrHandleA first = slots[0].handle;
  EXPECT_EQ(SplitBySepA(&source, ',', 2, slots, false), 2);
  EXPECT_EQ(slots[0].handle, first);
  EXPECT_EQ(slots[1].str(), "b");
  EXPECT_EQ(LStrGetCharIndexBaseA(slots[1].handle), 0);
  EXPECT_EQ(SplitBySepA(&source, ',', 0, nullptr, false), 0);
}

TEST(SplitBySep, ReadingCharactersGivesASharedSourceItsOwnPayload) {
  CLAnsiStr source("x;y");
  CLAnsiStr clone(source);
  ASSERT_EQ(source.handle->payload, clone.handle->payload);
  CLAnsiStrList list;
  SplitBySepExA(&source, ';', &list, false);
  EXPECT_NE(source.handle->payload, clone.handle->payload);
  EXPECT_EQ(source.str(), "x;y");
}

TEST(List, GrowsByItsStepAndIsReusedWithoutAllocating) {
  CLAnsiStrList list(2);
  CLAnsiStr five("1,2,3,4,5"), three("a,b,c");
  EXPECT_EQ(SplitBySepExA(&five, ',', &list, false), 5);
  EXPECT_EQ(list.capacity, 6);
  LStrSetCharIndexBaseA(list[0].handle, 0);
  EXPECT_EQ(SplitBySepExA(&three, ',', &list, false), 3);
  EXPECT_EQ(list.capacity, 6);
  EXPECT_EQ(fields_of(list), (Fields{"a", "b", "c"}));
  EXPECT_EQ(LStrGetCharIndexBaseA(list[0].handle), 0);

  // Once every slot's block is big enough, splitting allocates nothing.
  quarnel::testing::reset_allocation_count();
  for (int i = 0; i < 100; ++i) SplitBySepExA(&five, ',', &list, true);
  EXPECT_EQ(quarnel::testing::allocation_count(), 0);
}

TEST(List, HostFreesAListTheLibraryGrew) {
  // A C-style host: the list is a plain block of the shared heap, released
  // by hand through the shared heap.
  CLAnsiStr line("k=v");
  long live = quarnel::testing::live_blocks();
  auto* list = static_cast<CLAnsiStrList*>(LStrHeapAlloc(sizeof(CLAnsiStrList)));
  list->growBy = 3;
  list->capacity = list->count = 0;
  list->items = nullptr;
  ASSERT_TRUE(SplitNamedEquA(LStrCstrA(line.handle), list, false, '='));
  ASSERT_EQ(list->capacity, 3);
  for (int i = 0; i < list->capacity; ++i) {
    LStrDestroyA(list->items[i]->handle);
    LStrHeapFree(list->items[i]);
  }
  LStrHeapFree(list->items);
  LStrHeapFree(list);
  EXPECT_EQ(quarnel::testing::live_blocks(), live);
}

TEST(List, HostAppendGrowsLikeTheLibrarysSplitting) {
  // The host's methods and the splitting share one growth rule: the same
  // fields give the same capacity, whatever the step. Long lists make the
  // library reuse the spare room of its items blocks; a host append and a
  // second split then grow blocks the other side made.
  for (int grow_by : {1, 2, 3, 5}) {
    for (int n : {0, 1, 2, 3, 4, 5, 6, 7, 64, 1001}) {
      SCOPED_TRACE(testing::Message() << "growBy " << grow_by << ", " << n << " fields");
      std::string line;
      CLAnsiStrList by_host(grow_by), by_library(grow_by);
      for (int i = 0; i < n; ++i) {
        std::string field(1, static_cast<char>('a' + i % 26));
        by_host.append(field.c_str());
        line += field + ",";
      }
      CLAnsiStr source(line);
      ASSERT_EQ(SplitBySepExA(&source, ',', &by_library, false), n);
      EXPECT_EQ(by_host.capacity, by_library.capacity);
      EXPECT_EQ(by_host.count, n);
      EXPECT_EQ(fields_of(by_host), fields_of(by_library));
      by_library.append("tail");
      line += "x,y,";
      CLAnsiStr longer(line);
      ASSERT_EQ(SplitBySepExA(&longer, ',', &by_host, false), n + 2);
      ASSERT_EQ(SplitBySepExA(&longer, ',', &by_library, false), n + 2);
      EXPECT_EQ(by_host.capacity, by_library.capacity);
      EXPECT_EQ(fields_of(by_host), fields_of(by_library));
    }
  }
}

TEST(List, HostAppendCountsOnlyStoredTexts) {
  for (long budget = 0; budget < 8; ++budget) {
    CLAnsiStrList list(1);
    list.append("one");
    quarnel::testing::fail_allocations_after(budget);
    // The host's own growth throws std::bad_alloc as a C++ exception on
    // every platform; the library's failures arrive the platform's way.
    Failure f = Failure::none;
    try {
      f = failure_of([&] { list.append("a text too long to fit in place"); });
    } catch (const std::bad_alloc&) {
      f = Failure::out_of_memory;
    }
    quarnel::testing::fail_allocations_after(-1);
    EXPECT_EQ(list.count, f == Failure::none ? 2 : 1) << budget;
    EXPECT_EQ(list[0].str(), "one");
  }
}

TEST(List, EndReleasesEverythingTheListOwnsAndLeavesItReusable) {
  CLAnsiStr kept("not the list's");
  long live = quarnel::testing::live_blocks();
  {
    CLAnsiStrList list(2);
    CLWideStrList wlist(2);
    CLAnsiStr line("a,b,c");
    CLWideStr wline(widen("a,b,c"));
    SplitBySepExA(&line, ',', &list, false);
    SplitBySepExW(&wline, QW(','), &wlist, false);
    // A hand-assembled tail: an empty slot and a wrapper that only borrows.
    list.grow();
    list[list.capacity - 1].reset();
    LStrHeapFree(list.items[list.capacity - 1]);
    list.items[list.capacity - 1] = nullptr;
    list.items[list.capacity - 2]->reset();
    new (list.items[list.capacity - 2]) CLAnsiStr(kept.handle, false);

    LStrListEndA(&list);
    LStrListEndW(&wlist);
    EXPECT_EQ(list.growBy, 2);
    EXPECT_EQ(list.capacity + list.count + wlist.capacity + wlist.count, 0);
    EXPECT_EQ(list.items, nullptr);
    EXPECT_EQ(wlist.items, nullptr);
    EXPECT_EQ(kept.str(), "not the list's");
    EXPECT_EQ(SplitBySepExA(&line, ',', &list, false), 3);
  }
  EXPECT_EQ(quarnel::testing::live_blocks(), live);
}

TEST(SharedHeap, GivesNullRatherThanFailing) {
  void* empty = LStrHeapAlloc(0);
  EXPECT_NE(empty, nullptr);
  LStrHeapFree(empty);
  LStrHeapFree(nullptr);
  EXPECT_EQ(LStrHeapAlloc(-1), nullptr);
  quarnel::testing::fail_allocations_after(0);
  void* exhausted = LStrHeapAlloc(16);
  quarnel::testing::fail_allocations_after(-1);
  EXPECT_EQ(exhausted, nullptr);
}

TEST(FixedLayout, WidthsAndColumns) {
  struct Case {
    std::string_view line;
    bool columns;
    std::vector<int> layout;
    Fields expected;
  } cases[] = {
      {"ABCDEFGHI", false, {3, 2, 4}, {"ABC", "DE", "FGHI"}},
      {"ABCD", false, {3, 2, 4}, {"ABC", "D", ""}},
      {"", false, {3, 2, 4}, {"", "", ""}},
      {"ABCDE", false, {2, 0, 1}, {"AB", "", "C"}},
      {"ABCDE", false, {2, -1, 2}, {"AB", "CDE", "BC"}},
      {"ABCDEFG", true, {1, 3, 5, 6}, {"ABC", "EF"}},
      {"ABCDEFG", true, {2, 2, 3, 2, 3, 0}, {"B", "", "CDEFG"}},
      {"ABCDEFG", true, {4, 6, 1, 3}, {"DEF", "ABC"}},
      {"ABCDEFG",
       true,
       {0, 2, -5, 1, 8, 9},
       {"ABC", "ABCDEFG", ""}},  // starts before 1 keep their length
      {" A  B ", false, {3, 3}, {" A ", " B "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line));
    int count = static_cast<int>(c.layout.size() / (c.columns ? 2 : 1));
    for (int base : {0, 1}) {
      CLAnsiStr source(c.line);
      LStrSetCharIndexBaseA(source.handle, base);
      CLAnsiStrList list(1);
      auto split = c.columns ? SplitByFixedLayoutExA : SplitByFixedLayoutA;
      EXPECT_EQ(split(&source, count, c.layout.data(), &list, false), count);
      EXPECT_EQ(fields_of(list), c.expected);

      CLWideStr wsource(widen(c.line));
      CLWideStrList wlist(4);
      auto wsplit = c.columns ? SplitByFixedLayoutExW : SplitByFixedLayoutW;
      EXPECT_EQ(wsplit(&wsource, count, c.layout.data(), &wlist, true), count);
      for (int i = 0; i < count; ++i) EXPECT_EQ(wlist[i].str(), widen(model_trim(c.expected[i])));
    }
  }
  CLAnsiStr source("abc");
  CLAnsiStrList list;
  EXPECT_EQ(SplitByFixedLayoutA(&source, 0, nullptr, &list, false), 0);
}

TEST(NameValue, SplitsAtTheFirstSeparator) {
  struct Case {
    const char* text;
    char separator;
    bool trim;
    bool ok;
    std::string name, value;
  } cases[] = {
      {"key=value", '=', false, true, "key", "value"},
      {"a=b=c", '=', false, true, "a", "b=c"},
      {"=value", '=', false, true, "", "value"},
      {"key=", '=', false, true, "key", ""},
      {" port = 8080 ", '=', true, true, "port", "8080"},
      {" port = 8080 ", '=', false, true, " port ", " 8080 "},
      {"key", '=', false, false, "", ""},
      {"key=value", ':', false, false, "", ""},
      {"", '=', false, false, "", ""},
      {nullptr, '=', false, false, "", ""},
      {"key=value", '\0', false, false, "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(null)");
    CLAnsiStrList list;
    CLAnsiStr stale("old");
    SplitBySepExA(&stale, ',', &list, false);  // the list holds a field before
    EXPECT_EQ(SplitNamedEquA(c.text, &list, c.trim, c.separator), c.ok);
    CLWideStrList wlist;
    auto wide = widen(c.text ? c.text : "");
    EXPECT_EQ(SplitNamedEquW(c.text ? wide.c_str() : nullptr, &wlist, c.trim,
                             static_cast<LWideChar>(c.separator)),
              c.ok);
    if (c.ok) {
      EXPECT_EQ(fields_of(list), (Fields{c.name, c.value}));
      EXPECT_EQ(wlist[1].str(), widen(c.value));
    } else {
      EXPECT_EQ(list.count, 0);
      EXPECT_EQ(wlist.count, 0);
    }
  }
}
