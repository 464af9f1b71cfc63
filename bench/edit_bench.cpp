// Replacement and search on 1 MB texts, and the C library's memmem on the
// same input for comparison.
#include <benchmark/benchmark.h>
#include <string.h>

#include <random>
#include <string>

#include "quarnel/quarnel.h"

namespace {

constexpr std::size_t kSize = 1 << 20;

// 1 MB of lower-case words with 10,000 occurrences of "<ab>" spread evenly.
std::string replace_input() {
  std::string text;
  text.reserve(kSize);
  const std::size_t gap = kSize / 10'000 - 4;
  for (int i = 0; i < 10'000; ++i) text += std::string(gap, 'x') + "<ab>";
  text.resize(kSize, 'y');
  return text;
}

// 1 MB of random letters and spaces; the pattern sits 64 bytes from the end
// or nowhere.
std::string search_input(const std::string& pattern, bool present) {
  std::mt19937 rng(1);
  std::string text(kSize, ' ');
  for (char& c : text) c = "abcdefghijklmnopqrstuvwxyz    "[rng() % 30];
  if (present) text.replace(kSize - 64, pattern.size(), pattern);
  return text;
}

const std::string kPattern = "quarnel needle";

void ReplaceA(benchmark::State& state) {
  const std::string text = replace_input();
  LStrHandleA h = LStrAllocFromASzStrA(text.data(), static_cast<int>(text.size()));
  for (auto _ : state) LStrDestroyA(LStrReplaceA(h, "<ab>", "[]"));
  LStrDestroyA(h);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(ReplaceA)->Unit(benchmark::kMillisecond);

void ReplaceW(benchmark::State& state) {
  const std::string text = replace_input();
  LStrHandleW h = LStrAllocFromASzStrW(text.data(), static_cast<int>(text.size()));
  for (auto _ : state) LStrDestroyW(LStrReplaceW(h, u"<ab>", u"[]"));
  LStrDestroyW(h);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize * 2));
}
BENCHMARK(ReplaceW)->Unit(benchmark::kMillisecond);

void PosA(benchmark::State& state) {
  const std::string text = search_input(kPattern, state.range(0));
  LStrHandleA h = LStrAllocFromASzStrA(text.data(), static_cast<int>(text.size()));
  for (auto _ : state) benchmark::DoNotOptimize(LStrPosPtrA(h, kPattern.c_str()));
  LStrDestroyA(h);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(PosA)->ArgName("present")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void Memmem(benchmark::State& state) {
  const std::string text = search_input(kPattern, state.range(0));
  for (auto _ : state)
    benchmark::DoNotOptimize(memmem(text.data(), text.size(), kPattern.data(), kPattern.size()));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize));
}
BENCHMARK(Memmem)->ArgName("present")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

void PosW(benchmark::State& state) {
  const std::string text = search_input(kPattern, state.range(0));
  LStrHandleW h = LStrAllocFromASzStrW(text.data(), static_cast<int>(text.size()));
  std::u16string pattern(kPattern.begin(), kPattern.end());
  for (auto _ : state) benchmark::DoNotOptimize(LStrPosPtrW(h, pattern.c_str()));
  LStrDestroyW(h);
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize * 2));
}
BENCHMARK(PosW)->ArgName("present")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

// memmem on the UTF-16 bytes of the same text, for PosW.
void MemmemW(benchmark::State& state) {
  const std::string text = search_input(kPattern, state.range(0));
  const std::u16string units(text.begin(), text.end()), pattern(kPattern.begin(), kPattern.end());
  for (auto _ : state)
    benchmark::DoNotOptimize(
        memmem(units.data(), units.size() * 2, pattern.data(), pattern.size() * 2));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kSize * 2));
}
BENCHMARK(MemmemW)->ArgName("present")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
