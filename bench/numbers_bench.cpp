// Number text and formatted output against the C library doing the same
// work into a std::string. The library's figures include what a host pays
// for: a new handle record and payload per call (AllocFromDouble), or a new
// payload per call (Sprintf).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "quarnel/quarnel.h"

namespace {

const double kValues[] = {1234.5678, 0.1, -2.0 / 3, 1e20, 42, 6.02214076e23, 1.5e-7, 99.99};
constexpr std::size_t kCount = sizeof kValues / sizeof kValues[0];

void AllocFromDoubleA(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    LStrHandleA h = LStrAllocFromDoubleA(kValues[i++ % kCount]);
    benchmark::DoNotOptimize(h->payload);
    LStrDestroyA(h);
  }
}
BENCHMARK(AllocFromDoubleA);

void AllocFromDoubleW(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    LStrHandleW h = LStrAllocFromDoubleW(kValues[i++ % kCount]);
    benchmark::DoNotOptimize(h->payload);
    LStrDestroyW(h);
  }
}
BENCHMARK(AllocFromDoubleW);

// The C library's general format with the same 15 digits.
void SnprintfDoubleToString(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%.15g", kValues[i++ % kCount]);
    std::string s(buf, static_cast<std::size_t>(n));
    benchmark::DoNotOptimize(s.data());
  }
}
BENCHMARK(SnprintfDoubleToString);

void SprintfA(benchmark::State& state) {
  LStrHandleA h = LStrAllocA();
  int i = 0;
  for (auto _ : state) {
    int n = _LStrSprintfA(h, "item %d: %s = %.2f", i++, "price", 1234.5678);
    benchmark::DoNotOptimize(n);
  }
  LStrDestroyA(h);
}
BENCHMARK(SprintfA);

void SprintfW(benchmark::State& state) {
  LStrHandleW h = LStrAllocW();
  int i = 0;
  const LWideChar format[] = {'i', 't', 'e', 'm', ' ', '%', 'd', ':', ' ', '%',
                              'h', 's', ' ', '=', ' ', '%', '.', '2', 'f', 0};
  for (auto _ : state) {
    int n = _LStrSprintfW(h, format, i++, "price", 1234.5678);
    benchmark::DoNotOptimize(n);
  }
  LStrDestroyW(h);
}
BENCHMARK(SprintfW);

// The same measure-then-fill sizing with the C library.
void SnprintfToString(benchmark::State& state) {
  std::string s;
  int i = 0;
  for (auto _ : state) {
    int n = std::snprintf(nullptr, 0, "item %d: %s = %.2f", i, "price", 1234.5678);
    s.assign(static_cast<std::size_t>(n), '\0');
    std::snprintf(s.data(), s.size() + 1, "item %d: %s = %.2f", i++, "price", 1234.5678);
    benchmark::DoNotOptimize(s.data());
  }
}
BENCHMARK(SnprintfToString);

}  // namespace
