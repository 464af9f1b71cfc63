// The POSIX code-page layer: tables, malformed input, UTF-8, bulk against
// character-by-character conversion, the choice of the process code page, and
// case mapping under pages other than the process's.
#include "platform/posix/codepage.hpp"

#include <gtest/gtest.h>
#include <iconv.h>

#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/char_rules.hpp"
#include "platform/platform.hpp"
#include "platform/posix/case_map.hpp"

#if defined(QUARNEL_TEST_WITH_ICU)
#include <unicode/ustring.h>
#endif

namespace qp = quarnel::platform::posix;
using quarnel::platform::Case;
using std::string;
using std::u16string;

namespace {

const unsigned kAll[] = {874,  1250, 1251, 1252, 1253, 1254, 1255, 1256,
                         1257, 1258, 932,  936,  949,  950,  65001};

const qp::CodePage& page(unsigned id) { return *qp::find_code_page(id); }

// Decodes or encodes, checking on the way that measuring agrees with writing,
// that nothing is written past the measured end and that nothing after the
// end is read: a trail byte, or a low surrogate, follows the text.
template <class Out, class In, class Convert>
Out checked(Convert convert, const qp::CodePage& cp, const In& s) {
  const In in = s + static_cast<typename In::value_type>(sizeof(s[0]) == 1 ? 0xA0 : 0xDC00);
  const std::size_t n = convert(cp, in.data(), s.size(), nullptr);
  Out out(n + 1, 'Z');
  EXPECT_EQ(convert(cp, in.data(), s.size(), out.data()), n);
  EXPECT_EQ(out[n], 'Z') << "wrote past the measured length";
  return out.substr(0, n);
}

u16string dec(const qp::CodePage& cp, const string& s) {
  return checked<u16string>(qp::decode, cp, s);
}

string enc(const qp::CodePage& cp, const u16string& s) {
  return checked<string>(qp::encode, cp, s);
}

template <class... Byte>
string bytes(Byte... b) {
  return {static_cast<char>(b)...};
}

char16_t default_char(unsigned id) { return id == 932 ? u'\x30FB' : u'?'; }

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// The C library's conversion of a whole text, or nothing where it has none.
// Flushed at once: the converter of 1258 holds a letter back for a combining
// mark that may follow.
std::optional<string> convert(iconv_t cd, string in) {
  char out[16];
  char *from = in.data(), *to = out;
  std::size_t left = in.size(), room = sizeof out;
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  if (iconv(cd, &from, &left, &to, &room) == static_cast<std::size_t>(-1) ||
      iconv(cd, nullptr, nullptr, &to, &room) == static_cast<std::size_t>(-1))
    return std::nullopt;
  return string(out, to);
}

}  // namespace

// --- UTF-8 -------------------------------------------------------------------------

