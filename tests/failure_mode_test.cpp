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

}  // namespace

// Failures of every kind, bad handles among them (checked-handles mode is on
// throughout): raised, then recorded.
TEST(FailureMode, RecordedFailuresReturnZeroAndKeepEverything) {
  CheckedHandles on;
  const auto r = Failure::range, oom = Failure::out_of_memory, bad = Failure::invalid_handle;
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
  // A call failing as `raised` on a handle holding `text`, with `budget`
  // allocations allowed before they fail (-1: none fail); its result is
  // read as a number, so calls of every result type share the table.
  struct FailingCall {
    Failure raised;
    std::function<long long(LStrHandleA)> run;
    const char* message = nullptr;  // the whole message, where the case fixes it
    const char* text = "abc";
    long budget = -1;
  } calls[] = {
      {Failure::convert, [](LStrHandleA h) { return LStrToIntA(h); }, nullptr, long_number.c_str()},
      {r, [](LStrHandleA h) { return LStrGetCharAtA(h, 99); }},
      {r, [](LStrHandleA h) { return LStrSetCharAtA(h, 0, 'x'), 0LL; }},
      {oom, [](LStrHandleA h) { return LStrSetLengthA(h, 100000); }, nullptr, "abc", 0},
      {oom, [](LStrHandleA h) { return LStrSubStringA(h, 2, 3) != nullptr; }, nullptr, "abcdef", 1},
      // Sizes past the longest text fail instead of wrapping.
      {oom, [](LStrHandleA h) { return LStrSetLengthA(h, 0x7FFFFFFF); }},
      {oom, [&](LStrHandleA) { return LStrSetLengthW(w.get(), 0x7FFFFFFF); }},
      {bad, [&](LStrHandleA) { return LStrDestroyA(destroyed), 0LL; },
       "LStrDestroyA: invalid handle argument 1 (a destroyed handle)"},
      {bad,
       [&](LStrHandleA h) { return LStrAppendW(w.get(), reinterpret_cast<LStrHandleW>(h)), 0LL; },
       "LStrAppendW: invalid handle argument 2 (a handle of the other family)"},
      {bad, [&](LStrHandleA) { return LStrDestroyA(reinterpret_cast<LStrHandleA>(w.get())), 0LL; },
       "LStrDestroyA: invalid handle argument 1 (a handle of the other family)"},
      {bad, [&](LStrHandleA) { return LStrSetLengthA(not_a_handle, 3); },
       "LStrSetLengthA: invalid handle argument 1"},
      {bad, [](LStrHandleA h) { return LStrCompareA(h, nullptr); },
       "LStrCompareA: invalid handle argument 2"},
      {bad, [&](LStrHandleA h) { return LStrPosA(h, destroyed); },
       "LStrPosA: invalid handle argument 2 (a destroyed handle)"},
      {bad, [&](LStrHandleA h) { return LStrAppendA(h, destroyed); },
       "LStrAppendA: invalid handle argument 2 (a destroyed handle)"},
  };
  // The code a record carries for each kind of failure.
  const unsigned code_of[] = {0, QUARNEL_EXCEPTION_RANGE, QUARNEL_EXCEPTION_CONVERT,
                              QUARNEL_EXCEPTION_OUT_OF_MEMORY, QUARNEL_EXCEPTION_INVALID_HANDLE};
  // One handle for every case: destroying one would keep its record.
  HA h = make_a("");
  for (const FailingCall& call : calls) {
    SCOPED_TRACE(testing::Message() << "row " << &call - calls);
    const unsigned code = code_of[static_cast<int>(call.raised)];
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
      EXPECT_EQ(LStrGetLastFailure(recorded, sizeof recorded), code);
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
        EXPECT_EQ(LStrGetLastFailure(buffer, room), code);
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
