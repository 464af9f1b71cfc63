// Out-of-memory behaviour, export by export: every allocation an export
// makes is made to fail in turn; the export must fail cleanly, release what
// it took, and leave the handles it was given as they were. The table below
// has one line per export of the module, and a test checks it against the
// export table itself, so a new export cannot be left out: it either gets a
// call to sweep or is listed as one that never allocates, which is checked
// too.
#include <cstdarg>
#include <set>
#include <string>
#include <string_view>
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
  HA a = make_a("shared text");
  HA other{LStrAllocCloneAA(a.get())};
  HW w = make_w(QW("wide text"));
  HA num_a = make_a("42");
  HW num_w = make_w(QW("42"));
  HA fmt_a = make_a("n=%d");
  HW fmt_w = make_w(QW("n=%d"));
  HA picture_a = make_a("#0.00");
  HW picture_w = make_w(QW("#0.00"));
  HA spare_a{LStrAllocA()};
  HW spare_w{LStrAllocW()};
  CLAnsiStr line_a{"a, b,c"};
  CLWideStr line_w{QW("a, b,c")};
  CLAnsiStr slots_a[3];
  CLWideStr slots_w[3];
  CLAnsiStrList list_a{2};
  CLWideStrList list_w{2};
  LWideChar buffer[64] = {};
  const int layout[4] = {1, 2, 3, 4};
  const double value = 2.5;
};

int vprintf_a(LStrHandleA h, bool cat, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int n = cat ? _LStrCatVPrintfA(h, format, args) : _LStrVPrintfA(h, format, args);
  va_end(args);
  return n;
}
int vprintf_w(LStrHandleW h, bool cat, const LWideChar* format, ...) {
  va_list args;
  va_start(args, format);
  int n = cat ? _LStrCatVPrintfW(h, format, args) : _LStrVPrintfW(h, format, args);
  va_end(args);
  return n;
}

// Whether a call allocates in the situation of `Subjects`: always, never, or
// unless the allocator rounded the W payload's block up enough to let the
// text grow in place (which depends on the platform's allocator).
enum class Allocates { yes, never, unless_room };

struct Export {
  const char* name;
  Allocates allocates;
  void (*call)(Subjects&);
};

#define A(expr) []([[maybe_unused]] Subjects& s) { LStrDestroyA(expr); }
#define W(expr) []([[maybe_unused]] Subjects& s) { LStrDestroyW(expr); }
#define DO(expr) []([[maybe_unused]] Subjects& s) { (void)(expr); }

