// How failures leave a call: raised (the default) or recorded per thread, and
// the checked-handles mode that turns a bad handle argument into a failure.
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "core/memory.hpp"
#include "core/registry.hpp"
#include "support.hpp"

using namespace qtest;
namespace qt = quarnel::testing;

namespace {

class CheckedHandles {
 public:
  CheckedHandles() { qt::check_handles(true); }
  ~CheckedHandles() { qt::check_handles(false); }
};

struct Recorded {
  unsigned code;
  std::string message;
};
Recorded last_failure() {
  char message[256];
  unsigned code = LStrGetLastFailure(message, sizeof message);
  return {code, message};
}

// A failing call on a handle holding `text`: returns the call's result as a
// number so cases of every result type share one table.
struct FailingCall {
  const char* name;
  const char* text;
  long budget;  // allocations allowed before they fail; -1: none fail
  std::function<long long(LStrHandleA)> run;
  Failure raised;
  unsigned code;
};

const std::vector<FailingCall>& failing_calls() {
  // Its message quotes the text: longer than half the record's room.
  static const std::string long_number = std::string(190, '7') + "x";
  static const std::vector<FailingCall> calls = {
      {"ToIntA", long_number.c_str(), -1, [](LStrHandleA h) { return LStrToIntA(h); },
       Failure::convert, QUARNEL_EXCEPTION_CONVERT},
      {"GetCharAtA", "abc", -1, [](LStrHandleA h) { return LStrGetCharAtA(h, 99); }, Failure::range,
       QUARNEL_EXCEPTION_RANGE},
      {"SetCharAtA before the start", "abc", -1,
       [](LStrHandleA h) {
         LStrSetCharAtA(h, 0, 'x');
         return 0;
       },
       Failure::range, QUARNEL_EXCEPTION_RANGE},
      {"SetLengthA out of memory", "abc", 0,
       [](LStrHandleA h) { return LStrSetLengthA(h, 100000); }, Failure::out_of_memory,
       QUARNEL_EXCEPTION_OUT_OF_MEMORY},
      {"SubStringA out of memory", "abcdef", 1,
       [](LStrHandleA h) { return reinterpret_cast<long long>(LStrSubStringA(h, 2, 3)); },
       Failure::out_of_memory, QUARNEL_EXCEPTION_OUT_OF_MEMORY},
  };
  return calls;
}

}  // namespace

TEST(FailureMode, RecordedFailuresReturnZeroAndKeepEverything) {
  for (const FailingCall& call : failing_calls()) {
    SCOPED_TRACE(call.name);
    long live_before = qt::live_blocks();
    {
      HA h = make_a(call.text);
      std::string raised_message;
      qt::fail_allocations_after(call.budget);
      Failure raised = failure_of([&] { call.run(h.get()); }, &raised_message);
      qt::fail_allocations_after(-1);
      ASSERT_EQ(raised, call.raised);

      ModeScope record(1);
      qt::fail_allocations_after(call.budget);
      long long result = call.run(h.get());
      qt::fail_allocations_after(-1);
      Recorded recorded = last_failure();
      EXPECT_EQ(result, 0);
      EXPECT_EQ(recorded.code, call.code);
      EXPECT_FALSE(recorded.message.empty());
      // The text is the one the exception carries (POSIX leaves bad_alloc's
      // own text to the C++ runtime).
      if (!raised_message.empty()) {
        EXPECT_EQ(recorded.message, raised_message);
      }
      // Read back into less room: cut, terminated, nothing written past it.
      for (int room : {0, 1, 4, static_cast<int>(recorded.message.size()) + 1}) {
        char buffer[300];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(LStrGetLastFailure(buffer, room), call.code);
        if (room > 0) {
          EXPECT_EQ(std::string(buffer), recorded.message.substr(0, room - 1u)) << room;
        }
        EXPECT_EQ(buffer[room], '#') << "wrote past room " << room;
      }
      EXPECT_EQ(text(h.get()), call.text);

      // The thread goes on, and a call that succeeds clears the record.
      EXPECT_EQ(LStrAppendASzStrA(h.get(), "!", 1), static_cast<int>(strlen(call.text)) + 1);
      recorded = last_failure();
      EXPECT_EQ(recorded.code, 0u);
      EXPECT_EQ(recorded.message, "");
    }
    EXPECT_EQ(qt::live_blocks(), live_before);
  }
}

TEST(FailureMode, ModeIsZeroOrOneAndPerThread) {
  EXPECT_EQ(LStrSetFailureMode(1), 0);
  EXPECT_EQ(LStrSetFailureMode(7), 1);  // ignored: answers the current mode
  EXPECT_EQ(LStrSetFailureMode(-1), 1);
  HA h = make_a("12x");
  EXPECT_EQ(LStrToIntA(h.get()), 0);

  Failure other_thread = Failure::none;
  unsigned other_record = 1;
  std::thread([&] {
    other_thread = failure_of([&] { LStrToIntA(h.get()); });
    other_record = LStrGetLastFailure(nullptr, 0);
  }).join();
  EXPECT_EQ(other_thread, Failure::convert);
  EXPECT_EQ(other_record, 0u);

  EXPECT_EQ(LStrGetLastFailure(nullptr, 0), QUARNEL_EXCEPTION_CONVERT);
  EXPECT_EQ(LStrSetFailureMode(0), 1);
  EXPECT_EQ(failure_of([&] { LStrToIntA(h.get()); }), Failure::convert);
}

