// Conversions between the families and W case mapping, each beside a
// baseline, as "conv/<row>/quarnel" and "conv/<row>/baseline" pairs for
// bench/ratios.py. The conversion rows depend on the process code page,
// which is fixed when the library loads, so the binary registers the rows of
// the page in force; run it once per page:
//
//   QUARNEL_ACP=1252  bench/ratios.py build/bench/bench/quarnel_bench --filter conv/
//   QUARNEL_ACP=65001 bench/ratios.py build/bench/bench/quarnel_bench --filter conv/
//   LANG=C bench/ratios.py build/bench/bench/quarnel_bench --filter conv/upper
//
// Baselines. The transcoding baseline meant here is simdutf, but it is not to
// be had on this machine (no Debian package, nothing on npm, no network
// otherwise), so the rows compare against reference loops written in this
// file in simdutf's manner: 32 bytes at a time with AVX2
// (the reference rows are left out on a CPU without it), runs of ASCII widened or narrowed in
// registers, the other characters decoded and checked in line. They do only what each workload
// needs (Latin-1 has no table; the UTF-8 loops validate but do not replace),
// so they are a strict yardstick. ICU's u_strFromUTF8 and u_strToUTF8 are
// shown as second baselines ("conv/<row>_icu/..."). Case mapping is compared
// with ICU's u_strToUpper (root locale). Neither ICU nor the reference loops
// are part of the library.
//
// Fresh blocks: the baselines that allocate their output take it from malloc
// with the same huge-page advice the library's POSIX heap gives blocks of
// 8 MiB and more, so the rows compare conversions, not allocation policies.
#include <benchmark/benchmark.h>
#include <immintrin.h>
#include <sys/mman.h>
#include <unicode/ucasemap.h>
#include <unicode/ustring.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.hpp"
#include "quarnel/quarnel.h"

