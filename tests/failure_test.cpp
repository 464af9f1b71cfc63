// Out-of-memory behaviour, export by export: every allocation an export
// makes is made to fail in turn; the export must fail cleanly, release what
// it took, and leave the handles it was given as they were. The table below
// has one row per export of the module, and a test checks it against the
// export table itself, so a new export cannot be left out: it gets a row in
// the group of calls that allocate or of those that never do, which is
// checked too.
#include <cstdarg>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/memory.hpp"
#include "core/registry.hpp"
#include "quarnel/quarnel.hpp"
#include "resources/strings.h"
#include "support.hpp"

using namespace qtest;
namespace qt = quarnel::testing;

namespace {

// What the calls below work on, made before any allocation is made to fail.
// `a` shares its payload with `other`; the three must keep their text
// whenever a call fails.
struct Subjects {
  CLAnsiStr a{"shared text"};
  CLAnsiStr other{LStrAllocCloneAA(a.handle), true};
  CLWideStr w{QW("wide text")};
  CLAnsiStr num_a{"42"};
  CLWideStr num_w{QW("42")};
  CLAnsiStr picture_a{"#0.00"};
  CLWideStr picture_w{QW("#0.00")};
  CLAnsiStr spare_a, line_a{"a, b,c"};
  CLWideStr spare_w, line_w{QW("a, b,c")};
  CLAnsiStr slots_a[3];
  CLWideStr slots_w[3];
  CLAnsiStrList list_a{2};
  CLWideStrList list_w{2};
  LWideChar buffer[64] = {};
  char message[64] = {};
  const int layout[6] = {1, 2, 3, 4, 5, 6};
  const double value = 2.5;
};

// Stands for every argument of an export: converts to what `Subjects` holds
// of the parameter's type, so most exports are called by their name alone.
struct Arg {
  Subjects& s;
  template <class T>
  operator T() const {
    const std::int64_t i64 = 42;
    const std::uint64_t u64 = 42;
    return std::get<T>(
        std::tuple_cat(std::tuple{s.a.handle, s.w.handle, "k = v, w", QW("k = v, w"), s.message,
                                  s.buffer, static_cast<void*>(nullptr), &s.value, s.layout},
                       std::tuple{static_cast<const CLAnsiStr*>(&s.line_a),
                                  static_cast<const CLWideStr*>(&s.line_w), s.slots_a, s.slots_w,
                                  &s.list_a, &s.list_w, ',', QW(','), 3, true, 2.5, i64, u64}));
  }
};

// A new handle a call answers is destroyed; other results are dropped.
void keep(LStrHandleA h) { LStrDestroyA(h); }
void keep(LStrHandleW h) { LStrDestroyW(h); }
template <class T>
void keep(T) {}

// Calls `f` with as many arguments as the export it wraps takes.
template <class F, class... Args>
void call_by_types(F f, Arg x, Args... args) {
  if constexpr (!std::is_invocable_v<F, Args...>)
    call_by_types(f, x, args..., x);
  else if constexpr (std::is_void_v<std::invoke_result_t<F, Args...>>)
    f(args...);
  else
    keep(f(args...));
}

// Whether a call allocates in the situation of `Subjects`: always, never, or
// unless there is room to grow in place; a group's calls all take handles,
// or none does.
enum class Allocates { yes, never, unless_room };

struct Export {
  const char* name;
  void (*call)(Subjects&);
};
struct Group {
  Allocates allocates;
  bool takes_handles;
  std::vector<Export> rows;
};

// A row calling the export with an argument of each parameter's type, and
// one calling it as written.
template <class F>
Export row(const char* name, F) {
  return {name, [](Subjects& s) { call_by_types(F{}, Arg{s}); }};
}
Export as_written(const char* name, void (*call)(Subjects&)) { return {name, call}; }
#define ROW(name) row(#name, [](auto... a) -> decltype(name(a...)) { return name(a...); })
#define DO(name, expr) as_written(#name, []([[maybe_unused]] Subjects& s) { keep(expr); })

const std::vector<Group>& exports() {
  static const std::vector<Group> groups = {
      {Allocates::yes,
       false,
       {ROW(LStrAllocA), ROW(LStrAllocW), ROW(LStrAllocFromCharA), ROW(LStrAllocFromCharW),
        ROW(LStrAllocFromASzStrA), ROW(LStrAllocFromWSzStrA), ROW(LStrAllocFromASzStrW),
        ROW(LStrAllocFromWSzStrW), ROW(LStrAllocStringOfCharA), ROW(LStrAllocStringOfCharW),
        ROW(LStrAllocFromInt64A), ROW(LStrAllocFromInt64W), ROW(LStrAllocFromUInt64A),
        ROW(LStrAllocFromUInt64W), ROW(LStrAllocFromDoubleA), ROW(LStrAllocFromDoubleW),
        ROW(LStrIntToHexA), ROW(LStrIntToHexW), ROW(LStrFloatToStrFA), ROW(LStrFloatToStrFW),
        // A string of the module's own resources.
        DO(LStrAllocLoadStrA, LStrAllocLoadStrA(nullptr, IDS_UTF8)),
        DO(LStrAllocLoadStrW, LStrAllocLoadStrW(nullptr, IDS_UTF8))}},
      {Allocates::yes,
       true,
       {ROW(LStrAllocCloneAA), ROW(LStrAllocCloneWW), ROW(LStrAllocCloneWA), ROW(LStrAllocCloneAW),
        ROW(LStrUniqueA), ROW(LStrSetLengthA), ROW(LStrGetCharAtA), ROW(LStrSetCharAtA),
        ROW(LStrCharAddrAtA), ROW(LStrAssignASzStrA), ROW(LStrAppendA), ROW(LStrAppendASzStrA),
        ROW(LStrAppendCharA), ROW(LStrAppendIntValueA), ROW(LStrInsertA), ROW(LStrInsertW),
        ROW(LStrDeleteA), ROW(LStrDeleteW), ROW(LStrSubStringA), ROW(LStrSubStringW),
        ROW(LStrCompareICA), ROW(LStrLeftA), ROW(LStrLeftW), ROW(LStrRightA), ROW(LStrRightW),
        ROW(LStrLowerCaseA), ROW(LStrLowerCaseW), ROW(LStrUpperCaseA), ROW(LStrUpperCaseW),
        ROW(LStrSelfLowerCaseA), ROW(LStrSelfLowerCaseW), ROW(LStrSelfUpperCaseA),
        ROW(LStrSelfUpperCaseW), ROW(LStrTrimA), ROW(LStrTrimW), ROW(LStrTrimLeftA),
        ROW(LStrTrimLeftW), ROW(LStrTrimRightA), ROW(LStrTrimRightW), ROW(SplitBySepA),
        ROW(SplitBySepW), ROW(SplitBySepExA), ROW(SplitBySepExW), ROW(SplitByFixedLayoutA),
        ROW(SplitByFixedLayoutW), ROW(SplitByFixedLayoutExA), ROW(SplitByFixedLayoutExW),
        ROW(SplitNamedEquA), ROW(SplitNamedEquW), ROW(_LStrSprintfA), ROW(_LStrSprintfW),
        ROW(_LStrPrintfA), ROW(_LStrPrintfW), ROW(_LStrCatSprintfA), ROW(_LStrCatSprintfW),
        ROW(_LStrCatPrintfA), ROW(_LStrCatPrintfW), ROW(_LStrFormatA), ROW(_LStrFormatW),
        // Calls whose arguments matter: a text or width that makes it grow, a
        // text that reads as a picture, a format.
        DO(LStrSetLengthW, LStrSetLengthW(s.w.handle, 40)),
        DO(LStrAssignW, LStrAssignW(s.w.handle, s.num_w.handle)),
        DO(LStrPadLeftA, LStrPadLeftA(s.a.handle, '*', 20)),
        DO(LStrPadLeftW, LStrPadLeftW(s.w.handle, QW('*'), 20)),
        DO(LStrPadRightA, LStrPadRightA(s.a.handle, '*', 20)),
        DO(LStrPadRightW, LStrPadRightW(s.w.handle, 0, 20)),
        DO(LStrReplaceA, LStrReplaceA(s.a.handle, "t", "TTTTTTTTT")),
        DO(LStrReplaceW, LStrReplaceW(s.w.handle, QW("e"), QW("ee"))),
        DO(LStrFormatFloatA, LStrFormatFloatA(s.picture_a.handle, &s.value)),
        DO(LStrFormatFloatW, LStrFormatFloatW(s.picture_w.handle, &s.value)),
        DO(_LStrVPrintfA, with_va_list(_LStrVPrintfA, s.a.handle, "n=%d", 7)),
        DO(_LStrVPrintfW, with_va_list(_LStrVPrintfW, s.w.handle, QW("n=%d"), 7)),
        DO(_LStrCatVPrintfA, with_va_list(_LStrCatVPrintfA, s.a.handle, "n=%d", 7)),
        DO(_LStrCatVPrintfW, with_va_list(_LStrCatVPrintfW, s.w.handle, QW("n=%d"), 7))}},
      {Allocates::never,
       false,
       {ROW(LStrHeapFree), ROW(LStrSetFailureMode), ROW(LStrGetLastFailure),
        // Answers null instead of failing when memory runs out (tested with the lists).
        DO(LStrHeapAlloc, LStrHeapAlloc(-1))}},
      {Allocates::never,
       true,
       {ROW(LStrUniqueW), ROW(LStrCstrA), ROW(LStrCstrW), ROW(LStrCbstrW), ROW(LStrBSTRRef),
        ROW(LStrLengthA), ROW(LStrLengthW), ROW(LStrGetCharAtW), ROW(LStrSetCharAtW),
        ROW(LStrCharAddrAtW), ROW(LStrGetCharIndexBaseA), ROW(LStrGetCharIndexBaseW),
        ROW(LStrSetCharIndexBaseA), ROW(LStrSetCharIndexBaseW), ROW(LStrWideCharBufSizeA),
        ROW(LStrWideCharA), ROW(LStrWideCharBufSizeW), ROW(LStrAssignA), ROW(LStrCompareA),
        ROW(LStrCompareW), ROW(LStrCompareICW), ROW(LStrPosA), ROW(LStrPosW), ROW(LStrPosPtrA),
        ROW(LStrPosPtrW), ROW(LStrUnicodePosW), ROW(LStrAnsiPosA), ROW(LStrIsDelimiterA),
        ROW(LStrIsDelimiterW), ROW(LStrIsPathDelimiterA), ROW(LStrIsPathDelimiterW),
        ROW(LStrLastDelimiterA), ROW(LStrLastDelimiterW), ROW(LStrAnsiLastCharA),
        ROW(LStrUnicodeLastCharW), ROW(LStrSelfTrimA), ROW(LStrSelfTrimW), ROW(LStrSelfTrimLeftA),
        ROW(LStrSelfTrimLeftW), ROW(LStrSelfTrimRightA), ROW(LStrSelfTrimRightW), ROW(LStrListEndA),
        ROW(LStrListEndW), ROW(LStrToIntDefA), ROW(LStrToIntDefW), ROW(LStrToDoubleDefA),
        ROW(LStrToDoubleDefW),
        // A handle to release, a text that reads as a number.
        DO(LStrDestroyA, (s.spare_a.owned = false, LStrDestroyA(s.spare_a.handle), 0)),
        DO(LStrDestroyW, (s.spare_w.owned = false, LStrDestroyW(s.spare_w.handle), 0)),
        DO(LStrToIntA, LStrToIntA(s.num_a.handle)), DO(LStrToIntW, LStrToIntW(s.num_w.handle))}},
      // Calls that allocate unless the allocator rounded the W payload's block
      // up enough to let the text grow in place (which depends on the
      // platform's allocator).
      {Allocates::unless_room,
       true,
       {ROW(LStrAssignWSzStrW), ROW(LStrAppendW), ROW(LStrAppendWSzStrW), ROW(LStrAppendCharW),
        ROW(LStrAppendIntValueW)}},
  };
  return groups;
}

#undef ROW
#undef DO

// The names of the module's exports, read from its export table at build time.
const char* const kExported[] = {
#include "export_names.inc"
};

}  // namespace