#if defined(QUARNEL_TEST_WITH_ICU)
// Decoding: every pair of bytes, every lead byte followed by the edges of the
// ranges, and random text broken by a stray byte and cut anywhere.
// Encoding: random units, surrogates (paired or not) and the edges of the
// sequence lengths often among them.
TEST(Utf8, ConvertsAsIcu) {
  // ICU's converters replace each maximal ill-formed part (the longest start
  // of a well-formed sequence, at least one byte) and each lone surrogate
  // with U+FFFD, as ours do.
  const auto icu = [](auto convert, const auto& in, auto out) {
    UErrorCode status = U_ZERO_ERROR;
    std::int32_t n = 0;
    out.resize(3 * in.size());
    convert(out.data(), static_cast<std::int32_t>(out.size()), &n, in.data(),
            static_cast<std::int32_t>(in.size()), 0xFFFD, nullptr, &status);
    EXPECT_TRUE(U_SUCCESS(status));
    return out.substr(0, static_cast<std::size_t>(n));
  };
  const qp::CodePage& cp = page(65001);
  std::vector<string> inputs;
  for (unsigned v = 0; v < 0x10000; ++v) inputs.push_back(bytes(v >> 8, v & 0xFF));
  const int edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0,
                       0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xED, 0xF4, 0xFF};
  for (int lead = 0xC0; lead < 0x100; ++lead)
    for (int b : edges)
      for (int c : edges)
        for (int d : {0x41, 0x80, 0xBF}) inputs.push_back(bytes(lead, b, c, d));
  const char16_t units[] = {0x7F, 0x80, 0x7FF, 0x800, 0xD7FF, 0xE000, 0xFFFF, 0xFFFD};
  std::mt19937 rng(20240611);
  for (int round = 0; round < 20000; ++round) {
    u16string w;
    for (unsigned n = rng() % 12; n--;)
      w += static_cast<char16_t>(rng() % 3 == 0   ? units[rng() % 8]
                                 : rng() % 2 == 0 ? 0xD800 + rng() % 0x800
                                                  : rng() % 0x10000);
    string s = icu(u_strToUTF8WithSub, w, string());
    ASSERT_EQ(enc(cp, w), s) << ::testing::PrintToString(w);
    s.insert(rng() % (s.size() + 1), 1, static_cast<char>(rng()));
    inputs.push_back(s.substr(0, rng() % (s.size() + 1)));
  }
  for (const string& s : inputs)
    ASSERT_EQ(dec(cp, s), icu(u_strFromUTF8WithSub, s, u16string())) << ::testing::PrintToString(s);
}
#endif

// --- Every page ---------------------------------------------------------------------

