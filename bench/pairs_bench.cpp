// Library and baseline side by side, one pair per workload. Each pair is
// registered as "<row>/quarnel" and "<row>/baseline"; bench/ratios.py runs
// them interleaved and prints the ratio of the medians per row. The baseline
// is the best standard or well-known alternative doing the same work (for the
// W family: the A family on the same text, since the goal is A speed).
#include <absl/strings/str_replace.h>
#include <absl/strings/str_split.h>
#include <benchmark/benchmark.h>
#include <string.h>

#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "quarnel/quarnel.hpp"

namespace {

constexpr std::size_t kBig = std::size_t{16} << 20;  // characters

// Random text over `alphabet`, the same for every call with the same seed.
std::string random_text(std::size_t size, std::string_view alphabet, unsigned seed = 1) {
  std::mt19937 rng(seed);
  std::string text(size, ' ');
  for (char& c : text) c = alphabet[rng() % alphabet.size()];
  return text;
}

const std::string& mixed_case_text() {
  static const std::string text =
      random_text(kBig, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 ,.");
  return text;
}

constexpr char kNeedle[] = "quarnel-perf";  // 12 characters

const std::string& search_text() {
  static const std::string text = [] {
    std::string t = random_text(kBig, "abcdefghijklmnopqrstuvwxyz    ");
    t.replace(t.size() - sizeof kNeedle + 1, sizeof kNeedle - 1, kNeedle);
    return t;
  }();
  return text;
}

std::u16string widen(std::string_view s) { return {s.begin(), s.end()}; }

struct AHandle {
  LStrHandleA h;
  explicit AHandle(std::string_view s)
      : h(LStrAllocFromASzStrA(s.data(), static_cast<int>(s.size()))) {}
  ~AHandle() { LStrDestroyA(h); }
};

struct WHandle {
  LStrHandleW h;
  explicit WHandle(std::string_view s) {
    const std::u16string w = widen(s);
    h = LStrAllocFromWSzStrW(w.data(), static_cast<int>(w.size()));
  }
  ~WHandle() { LStrDestroyW(h); }
};

void set_chars(benchmark::State& state, std::size_t per_iteration) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * per_iteration));
}

// --- Case mapping: W against A on the same text ------------------------------

void UpperW(benchmark::State& state) {
  WHandle h(mixed_case_text());
  for (auto _ : state) LStrDestroyW(LStrUpperCaseW(h.h));
  set_chars(state, kBig);
}
void UpperA(benchmark::State& state) {
  AHandle h(mixed_case_text());
  for (auto _ : state) LStrDestroyA(LStrUpperCaseA(h.h));
  set_chars(state, kBig);
}
BENCHMARK(UpperW)->Name("upper_w_vs_a/quarnel")->Unit(benchmark::kMillisecond);
BENCHMARK(UpperA)->Name("upper_w_vs_a/baseline")->Unit(benchmark::kMillisecond);

// The C library's toupper over a copy, against LStrUpperCaseA.
void ToupperLoop(benchmark::State& state) {
  const std::string& text = mixed_case_text();
  for (auto _ : state) {
    std::string s = text;
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    benchmark::DoNotOptimize(s.data());
  }
  set_chars(state, kBig);
}
BENCHMARK(UpperA)->Name("upper_a_vs_toupper/quarnel")->Unit(benchmark::kMillisecond);
BENCHMARK(ToupperLoop)->Name("upper_a_vs_toupper/baseline")->Unit(benchmark::kMillisecond);

// --- Search: 12 characters at the very end of 16 Mi ----------------------------

const std::string& needle() {
  static const std::string text(kNeedle);
  return text;
}

