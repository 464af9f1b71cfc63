// Growth with the text's size, 1 KiB to 64 MiB: replacement, splitting,
// search and conversion between the families should all take time linear in
// the size, so their bytes per second stay flat along each row
// (bench/ratios.py --scaling prints them side by side).
#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <string>

#include "quarnel/quarnel.hpp"

namespace {

// Words of 1 to 12 letters separated by commas, with "abc" every ~100 bytes
// and the search pattern only at the very end.
std::string sized_text(std::size_t size) {
  std::mt19937 rng(7);
  std::string t;
  t.reserve(size + 16);
  while (t.size() < size) {
    for (int n = 1 + rng() % 12; n > 0; --n) t += static_cast<char>('d' + rng() % 20);
    t += rng() % 16 == 0 ? "abc," : ",";
  }
  t.resize(size);
  t.replace(size - 12, 12, "quarnel-perf");
  return t;
}

constexpr char16_t kNeedleW[] = u"quarnel-perf";

void bytes(benchmark::State& state) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * state.range(0));
}

void ScaleReplaceA(benchmark::State& state) {
  const std::string text = sized_text(static_cast<std::size_t>(state.range(0)));
  LStrHandleA h = LStrAllocFromASzStrA(text.data(), static_cast<int>(text.size()));
  for (auto _ : state) LStrDestroyA(LStrReplaceA(h, "abc", "xy"));
  LStrDestroyA(h);
  bytes(state);
}

void ScaleSplitA(benchmark::State& state) {
  const std::string text = sized_text(static_cast<std::size_t>(state.range(0)));
  CLAnsiStr line(text.c_str());
  CLAnsiStrList fields(1024);
  // The first split makes the list's handles; the timed ones reuse them.
  SplitBySepExA(&line, ',', &fields, false);
  for (auto _ : state) benchmark::DoNotOptimize(SplitBySepExA(&line, ',', &fields, false));
  bytes(state);
}

void ScalePosA(benchmark::State& state) {
  const std::string text = sized_text(static_cast<std::size_t>(state.range(0)));
  LStrHandleA h = LStrAllocFromASzStrA(text.data(), static_cast<int>(text.size()));
  for (auto _ : state) benchmark::DoNotOptimize(LStrPosPtrA(h, "quarnel-perf"));
  LStrDestroyA(h);
  bytes(state);
}

void ScalePosW(benchmark::State& state) {
  const std::string text = sized_text(static_cast<std::size_t>(state.range(0)));
  LStrHandleW h = LStrAllocFromASzStrW(text.data(), static_cast<int>(text.size()));
  for (auto _ : state) benchmark::DoNotOptimize(LStrPosPtrW(h, kNeedleW));
  LStrDestroyW(h);
  bytes(state);
}

void ScaleAToW(benchmark::State& state) {
  const std::string text = sized_text(static_cast<std::size_t>(state.range(0)));
  LStrHandleA h = LStrAllocFromASzStrA(text.data(), static_cast<int>(text.size()));
  for (auto _ : state) LStrDestroyW(LStrAllocCloneAW(h));
  LStrDestroyA(h);
  bytes(state);
}

void ScaleWToA(benchmark::State& state) {
  const std::string text = sized_text(static_cast<std::size_t>(state.range(0)));
  LStrHandleW h = LStrAllocFromASzStrW(text.data(), static_cast<int>(text.size()));
  for (auto _ : state) LStrDestroyA(LStrAllocCloneWA(h));
  LStrDestroyW(h);
  bytes(state);
}

// 1 KiB, 8 KiB, ... 32 MiB, and 64 MiB.
void sizes(benchmark::internal::Benchmark* b) {
  for (std::int64_t n = 1 << 10; n <= (std::int64_t{1} << 26); n *= 8) b->Arg(n);
  b->Arg(std::int64_t{1} << 26);
}

BENCHMARK(ScaleReplaceA)->Name("scale/replace_a")->Apply(sizes);
BENCHMARK(ScaleSplitA)->Name("scale/split_sep_a")->Apply(sizes);
BENCHMARK(ScalePosA)->Name("scale/pos_a")->Apply(sizes);
BENCHMARK(ScalePosW)->Name("scale/pos_w")->Apply(sizes);
BENCHMARK(ScaleAToW)->Name("scale/a_to_w")->Apply(sizes);
BENCHMARK(ScaleWToA)->Name("scale/w_to_a")->Apply(sizes);

}  // namespace