namespace {

constexpr std::size_t kBig = std::size_t{16} << 20;  // bytes of A text, units of W text

// --- Texts ---------------------------------------------------------------------

// Western text: ASCII words with 4% of the characters Latin-1 letters
// (0xC0-0xFF, the same bytes in code page 1252 and in Latin-1).
const std::string& western_bytes() {
  static const std::string text = [] {
    std::mt19937 rng(3);
    std::string t(kBig, ' ');
    for (char& c : t) {
      const unsigned r = rng() % 100;
      c = static_cast<char>(r < 4 ? 0xC0 + rng() % 0x40 : r < 18 ? ' ' : 'a' + rng() % 26);
    }
    return t;
  }();
  return text;
}

std::u16string widened(const std::string& s) {
  std::u16string w(s.size(), u' ');
  for (std::size_t i = 0; i < s.size(); ++i) w[i] = static_cast<unsigned char>(s[i]);
  return w;
}

const std::u16string& western_units() {
  static const std::u16string text = widened(western_bytes());
  return text;
}

// The same mix for UTF-8, by characters: 96% ASCII, then Latin-1 letters
// (two bytes), Greek and Cyrillic (two), CJK (three) and a few emoji (four,
// a surrogate pair in UTF-16). About 16 MiB of UTF-16.
const std::u16string& mixed_units() {
  static const std::u16string text = [] {
    std::mt19937 rng(4);
    std::u16string t;
    t.reserve(kBig + 16);
    while (t.size() < kBig) {
      const unsigned r = rng() % 1000;
      if (r < 960) {
        t += static_cast<char16_t>(r < 820 ? 'a' + rng() % 26 : ' ');
      } else if (r < 980) {
        t += static_cast<char16_t>(0xC0 + rng() % 0x40);
      } else if (r < 990) {
        t += static_cast<char16_t>(0x3B1 + rng() % 24);
      } else if (r < 998) {
        t += static_cast<char16_t>(0x4E00 + rng() % 0x5000);
      } else {
        t += u"\U0001F600";
      }
    }
    return t;
  }();
  return text;
}

std::string to_utf8(const std::u16string& w) {
  std::string s;
  for (std::size_t i = 0; i < w.size(); ++i) {
    char32_t c = w[i];
    if (c >= 0xD800 && c < 0xDC00) c = 0x10000 + ((c - 0xD800) << 10) + (w[++i] - 0xDC00);
    if (c < 0x80) {
      s += static_cast<char>(c);
    } else if (c < 0x800) {
      s += {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
    } else if (c < 0x10000) {
      s += {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
            static_cast<char>(0x80 | (c & 0x3F))};
    } else {
      s += {static_cast<char>(0xF0 | c >> 18), static_cast<char>(0x80 | (c >> 12 & 0x3F)),
            static_cast<char>(0x80 | (c >> 6 & 0x3F)), static_cast<char>(0x80 | (c & 0x3F))};
    }
  }
  return s;
}

const std::string& mixed_utf8() {
  static const std::string text = to_utf8(mixed_units());
  return text;
}

// Latin, Greek and Cyrillic words with ASCII punctuation and digits.
const std::u16string& letters_units() {
  static const std::u16string text = [] {
    const std::u16string alphabets[] = {u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ",
                                        u"àáâãäåæçèéêëìíîïðñòóôõöøùúûüýþÿÀÉÎÕÜß",
                                        u"αβγδεζηθικλμνξοπρστυφχψωΑΒΓΔΕΖΗΘΙΚΛΜ",
                                        u"абвгдежзийклмнопрстуфхцчшщъыьэюяАБВГДЕЖЗ"};
    std::mt19937 rng(5);
    std::u16string t;
    t.reserve(kBig + 32);
    while (t.size() < kBig) {
      const std::u16string& a = alphabets[rng() % 4];
      for (unsigned n = 3 + rng() % 8; n--;) t += a[rng() % a.size()];
      t += rng() % 8 ? u" " : u", 42 ";
    }
    t.resize(kBig);
    return t;
  }();
  return text;
}

// --- Fresh blocks as the library's heap gives them ---------------------------------

void* fresh_block(std::size_t bytes) {
  void* p = std::malloc(bytes);
  if (!p) std::abort();
  if (bytes >= (std::size_t{8} << 20)) {
    const auto page = std::uintptr_t{4096};
    const auto first = (reinterpret_cast<std::uintptr_t>(p) + page - 1) / page * page;
    const auto last = (reinterpret_cast<std::uintptr_t>(p) + bytes) / page * page;
    if (last > first) madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
  }
  return p;
}

// --- Reference transcoders ----------------------------------------------------------

const bool kAvx2 = __builtin_cpu_supports("avx2");

__attribute__((target("avx2"))) void latin1_to_utf16_avx2(const unsigned char* s, std::size_t n,
                                                          char16_t* out) {
  std::size_t i = 0;
  for (; n - i >= 32; i += 32) {
    const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i),
                        _mm256_cvtepu8_epi16(_mm256_castsi256_si128(v)));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i + 16),
                        _mm256_cvtepu8_epi16(_mm256_extracti128_si256(v, 1)));
  }
  for (; i < n; ++i) out[i] = s[i];
}

void latin1_to_utf16(const char* s, std::size_t n, char16_t* out) {
  latin1_to_utf16_avx2(reinterpret_cast<const unsigned char*>(s), n, out);
}

// Returns the bytes written, or 0 when a unit is not Latin-1.
__attribute__((target("avx2"))) std::size_t utf16_to_latin1(const char16_t* s, std::size_t n,
                                                            char* out) {
  std::size_t i = 0;
  const __m256i high = _mm256_set1_epi16(static_cast<short>(0xFF00));
  for (; n - i >= 32; i += 32) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 16));
    if (!_mm256_testz_si256(_mm256_or_si256(a, b), high)) return 0;
    const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8);
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), packed);
  }
  for (; i < n; ++i) {
    if (s[i] > 0xFF) return 0;
    out[i] = static_cast<char>(s[i]);
  }
  return n;
}

