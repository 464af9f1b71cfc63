// How failures leave a call: raised (the default) or recorded per thread, and
// the checked-handles mode that turns a bad handle argument into a failure.
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <type_traits>
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

// A failing call on a handle holding `text`, its result as a number so
// calls of every result type share one table (0 for none, 1 for a pointer).
struct FailingCall {
  const char* name;
  const char* text;
  long budget;  // allocations allowed before they fail; -1: none fail
  std::function<long long(LStrHandleA)> run;
  Failure raised;
  unsigned code;
  const char* message = nullptr;  // the whole message, where the case fixes it
};

template <class F>
std::function<long long(LStrHandleA)> numbered(F f) {
  return [f](LStrHandleA h) -> long long {
    if constexpr (std::is_void_v<std::invoke_result_t<F, LStrHandleA>>) {
      f(h);
      return 0;
    } else {
      return f(h) != 0;
    }
  };
}

}  // namespace

// Failures of every kind, bad handles among them (checked-handles mode is on
// throughout): raised, then recorded.
TEST(FailureMode, RecordedFailuresReturnZeroAndKeepEverything) {
  CheckedHandles on;
  const auto r = Failure::range, oom = Failure::out_of_memory, bad = Failure::invalid_handle;
  const unsigned bad_code = QUARNEL_EXCEPTION_INVALID_HANDLE;
  HW w = make_w(QW("abc"));
  LStrHandleA destroyed = LStrAllocA();
  LStrDestroyA(destroyed);
  char foreign[16] = {};
  auto not_a_handle = reinterpret_cast<LStrHandleA>(foreign);
  // The allocator hands a freed block's address to the next block of its
  // size; the destroyed handle must stay invalid whatever is made after it,
  // handles of either family and blocks of the record's size alike.
  std::vector<HA> handles;
  std::vector<HW> wide;
  std::vector<void*> blocks;
  for (int i = 0; i < 3000; ++i) {
    handles.emplace_back(LStrAllocA());
    wide.emplace_back(LStrAllocW());
    blocks.push_back(LStrHeapAlloc(sizeof(LAnsiStrCore::LAnsiStrRec)));
    ASSERT_TRUE(static_cast<void*>(handles.back().get()) != destroyed &&
                static_cast<void*>(wide.back().get()) != destroyed && blocks.back() != destroyed);
  }
  // Its message quotes the text: longer than half the record's room.
  const std::string long_number = std::string(190, '7') + "x";
  const FailingCall calls[] = {
      {"ToIntA", long_number.c_str(), -1, numbered([](LStrHandleA h) { return LStrToIntA(h); }),
       Failure::convert, QUARNEL_EXCEPTION_CONVERT},
      {"GetCharAtA", "abc", -1, numbered([](LStrHandleA h) { return LStrGetCharAtA(h, 99); }), r,
       QUARNEL_EXCEPTION_RANGE},
      {"SetCharAtA before the start", "abc", -1,
       numbered([](LStrHandleA h) { LStrSetCharAtA(h, 0, 'x'); }), r, QUARNEL_EXCEPTION_RANGE},
      {"SetLengthA", "abc", 0, numbered([](LStrHandleA h) { return LStrSetLengthA(h, 100000); }),
       oom, QUARNEL_EXCEPTION_OUT_OF_MEMORY},
      {"SubStringA", "abcdef", 1, numbered([](LStrHandleA h) { return LStrSubStringA(h, 2, 3); }),
       oom, QUARNEL_EXCEPTION_OUT_OF_MEMORY},
      // Sizes past the longest text fail instead of wrapping.
      {"SetLengthA past the longest", "abc", -1,
       numbered([](LStrHandleA h) { return LStrSetLengthA(h, 0x7FFFFFFF); }), oom,
       QUARNEL_EXCEPTION_OUT_OF_MEMORY},
      {"SetLengthW past the longest", "abc", -1,
       numbered([&](LStrHandleA) { return LStrSetLengthW(w.get(), 0x7FFFFFFF); }), oom,
       QUARNEL_EXCEPTION_OUT_OF_MEMORY},
      {"double destroy", "abc", -1, numbered([&](LStrHandleA) { LStrDestroyA(destroyed); }), bad,
       bad_code, "LStrDestroyA: invalid handle argument 1 (a destroyed handle)"},
      {"A handle to a W function", "abc", -1,
       numbered([&](LStrHandleA h) { LStrAppendW(w.get(), reinterpret_cast<LStrHandleW>(h)); }),
       bad, bad_code, "LStrAppendW: invalid handle argument 2 (a handle of the other family)"},
      {"W handle to the A destroy", "abc", -1,
       numbered([&](LStrHandleA) { LStrDestroyA(reinterpret_cast<LStrHandleA>(w.get())); }), bad,
       bad_code, "LStrDestroyA: invalid handle argument 1 (a handle of the other family)"},
      {"never a handle", "abc", -1,
       numbered([&](LStrHandleA) { return LStrSetLengthA(not_a_handle, 3); }), bad, bad_code,
       "LStrSetLengthA: invalid handle argument 1"},
      {"null", "abc", -1, numbered([](LStrHandleA h) { return LStrCompareA(h, nullptr); }), bad,
       bad_code, "LStrCompareA: invalid handle argument 2"},
      {"destroyed pattern", "abc", -1,
       numbered([&](LStrHandleA h) { return LStrPosA(h, destroyed); }), bad, bad_code,
       "LStrPosA: invalid handle argument 2 (a destroyed handle)"},
      {"destroyed source", "abc", -1,
       numbered([&](LStrHandleA h) { return LStrAppendA(h, destroyed); }), bad, bad_code,
       "LStrAppendA: invalid handle argument 2 (a destroyed handle)"},
  };
  // One handle for every case: destroying one would keep its record.
  HA h = make_a("");
  for (const FailingCall& call : calls) {
    SCOPED_TRACE(call.name);
    LStrAssignASzStrA(h.get(), call.text, -1);
    const long live_before = qt::live_blocks();
    {
      std::string raised_message;
      qt::fail_allocations_after(call.budget);
      Failure raised = failure_of([&] { call.run(h.get()); }, &raised_message);
      qt::fail_allocations_after(-1);
      ASSERT_EQ(raised, call.raised);

      ModeScope record(1);
      qt::fail_allocations_after(call.budget);
      long long result = call.run(h.get());
      qt::fail_allocations_after(-1);
      char recorded[256];
      EXPECT_EQ(result, 0);
      EXPECT_EQ(LStrGetLastFailure(recorded, sizeof recorded), call.code);
      const std::string message = recorded;
      EXPECT_FALSE(message.empty());
      // The text is the one the exception carries (POSIX leaves bad_alloc's
      // own text to the C++ runtime), and the one the case fixes.
      for (const char* want : {raised_message.c_str(), call.message ? call.message : ""})
        EXPECT_TRUE(!*want || message == want) << message << " | " << want;
      // Read back into less room: cut, terminated, nothing written past it.
      for (int room : {0, 1, 4, static_cast<int>(message.size()) + 1}) {
        char buffer[300];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(LStrGetLastFailure(buffer, room), call.code);
        if (room > 0) {
          EXPECT_EQ(std::string(buffer), message.substr(0, room - 1u)) << room;
        }
        EXPECT_EQ(buffer[room], '#') << "wrote past room " << room;
      }
      EXPECT_EQ(text(h.get()), call.text);
      EXPECT_EQ(text(w.get()), QW("abc"));

      // The thread goes on, and a call that succeeds clears the record.
      EXPECT_EQ(LStrAppendASzStrA(h.get(), "!", 1), static_cast<int>(strlen(call.text)) + 1);
      EXPECT_EQ(LStrGetLastFailure(recorded, sizeof recorded), 0u);
      EXPECT_STREQ(recorded, "");
    }
    EXPECT_EQ(qt::live_blocks(), live_before);
  }
  // A null destroy still passes.
  EXPECT_EQ(failure_of([&] { LStrDestroyA(nullptr); }), Failure::none);
  EXPECT_EQ(failure_of([&] { LStrDestroyW(nullptr); }), Failure::none);
  for (void* block : blocks) LStrHeapFree(block);
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

// Destroyed records wait in a bounded quarantine: once it is full, each
// destroy sends the oldest record back to the heap, so the mode's memory
// stops growing, and a creation that fails part-way leaves no record behind.
// Switched off, the mode gives everything back.
TEST(CheckedHandles, RecordsAreKeptNoLongerThanNeeded) {
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
    EXPECT_EQ(qt::live_blocks(), full);
  }
  EXPECT_EQ(qt::live_blocks(), live_before);
}
