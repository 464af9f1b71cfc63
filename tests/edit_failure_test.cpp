// Out of memory in the editing exports: every allocation each one makes is
// made to fail in turn; the export must fail cleanly, release what it took,
// and leave the handles it was given as they were.
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

using A = LStrHandleA;
using W = LStrHandleW;

const std::vector<Operation>& operations() {
  static const std::vector<Operation> ops = {
      {"SubStringA", [](A a, W) { LStrDestroyA(LStrSubStringA(a, 2, 4)); }},
      {"LeftW", [](A, W w) { LStrDestroyW(LStrLeftW(w, 3)); }},
      {"RightA", [](A a, W) { LStrDestroyA(LStrRightA(a, 3)); }},
      {"InsertA", [](A a, W) { LStrInsertA(a, a, 3); }},
      {"InsertW", [](A, W w) { LStrInsertW(w, w, 3); }},
      {"DeleteA", [](A a, W) { LStrDeleteA(a, 2, 3); }},
      {"DeleteW", [](A, W w) { LStrDeleteW(w, 2, 3); }},
      {"UpperCaseA", [](A a, W) { LStrDestroyA(LStrUpperCaseA(a)); }},
      {"SelfUpperCaseA", [](A a, W) { LStrSelfUpperCaseA(a); }},
      {"SelfLowerCaseW", [](A, W w) { LStrSelfLowerCaseW(w); }},
      {"TrimLeftW", [](A, W w) { LStrDestroyW(LStrTrimLeftW(w)); }},
      {"SelfTrimRightA", [](A a, W) { LStrSelfTrimRightA(a); }},
      {"SelfTrimW", [](A, W w) { LStrSelfTrimW(w); }},
      {"PadLeftA", [](A a, W) { LStrDestroyA(LStrPadLeftA(a, '*', 20)); }},
      {"PadRightW", [](A, W w) { LStrDestroyW(LStrPadRightW(w, QW('*'), 20)); }},
      {"PadLeftA clone", [](A a, W) { LStrDestroyA(LStrPadLeftA(a, '*', 2)); }},
      // Passes that grow the working text, and the single left-to-right pass.
      {"ReplaceA", [](A a, W) { LStrDestroyA(LStrReplaceA(a, "t", "TTTTTTTTTTTT")); }},
      {"ReplaceW", [](A, W w) { LStrDestroyW(LStrReplaceW(w, QW("t"), QW("TTTTTTTTTTTT"))); }},
      {"ReplaceA once", [](A a, W) { LStrDestroyA(LStrReplaceA(a, "e", "ee")); }},
  };
  return ops;
}

}  // namespace

TEST(OutOfMemory, EditingExportsFailCleanlyAtEveryAllocation) {
  for (const Operation& op : operations()) {
    SCOPED_TRACE(op.name);
    bool succeeded = false;
    for (long budget = 0; !succeeded && budget < 16; ++budget) {
      long live_before = qt::live_blocks();
      {
        HA a = make_a(" shared text ");
        HA other(LStrAllocCloneAA(a.get()));  // makes the A payload shared
        HW w = make_w(QW(" wide text "));
        qt::fail_allocations_after(budget);
        Failure f = failure_of([&] { op.run(a.get(), w.get()); });
        qt::fail_allocations_after(-1);
        if (f == Failure::none) {
          succeeded = true;
        } else {
          EXPECT_EQ(f, Failure::out_of_memory) << "budget " << budget;
          EXPECT_EQ(text(a.get()), " shared text ");
          EXPECT_EQ(text(other.get()), " shared text ");
          EXPECT_EQ(text(w.get()), QW(" wide text "));
        }
      }
      EXPECT_EQ(qt::live_blocks(), live_before) << "budget " << budget;
    }
    EXPECT_TRUE(succeeded);
  }
}