// The lead bytes of each page. Every single byte and lead/trail pair, and
// every unit, against the C library's converters. Where the converter has no
// character, ours decodes to the default character, to a private-use unit
// (the user-defined areas) or, for a single byte, to the unit of its own
// value; and encodes a unit it lacks to bytes that decode back to it. Where
// the converter's bytes for a unit are only a best fit or a decomposition
// (they decode to something else), ours is '?'. Each character ours decodes
// encodes to bytes that decode back to it: a single byte to itself.
//
// The converters take runs of ASCII many bytes at a time. Random texts of
// ASCII, zeros included, broken by every kind of byte and unit (surrogates,
// paired or not, often), convert as they do character by character: ASCII as
// itself, the rest one character at a time. In a double-byte page a lead byte
// takes the next byte, even one that is no trail, but not a zero: a lead byte
// before a zero or at the end is one default character on its own.
TEST(CodePages, MatchTheCLibraryAndConvertInBulkAsCharacterByCharacter) {
  // Characters the converter lacks, or writes with another of their codes.
  const std::map<std::pair<unsigned, char16_t>, string> pinned = {{{1255, 0x05BA}, "\xCA"},
                                                                  {{950, 0x2550}, "\xF9\xF9"},
                                                                  {{950, 0x255E}, "\xF9\xE9"},
                                                                  {{950, 0x2561}, "\xF9\xEB"},
                                                                  {{950, 0x256A}, "\xF9\xEA"}};
  std::mt19937 rng(5);
  int opened = 0;
  for (unsigned id : kAll) {
    SCOPED_TRACE(id);
    ASSERT_NE(qp::find_code_page(id), nullptr);
    const qp::CodePage& cp = page(id);
    EXPECT_EQ(qp::code_page_id(cp), id);
    bool is_lead[256];
    for (int b = 0; b < 256; ++b) {
      is_lead[b] = id == 932 ? (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)
                             : id >= 936 && id <= 950 && b >= 0x81 && b <= 0xFE;
      ASSERT_EQ(qp::is_lead_byte(cp, static_cast<unsigned char>(b)), is_lead[b]) << b;
    }
    for (int round = 0; round < 800; ++round) {
      string s;
      u16string w;
      for (unsigned n = rng() % 64; n--;) {
        const unsigned kind = rng() % 8;
        s += static_cast<char>(kind < 6 ? rng() % 0x80 : rng() % 0x100);
        w += static_cast<char16_t>(kind < 6   ? rng() % 0x80
                                   : kind < 7 ? 0xD800 + rng() % 0x800
                                              : rng() % 0x10000);
      }
      u16string by_char;
      const auto* b = reinterpret_cast<const unsigned char*>(s.data());
      for (std::size_t i = 0, len = 1; i < s.size(); i += len) {
        const std::size_t left = s.size() - i;
        const bool pair = is_lead[b[i]] && left > 1 && b[i + 1] != 0;
        len = id == 65001 ? quarnel::chars::utf8_step(b + i, left).length : 1 + pair;
        by_char += b[i] < 0x80              ? u16string(1, b[i])
                   : is_lead[b[i]] && !pair ? u16string(1, default_char(id))
                                            : dec(cp, s.substr(i, len));
      }
      ASSERT_EQ(dec(cp, s), by_char) << "round " << round;
      string by_unit;
      for (std::size_t i = 0, len = 1; i < w.size(); i += len) {
        len = 1 + ((w[i] & 0xFC00) == 0xD800 && (w[i + 1] & 0xFC00) == 0xDC00);
        by_unit += w[i] < 0x80 ? string(1, static_cast<char>(w[i])) : enc(cp, w.substr(i, len));
      }
      ASSERT_EQ(enc(cp, w), by_unit) << "round " << round;
    }
    const string name = "CP" + std::to_string(id);
    // Closed however the page's checks end, and when only one direction opened.
    auto close = [](iconv_t cd) {
      if (cd != kNoConverter) iconv_close(cd);
    };
    const std::unique_ptr<void, decltype(close)> to_units(iconv_open("UTF-16LE", name.c_str()),
                                                          close),
        to_bytes(iconv_open(name.c_str(), "UTF-16LE"), close);
    if (id == 65001 || to_units.get() == kNoConverter || to_bytes.get() == kNoConverter) continue;
    ++opened;
    for (int lead = 0x80; lead < 0x100; ++lead) {
      const bool pair = is_lead[lead];
      for (int trail = pair ? 1 : 0; trail < (pair ? 0x100 : 1); ++trail) {
        const string in = pair ? bytes(lead, trail) : bytes(lead);
        const u16string u = dec(cp, in);
        ASSERT_EQ(u.size(), 1u) << ::testing::PrintToString(in);
        if (const auto want = convert(to_units.get(), in)) {
          EXPECT_EQ(u,
                    u16string(reinterpret_cast<const char16_t*>(want->data()), want->size() / 2));
        } else {
          EXPECT_TRUE(u[0] == default_char(id) || (u[0] >= 0xE000 && u[0] < 0xF900) ||
                      (!pair && u[0] == lead) || pinned.count({id, u[0]}))
              << ::testing::PrintToString(in);
        }
        if (u[0] == default_char(id)) continue;
        const string back = enc(cp, u);
        EXPECT_EQ(dec(cp, back), u);
        EXPECT_TRUE(pair || back == in) << ::testing::PrintToString(in);
      }
    }
    for (unsigned unit = 0x80; unit < 0x10000; ++unit) {
      const u16string u(1, static_cast<char16_t>(unit));
      const string got = enc(cp, u);
      const auto want = convert(to_bytes.get(), string(reinterpret_cast<const char*>(u.data()), 2));
      if (const auto p = pinned.find({id, u[0]}); p != pinned.end()) {
        EXPECT_EQ(got, p->second) << unit;
      } else if (!want) {
        EXPECT_TRUE(got == "?" || dec(cp, got) == u) << unit;
      } else {
        EXPECT_EQ(got, dec(cp, *want) == u ? *want : "?") << unit;
      }
    }
  }
  for (unsigned id : {0u, 437u, 1200u, 1252000u, 20127u, 65000u, 54936u})
    EXPECT_EQ(qp::find_code_page(id), nullptr) << id;
  // The 32-bit build runs without the C library's converter modules.
  EXPECT_TRUE(opened == 0 || opened == 14) << opened;
}

