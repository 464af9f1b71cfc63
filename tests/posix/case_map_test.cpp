// The POSIX case mapping and lead bytes under code pages other than the
// process's: 1252, 932 (double-byte) and UTF-8, with an explicit locale.
#include "platform/posix/case_map.hpp"

#include <gtest/gtest.h>

#include <string>

#include "edit/lead_bytes.hpp"
#include "platform/posix/codepage.hpp"

namespace qp = quarnel::platform::posix;
using quarnel::platform::Case;

namespace {

struct Locale {
  locale_t handle = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
  ~Locale() {
    if (handle) freelocale(handle);
  }
};

}  // namespace

TEST(PosixCaseMap, MapsWholeCharactersWhenTheLengthStays) {
  Locale locale;
  if (!locale.handle) GTEST_SKIP() << "no C.UTF-8 locale";
  struct Case_ {
    unsigned page;
    Case to;
    std::string text, expected;
  } cases[] = {
      // é, ÿ -> Ÿ (0x9F); µ's capital is not in 1252 and ß has none: both stay.
      {1252, Case::upper, "\xe9\xff\xb5\xdf a", "\xc9\x9f\xb5\xdf A"},
      {1252, Case::lower, "\xc9\x9f\x8aZ", "\xe9\xff\x9az"},
      // Fullwidth A and Greek Alpha are double-byte characters; the trail
      // byte of katakana A (0x83 0x41) is never taken for an 'A'.
      {932, Case::lower, "\x82\x60\x83\x9f\x83\x41Q", "\x82\x81\x83\xbf\x83\x41q"},
      {932, Case::upper, "\x82\x81q\xb1\x82", "\x82\x60Q\xb1\x82"},
      // Omega and Deseret letters keep their length; dotless i -> I and
      // capital sharp s -> ß would not, and stay. Malformed bytes stay.
      {65001, Case::lower, "\xce\xa9\xf0\x90\x90\x80\xe1\xba\x9e\xc3",
       "\xcf\x89\xf0\x90\x90\xa8\xe1\xba\x9e\xc3"},
      {65001, Case::upper, "\xc4\xb1\xc3\xa9\xff", "\xc4\xb1\xc3\x89\xff"},
  };
  for (const Case_& c : cases) {
    SCOPED_TRACE(testing::Message() << "code page " << c.page << ": " << c.text);
    const qp::CodePage* page = qp::find_code_page(c.page);
    ASSERT_NE(page, nullptr);
    qp::AnsiCaseMap map(*page, locale.handle);
    std::string s = c.text;
    map.apply(s.data(), s.size(), c.to);
    EXPECT_EQ(s, c.expected);
  }

  // UTF-16 goes unit by unit: dotless i -> I is one unit each; surrogates
  // stay whatever they pair with.
  std::u16string units = u"\u0131\u00e9\u017fx\xD801\xDC28";
  qp::map_units(units.data(), units.size(), Case::upper, locale.handle);
  EXPECT_EQ(units, u"I\u00c9SX\xD801\xDC28");
}

TEST(PosixCaseMap, DoubleByteRulesUnderTheRealCodePages) {
  const qp::CodePage* sjis = qp::find_code_page(932);
  const qp::CodePage* western = qp::find_code_page(1252);
  ASSERT_TRUE(sjis && western);
  const quarnel::edit::LeadBytes lead932(
      [&](unsigned char b) { return qp::is_lead_byte(*sjis, b); });
  const quarnel::edit::LeadBytes lead1252(
      [&](unsigned char b) { return qp::is_lead_byte(*western, b); });
  for (unsigned b = 0; b < 256; ++b)
    EXPECT_EQ(lead932(static_cast<unsigned char>(b)),
              (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC));
  EXPECT_FALSE(lead1252.any());

  // 0x83 0x5C is one character whose trail byte is the backslash.
  const std::string path = "C:\x83\x5C\\x";
  EXPECT_EQ(quarnel::edit::find_on_boundary(path, "\\", lead932), 4u);
  EXPECT_EQ(quarnel::edit::find_on_boundary(path, "\\", lead1252), 3u);
  EXPECT_EQ(quarnel::edit::last_delimiter("\\\x83\x5C", "\\", lead932), 0u);
  EXPECT_EQ(quarnel::edit::last_delimiter("\\\x83\x5C", "\\", lead1252), 2u);
  EXPECT_EQ(quarnel::edit::last_char_start("x\x83\x5C", lead932), 1u);
  EXPECT_EQ(quarnel::edit::last_char_start("x\x83\x5C", lead1252), 2u);
}
