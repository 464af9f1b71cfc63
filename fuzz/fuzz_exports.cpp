// A fuzz target over the exports a host feeds untrusted text to: conversion
// between the families, searching, replacing, trimming, case mapping,
// splitting and number reading. Run under the sanitizers it looks for memory
// errors; it also checks a few properties that must hold for any input.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "quarnel/quarnel.hpp"

namespace {

void check(bool ok, const char* what) {
  if (!ok) {
    std::fprintf(stderr, "property failed: %s\n", what);
    std::abort();
  }
}

// The input is cut into three texts at the first two 0xFF bytes: a line, a
// search text and a replacement.
struct Pieces {
  std::string_view line, search, replacement;
};

Pieces cut(std::string_view data) {
  Pieces p;
  std::size_t a = data.find('\xff');
  p.line = data.substr(0, a);
  if (a != std::string_view::npos) {
    data.remove_prefix(a + 1);
    std::size_t b = data.find('\xff');
    p.search = data.substr(0, b);
    if (b != std::string_view::npos) p.replacement = data.substr(b + 1);
  }
  return p;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  std::string_view data(reinterpret_cast<const char*>(bytes), size);
  Pieces p = cut(data);
  CLAnsiStr line(p.line);
  check(LStrLengthA(line.handle) == static_cast<int>(p.line.size()), "length");

  // A to W and back keeps every byte the code page maps.
  CLWideStr wide(LStrAllocCloneAW(line.handle), true);
  CLAnsiStr back(LStrAllocFromWSzStrA(LStrCstrW(wide.handle), LStrLengthW(wide.handle)), true);
  (void)back;

  // Searching and replacing; the result must not hold the search text unless
  // the replacement brings it back.
  std::string search(p.search), replacement(p.replacement);
  CLAnsiStr pattern(p.search);
  int at = LStrPosA(line.handle, pattern.handle);
  check(at >= 0 && at <= static_cast<int>(p.line.size()), "position range");
  CLAnsiStr replaced(LStrReplaceA(line.handle, search.c_str(), replacement.c_str()), true);
  std::string_view search_text = search.c_str();  // up to its first zero
  if (!search_text.empty() && replacement.find(search_text) == std::string::npos &&
      replaced.length() < (1 << 20))
    check(replaced.view().find(search_text) == std::string_view::npos ||
              std::string_view(replacement.c_str()).find(search_text) != std::string_view::npos,
          "replace leaves no occurrence");
  check(line.view() == p.line, "replace leaves its source alone");

  CLAnsiStr trimmed(LStrTrimA(line.handle), true);
  check(trimmed.length() <= line.length(), "trim never grows");
  CLAnsiStr upper(LStrUpperCaseA(line.handle), true);
  check(upper.length() == line.length(), "case keeps the length");
  CLWideStr wupper(LStrUpperCaseW(wide.handle), true);
  check(wupper.length() == wide.length(), "W case keeps the length");

  // Splitting with the first byte as separator, and a layout from the search.
  char separator = p.line.empty() ? ',' : p.line[0];
  CLAnsiStrList fields(3);
  int n = SplitBySepExA(&line, separator, &fields, data.size() % 2 == 0);
  check(n == fields.count && n <= static_cast<int>(p.line.size()), "field count");
  int widths[8];
  int count = 0;
  for (char c : p.search.substr(0, 8)) widths[count++] = static_cast<signed char>(c);
  check(SplitByFixedLayoutA(&line, count, widths, &fields, true) == count, "one field per width");

  std::string zero_terminated(p.line);
  SplitNamedEquA(zero_terminated.c_str(), &fields, true, '=');
  LStrToIntDefA(line.handle, 0);
  LStrToDoubleDefA(line.handle, 0.0);
  return 0;
}
