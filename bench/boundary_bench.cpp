// The price of crossing the export boundary: cheap exports in each way a
// thread can have failures delivered (raise, the default; record) and with
// checked handles, beside the internal call each export wraps. The argument
// of each benchmark is the setting: 0 raise, 1 record, 2 checked handles.
#include <benchmark/benchmark.h>

#include <string_view>

#include "convert/numbers.hpp"
#include "core/access.hpp"
#include "core/registry.hpp"
#include "quarnel/quarnel.h"

namespace {

// Applies one setting for a benchmark's run and gives the handle it works on,
// created after the setting so checked mode knows it.
class Setting {
 public:
  Setting(benchmark::State& state, const char* text) {
    static const char* const names[] = {"raise", "record", "checked"};
    setting_ = static_cast<int>(state.range(0));
    state.SetLabel(names[setting_]);
    if (setting_ == 1) LStrSetFailureMode(1);
    if (setting_ == 2) quarnel::testing::check_handles(true);
    h_ = LStrAllocFromASzStrA(text, -1);
  }
  ~Setting() {
    LStrDestroyA(h_);
    if (setting_ == 1) LStrSetFailureMode(0);
    if (setting_ == 2) quarnel::testing::check_handles(false);
  }
  LStrHandleA handle() const { return h_; }

 private:
  int setting_;
  LStrHandleA h_;
};

void LengthA(benchmark::State& state) {
  Setting s(state, "hello, world");
  for (auto _ : state) benchmark::DoNotOptimize(LStrLengthA(s.handle()));
}
BENCHMARK(LengthA)->DenseRange(0, 2);

void LengthA_Internal(benchmark::State& state) {
  LStrHandleA h = LStrAllocFromASzStrA("hello, world", -1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(h);
    benchmark::DoNotOptimize(quarnel::core::length_of(*h));
  }
  LStrDestroyA(h);
}
BENCHMARK(LengthA_Internal);

void AppendCharSetLengthA(benchmark::State& state) {
  Setting s(state, "sixteen letters.");
  for (auto _ : state) {
    benchmark::DoNotOptimize(LStrAppendCharA(s.handle(), 'x'));
    benchmark::DoNotOptimize(LStrSetLengthA(s.handle(), 16));
  }
}
BENCHMARK(AppendCharSetLengthA)->DenseRange(0, 2);

void AppendCharSetLengthA_Internal(benchmark::State& state) {
  LStrHandleA h = LStrAllocFromASzStrA("sixteen letters.", -1);
  for (auto _ : state) {
    char c = 'x';
    benchmark::DoNotOptimize(quarnel::core::append_text(*h, std::string_view(&c, 1)));
    benchmark::DoNotOptimize(quarnel::core::set_length(*h, 16));
  }
  LStrDestroyA(h);
}
BENCHMARK(AppendCharSetLengthA_Internal);

void GetCharAtA(benchmark::State& state) {
  Setting s(state, "hello, world");
  for (auto _ : state) benchmark::DoNotOptimize(LStrGetCharAtA(s.handle(), 5));
}
BENCHMARK(GetCharAtA)->DenseRange(0, 2);

void GetCharAtA_Internal(benchmark::State& state) {
  LStrHandleA h = LStrAllocFromASzStrA("hello, world", -1);
  for (auto _ : state) benchmark::DoNotOptimize(*quarnel::core::char_address(*h, 5));
  LStrDestroyA(h);
}
BENCHMARK(GetCharAtA_Internal);

void ToIntDefA(benchmark::State& state) {
  Setting s(state, "1234567");
  for (auto _ : state) benchmark::DoNotOptimize(LStrToIntDefA(s.handle(), -1));
}
BENCHMARK(ToIntDefA)->DenseRange(0, 2);

void ToIntDefA_Internal(benchmark::State& state) {
  LStrHandleA h = LStrAllocFromASzStrA("1234567", -1);
  for (auto _ : state) benchmark::DoNotOptimize(quarnel::convert::to_int_def(*h, -1));
  LStrDestroyA(h);
}
BENCHMARK(ToIntDefA_Internal);

}  // namespace