// One search row: the library's search of `Pattern` in `Text`, or memmem.
int pos(const AHandle& h, const AHandle& p) { return LStrPosA(h.h, p.h); }
int pos(const WHandle& h, const WHandle& p) { return LStrPosW(h.h, p.h); }
template <class Handle, const std::string& (*Text)(), const std::string& (*Pattern)()>
void Pos(benchmark::State& state) {
  Handle h(Text()), p(Pattern());
  for (auto _ : state) benchmark::DoNotOptimize(pos(h, p));
  set_chars(state, Text().size());
}
template <const std::string& (*Text)(), const std::string& (*Pattern)()>
void Memmem(benchmark::State& state) {
  const std::string &text = Text(), &pattern = Pattern();
  for (auto _ : state)
    benchmark::DoNotOptimize(memmem(text.data(), text.size(), pattern.data(), pattern.size()));
  set_chars(state, text.size());
}
// The two search pairs over one text and pattern, their names after `prefix`:
// the W search against the A one, the A search against memmem.
template <const std::string& (*Text)(), const std::string& (*Pattern)()>
bool search_rows(const std::string& prefix) {
  const std::pair<const char*, void (*)(benchmark::State&)> rows[] = {
      {"pos_w_vs_a/quarnel", Pos<WHandle, Text, Pattern>},
      {"pos_w_vs_a/baseline", Pos<AHandle, Text, Pattern>},
      {"pos_a_vs_memmem/quarnel", Pos<AHandle, Text, Pattern>},
      {"pos_a_vs_memmem/baseline", Memmem<Text, Pattern>}};
  for (const auto& [name, fn] : rows)
    benchmark::RegisterBenchmark((prefix + name).c_str(), fn)->Unit(benchmark::kMillisecond);
  return true;
}
const bool plain_search_rows = search_rows<search_text, needle>("");

// --- Replacement: 1 MiB, 10,000 hits ---------------------------------------------

const std::string& replace_text() {
  static const std::string text = [] {
    constexpr std::size_t size = 1 << 20, hits = 10'000, gap = size / hits - 3;
    std::string t = random_text(size, "defghijklmnopqrstuvwxyz ");
    for (std::size_t i = 0; i < hits; ++i) t.replace(i * (gap + 3) + gap, 3, "abc");
    return t;
  }();
  return text;
}

void ReplaceA(benchmark::State& state) {
  AHandle h(replace_text());
  for (auto _ : state) LStrDestroyA(LStrReplaceA(h.h, "abc", "xy"));
  set_chars(state, replace_text().size());
}
void AbslReplace(benchmark::State& state) {
  for (auto _ : state)
    benchmark::DoNotOptimize(absl::StrReplaceAll(replace_text(), {{"abc", "xy"}}));
  set_chars(state, replace_text().size());
}
BENCHMARK(ReplaceA)->Name("replace_a_vs_absl/quarnel")->Unit(benchmark::kMicrosecond);
BENCHMARK(AbslReplace)->Name("replace_a_vs_absl/baseline")->Unit(benchmark::kMicrosecond);

// --- Hostile inputs: text and pattern made of one repeated unit ------------------
// A search that compares from each start, or that scans for the first unit and
// then matches, does some 10^11 comparisons here; the baseline is glibc's
// two-way memmem, linear on any input. The replacement row deletes "ab" from
// a^n b^n: every pass makes one new hit where the last one was, so a rescan of
// the text per pass would be quadratic; its baseline is one pass over the same
// text (absl), the cost the library should stay within a small factor of.

constexpr std::size_t kHostile = 2'000'000;

const std::string& hostile_text() {
  static const std::string text(kHostile, 'a');
  return text;
}
const std::string& hostile_pattern() {
  static const std::string pattern = std::string(kHostile / 10, 'a') + "b";
  return pattern;
}

const bool hostile_search_rows = search_rows<hostile_text, hostile_pattern>("hostile_");

const std::string& nested_text() {
  static const std::string text = std::string(kHostile / 2, 'a') + std::string(kHostile / 2, 'b');
  return text;
}

void NestedReplaceA(benchmark::State& state) {
  AHandle h(nested_text());
  for (auto _ : state) LStrDestroyA(LStrReplaceA(h.h, "ab", ""));
  set_chars(state, kHostile);
}
void OnePassReplace(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(absl::StrReplaceAll(nested_text(), {{"ab", ""}}));
  set_chars(state, kHostile);
}
BENCHMARK(NestedReplaceA)
    ->Name("hostile_replace_vs_one_pass/quarnel")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(OnePassReplace)
    ->Name("hostile_replace_vs_one_pass/baseline")
    ->Unit(benchmark::kMillisecond);

// --- Number text ----------------------------------------------------------------------