// UTF-8 to UTF-16 with validation; returns the units written, or 0 on an
// invalid sequence.
__attribute__((target("avx2"))) std::size_t utf8_to_utf16(const char* text, std::size_t n,
                                                          char16_t* out) {
  const auto* s = reinterpret_cast<const unsigned char*>(text);
  std::size_t i = 0, k = 0;
  while (i < n) {
    if (n - i >= 32) {
      const __m256i v = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
      const unsigned mask = static_cast<unsigned>(_mm256_movemask_epi8(v));
      if (mask == 0) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k),
                            _mm256_cvtepu8_epi16(_mm256_castsi256_si128(v)));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k + 16),
                            _mm256_cvtepu8_epi16(_mm256_extracti128_si256(v, 1)));
        i += 32;
        k += 32;
        continue;
      }
      // The ASCII before the first other byte, widened at once (the output
      // has room: it is sized for the worst case).
      const unsigned ascii = static_cast<unsigned>(__builtin_ctz(mask));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k),
                          _mm256_cvtepu8_epi16(_mm256_castsi256_si128(v)));
      _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k + 16),
                          _mm256_cvtepu8_epi16(_mm256_extracti128_si256(v, 1)));
      i += ascii;
      k += ascii;
    }
    const unsigned b0 = s[i];
    if (b0 < 0x80) {
      out[k++] = static_cast<char16_t>(b0);
      ++i;
    } else if (b0 >= 0xC2 && b0 < 0xE0 && i + 1 < n && (s[i + 1] & 0xC0) == 0x80) {
      out[k++] = static_cast<char16_t>((b0 & 0x1F) << 6 | (s[i + 1] & 0x3F));
      i += 2;
    } else if (b0 >= 0xE0 && b0 < 0xF0 && i + 2 < n && (s[i + 1] & 0xC0) == 0x80 &&
               (s[i + 2] & 0xC0) == 0x80) {
      const char32_t c = (b0 & 0x0Fu) << 12 | (s[i + 1] & 0x3Fu) << 6 | (s[i + 2] & 0x3Fu);
      if (c < 0x800 || (c >= 0xD800 && c < 0xE000)) return 0;
      out[k++] = static_cast<char16_t>(c);
      i += 3;
    } else if (b0 >= 0xF0 && b0 < 0xF5 && i + 3 < n && (s[i + 1] & 0xC0) == 0x80 &&
               (s[i + 2] & 0xC0) == 0x80 && (s[i + 3] & 0xC0) == 0x80) {
      const char32_t c = (b0 & 0x07u) << 18 | (s[i + 1] & 0x3Fu) << 12 | (s[i + 2] & 0x3Fu) << 6 |
                         (s[i + 3] & 0x3Fu);
      if (c < 0x10000 || c > 0x10FFFF) return 0;
      out[k++] = static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out[k++] = static_cast<char16_t>(0xDC00 + (c & 0x3FF));
      i += 4;
    } else {
      return 0;
    }
  }
  return k;
}

// UTF-16 to UTF-8 with validation; returns the bytes written, or 0 on a
// lone surrogate.
__attribute__((target("avx2"))) std::size_t utf16_to_utf8(const char16_t* s, std::size_t n,
                                                          char* out) {
  std::size_t i = 0, k = 0;
  const __m256i high = _mm256_set1_epi16(static_cast<short>(0xFF80));
  while (i < n) {
    if (n - i >= 32) {
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i));
      const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + i + 16));
      if (_mm256_testz_si256(_mm256_or_si256(a, b), high)) {
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(a, b), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + k), packed);
        i += 32;
        k += 32;
        continue;
      }
    }
    // One stretch up to the next block boundary by units.
    for (const std::size_t end = n - i >= 32 ? i + 32 : n; i < end;) {
      char32_t c = s[i++];
      if (c < 0x80) {
        out[k++] = static_cast<char>(c);
      } else if (c < 0x800) {
        out[k++] = static_cast<char>(0xC0 | c >> 6);
        out[k++] = static_cast<char>(0x80 | (c & 0x3F));
      } else if (c < 0xD800 || c >= 0xE000) {
        out[k++] = static_cast<char>(0xE0 | c >> 12);
        out[k++] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out[k++] = static_cast<char>(0x80 | (c & 0x3F));
      } else {
        if (c >= 0xDC00 || i == n || s[i] < 0xDC00 || s[i] >= 0xE000) return 0;
        c = 0x10000 + ((c - 0xD800) << 10) + (s[i++] - 0xDC00u);
        out[k++] = static_cast<char>(0xF0 | c >> 18);
        out[k++] = static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out[k++] = static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out[k++] = static_cast<char>(0x80 | (c & 0x3F));
      }
    }
  }
  return k;
}