// --- Choosing the process code page --------------------------------------------------

// Codeset names are matched whatever their case and separators; CP<n> and
// WINDOWS-<n> name a page outright, but only one the layer has. The override
// (the number of a page the layer has) comes first, then the codeset, then
// 1252. The page chosen at load honours the override, and the platform layer
// uses it.
TEST(ProcessCodePage, OverrideThenCodesetThen1252) {
  std::vector<std::pair<string, unsigned>> codesets = {
      {"UTF-8", 65001},  {"ISO-8859-1", 1252},
      {"EUC-JP", 932},   {"ANSI_X3.4-1968", 1252},
      {"KOI8-R", 1251},  {"BIG5-HKSCS", 950},
      {"ISO-8859-3", 0}, {"A-VERY-LONG-CODESET-NAME-INDEED", 0},
      {"CP437", 0},      {"CP", 0},
      {"CP99999999", 0}, {"WINDOWS-20127", 0},
      {"", 0},           {"CP1252X", 0},
      {"EUC-KR", 949}};
  for (unsigned id : kAll)
    for (string prefix : {"CP", "WINDOWS-"}) codesets.emplace_back(prefix + std::to_string(id), id);
  std::mt19937 rng(3);
  for (const auto& [name, id] : codesets) {
    bool rejected = true;
    EXPECT_EQ(qp::choose_code_page("", name.c_str(), &rejected), id ? id : 1252) << name;
    EXPECT_FALSE(rejected);
    // Each name also in random case, with each separator swapped or dropped.
    for (int round = 0; round < 4; ++round) {
      string spelling;
      for (char c : name) {
        const char lower = static_cast<char>(std::tolower(c));
        spelling += std::strchr("-_. ", c) ? string("-_. ").substr(rng() % 5, 1)
                                           : string(1, rng() % 2 ? lower : c);
      }
      EXPECT_EQ(qp::code_page_for_codeset(round ? spelling.c_str() : name.c_str()), id) << spelling;
    }
  }
  const std::pair<const char*, unsigned> overrides[] = {
      {"932", 932}, {"65001", 65001}, {"xyz", 0},        {"437", 0},
      {"1252 ", 0}, {"-1", 0},        {"99999999999", 0}};
  for (const auto& [acp, id] : overrides) {
    bool rejected = id != 0;
    EXPECT_EQ(qp::choose_code_page(acp, "UTF-8", &rejected), id ? id : 1252) << acp;
    EXPECT_EQ(rejected, id == 0) << acp;
  }
  EXPECT_EQ(qp::code_page_for_codeset(nullptr), 0u);
  EXPECT_EQ(qp::choose_code_page(nullptr, nullptr, nullptr), 1252u);
  const unsigned process = quarnel::platform::ansi_code_page();
  const char* acp = std::getenv("QUARNEL_ACP");
  EXPECT_EQ(process, acp && *acp ? qp::choose_code_page(acp, "", nullptr) : process);
  EXPECT_EQ(quarnel::platform::is_lead_byte(0x81), qp::is_lead_byte(page(process), 0x81));
}

// --- Case mapping under other pages than the process's ----------------------------

// With an explicit locale: 1252, 932 (double-byte) and UTF-8.
TEST(PosixCaseMap, MapsWholeCharactersWhenTheLengthStays) {
  locale_t locale = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
  if (!locale) GTEST_SKIP() << "no C.UTF-8 locale";
  const std::tuple<unsigned, Case, string, string> rows[] = {
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
  for (const auto& [id, to, text, expected] : rows) {
    string s = text;
    qp::AnsiCaseMap(page(id), locale).apply(s.data(), s.size(), to);
    EXPECT_EQ(s, expected) << "code page " << id;
  }
  freelocale(locale);
}
