// A fuzz target for the formatter. The input is read as a program in a small
// grammar: each step either adds literal text or builds one conversion
// (flags, width, precision, size prefix, letter, each possibly taken from
// the argument list) and an argument of the matching type. Every conversion
// is appended through the formatting exports of both families and compared
// with what the C library's snprintf writes for the same conversion; the
// Windows size prefixes are given to the C library as their standard
// spellings. Left out of the comparison, where the two deliberately differ
// or C leaves the result undefined: "%p" (compared with its documented
// spelling instead), text of the other family, flags that C does not define
// on text, and widths or precisions near INT_MAX, which must fail with out
// of memory. "%n" of any size must be refused without a write.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "quarnel/errors.hpp"
#include "quarnel/quarnel.hpp"

namespace {

using wstring = std::basic_string<LWideChar>;

void check(bool ok, const char* what, const std::string& format = {}) {
  if (!ok) {
    std::fprintf(stderr, "property failed: %s [%s]\n", what, format.c_str());
    std::abort();
  }
}

// The fuzzer's bytes, read one decision at a time; zeros once they run out.
class Program {
 public:
  Program(const std::uint8_t* bytes, std::size_t size) : at_(bytes), end_(bytes + size) {}
  bool done() const { return at_ == end_; }
  unsigned byte() { return at_ < end_ ? *at_++ : 0; }
  unsigned below(unsigned n) { return byte() % n; }
  std::uint64_t bits() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v = v << 8 | byte();
    return v;
  }

 private:
  const std::uint8_t* at_;
  const std::uint8_t* end_;
};

