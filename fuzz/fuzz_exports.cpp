// A fuzz target over the exports a host feeds untrusted text to: conversion
// between the families, searching, replacing, trimming, case mapping,
// splitting and number reading. Run under the sanitizers it looks for memory
// errors; it also checks properties that must hold for any input, among them
// replacement against a literal model of its passes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "fuzz_support.hpp"
#include "platform/platform.hpp"
#include "quarnel/quarnel.hpp"
#include "replace_model.hpp"

namespace {

using qfuzz::check;

// What replacement must give: the passes' answer when they end, else the
// single-pass answer. Short texts are checked against the literal passes;
// for every text the result is either free of occurrences or the
// single-pass answer, and it is that answer whenever the replacement holds
// the search text (the passes could never end).
template <class Char>
void check_replaced(std::basic_string_view<Char> text, std::basic_string_view<Char> search,
                    std::basic_string_view<Char> replacement, std::basic_string_view<Char> got) {
  if (search.empty()) {
    check(got == text, "an empty search gives the text");
    return;
  }
  const bool endless = replacement.find(search) != replacement.npos;
  if (!endless && text.size() <= 64 && replacement.size() <= 64) {
    // Within these bounds the library's own limit on re-reading cannot be
    // reached, so passes that end must give exactly the literal answer.
    const auto model =
        qmodel::by_passes<Char>(std::basic_string<Char>(text), search, replacement, 256, 4096);
    if (model) {
      check(got == *model, "replace matches the literal passes");
      return;
    }
  }
  check(
      got == qmodel::once(text, search, replacement) || (!endless && got.find(search) == got.npos),
      "replace gives the single-pass answer, or ends with no occurrence");
}

}  // namespace

// The round trip A -> W -> A below holds byte for byte only in a code page
// that maps every byte to a distinct unit: 1252 is chosen unless the caller
// asks for another, and the check runs only under 1252.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
#if !defined(_WIN32)
  setenv("QUARNEL_ACP", "1252", 0);
#endif
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  // Three texts, each up to the next 0xFF byte: a line, a search text and a
  // replacement.
  qfuzz::Bytes in(bytes, size);
  const std::string text = in.text(), search = in.text(), replacement = in.text();
  CLAnsiStr line(text);

  // A to W and back keeps every byte where every byte has its own unit.
  CLWideStr wide(LStrAllocCloneAW(line.handle), true);
  CLAnsiStr back(LStrAllocFromWSzStrA(LStrCstrW(wide.handle), LStrLengthW(wide.handle)), true);
  check(wide.length() == line.length() || quarnel::platform::ansi_code_page() != 1252,
        "one unit per byte");
  check(back.view() == line.view() || quarnel::platform::ansi_code_page() != 1252,
        "A -> W -> A round trip");

  // Searching and replacing, in both families, against the model.
  CLAnsiStr pattern(search);
  int at = LStrPosA(line.handle, pattern.handle);
  check(at >= 0 && at <= static_cast<int>(text.size()), "position range");
  CLAnsiStr replaced(LStrReplaceA(line.handle, search.c_str(), replacement.c_str()), true);
  // The export reads search and replacement up to their first zero.
  check_replaced<char>(line.view(), search.c_str(), replacement.c_str(), replaced.view());
  check(line.view() == text, "replace leaves its source alone");
  CLWideStr wide_search(LStrAllocCloneAW(pattern.handle), true);
  CLWideStr wide_replacement(LStrAllocCloneAW(CLAnsiStr(replacement.c_str()).handle), true);
  CLWideStr wide_replaced(LStrReplaceW(wide.handle, wide_search.c_str(), wide_replacement.c_str()),
                          true);
  check_replaced<LWideChar>(wide.view(), wide_search.c_str(), wide_replacement.c_str(),
                            wide_replaced.view());

  CLAnsiStr trimmed(LStrTrimA(line.handle), true);
  check(trimmed.length() <= line.length(), "trim never grows");
  CLAnsiStr upper(LStrUpperCaseA(line.handle), true);
  check(upper.length() == line.length(), "case keeps the length");
  CLWideStr wupper(LStrUpperCaseW(wide.handle), true);
  check(wupper.length() == wide.length(), "W case keeps the length");

  // Splitting with the first byte as separator, and a layout from the search.
  char separator = text.empty() ? ',' : text[0];
  CLAnsiStrList fields(3);
  int n = SplitBySepExA(&line, separator, &fields, size % 2 == 0);
  check(n == fields.count && n <= static_cast<int>(text.size()), "field count");
  int widths[8];
  int count = 0;
  for (char c : search.substr(0, 8)) widths[count++] = static_cast<signed char>(c);
  check(SplitByFixedLayoutA(&line, count, widths, &fields, true) == count, "one field per width");

  SplitNamedEquA(text.c_str(), &fields, true, '=');
  LStrToIntDefA(line.handle, 0);
  LStrToDoubleDefA(line.handle, 0.0);
  return 0;
}