constexpr std::int64_t kIntegers[] = {0,          7,          -42,          1234567,
                                      -987654321, 4294967296, -55555555555, 123456789012345678,
                                      INT64_MIN,  INT64_MAX,  100,          -1};
constexpr std::size_t kIntegerCount = sizeof kIntegers / sizeof kIntegers[0];

void FromInt64A(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    LStrHandleA h = LStrAllocFromInt64A(kIntegers[i++ % kIntegerCount]);
    benchmark::DoNotOptimize(h->payload);
    LStrDestroyA(h);
  }
}
void FromInt64W(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    LStrHandleW h = LStrAllocFromInt64W(kIntegers[i++ % kIntegerCount]);
    benchmark::DoNotOptimize(h->payload);
    LStrDestroyW(h);
  }
}
void ToCharsString(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    char buf[24];
    auto r = std::to_chars(buf, buf + sizeof buf, kIntegers[i++ % kIntegerCount]);
    std::string s(buf, r.ptr);
    benchmark::DoNotOptimize(s.data());
  }
}
BENCHMARK(FromInt64A)->Name("int64_a_vs_to_chars/quarnel");
BENCHMARK(ToCharsString)->Name("int64_a_vs_to_chars/baseline");
BENCHMARK(FromInt64W)->Name("int64_w_vs_to_chars/quarnel");
BENCHMARK(ToCharsString)->Name("int64_w_vs_to_chars/baseline");

const char* const kDecimals[] = {"0", "-12345678", "2147483647", "42", "  -7", "99999"};
constexpr std::size_t kDecimalCount = sizeof kDecimals / sizeof kDecimals[0];

void ToIntDefA(benchmark::State& state) {
  std::vector<LStrHandleA> handles;
  for (const char* s : kDecimals) handles.push_back(LStrAllocFromASzStrA(s, -1));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(LStrToIntDefA(handles[i++ % kDecimalCount], 0));
  for (LStrHandleA h : handles) LStrDestroyA(h);
}
// from_chars skips no blanks, so the baseline skips them itself.
void FromChars(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    std::string_view s = kDecimals[i++ % kDecimalCount];
    s.remove_prefix(std::min(s.find_first_not_of(' '), s.size()));
    int v = 0;
    std::from_chars(s.data(), s.data() + s.size(), v);
    benchmark::DoNotOptimize(v);
  }
}
BENCHMARK(ToIntDefA)->Name("to_int_a_vs_from_chars/quarnel");
BENCHMARK(FromChars)->Name("to_int_a_vs_from_chars/baseline");

const double kDoubles[] = {1234.5678, 0.1, -2.0 / 3, 1e20, 42, 6.02214076e23, 1.5e-7, 99.99};
constexpr std::size_t kDoubleCount = sizeof kDoubles / sizeof kDoubles[0];

void FromDoubleA(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    LStrHandleA h = LStrAllocFromDoubleA(kDoubles[i++ % kDoubleCount]);
    benchmark::DoNotOptimize(h->payload);
    LStrDestroyA(h);
  }
}
void SnprintfDouble(benchmark::State& state) {
  std::size_t i = 0;
  for (auto _ : state) {
    char buf[32];
    int n = std::snprintf(buf, sizeof buf, "%.15g", kDoubles[i++ % kDoubleCount]);
    std::string s(buf, static_cast<std::size_t>(n));
    benchmark::DoNotOptimize(s.data());
  }
}
BENCHMARK(FromDoubleA)->Name("double_a_vs_snprintf/quarnel");
BENCHMARK(SnprintfDouble)->Name("double_a_vs_snprintf/baseline");

void SprintfA(benchmark::State& state) {
  LStrHandleA h = LStrAllocA();
  int i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(_LStrSprintfA(h, "item %d: %s = %.2f", i++, "price", 1234.5678));
  LStrDestroyA(h);
}
void TwoPassSnprintf(benchmark::State& state) {
  std::string s;
  int i = 0;
  for (auto _ : state) {
    int n = std::snprintf(nullptr, 0, "item %d: %s = %.2f", i, "price", 1234.5678);
    s.assign(static_cast<std::size_t>(n), '\0');
    std::snprintf(s.data(), s.size() + 1, "item %d: %s = %.2f", i++, "price", 1234.5678);
    benchmark::DoNotOptimize(s.data());
  }
}
BENCHMARK(SprintfA)->Name("sprintf_a_vs_snprintf/quarnel");
BENCHMARK(TwoPassSnprintf)->Name("sprintf_a_vs_snprintf/baseline");