// clang-format off
const std::vector<Export>& exports() {
  static const std::vector<Export> table = {
      {"LStrAllocA", Allocates::yes, A(LStrAllocA())},
      {"LStrAllocW", Allocates::yes, W(LStrAllocW())},
      {"LStrAllocCloneAA", Allocates::yes, A(LStrAllocCloneAA(s.a.get()))},
      {"LStrAllocCloneWW", Allocates::yes, W(LStrAllocCloneWW(s.w.get()))},
      {"LStrAllocCloneWA", Allocates::yes, A(LStrAllocCloneWA(s.w.get()))},
      {"LStrAllocCloneAW", Allocates::yes, W(LStrAllocCloneAW(s.a.get()))},
      {"LStrAllocFromASzStrA", Allocates::yes, A(LStrAllocFromASzStrA("xy", -1))},
      {"LStrAllocFromWSzStrA", Allocates::yes, A(LStrAllocFromWSzStrA(QW("xy"), -1))},
      {"LStrAllocFromASzStrW", Allocates::yes, W(LStrAllocFromASzStrW("xy", -1))},
      {"LStrAllocFromWSzStrW", Allocates::yes, W(LStrAllocFromWSzStrW(QW("xy"), -1))},
      {"LStrAllocFromCharA", Allocates::yes, A(LStrAllocFromCharA('c'))},
      {"LStrAllocFromCharW", Allocates::yes, W(LStrAllocFromCharW(QW('c')))},
      {"LStrAllocStringOfCharA", Allocates::yes, A(LStrAllocStringOfCharA('x', 9))},
      {"LStrAllocStringOfCharW", Allocates::yes, W(LStrAllocStringOfCharW(QW('x'), 9))},
      {"LStrDestroyA", Allocates::never, DO((LStrDestroyA(s.spare_a.release()), 0))},
      {"LStrDestroyW", Allocates::never, DO((LStrDestroyW(s.spare_w.release()), 0))},
      {"LStrUniqueA", Allocates::yes, DO((LStrUniqueA(s.a.get()), 0))},
      {"LStrUniqueW", Allocates::never, DO((LStrUniqueW(s.w.get()), 0))},
      {"LStrGetCharIndexBaseA", Allocates::never, DO(LStrGetCharIndexBaseA(s.a.get()))},
      {"LStrGetCharIndexBaseW", Allocates::never, DO(LStrGetCharIndexBaseW(s.w.get()))},
      {"LStrSetCharIndexBaseA", Allocates::never, DO(LStrSetCharIndexBaseA(s.spare_a.get(), 0))},
      {"LStrSetCharIndexBaseW", Allocates::never, DO(LStrSetCharIndexBaseW(s.spare_w.get(), 0))},
      {"LStrCstrA", Allocates::never, DO(LStrCstrA(s.a.get()))},
      {"LStrCstrW", Allocates::never, DO(LStrCstrW(s.w.get()))},
      {"LStrCbstrW", Allocates::never, DO(LStrCbstrW(s.w.get()))},
      {"LStrBSTRRef", Allocates::never, DO(LStrBSTRRef(s.w.get()))},
      {"LStrLengthA", Allocates::never, DO(LStrLengthA(s.a.get()))},
      {"LStrLengthW", Allocates::never, DO(LStrLengthW(s.w.get()))},
      {"LStrSetLengthA", Allocates::yes, DO(LStrSetLengthA(s.a.get(), 40))},
      {"LStrSetLengthW", Allocates::yes, DO(LStrSetLengthW(s.w.get(), 40))},
      {"LStrGetCharAtA", Allocates::yes, DO(LStrGetCharAtA(s.a.get(), 1))},
      {"LStrGetCharAtW", Allocates::never, DO(LStrGetCharAtW(s.w.get(), 1))},
      {"LStrSetCharAtA", Allocates::yes, DO((LStrSetCharAtA(s.a.get(), 1, 'Q'), 0))},
      {"LStrSetCharAtW", Allocates::never, DO((LStrSetCharAtW(s.w.get(), 1, QW('w')), 0))},
      {"LStrCharAddrAtA", Allocates::yes, DO(LStrCharAddrAtA(s.a.get(), 2))},
      {"LStrCharAddrAtW", Allocates::never, DO(LStrCharAddrAtW(s.w.get(), 2))},
      {"LStrAssignA", Allocates::never, DO(LStrAssignA(s.spare_a.get(), s.a.get()))},
      {"LStrAssignW", Allocates::yes, DO(LStrAssignW(s.w.get(), s.num_w.get()))},
      {"LStrAssignASzStrA", Allocates::yes, DO(LStrAssignASzStrA(s.a.get(), "new text", -1))},
      {"LStrAssignWSzStrW", Allocates::unless_room, DO(LStrAssignWSzStrW(s.w.get(), QW("a longer new text"), -1))},
      {"LStrAppendA", Allocates::yes, DO(LStrAppendA(s.a.get(), s.a.get()))},
      {"LStrAppendW", Allocates::unless_room, DO(LStrAppendW(s.w.get(), s.w.get()))},
      {"LStrAppendASzStrA", Allocates::yes, DO(LStrAppendASzStrA(s.a.get(), "more", -1))},
      {"LStrAppendWSzStrW", Allocates::unless_room, DO(LStrAppendWSzStrW(s.w.get(), QW("more"), -1))},
      {"LStrAppendCharA", Allocates::yes, DO(LStrAppendCharA(s.a.get(), '!'))},
      {"LStrAppendCharW", Allocates::unless_room, DO(LStrAppendCharW(s.w.get(), QW('!')))},
      {"LStrCompareA", Allocates::never, DO(LStrCompareA(s.a.get(), s.num_a.get()))},
      {"LStrCompareICA", Allocates::yes, DO(LStrCompareICA(s.a.get(), s.num_a.get()))},
      {"LStrCompareW", Allocates::never, DO(LStrCompareW(s.w.get(), s.num_w.get()))},
      {"LStrCompareICW", Allocates::never, DO(LStrCompareICW(s.w.get(), s.num_w.get()))},
      {"LStrPosA", Allocates::never, DO(LStrPosA(s.a.get(), s.other.get()))},
      {"LStrPosW", Allocates::never, DO(LStrPosW(s.w.get(), s.num_w.get()))},
      {"LStrPosPtrA", Allocates::never, DO(LStrPosPtrA(s.a.get(), "text"))},
      {"LStrPosPtrW", Allocates::never, DO(LStrPosPtrW(s.w.get(), QW("text")))},
      {"LStrUnicodePosW", Allocates::never, DO(LStrUnicodePosW(s.w.get(), s.num_w.get()))},
      {"LStrAnsiPosA", Allocates::never, DO(LStrAnsiPosA(s.a.get(), s.num_a.get()))},
      {"LStrSubStringA", Allocates::yes, A(LStrSubStringA(s.a.get(), 2, 4))},
      {"LStrSubStringW", Allocates::yes, W(LStrSubStringW(s.w.get(), 2, 4))},
      {"LStrLeftA", Allocates::yes, A(LStrLeftA(s.a.get(), 3))},
      {"LStrLeftW", Allocates::yes, W(LStrLeftW(s.w.get(), 3))},
      {"LStrRightA", Allocates::yes, A(LStrRightA(s.a.get(), 3))},
      {"LStrRightW", Allocates::yes, W(LStrRightW(s.w.get(), 3))},
      {"LStrIsDelimiterA", Allocates::never, DO(LStrIsDelimiterA(s.a.get(), s.other.get(), 2))},
      {"LStrIsDelimiterW", Allocates::never, DO(LStrIsDelimiterW(s.w.get(), s.num_w.get(), 2))},
      {"LStrIsPathDelimiterA", Allocates::never, DO(LStrIsPathDelimiterA(s.a.get(), 2))},
      {"LStrIsPathDelimiterW", Allocates::never, DO(LStrIsPathDelimiterW(s.w.get(), 2))},
      {"LStrLastDelimiterA", Allocates::never, DO(LStrLastDelimiterA(s.a.get(), s.num_a.get()))},
      {"LStrLastDelimiterW", Allocates::never, DO(LStrLastDelimiterW(s.w.get(), s.num_w.get()))},
      {"LStrAnsiLastCharA", Allocates::never, DO(LStrAnsiLastCharA(s.a.get()))},
      {"LStrUnicodeLastCharW", Allocates::never, DO(LStrUnicodeLastCharW(s.w.get()))},
      {"LStrInsertA", Allocates::yes, DO(LStrInsertA(s.a.get(), s.a.get(), 3))},
      {"LStrInsertW", Allocates::yes, DO(LStrInsertW(s.w.get(), s.w.get(), 3))},
      {"LStrDeleteA", Allocates::yes, DO(LStrDeleteA(s.a.get(), 2, 3))},
      {"LStrDeleteW", Allocates::yes, DO(LStrDeleteW(s.w.get(), 2, 3))},
      {"LStrLowerCaseA", Allocates::yes, A(LStrLowerCaseA(s.a.get()))},
      {"LStrLowerCaseW", Allocates::yes, W(LStrLowerCaseW(s.w.get()))},
      {"LStrUpperCaseA", Allocates::yes, A(LStrUpperCaseA(s.a.get()))},
      {"LStrUpperCaseW", Allocates::yes, W(LStrUpperCaseW(s.w.get()))},
      {"LStrSelfLowerCaseA", Allocates::yes, DO((LStrSelfLowerCaseA(s.a.get()), 0))},
      {"LStrSelfLowerCaseW", Allocates::yes, DO((LStrSelfLowerCaseW(s.w.get()), 0))},
      {"LStrSelfUpperCaseA", Allocates::yes, DO((LStrSelfUpperCaseA(s.a.get()), 0))},
      {"LStrSelfUpperCaseW", Allocates::yes, DO((LStrSelfUpperCaseW(s.w.get()), 0))},
      {"LStrTrimA", Allocates::yes, A(LStrTrimA(s.a.get()))},
      {"LStrTrimW", Allocates::yes, W(LStrTrimW(s.w.get()))},
      {"LStrTrimLeftA", Allocates::yes, A(LStrTrimLeftA(s.a.get()))},
      {"LStrTrimLeftW", Allocates::yes, W(LStrTrimLeftW(s.w.get()))},
      {"LStrTrimRightA", Allocates::yes, A(LStrTrimRightA(s.a.get()))},
      {"LStrTrimRightW", Allocates::yes, W(LStrTrimRightW(s.w.get()))},
      {"LStrSelfTrimA", Allocates::never, DO((LStrSelfTrimA(s.a.get()), 0))},
      {"LStrSelfTrimW", Allocates::never, DO((LStrSelfTrimW(s.w.get()), 0))},
      {"LStrSelfTrimLeftA", Allocates::never, DO((LStrSelfTrimLeftA(s.a.get()), 0))},
      {"LStrSelfTrimLeftW", Allocates::never, DO((LStrSelfTrimLeftW(s.w.get()), 0))},
      {"LStrSelfTrimRightA", Allocates::never, DO((LStrSelfTrimRightA(s.a.get()), 0))},
      {"LStrSelfTrimRightW", Allocates::never, DO((LStrSelfTrimRightW(s.w.get()), 0))},
      {"LStrPadLeftA", Allocates::yes, A(LStrPadLeftA(s.a.get(), '*', 20))},
      {"LStrPadLeftW", Allocates::yes, W(LStrPadLeftW(s.w.get(), QW('*'), 20))},
      {"LStrPadRightA", Allocates::yes, A(LStrPadRightA(s.a.get(), '*', 20))},
      {"LStrPadRightW", Allocates::yes, W(LStrPadRightW(s.w.get(), 0, 20))},
      {"LStrReplaceA", Allocates::yes, A(LStrReplaceA(s.a.get(), "t", "TTTTTTTTT"))},
      {"LStrReplaceW", Allocates::yes, W(LStrReplaceW(s.w.get(), QW("e"), QW("ee")))},
      {"SplitBySepA", Allocates::yes, DO(SplitBySepA(&s.line_a, ',', 3, s.slots_a, true))},
      {"SplitBySepW", Allocates::yes, DO(SplitBySepW(&s.line_w, QW(','), 3, s.slots_w, true))},
      {"SplitBySepExA", Allocates::yes, DO(SplitBySepExA(&s.line_a, ',', &s.list_a, true))},
      {"SplitBySepExW", Allocates::yes, DO(SplitBySepExW(&s.line_w, QW(','), &s.list_w, true))},
      {"SplitByFixedLayoutA", Allocates::yes, DO(SplitByFixedLayoutA(&s.line_a, 3, s.layout, &s.list_a, true))},
      {"SplitByFixedLayoutW", Allocates::yes, DO(SplitByFixedLayoutW(&s.line_w, 3, s.layout, &s.list_w, true))},
      {"SplitByFixedLayoutExA", Allocates::yes, DO(SplitByFixedLayoutExA(&s.line_a, 2, s.layout, &s.list_a, true))},
      {"SplitByFixedLayoutExW", Allocates::yes, DO(SplitByFixedLayoutExW(&s.line_w, 2, s.layout, &s.list_w, true))},
      {"SplitNamedEquA", Allocates::yes, DO(SplitNamedEquA("k = v", &s.list_a, true, '='))},
      {"SplitNamedEquW", Allocates::yes, DO(SplitNamedEquW(QW("k = v"), &s.list_w, true, QW('=')))},
      // Answers null instead of failing when memory runs out (tested with the lists).
      {"LStrHeapAlloc", Allocates::never, DO(LStrHeapAlloc(-1))},
      {"LStrHeapFree", Allocates::never, DO((LStrHeapFree(nullptr), 0))},
      {"LStrListEndA", Allocates::never, DO((LStrListEndA(&s.list_a), 0))},
      {"LStrListEndW", Allocates::never, DO((LStrListEndW(&s.list_w), 0))},
      {"LStrSetFailureMode", Allocates::never, DO(LStrSetFailureMode(LStrSetFailureMode(-1)))},
      {"LStrGetLastFailure", Allocates::never, DO(LStrGetLastFailure(nullptr, 0))},
      {"LStrWideCharBufSizeA", Allocates::never, DO(LStrWideCharBufSizeA(s.a.get()))},
      {"LStrWideCharA", Allocates::never, DO(LStrWideCharA(s.a.get(), s.buffer, 64))},
      {"LStrWideCharBufSizeW", Allocates::never, DO(LStrWideCharBufSizeW(s.w.get()))},
      {"LStrAllocLoadStrA", Allocates::yes, A(LStrAllocLoadStrA(nullptr, IDS_UTF8))},
      {"LStrAllocLoadStrW", Allocates::yes, W(LStrAllocLoadStrW(nullptr, IDS_UTF8))},
      {"LStrAllocFromInt64A", Allocates::yes, A(LStrAllocFromInt64A(-42))},
      {"LStrAllocFromInt64W", Allocates::yes, W(LStrAllocFromInt64W(-42))},
      {"LStrAllocFromUInt64A", Allocates::yes, A(LStrAllocFromUInt64A(42))},
      {"LStrAllocFromUInt64W", Allocates::yes, W(LStrAllocFromUInt64W(42))},
      {"LStrAllocFromDoubleA", Allocates::yes, A(LStrAllocFromDoubleA(2.5))},
      {"LStrAllocFromDoubleW", Allocates::yes, W(LStrAllocFromDoubleW(2.5))},
      {"LStrIntToHexA", Allocates::yes, A(LStrIntToHexA(255, 4))},
      {"LStrIntToHexW", Allocates::yes, W(LStrIntToHexW(255, 4))},
      {"LStrToIntA", Allocates::never, DO(LStrToIntA(s.num_a.get()))},
      {"LStrToIntW", Allocates::never, DO(LStrToIntW(s.num_w.get()))},
      {"LStrToIntDefA", Allocates::never, DO(LStrToIntDefA(s.num_a.get(), 0))},
      {"LStrToIntDefW", Allocates::never, DO(LStrToIntDefW(s.num_w.get(), 0))},
      {"LStrToDoubleDefA", Allocates::never, DO(LStrToDoubleDefA(s.num_a.get(), 0))},
      {"LStrToDoubleDefW", Allocates::never, DO(LStrToDoubleDefW(s.num_w.get(), 0))},
      {"LStrAppendIntValueA", Allocates::yes, DO(LStrAppendIntValueA(s.a.get(), -7))},
      {"LStrAppendIntValueW", Allocates::unless_room, DO(LStrAppendIntValueW(s.w.get(), -7))},
      {"LStrFloatToStrFA", Allocates::yes, A(LStrFloatToStrFA(2.5, 0, 15, 2))},
      {"LStrFloatToStrFW", Allocates::yes, W(LStrFloatToStrFW(2.5, 0, 15, 2))},
      {"LStrFormatFloatA", Allocates::yes, A(LStrFormatFloatA(s.picture_a.get(), &s.value))},
      {"LStrFormatFloatW", Allocates::yes, W(LStrFormatFloatW(s.picture_w.get(), &s.value))},
      {"_LStrFormatA", Allocates::yes, A(_LStrFormatA(s.fmt_a.get(), 7))},
      {"_LStrFormatW", Allocates::yes, W(_LStrFormatW(s.fmt_w.get(), 7))},
      {"_LStrSprintfA", Allocates::yes, DO(_LStrSprintfA(s.a.get(), "n=%d", 7))},
      {"_LStrSprintfW", Allocates::yes, DO(_LStrSprintfW(s.w.get(), QW("n=%d"), 7))},
      {"_LStrPrintfA", Allocates::yes, DO(_LStrPrintfA(s.a.get(), "n=%d", 7))},
      {"_LStrPrintfW", Allocates::yes, DO(_LStrPrintfW(s.w.get(), QW("n=%d"), 7))},
      {"_LStrVPrintfA", Allocates::yes, DO(vprintf_a(s.a.get(), false, "n=%d", 7))},
      {"_LStrVPrintfW", Allocates::yes, DO(vprintf_w(s.w.get(), false, QW("n=%d"), 7))},
      {"_LStrCatSprintfA", Allocates::yes, DO(_LStrCatSprintfA(s.a.get(), "n=%d", 7))},
      {"_LStrCatSprintfW", Allocates::yes, DO(_LStrCatSprintfW(s.w.get(), QW("n=%d"), 7))},
      {"_LStrCatPrintfA", Allocates::yes, DO(_LStrCatPrintfA(s.a.get(), "n=%d", 7))},
      {"_LStrCatPrintfW", Allocates::yes, DO(_LStrCatPrintfW(s.w.get(), QW("n=%d"), 7))},
      {"_LStrCatVPrintfA", Allocates::yes, DO(vprintf_a(s.a.get(), true, "n=%d", 7))},
      {"_LStrCatVPrintfW", Allocates::yes, DO(vprintf_w(s.w.get(), true, QW("n=%d"), 7))},
  };
  return table;
}
// clang-format on

