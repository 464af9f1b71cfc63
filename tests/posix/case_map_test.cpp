// POSIX case mapping under code pages other than the process's: 1252, 932
// (double-byte) and UTF-8, with an explicit locale.
#include "platform/posix/case_map.hpp"

#include <gtest/gtest.h>

#include <string>

namespace qp = quarnel::platform::posix;
using quarnel::platform::Case;

TEST(PosixCaseMap, MapsWholeCharactersWhenTheLengthStays) {
  locale_t locale = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
  if (!locale) GTEST_SKIP() << "no C.UTF-8 locale";
  struct Row {
    unsigned page;
    Case to;
    std::string text, expected;
  } rows[] = {
      // ÿ -> Ÿ (0x9F); µ's capital is not in 1252, ß has none: both stay.
      {1252, Case::upper, "\xe9\xff\xb5\xdf a", "\xc9\x9f\xb5\xdf A"},
      {1252, Case::lower, "\xc9\x8aZ", "\xe9\x9az"},
      // Fullwidth A and Alpha are double-byte; the trail of katakana A
      // (0x83 0x41) is no 'A'; a final lone lead byte stays.
      {932, Case::lower, "\x82\x60\x83\x9f\x83\x41Q", "\x82\x81\x83\xbf\x83\x41q"},
      {932, Case::upper, "\x82\x81q\xb1\x82", "\x82\x60Q\xb1\x82"},
      // Omega and a Deseret letter keep their length; capital sharp s -> ß
      // and dotless i -> I would not, and stay; so do malformed bytes.
      {65001, Case::lower, "\xce\xa9\xf0\x90\x90\x80\xe1\xba\x9e\xc3",
       "\xcf\x89\xf0\x90\x90\xa8\xe1\xba\x9e\xc3"},
      {65001, Case::upper, "\xc4\xb1\xc3\xa9\xff", "\xc4\xb1\xc3\x89\xff"},
  };
  for (const Row& r : rows) {
    std::string s = r.text;
    qp::AnsiCaseMap(*qp::find_code_page(r.page), locale).apply(s.data(), s.size(), r.to);
    EXPECT_EQ(s, r.expected) << "code page " << r.page;
  }
  freelocale(locale);
}