// --- Cloning is O(1): 100 MiB against 10 bytes -------------------------------------------

void CloneOf(benchmark::State& state, std::size_t size) {
  AHandle h(std::string(size, 'c'));
  for (auto _ : state) LStrDestroyA(LStrAllocCloneAA(h.h));
}
BENCHMARK_CAPTURE(CloneOf, big, std::size_t{100} << 20)->Name("clone_100MiB_vs_10B/quarnel");
BENCHMARK_CAPTURE(CloneOf, small, std::size_t{10})->Name("clone_100MiB_vs_10B/baseline");

// --- Trimming, comparison, conversion: W against A, A against a plain copy -------------

const std::string& padded_text() {
  static const std::string text = "  \t " + random_text(1 << 20, "abcdefgh ") + " \r\n  ";
  return text;
}

void TrimW(benchmark::State& state) {
  WHandle h(padded_text());
  for (auto _ : state) LStrDestroyW(LStrTrimW(h.h));
  set_chars(state, padded_text().size());
}
void TrimA(benchmark::State& state) {
  AHandle h(padded_text());
  for (auto _ : state) LStrDestroyA(LStrTrimA(h.h));
  set_chars(state, padded_text().size());
}
void TrimView(benchmark::State& state) {
  const std::string& text = padded_text();
  for (auto _ : state) {
    std::string_view v = text;
    while (!v.empty() && static_cast<unsigned char>(v.front()) <= ' ') v.remove_prefix(1);
    while (!v.empty() && static_cast<unsigned char>(v.back()) <= ' ') v.remove_suffix(1);
    std::string s(v);
    benchmark::DoNotOptimize(s.data());
  }
  set_chars(state, text.size());
}
BENCHMARK(TrimW)->Name("trim_w_vs_a/quarnel")->Unit(benchmark::kMicrosecond);
BENCHMARK(TrimA)->Name("trim_w_vs_a/baseline")->Unit(benchmark::kMicrosecond);
BENCHMARK(TrimA)->Name("trim_a_vs_string/quarnel")->Unit(benchmark::kMicrosecond);
BENCHMARK(TrimView)->Name("trim_a_vs_string/baseline")->Unit(benchmark::kMicrosecond);

void CompareW(benchmark::State& state) {
  WHandle a(mixed_case_text()), b(mixed_case_text());
  for (auto _ : state) benchmark::DoNotOptimize(LStrCompareW(a.h, b.h));
  set_chars(state, kBig);
}
void CompareA(benchmark::State& state) {
  AHandle a(mixed_case_text()), b(mixed_case_text());
  for (auto _ : state) benchmark::DoNotOptimize(LStrCompareA(a.h, b.h));
  set_chars(state, kBig);
}
BENCHMARK(CompareW)->Name("compare_w_vs_a/quarnel")->Unit(benchmark::kMillisecond);
BENCHMARK(CompareA)->Name("compare_w_vs_a/baseline")->Unit(benchmark::kMillisecond);