// --- Handles -------------------------------------------------------------------------

LStrHandleA a_handle(const std::string& s) {
  return LStrAllocFromASzStrA(s.data(), static_cast<int>(s.size()));
}
LStrHandleW w_handle(const std::u16string& w) {
  return LStrAllocFromWSzStrW(reinterpret_cast<const LWideChar*>(w.data()),
                              static_cast<int>(w.size()));
}

void set_bytes(benchmark::State& state, std::size_t bytes) {
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

// --- Code page 1252 ---------------------------------------------------------------------

void AToWNew(benchmark::State& state) {
  LStrHandleA h = a_handle(western_bytes());
  for (auto _ : state) LStrDestroyW(LStrAllocCloneAW(h));
  set_bytes(state, kBig);
  LStrDestroyA(h);
}
void Latin1ToUtf16New(benchmark::State& state) {
  const std::string& s = western_bytes();
  for (auto _ : state) {
    auto* out = static_cast<char16_t*>(fresh_block(2 * s.size() + 2));
    latin1_to_utf16(s.data(), s.size(), out);
    benchmark::DoNotOptimize(out);
    std::free(out);
  }
  set_bytes(state, kBig);
}

void AToWBuffer(benchmark::State& state) {
  LStrHandleA h = a_handle(western_bytes());
  std::vector<LWideChar> buffer(kBig + 1);
  for (auto _ : state) {
    benchmark::DoNotOptimize(LStrWideCharA(h, buffer.data(), static_cast<int>(buffer.size())));
    benchmark::ClobberMemory();
  }
  set_bytes(state, kBig);
  LStrDestroyA(h);
}
void Latin1ToUtf16Buffer(benchmark::State& state) {
  const std::string& s = western_bytes();
  std::vector<char16_t> buffer(kBig + 1);
  for (auto _ : state) {
    latin1_to_utf16(s.data(), s.size(), buffer.data());
    buffer[s.size()] = 0;
    benchmark::ClobberMemory();
  }
  set_bytes(state, kBig);
}

void WToANew(benchmark::State& state) {
  LStrHandleW h = w_handle(western_units());
  for (auto _ : state) LStrDestroyA(LStrAllocCloneWA(h));
  set_bytes(state, kBig);
  LStrDestroyW(h);
}
void Utf16ToLatin1New(benchmark::State& state) {
  const std::u16string& w = western_units();
  for (auto _ : state) {
    auto* out = static_cast<char*>(fresh_block(w.size() + 1));
    benchmark::DoNotOptimize(utf16_to_latin1(w.data(), w.size(), out));
    std::free(out);
  }
  set_bytes(state, kBig);
}

// --- Code page 65001 ---------------------------------------------------------------------

void Utf8ToWNew(benchmark::State& state) {
  LStrHandleA h = a_handle(mixed_utf8());
  for (auto _ : state) LStrDestroyW(LStrAllocCloneAW(h));
  set_bytes(state, mixed_utf8().size());
  LStrDestroyA(h);
}
void Utf8ToUtf16New(benchmark::State& state) {
  const std::string& s = mixed_utf8();
  for (auto _ : state) {
    auto* out = static_cast<char16_t*>(fresh_block(2 * s.size() + 64));
    benchmark::DoNotOptimize(utf8_to_utf16(s.data(), s.size(), out));
    std::free(out);
  }
  set_bytes(state, s.size());
}
void Utf8ToUtf16Icu(benchmark::State& state) {
  const std::string& s = mixed_utf8();
  for (auto _ : state) {
    auto* out = static_cast<UChar*>(fresh_block(2 * s.size() + 2));
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strFromUTF8(out, static_cast<int32_t>(s.size() + 1), &length, s.data(),
                  static_cast<int32_t>(s.size()), &error);
    benchmark::DoNotOptimize(length);
    std::free(out);
  }
  set_bytes(state, s.size());
}

void WToUtf8New(benchmark::State& state) {
  LStrHandleW h = w_handle(mixed_units());
  for (auto _ : state) LStrDestroyA(LStrAllocCloneWA(h));
  set_bytes(state, 2 * mixed_units().size());
  LStrDestroyW(h);
}
void Utf16ToUtf8New(benchmark::State& state) {
  const std::u16string& w = mixed_units();
  for (auto _ : state) {
    auto* out = static_cast<char*>(fresh_block(3 * w.size() + 64));
    benchmark::DoNotOptimize(utf16_to_utf8(w.data(), w.size(), out));
    std::free(out);
  }
  set_bytes(state, 2 * w.size());
}
void Utf16ToUtf8Icu(benchmark::State& state) {
  const std::u16string& w = mixed_units();
  for (auto _ : state) {
    auto* out = static_cast<char*>(fresh_block(3 * w.size() + 1));
    int32_t length = 0;
    UErrorCode error = U_ZERO_ERROR;
    u_strToUTF8(out, static_cast<int32_t>(3 * w.size() + 1), &length, w.data(),
                static_cast<int32_t>(w.size()), &error);
    benchmark::DoNotOptimize(length);
    std::free(out);
  }
  set_bytes(state, 2 * w.size());
}

// --- Case -------------------------------------------------------------------------------

void UpperW(benchmark::State& state) {
  LStrHandleW h = w_handle(letters_units());
  for (auto _ : state) LStrDestroyW(LStrUpperCaseW(h));
  set_bytes(state, 2 * kBig);
  LStrDestroyW(h);
}
void UpperIcu(benchmark::State& state) {
  const std::u16string& w = letters_units();
  for (auto _ : state) {
    auto* out = static_cast<UChar*>(fresh_block(2 * w.size() + 2));
    UErrorCode error = U_ZERO_ERROR;
    benchmark::DoNotOptimize(u_strToUpper(out, static_cast<int32_t>(w.size() + 1), w.data(),
                                          static_cast<int32_t>(w.size()), "", &error));
    std::free(out);
  }
  set_bytes(state, 2 * kBig);
}

void add(const char* name, void (*fn)(benchmark::State&)) {
  benchmark::RegisterBenchmark(name, fn)->Unit(benchmark::kMillisecond);
}

// Only the rows of the code page the library chose at load.
const bool kRegistered = [] {
  switch (kAvx2 ? quarnel::platform::ansi_code_page() : 0) {
    case 1252:
      add("conv/a_to_w_new_1252/quarnel", AToWNew);
      add("conv/a_to_w_new_1252/baseline", Latin1ToUtf16New);
      add("conv/a_to_w_buffer_1252/quarnel", AToWBuffer);
      add("conv/a_to_w_buffer_1252/baseline", Latin1ToUtf16Buffer);
      add("conv/w_to_a_new_1252/quarnel", WToANew);
      add("conv/w_to_a_new_1252/baseline", Utf16ToLatin1New);
      break;
    case 65001:
      add("conv/utf8_to_w_new/quarnel", Utf8ToWNew);
      add("conv/utf8_to_w_new/baseline", Utf8ToUtf16New);
      add("conv/utf8_to_w_new_icu/quarnel", Utf8ToWNew);
      add("conv/utf8_to_w_new_icu/baseline", Utf8ToUtf16Icu);
      add("conv/w_to_utf8_new/quarnel", WToUtf8New);
      add("conv/w_to_utf8_new/baseline", Utf16ToUtf8New);
      add("conv/w_to_utf8_new_icu/quarnel", WToUtf8New);
      add("conv/w_to_utf8_new_icu/baseline", Utf16ToUtf8Icu);
      break;
  }
  add("conv/upper_w_vs_icu/quarnel", UpperW);
  add("conv/upper_w_vs_icu/baseline", UpperIcu);
  return true;
}();

}  // namespace