wstring widen(const std::string& s) {
  wstring w;
  for (char c : s) w.push_back(static_cast<LWideChar>(static_cast<unsigned char>(c)));
  return w;
}

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
template <class... A>
std::string c_library(const std::string& format, A... args) {
  int n = std::snprintf(nullptr, 0, format.c_str(), args...);
  check(n >= 0, "the C library formats it", format);
  std::string s(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(s.data(), s.size(), format.c_str(), args...);
  s.resize(static_cast<std::size_t>(n));
  return s;
}
#pragma GCC diagnostic pop

// The two handles the conversions are appended to, and the text they
// should hold.
struct Results {
  CLAnsiStr a;
  CLWideStr w;
  std::string expected;
};

// One conversion as the library reads it and as the C library spells it,
// with its '*' arguments.
struct Conversion {
  std::string library = "%", c = "%";
  bool star_width = false, star_precision = false;
  int width = 0, precision = 0;
  bool huge = false;  // a width or precision no handle can hold

  void add(const std::string& both) { library += both, c += both; }
};

template <class A, class W, class... Stars>
void compare(Results& r, const Conversion& cv, A a, W w, Stars... stars) {
  if (cv.huge) {
    // Far too long for a handle: out of memory, and nothing changes.
    for (int family = 0; family < 2; ++family) {
      int before = family ? r.w.length() : r.a.length();
      try {
        family ? _LStrCatSprintfW(r.w.handle, widen(cv.library).c_str(), stars..., w)
               : _LStrCatSprintfA(r.a.handle, cv.library.c_str(), stars..., a);
        // A precision that limits text, or %g, may still give a short text.
        int after = family ? r.w.length() : r.a.length();
        check(after - before < (1 << 20), "a huge field gives a short text or fails", cv.library);
        family ? LStrSetLengthW(r.w.handle, before) : LStrSetLengthA(r.a.handle, before);
      } catch (const std::bad_alloc&) {
        check((family ? r.w.length() : r.a.length()) == before, "dest kept", cv.library);
      }
    }
    return;
  }
  std::string expected = c_library(cv.c, stars..., a);
  int na = _LStrCatSprintfA(r.a.handle, cv.library.c_str(), stars..., a);
  int nw = _LStrCatSprintfW(r.w.handle, widen(cv.library).c_str(), stars..., w);
  check(na == static_cast<int>(expected.size()), "A count matches the C library", cv.library);
  check(nw == na, "W count matches A", cv.library);
  r.expected += expected;
  check(r.a.view() == r.expected, "A text matches the C library", cv.library);
}

template <class A, class W>
void run(Results& r, const Conversion& cv, A a, W w) {
  if (cv.star_width && cv.star_precision)
    compare(r, cv, a, w, cv.width, cv.precision);
  else if (cv.star_width)
    compare(r, cv, a, w, cv.width);
  else if (cv.star_precision)
    compare(r, cv, a, w, cv.precision);
  else
    compare(r, cv, a, w);
}

// A width or precision: none, a few digits, '*', or (rarely) one so large
// that no handle holds the text.
void number(Program& p, Conversion& cv, bool precision) {
  unsigned choice = p.below(16);
  if (precision) {
    if (choice < 5) return;
    cv.add(".");
    if (choice == 5) return;  // "." alone: precision zero
  } else if (choice < 6) {
    return;
  }
  bool& star = precision ? cv.star_precision : cv.star_width;
  int& value = precision ? cv.precision : cv.width;
  if (choice == 15) {
    cv.huge = true;
    value = 0x7FFFFFF3 + static_cast<int>(p.below(13));
    star = p.below(2);
    cv.add(star ? "*" : std::to_string(value));
    return;
  }
  int n = choice >= 12 ? static_cast<int>(p.below(200)) : static_cast<int>(p.below(40));
  if (choice >= 10) {
    star = true;
    cv.add("*");
    value = p.below(4) == 0 ? -n : n;
  } else {
    cv.add(std::to_string(n));
  }
}

// Integer sizes: what the library reads, what the C library reads.
struct IntSize {
  const char *library, *c;
};
constexpr IntSize kIntSizes[] = {{"", ""},      {"hh", "hh"}, {"h", "h"}, {"l", "l"},
                                 {"ll", "ll"},  {"j", "j"},   {"z", "z"}, {"t", "t"},
                                 {"I64", "ll"}, {"I32", ""},  {"I", "z"}};

void integer(Program& p, Results& r, Conversion& cv, char letter) {
  const IntSize& size = kIntSizes[p.below(sizeof kIntSizes / sizeof kIntSizes[0])];
  cv.library += size.library, cv.c += size.c;
  cv.add(std::string(1, letter));
  std::uint64_t v = p.bits() >> p.below(64);
  std::string s = size.c;
  // The argument as the caller passes it: promoted to int below int's size.
  if (s == "l")
    run(r, cv, static_cast<long>(v), static_cast<long>(v));
  else if (s == "ll" || s == "j")
    run(r, cv, static_cast<long long>(v), static_cast<long long>(v));
  else if (s == "z" || s == "t")
    run(r, cv, static_cast<std::ptrdiff_t>(v), static_cast<std::ptrdiff_t>(v));
  else
    run(r, cv, static_cast<int>(v), static_cast<int>(v));
}

void floating(Program& p, Results& r, Conversion& cv) {
  char letter = "eEfFgGaA"[p.below(8)];
  std::uint64_t bits = p.bits();
#if defined(_WIN32)
  // Windows has no long double of its own: "%Lf" reads a double there.
  if (false) {
#else
  if (p.below(4) == 0) {
#endif
    cv.add(std::string("L") + letter);
    long double v =
        std::ldexp(static_cast<long double>(bits), static_cast<int>(p.below(255)) - 160);
    if (p.below(2)) v = -v;
    run(r, cv, v, v);
    return;
  }
  cv.add(std::string(1, letter));
  double v;
  std::memcpy(&v, &bits, sizeof v);  // any bit pattern: subnormals, infinities, NaNs
  run(r, cv, v, v);
}

// "%p" is compared with "%llX" at two digits per pointer byte, which is
// how the library spells it.
void pointer(Program& p, Results& r, Conversion& cv) {
  if (cv.star_precision || cv.c.find('.') != std::string::npos || cv.huge) return;
  cv.library += "p";
  cv.c += "." + std::to_string(2 * sizeof(void*)) + "llX";
  auto v = static_cast<std::uintptr_t>(p.bits());
  void* pointer = reinterpret_cast<void*>(v);
  auto as_number = static_cast<unsigned long long>(v);
  std::string expected =
      cv.star_width ? c_library(cv.c, cv.width, as_number) : c_library(cv.c, as_number);
  int na = cv.star_width ? _LStrCatSprintfA(r.a.handle, cv.library.c_str(), cv.width, pointer)
                         : _LStrCatSprintfA(r.a.handle, cv.library.c_str(), pointer);
  int nw = cv.star_width
               ? _LStrCatSprintfW(r.w.handle, widen(cv.library).c_str(), cv.width, pointer)
               : _LStrCatSprintfW(r.w.handle, widen(cv.library).c_str(), pointer);
  check(na == static_cast<int>(expected.size()) && nw == na, "%p count", cv.library);
  r.expected += expected;
}

void count_store(Program& p, Results& r) {
  const char* sizes[] = {"", "hh", "h", "l", "ll", "L", "j", "z", "t", "w", "I", "I32", "I64"};
  std::string format = std::string("ab%") + sizes[p.below(13)] + "n";
  unsigned char target[16];
  std::memset(target, 0xA5, sizeof target);
  for (int family = 0; family < 2; ++family) {
    bool refused = false;
    std::string before_a(r.a.view());
    int before_w = r.w.length();
    try {
      family ? _LStrCatSprintfW(r.w.handle, widen(format).c_str(), target)
             : _LStrCatSprintfA(r.a.handle, format.c_str(), target);
    } catch (const quarnel::EConvertError&) {
      refused = true;
    }
    check(refused, "%n is refused", format);
    check(r.a.view() == before_a && r.w.length() == before_w, "dest kept after %n", format);
  }
  for (unsigned char b : target) check(b == 0xA5, "nothing written through %n", format);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) { return 0; }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  Program p(bytes, size);
  Results r;
  const char* texts[] = {"", "x", "hello", "a longer piece of text"};
  const wstring wide_texts[] = {widen(texts[0]), widen(texts[1]), widen(texts[2]), widen(texts[3])};
  for (int steps = 0; steps < 24 && !p.done(); ++steps) {
    unsigned step = p.below(16);
    if (step < 3) {  // literal text, '%' only as "%%"
      std::string literal;
      for (unsigned n = p.below(8); n > 0; --n) {
        unsigned char c = static_cast<unsigned char>(p.byte());
        if (c == 0) continue;
        literal += c == '%' ? "%%" : std::string(1, static_cast<char>(c));
        r.expected += static_cast<char>(c);
      }
      _LStrCatSprintfA(r.a.handle, literal.c_str());
      _LStrCatSprintfW(r.w.handle, widen(literal).c_str());
      continue;
    }
    if (step == 3) {
      count_store(p, r);
      continue;
    }
    Conversion cv;
    unsigned flags = p.byte();
    bool text = step >= 13;
    // On text only '-' is defined.
    for (int i = 0; i < 5; ++i)
      if (flags >> i & 1 && (!text || i == 0)) cv.add(std::string(1, "-+ #0"[i]));
    number(p, cv, false);
    number(p, cv, true);
    if (step < 8) {
      integer(p, r, cv, "diouxX"[p.below(6)]);
    } else if (step < 12) {
      floating(p, r, cv);
    } else if (step == 12) {
      pointer(p, r, cv);
    } else if (step < 15) {
      // Not null: C cuts "(null)" differently, or not at all.
      cv.add("s");
      unsigned pick = p.below(4);
      run(r, cv, texts[pick], wide_texts[pick].c_str());
    } else {
      cv.add("c");
      if (cv.c.find('.') != std::string::npos) continue;  // no precision on %c in C
      unsigned c = p.byte();
      run(r, cv, static_cast<int>(c), static_cast<int>(c));
    }
  }
  check(r.a.view() == r.expected, "A text matches the C library");
  if (r.w.view() != widen(r.expected)) {
    for (auto u : r.w.view()) std::fprintf(stderr, "%04x ", u);
    std::fprintf(stderr, "\n%s\n", r.expected.c_str());
  }
  check(r.w.view() == widen(r.expected), "W text matches the A text");
  return 0;
}
