// Separator splitting of 8-field lines: the library's list split against a
// plain std::string_view split of the same lines (views only, and copies into
// reused std::strings, which is what the library's fields amount to).
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "quarnel/quarnel.hpp"

namespace {

// Lines of 8 comma-separated fields of 1 to 15 characters.
const std::vector<std::string>& lines() {
  static const std::vector<std::string> all = [] {
    std::mt19937 rng(42);
    std::vector<std::string> v;
    std::size_t bytes = 0;
    while (bytes < (8u << 20)) {
      std::string line;
      for (int f = 0; f < 8; ++f) {
        if (f) line += ',';
        for (int n = 1 + rng() % 15; n > 0; --n) line += static_cast<char>('a' + rng() % 26);
      }
      bytes += line.size() + 1;
      v.push_back(std::move(line));
    }
    return v;
  }();
  return all;
}

std::size_t total_bytes() {
  std::size_t n = 0;
  for (const auto& l : lines()) n += l.size() + 1;
  return n;
}

void BM_SplitBySepExA(benchmark::State& state) {
  CLAnsiStr line;
  CLAnsiStrList fields(16);
  for (auto _ : state) {
    for (const std::string& text : lines()) {
      LStrAssignASzStrA(line.handle, text.data(), static_cast<int>(text.size()));
      benchmark::DoNotOptimize(SplitBySepExA(&line, ',', &fields, false));
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}
BENCHMARK(BM_SplitBySepExA);

void BM_StringViewSplit(benchmark::State& state) {
  std::vector<std::string_view> fields;
  for (auto _ : state) {
    for (std::string_view text : lines()) {
      fields.clear();
      for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos) end = text.size();
        fields.push_back(text.substr(start, end - start));
        start = end + 1;
      }
      benchmark::DoNotOptimize(fields.data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}
BENCHMARK(BM_StringViewSplit);

void BM_StringViewSplitIntoStrings(benchmark::State& state) {
  std::vector<std::string> fields(16);
  for (auto _ : state) {
    for (std::string_view text : lines()) {
      std::size_t n = 0;
      for (std::size_t start = 0; start < text.size(); ++n) {
        std::size_t end = text.find(',', start);
        if (end == std::string_view::npos) end = text.size();
        if (n == fields.size()) fields.emplace_back();
        fields[n].assign(text.substr(start, end - start));
        start = end + 1;
      }
      benchmark::DoNotOptimize(fields.data());
    }
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * total_bytes()));
}
BENCHMARK(BM_StringViewSplitIntoStrings);

}  // namespace