#undef A
#undef W
#undef DO

// The names of the module's exports, read from its export table at build time.
const char* const kExported[] = {
#include "export_names.inc"
};

}  // namespace

TEST(OutOfMemory, EveryExportIsSwept) {
  std::set<std::string> listed, exported(std::begin(kExported), std::end(kExported));
  for (const Export& e : exports()) {
    EXPECT_TRUE(listed.insert(e.name).second) << e.name << " listed twice";
    EXPECT_TRUE(exported.count(e.name)) << e.name << " is not exported";
  }
  for (const std::string& name : exported)
    EXPECT_TRUE(listed.count(name)) << name << " has no line in the sweep's table";
}

TEST(OutOfMemory, ExportsListedAsNotAllocatingDoNot) {
  for (const Export& e : exports()) {
    if (e.allocates != Allocates::never) continue;
    SCOPED_TRACE(e.name);
    Subjects s;
    qt::reset_allocation_count();
    qt::fail_allocations_after(0);
    Failure f = failure_of([&] { e.call(s); });
    qt::fail_allocations_after(-1);
    EXPECT_EQ(f, Failure::none);
    EXPECT_EQ(qt::allocation_count(), 0);
  }
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

TEST(OutOfMemory, EveryAllocationPointFailsCleanly) {
  for (const Export& e : exports()) {
    if (e.allocates == Allocates::never) continue;
    SCOPED_TRACE(e.name);
    Subjects done;
    e.call(done);
    const auto fields_a = texts_of(done.list_a);
    const auto fields_w = texts_of(done.list_w);
    bool succeeded = false;
    long budget = 0;
    for (; !succeeded && budget < 64; ++budget) {
      const long live_before = qt::live_blocks();
      {
        Subjects s;
        qt::fail_allocations_after(budget);
        Failure f = failure_of([&] { e.call(s); });
        qt::fail_allocations_after(-1);
        if (f == Failure::none) {
          succeeded = true;
        } else {
          EXPECT_EQ(f, Failure::out_of_memory) << "budget " << budget;
          EXPECT_EQ(text(s.a.get()), "shared text");
          EXPECT_EQ(text(s.other.get()), "shared text");
          EXPECT_EQ(text(s.w.get()), QW("wide text"));
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
    if (e.allocates == Allocates::yes) {
      EXPECT_GT(budget, 1) << "listed as allocating, but made no allocation";
    }
  }
}

TEST(OutOfMemory, ImpossibleSizesFailInsteadOfWrapping) {
  HA a = make_a("x");
  HW w = make_w(QW("x"));
  EXPECT_EQ(failure_of([&] { LStrSetLengthW(w.get(), 0x7FFFFFFF); }), Failure::out_of_memory);
  EXPECT_EQ(text(w.get()), QW("x"));
  if (sizeof(void*) == 4) {
    EXPECT_EQ(failure_of([&] { LStrSetLengthA(a.get(), 0x7FFFFFFF); }), Failure::out_of_memory);
    EXPECT_EQ(text(a.get()), "x");
  }
}

// Every export, given handles that were all destroyed (its arguments, the
// source and slots of a split, the handles a list owns), in checked-handles
// mode: each reports the invalid-handle failure the way the thread asked,
// and none ends the process. A new export gets a line in the table above,
// so it is tried here too.
TEST(CheckedHandles, EveryExportReportsDestroyedHandles) {
  // The exports that take no handle at all.
  auto takes_handles = [](std::string_view name) {
    for (std::string_view prefix : {"LStrAllocFrom", "LStrAllocStringOf", "LStrAllocLoadStr",
                                    "LStrIntToHex", "LStrFloatToStrF", "LStrHeap"})
      if (name.substr(0, prefix.size()) == prefix) return false;
    return name != "LStrAllocA" && name != "LStrAllocW" && name != "LStrSetFailureMode" &&
           name != "LStrGetLastFailure";
  };
  qt::check_handles(true);
  for (const Export& e : exports()) {
    SCOPED_TRACE(e.name);
    const bool handles = takes_handles(e.name);
    for (int mode : {0, 1}) {
      Subjects s;
      s.list_a.grow();
      s.list_w.grow();
      std::vector<CLAnsiStr*> wrappers_a = {&s.line_a, &s.slots_a[0], &s.slots_a[1], &s.slots_a[2]};
      std::vector<CLWideStr*> wrappers_w = {&s.line_w, &s.slots_w[0], &s.slots_w[1], &s.slots_w[2]};
      for (std::int32_t i = 0; i < s.list_a.capacity; ++i) wrappers_a.push_back(s.list_a.items[i]);
      for (std::int32_t i = 0; i < s.list_w.capacity; ++i) wrappers_w.push_back(s.list_w.items[i]);
      HA* owned_a[] = {&s.a, &s.other, &s.num_a, &s.fmt_a, &s.picture_a, &s.spare_a};
      HW* owned_w[] = {&s.w, &s.num_w, &s.fmt_w, &s.picture_w, &s.spare_w};
      for (HA* h : owned_a) LStrDestroyA(h->get());
      for (HW* h : owned_w) LStrDestroyW(h->get());
      for (CLAnsiStr* w : wrappers_a) LStrDestroyA(w->handle);
      for (CLWideStr* w : wrappers_w) LStrDestroyW(w->handle);

      // Recorded, the failure stays in the call (the table's lines go on to
      // destroy a result, which clears the record, so only that is checked).
      LStrSetFailureMode(mode);
      Failure f = failure_of([&] { e.call(s); });
      LStrSetFailureMode(0);
      EXPECT_EQ(f, handles && mode == 0 ? Failure::invalid_handle : Failure::none);
      // Nothing is left to destroy: the handles are gone already.
      for (HA* h : owned_a) h->release();
      for (HW* h : owned_w) h->release();
      for (CLAnsiStr* w : wrappers_a) w->owned = false;
      for (CLWideStr* w : wrappers_w) w->owned = false;
    }
  }
  qt::check_handles(false);
}
