// Out-of-memory behaviour: every allocation an export makes is made to fail
// in turn; the export must fail cleanly, release what it took, and leave the
// handles it was given as they were.
#include <functional>
#include <vector>

#include "core/memory.hpp"
#include "support.hpp"

using namespace qtest;
namespace qt = quarnel::testing;

namespace {

struct Operation {
  const char* name;
  std::function<void(LStrHandleA, LStrHandleW)> run;
};

const std::vector<Operation>& operations() {
  static const std::vector<Operation> ops = {
      {"AllocCloneAA", [](LStrHandleA a, LStrHandleW) { LStrDestroyA(LStrAllocCloneAA(a)); }},
      {"AllocCloneWW", [](LStrHandleA, LStrHandleW w) { LStrDestroyW(LStrAllocCloneWW(w)); }},
      {"AllocCloneWA", [](LStrHandleA, LStrHandleW w) { LStrDestroyA(LStrAllocCloneWA(w)); }},
      {"AllocCloneAW", [](LStrHandleA a, LStrHandleW) { LStrDestroyW(LStrAllocCloneAW(a)); }},
      {"AllocFromASzStrA",
       [](LStrHandleA, LStrHandleW) { LStrDestroyA(LStrAllocFromASzStrA("xy", -1)); }},
      {"AllocStringOfCharW",
       [](LStrHandleA, LStrHandleW) { LStrDestroyW(LStrAllocStringOfCharW(QW('x'), 9)); }},
      {"SetCharAtA", [](LStrHandleA a, LStrHandleW) { LStrSetCharAtA(a, 1, 'Q'); }},
      {"UniqueA", [](LStrHandleA a, LStrHandleW) { LStrUniqueA(a); }},
      {"SetLengthA", [](LStrHandleA a, LStrHandleW) { LStrSetLengthA(a, 40); }},
      {"SetLengthW", [](LStrHandleA, LStrHandleW w) { LStrSetLengthW(w, 40); }},
      {"AssignW", [](LStrHandleA, LStrHandleW w) { LStrAssignWSzStrW(w, QW("new text"), -1); }},
      {"AppendA", [](LStrHandleA a, LStrHandleW) { LStrAppendA(a, a); }},
      {"AppendCharW", [](LStrHandleA, LStrHandleW w) { LStrAppendCharW(w, QW('!')); }},
      {"CompareICA", [](LStrHandleA a, LStrHandleW) { LStrCompareICA(a, a); }},
      {"SubStringA", [](LStrHandleA a, LStrHandleW) { LStrDestroyA(LStrSubStringA(a, 2, 4)); }},
      {"LeftW", [](LStrHandleA, LStrHandleW w) { LStrDestroyW(LStrLeftW(w, 3)); }},
      {"InsertA", [](LStrHandleA a, LStrHandleW) { LStrInsertA(a, a, 3); }},
      {"DeleteW", [](LStrHandleA, LStrHandleW w) { LStrDeleteW(w, 2, 3); }},
      {"SelfUpperCaseA", [](LStrHandleA a, LStrHandleW) { LStrSelfUpperCaseA(a); }},
      {"LowerCaseW", [](LStrHandleA, LStrHandleW w) { LStrDestroyW(LStrLowerCaseW(w)); }},
      {"TrimLeftW", [](LStrHandleA, LStrHandleW w) { LStrDestroyW(LStrTrimLeftW(w)); }},
      {"TrimRightA", [](LStrHandleA a, LStrHandleW) { LStrDestroyA(LStrTrimRightA(a)); }},
      {"PadLeftA", [](LStrHandleA a, LStrHandleW) { LStrDestroyA(LStrPadLeftA(a, '*', 20)); }},
      {"PadRightW", [](LStrHandleA, LStrHandleW w) { LStrDestroyW(LStrPadRightW(w, 0, 20)); }},
      // Passes that outgrow the working text, and the single left-to-right pass.
      {"ReplaceA",
       [](LStrHandleA a, LStrHandleW) { LStrDestroyA(LStrReplaceA(a, "t", "TTTTTTTTT")); }},
      {"ReplaceW",
       [](LStrHandleA, LStrHandleW w) { LStrDestroyW(LStrReplaceW(w, QW("t"), QW("TTTTTTTTT"))); }},
      {"ReplaceA once",
       [](LStrHandleA a, LStrHandleW) { LStrDestroyA(LStrReplaceA(a, "e", "ee")); }},
  };
  return ops;
}

}  // namespace

TEST(OutOfMemory, EveryAllocationPointFailsCleanly) {
  for (const Operation& op : operations()) {
    SCOPED_TRACE(op.name);
    bool succeeded = false;
    for (long budget = 0; !succeeded && budget < 16; ++budget) {
      long live_before = qt::live_blocks();
      {
        HA a = make_a("shared text");
        HA other(LStrAllocCloneAA(a.get()));  // makes the A payload shared
        HW w = make_w(QW("wide text"));
        qt::fail_allocations_after(budget);
        Failure f = failure_of([&] { op.run(a.get(), w.get()); });
        qt::fail_allocations_after(-1);
        if (f == Failure::none) {
          succeeded = true;
        } else {
          EXPECT_EQ(f, Failure::out_of_memory) << "budget " << budget;
          EXPECT_EQ(text(a.get()), "shared text");
          EXPECT_EQ(text(other.get()), "shared text");
          EXPECT_EQ(text(w.get()), QW("wide text"));
        }
      }
      EXPECT_EQ(qt::live_blocks(), live_before) << "budget " << budget;
    }
    EXPECT_TRUE(succeeded);
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