TEST(CheckedHandles, BadHandlesFailInBothModes) {
  CheckedHandles on;
  struct Case {
    const char* name;
    std::function<void()> run;
    std::string message;
  };
  HA a = make_a("abc");
  HW w = make_w(QW("abc"));
  LStrHandleA destroyed = LStrAllocA();
  char foreign[16] = {};
  auto not_a_handle = reinterpret_cast<LStrHandleA>(foreign);
  const Case cases[] = {
      {"double destroy", [&] { LStrDestroyA(destroyed); },
       "LStrDestroyA: invalid handle argument 1 (a destroyed handle)"},
      {"A handle to a W function",
       [&] { LStrAppendW(w.get(), reinterpret_cast<LStrHandleW>(a.get())); },
       "LStrAppendW: invalid handle argument 2 (a handle of the other family)"},
      {"W handle to the A destroy", [&] { LStrDestroyA(reinterpret_cast<LStrHandleA>(w.get())); },
       "LStrDestroyA: invalid handle argument 1 (a handle of the other family)"},
      {"never a handle", [&] { LStrSetLengthA(not_a_handle, 3); },
       "LStrSetLengthA: invalid handle argument 1"},
      {"null", [&] { LStrCompareA(a.get(), nullptr); }, "LStrCompareA: invalid handle argument 2"},
      {"destroyed pattern", [&] { LStrPosA(a.get(), destroyed); },
       "LStrPosA: invalid handle argument 2 (a destroyed handle)"},
      {"destroyed source", [&] { LStrAppendA(a.get(), destroyed); },
       "LStrAppendA: invalid handle argument 2 (a destroyed handle)"},
  };
  LStrDestroyA(destroyed);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::string message;
    EXPECT_EQ(failure_of([&] { c.run(); }, &message), Failure::invalid_handle);
    EXPECT_EQ(message, c.message);
    {
      ModeScope record(1);
      c.run();
      Recorded recorded = last_failure();
      EXPECT_EQ(recorded.code, QUARNEL_EXCEPTION_INVALID_HANDLE);
      EXPECT_EQ(recorded.message, c.message);
    }
    EXPECT_EQ(text(a.get()), "abc");
    EXPECT_EQ(text(w.get()), QW("abc"));
  }
  // Good handles and a null destroy still pass.
  EXPECT_EQ(failure_of([&] { LStrDestroyA(nullptr); }), Failure::none);
  EXPECT_EQ(failure_of([&] { LStrDestroyA(LStrAllocCloneAA(a.get())); }), Failure::none);
}

TEST(CheckedHandles, FailedCreationLeavesNoRecordBehind) {
  CheckedHandles on;
  long live_before = qt::live_blocks();
  for (long budget = 0; budget < 3; ++budget) {
    qt::fail_allocations_after(budget);
    LStrHandleA h = nullptr;
    Failure f = failure_of([&] { h = LStrAllocFromASzStrA("text", -1); });
    qt::fail_allocations_after(-1);
    if (f == Failure::none) {
      EXPECT_EQ(text(h), "text");
      LStrDestroyA(h);
    } else {
      EXPECT_EQ(f, Failure::out_of_memory) << budget;
    }
  }
  EXPECT_EQ(qt::live_blocks(), live_before);
}

// The allocator hands a freed block's address to the next block of its size;
// a destroyed handle must stay invalid whatever is made after it, handles of
// either family and blocks of the record's size alike.
TEST(CheckedHandles, DestroyedHandleStaysInvalidWhenItsAddressComesBack) {
  CheckedHandles on;
  LStrHandleA stale = LStrAllocFromASzStrA("gone", -1);
  LStrDestroyA(stale);
  std::vector<HA> handles;
  std::vector<HW> wide;
  std::vector<void*> blocks;
  bool came_back = false;
  for (int i = 0; i < 3000 && !came_back; ++i) {
    handles.emplace_back(LStrAllocA());
    wide.emplace_back(LStrAllocW());
    blocks.push_back(LStrHeapAlloc(sizeof(LAnsiStrCore::LAnsiStrRec)));
    came_back = static_cast<void*>(handles.back().get()) == stale ||
                static_cast<void*>(wide.back().get()) == stale || blocks.back() == stale;
  }
  EXPECT_FALSE(came_back);
  std::string message;
  EXPECT_EQ(failure_of([&] { LStrLengthA(stale); }, &message), Failure::invalid_handle);
  EXPECT_EQ(message, "LStrLengthA: invalid handle argument 1 (a destroyed handle)");
  EXPECT_EQ(failure_of([&] { LStrDestroyA(stale); }), Failure::invalid_handle);
  for (void* block : blocks) LStrHeapFree(block);
}

// Destroyed records wait in a bounded quarantine: once it is full, each
// destroy sends the oldest record back to the heap, so the mode's memory
// stops growing; switched off, the mode gives everything back.
TEST(CheckedHandles, QuarantineIsBounded) {
  const long live_before = qt::live_blocks();
  {
    CheckedHandles on;
    auto churn = [] {
      for (std::size_t i = 0; i < quarnel::core::registry::kQuarantine; ++i)
        LStrDestroyA(LStrAllocA());
      return qt::live_blocks();
    };
    const long full = churn();
    EXPECT_EQ(churn(), full);
  }
  EXPECT_EQ(qt::live_blocks(), live_before);
}
