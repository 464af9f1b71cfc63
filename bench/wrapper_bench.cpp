// The C++ wrapper (quarnel.hpp) beside std::string, and beside the raw
// exports it stands on: rows "<row>/quarnel" and "<row>/baseline" as
// ratios.py pairs them.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "quarnel/quarnel.hpp"

namespace {

constexpr std::string_view kPiece = "abcdefgh";

// 1,000 appends of 8 bytes to a new string.
void WrapperAppend(benchmark::State& state) {
  for (auto _ : state) {
    quarnel::AString s;
    for (int i = 0; i < 1000; ++i) s += kPiece;
    benchmark::DoNotOptimize(s.data());
  }
}
void StdStringAppend(benchmark::State& state) {
  for (auto _ : state) {
    std::string s;
    for (int i = 0; i < 1000; ++i) s += kPiece;
    benchmark::DoNotOptimize(s.data());
  }
}
void ExportAppend(benchmark::State& state) {
  for (auto _ : state) {
    LStrHandleA h = LStrAllocA();
    for (int i = 0; i < 1000; ++i)
      LStrAppendASzStrA(h, kPiece.data(), static_cast<int>(kPiece.size()));
    benchmark::DoNotOptimize(LStrCstrA(h));
    LStrDestroyA(h);
  }
}
BENCHMARK(WrapperAppend)->Name("wrapper_append_1000x8_vs_std_string/quarnel");
BENCHMARK(StdStringAppend)->Name("wrapper_append_1000x8_vs_std_string/baseline");
BENCHMARK(WrapperAppend)->Name("wrapper_append_1000x8_vs_exports/quarnel");
BENCHMARK(ExportAppend)->Name("wrapper_append_1000x8_vs_exports/baseline");

// The same for W strings, every append a call (BSTRs keep no room the
// wrapper could write into), beside std::u16string.
void WrapperAppendW(benchmark::State& state) {
  const quarnel::WString piece(QUARNEL_W("abcdefgh"));
  for (auto _ : state) {
    quarnel::WString s;
    for (int i = 0; i < 1000; ++i) s += piece;
    benchmark::DoNotOptimize(s.data());
  }
}
void StdU16StringAppend(benchmark::State& state) {
  const std::basic_string<LWideChar> piece(QUARNEL_W("abcdefgh"));
  for (auto _ : state) {
    std::basic_string<LWideChar> s;
    for (int i = 0; i < 1000; ++i) s += piece;
    benchmark::DoNotOptimize(s.data());
  }
}
BENCHMARK(WrapperAppendW)->Name("wrapper_append_w_1000x8_vs_std_u16string/quarnel");
BENCHMARK(StdU16StringAppend)->Name("wrapper_append_w_1000x8_vs_std_u16string/baseline");

// A string made from a view and ended.
void WrapperMake(benchmark::State& state) {
  for (auto _ : state) {
    quarnel::AString s{std::string_view("a line of text, 32 bytes long...")};
    benchmark::DoNotOptimize(s.handle);
  }
}
void ExportMake(benchmark::State& state) {
  const std::string_view text = "a line of text, 32 bytes long...";
  for (auto _ : state) {
    LStrHandleA h = LStrAllocFromASzStrA(text.data(), static_cast<int>(text.size()));
    benchmark::DoNotOptimize(h);
    LStrDestroyA(h);
  }
}
BENCHMARK(WrapperMake)->Name("wrapper_make_vs_exports/quarnel");
BENCHMARK(ExportMake)->Name("wrapper_make_vs_exports/baseline");

std::vector<std::string> words() {
  std::mt19937 rng(8);
  std::vector<std::string> v(4096);
  for (auto& w : v)
    for (int n = 4 + static_cast<int>(rng() % 12); n > 0; --n)
      w += static_cast<char>('a' + rng() % 26);
  return v;
}

// Sorting 4,096 words: wrappers with their operators against handles ordered
// by LStrCompareA.
void WrapperSort(benchmark::State& state) {
  const std::vector<std::string> text = words();
  const std::vector<quarnel::AString> original(text.begin(), text.end());
  std::vector<quarnel::AString> v;
  for (auto _ : state) {
    state.PauseTiming();
    v = original;
    state.ResumeTiming();
    std::sort(v.begin(), v.end());
    benchmark::DoNotOptimize(v.data());
  }
}
void ExportSort(benchmark::State& state) {
  std::vector<LStrHandleA> original;
  for (const std::string& w : words())
    original.push_back(LStrAllocFromASzStrA(w.data(), static_cast<int>(w.size())));
  for (auto _ : state) {
    std::vector<LStrHandleA> v = original;
    std::sort(v.begin(), v.end(),
              [](LStrHandleA a, LStrHandleA b) { return LStrCompareA(a, b) < 0; });
    benchmark::DoNotOptimize(v.data());
  }
  for (LStrHandleA h : original) LStrDestroyA(h);
}
BENCHMARK(WrapperSort)->Name("wrapper_sort_vs_exports/quarnel");
BENCHMARK(ExportSort)->Name("wrapper_sort_vs_exports/baseline");

// Splitting a line held in a string into a reused list.
void WrapperSplit(benchmark::State& state) {
  quarnel::AString line = "alpha,beta,gamma,delta,epsilon,zeta,eta,theta";
  quarnel::AStringList fields;
  for (auto _ : state) benchmark::DoNotOptimize(fields.split(line, ','));
}
void ExportSplit(benchmark::State& state) {
  CLAnsiStr line("alpha,beta,gamma,delta,epsilon,zeta,eta,theta");
  CLAnsiStrList fields;
  for (auto _ : state) benchmark::DoNotOptimize(SplitBySepExA(&line, ',', &fields, false));
}
BENCHMARK(WrapperSplit)->Name("wrapper_split_vs_exports/quarnel");
BENCHMARK(ExportSplit)->Name("wrapper_split_vs_exports/baseline");

}  // namespace