TEST(OutOfMemory, EveryExportIsSwept) {
  std::set<std::string> listed, exported(std::begin(kExported), std::end(kExported));
  for (const Group& group : exports())
    for (const Export& e : group.rows) {
      EXPECT_TRUE(listed.insert(e.name).second) << e.name << " listed twice";
      EXPECT_TRUE(exported.count(e.name)) << e.name << " is not exported";
    }
  for (const std::string& name : exported)
    EXPECT_TRUE(listed.count(name)) << name << " has no line in the sweep's table";
}

template <class List>
auto texts_of(const List& list) {
  std::vector<decltype(list[0].str())> out;
  for (std::int32_t i = 0; i < list.count; ++i) out.push_back(list[i].str());
  return out;
}

// A list left by a failed call: every slot up to its count holds the field a
// successful call stores there, and none past it counts.
template <class List, class Texts>
void expect_stored_prefix(const List& list, const Texts& complete) {
  ASSERT_LE(list.count, list.capacity);
  ASSERT_LE(static_cast<std::size_t>(list.count), complete.size());
  for (std::int32_t i = 0; i < list.count; ++i)
    EXPECT_EQ(list[i].str(), complete[i]) << "slot " << i;
}

// Every export with each of its allocations made to fail in turn (calls
// listed as never allocating succeed with none allowed, and make none), then
// with destroyed handles, all in checked-handles mode: a creation that fails
// part-way leaves no record behind. Destroyed records wait in a bounded
// quarantine; once it is full each destroy sends the oldest back to the heap,
// so the mode's memory stays level from call to call, and switched off the
// mode gives everything back.
TEST(EveryExport, FailsCleanlyOutOfMemoryOrGivenDestroyedHandles) {
  { Subjects warm_up; }  // leaves the wrappers' spare handles in place
  const long live_unchecked = qt::live_blocks();
  qt::check_handles(true);
  for (std::size_t i = 0; i < quarnel::core::registry::kQuarantine; ++i) LStrDestroyA(LStrAllocA());
  for (const Group& group : exports())
    for (const Export& e : group.rows) {
      SCOPED_TRACE(e.name);
      // What a call that succeeds stores; the subjects end here, as the
      // wrappers' first ending keeps a spare handle for later ones.
      const auto [fields_a, fields_w] = [&] {
        Subjects done;
        e.call(done);
        return std::pair{texts_of(done.list_a), texts_of(done.list_w)};
      }();
      bool succeeded = false;
      long budget = 0;
      for (; !succeeded && budget < 64; ++budget) {
        const long live_before = qt::live_blocks();
        {
          Subjects s;
          qt::reset_allocation_count();
          qt::fail_allocations_after(budget);
          Failure f = failure_of([&] { e.call(s); });
          qt::fail_allocations_after(-1);
          if (group.allocates == Allocates::never) {
            EXPECT_EQ(f, Failure::none);
            EXPECT_EQ(qt::allocation_count(), 0);
          }
          if (f == Failure::none) {
            succeeded = true;
          } else {
            EXPECT_EQ(f, Failure::out_of_memory) << "budget " << budget;
            EXPECT_EQ(text(s.a.handle), "shared text");
            EXPECT_EQ(text(s.other.handle), "shared text");
            EXPECT_EQ(text(s.w.handle), QW("wide text"));
            EXPECT_EQ(s.line_a.str(), "a, b,c");
            EXPECT_EQ(s.line_w.str(), QW("a, b,c"));
            expect_stored_prefix(s.list_a, fields_a);
            expect_stored_prefix(s.list_w, fields_w);
          }
        }
        EXPECT_EQ(qt::live_blocks(), live_before) << "budget " << budget;
      }
      EXPECT_TRUE(succeeded);
      // A call listed as allocating that never failed does not allocate here.
      if (group.allocates == Allocates::yes) {
        EXPECT_GT(budget, 1) << "listed as allocating, but made no allocation";
      }

      // Given handles that were all destroyed (its arguments, the source and
      // slots of a split, the handles a list owns), in checked-handles mode,
      // the export reports the invalid-handle failure the way the thread asked
      // and does not end the process.
      for (int mode : {0, 1}) {
        Subjects s;
        s.list_a.grow();
        s.list_w.grow();
        std::vector<CLAnsiStr*> wrappers_a = {&s.a,          &s.other,      &s.num_a,
                                              &s.picture_a,  &s.spare_a,    &s.line_a,
                                              &s.slots_a[0], &s.slots_a[1], &s.slots_a[2]};
        std::vector<CLWideStr*> wrappers_w = {&s.w,          &s.num_w,     &s.picture_w,
                                              &s.spare_w,    &s.line_w,    &s.slots_w[0],
                                              &s.slots_w[1], &s.slots_w[2]};
        for (std::int32_t i = 0; i < s.list_a.capacity; ++i)
          wrappers_a.push_back(s.list_a.items[i]);
        for (std::int32_t i = 0; i < s.list_w.capacity; ++i)
          wrappers_w.push_back(s.list_w.items[i]);
        for (CLAnsiStr* w : wrappers_a) LStrDestroyA(w->handle);
        for (CLWideStr* w : wrappers_w) LStrDestroyW(w->handle);

        // Recorded, the failure stays in the call (the table's lines go on to
        // destroy a result, which clears the record, so only that is checked).
        LStrSetFailureMode(mode);
        Failure f = failure_of([&] { e.call(s); });
        LStrSetFailureMode(0);
        EXPECT_EQ(f, group.takes_handles && mode == 0 ? Failure::invalid_handle : Failure::none);
        // Nothing is left to destroy: the handles are gone already.
        for (CLAnsiStr* w : wrappers_a) w->owned = false;
        for (CLWideStr* w : wrappers_w) w->owned = false;
      }
    }
  qt::check_handles(false);
  EXPECT_EQ(qt::live_blocks(), live_unchecked);
}