// A -> W and W -> A of ASCII text against widening and narrowing copies.
void CloneAW(benchmark::State& state) {
  AHandle h(mixed_case_text());
  for (auto _ : state) LStrDestroyW(LStrAllocCloneAW(h.h));
  set_chars(state, kBig);
}
void WidenCopy(benchmark::State& state) {
  const std::string& text = mixed_case_text();
  for (auto _ : state) benchmark::DoNotOptimize(widen(text).data());
  set_chars(state, kBig);
}
void CloneWA(benchmark::State& state) {
  WHandle h(mixed_case_text());
  for (auto _ : state) LStrDestroyA(LStrAllocCloneWA(h.h));
  set_chars(state, kBig);
}
void NarrowCopy(benchmark::State& state) {
  const std::u16string units = widen(mixed_case_text());
  for (auto _ : state) {
    std::string s(units.size(), '\0');
    for (std::size_t i = 0; i < units.size(); ++i) s[i] = static_cast<char>(units[i]);
    benchmark::DoNotOptimize(s.data());
  }
  set_chars(state, kBig);
}
BENCHMARK(CloneAW)->Name("a_to_w_vs_widen/quarnel")->Unit(benchmark::kMillisecond);
BENCHMARK(WidenCopy)->Name("a_to_w_vs_widen/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(CloneWA)->Name("w_to_a_vs_narrow/quarnel")->Unit(benchmark::kMillisecond);
BENCHMARK(NarrowCopy)->Name("w_to_a_vs_narrow/baseline")->Unit(benchmark::kMillisecond);

// --- Splitting -----------------------------------------------------------------------------

// Lines of 8 comma-separated fields of 1 to 15 characters, about 8 MiB.
const std::vector<std::string>& csv_lines() {
  static const std::vector<std::string> all = [] {
    std::mt19937 rng(42);
    std::vector<std::string> v;
    for (std::size_t bytes = 0; bytes < (8u << 20); bytes += v.back().size() + 1) {
      std::string line;
      for (int f = 0; f < 8; ++f) {
        if (f) line += ',';
        for (int n = 1 + rng() % 15; n > 0; --n) line += static_cast<char>('a' + rng() % 26);
      }
      v.push_back(std::move(line));
    }
    return v;
  }();
  return all;
}

void SepSplitA(benchmark::State& state) {
  CLAnsiStr line;
  CLAnsiStrList fields(16);
  for (auto _ : state)
    for (const std::string& text : csv_lines()) {
      LStrAssignASzStrA(line.handle, text.data(), static_cast<int>(text.size()));
      benchmark::DoNotOptimize(SplitBySepExA(&line, ',', &fields, false));
    }
  set_chars(state, csv_lines().size());
}
// The fields copied out, as the library's list holds copies too.
void AbslSplit(benchmark::State& state) {
  std::string line;
  std::vector<std::string> fields;
  for (auto _ : state)
    for (const std::string& text : csv_lines()) {
      line.assign(text);
      fields.clear();
      for (absl::string_view f : absl::StrSplit(line, ',')) fields.emplace_back(f.data(), f.size());
      benchmark::DoNotOptimize(fields.data());
    }
  set_chars(state, csv_lines().size());
}
BENCHMARK(SepSplitA)->Name("split_sep_a_vs_absl/quarnel")->Unit(benchmark::kMillisecond);
BENCHMARK(AbslSplit)->Name("split_sep_a_vs_absl/baseline")->Unit(benchmark::kMillisecond);

constexpr int kWidths[8] = {3, 7, 5, 10, 2, 8, 4, 6};

const std::vector<std::string>& fixed_lines() {
  static const std::vector<std::string> all = [] {
    std::vector<std::string> v;
    for (unsigned i = 0; i < 100'000; ++i) v.push_back(random_text(45, "abcdefghij 0123", i));
    return v;
  }();
  return all;
}

void FixedSplitA(benchmark::State& state) {
  CLAnsiStr line;
  CLAnsiStrList fields(16);
  for (auto _ : state)
    for (const std::string& text : fixed_lines()) {
      LStrAssignASzStrA(line.handle, text.data(), static_cast<int>(text.size()));
      benchmark::DoNotOptimize(SplitByFixedLayoutA(&line, 8, kWidths, &fields, false));
    }
  set_chars(state, fixed_lines().size());
}
void SubstrLayout(benchmark::State& state) {
  std::string line;
  std::vector<std::string> fields(16);
  for (auto _ : state)
    for (const std::string& text : fixed_lines()) {
      line.assign(text);
      std::size_t at = 0;
      for (int f = 0; f < 8; ++f) {
        fields[f] = line.substr(std::min(at, line.size()), kWidths[f]);
        at += kWidths[f];
      }
      benchmark::DoNotOptimize(fields.data());
    }
  set_chars(state, fixed_lines().size());
}
BENCHMARK(FixedSplitA)->Name("split_fixed_a_vs_substr/quarnel")->Unit(benchmark::kMillisecond);
BENCHMARK(SubstrLayout)->Name("split_fixed_a_vs_substr/baseline")->Unit(benchmark::kMillisecond);

}  // namespace
