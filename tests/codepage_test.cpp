// The POSIX code-page layer: tables, malformed input, UTF-8, and the choice of
// the process code page.
#include <gtest/gtest.h>

#include <cstdlib>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.hpp"
#include "platform/posix/codepage.hpp"

namespace qp = quarnel::platform::posix;
using std::string;
using std::u16string;

namespace {

const unsigned kSingleByte[] = {874, 1250, 1251, 1252, 1253, 1254, 1255, 1256, 1257, 1258};
const unsigned kDoubleByte[] = {932, 936, 949, 950};

const qp::CodePage& page(unsigned id) {
  const qp::CodePage* p = qp::find_code_page(id);
  if (!p) ADD_FAILURE() << "code page " << id << " missing";
  return p ? *p : *qp::find_code_page(1252);
}

// Decodes, checking on the way that measuring agrees with writing and that
// nothing is written past the measured end.
u16string dec(const qp::CodePage& cp, const string& s) {
  std::size_t n = qp::decode(cp, s.data(), s.size(), nullptr);
  u16string out(n + 1, u'\xABCD');
  EXPECT_EQ(qp::decode(cp, s.data(), s.size(), out.data()), n);
  EXPECT_EQ(out[n], u'\xABCD') << "wrote past the measured length";
  out.resize(n);
  return out;
}

string enc(const qp::CodePage& cp, const u16string& s) {
  std::size_t n = qp::encode(cp, s.data(), s.size(), nullptr);
  string out(n + 1, '\x5A');
  EXPECT_EQ(qp::encode(cp, s.data(), s.size(), out.data()), n);
  EXPECT_EQ(out[n], '\x5A') << "wrote past the measured length";
  out.resize(n);
  return out;
}

string bytes(std::initializer_list<int> list) {
  string s;
  for (int b : list) s += static_cast<char>(b);
  return s;
}

char16_t default_char(unsigned id) { return id == 932 ? u'\x30FB' : u'?'; }

}  // namespace

// --- Single-byte pages -----------------------------------------------------------

TEST(SingleByte, Cp1252MatchesWindowsForEveryByte) {
  const char16_t upper[32] = {
      0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
      0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
      0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
  string all;
  u16string expected;
  for (int b = 0; b < 256; ++b) {
    all += static_cast<char>(b);
    expected += (b >= 0x80 && b < 0xA0) ? upper[b - 0x80] : static_cast<char16_t>(b);
  }
  EXPECT_EQ(dec(page(1252), all), expected);
  EXPECT_EQ(enc(page(1252), expected), all);
}

// Every byte decodes to a distinct unit that encodes back to it; every other
// unit, surrogates included, encodes to '?'.
TEST(SingleByte, BytesAndUnitsRoundTripExactly) {
  for (unsigned id : kSingleByte) {
    SCOPED_TRACE(id);
    const qp::CodePage& cp = page(id);
    string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    u16string units = dec(cp, all);
    ASSERT_EQ(units.size(), 256u);
    EXPECT_EQ(std::set<char16_t>(units.begin(), units.end()).size(), 256u);
    EXPECT_EQ(enc(cp, units), all);

    u16string every;
    string expected;
    for (unsigned u = 0; u < 0x10000; ++u) {
      every += static_cast<char16_t>(u);
      std::size_t at = units.find(static_cast<char16_t>(u));
      expected += at == u16string::npos ? '?' : static_cast<char>(at);
    }
    EXPECT_EQ(enc(cp, every), expected);
    EXPECT_FALSE(qp::is_lead_byte(cp, 0x81));
  }
}

TEST(SingleByte, HolesFilledAsWindowsDoes) {
  struct {
    unsigned id;
    int byte;
    char16_t unit;
  } cases[] = {{1250, 0x81, 0x0081}, {1250, 0x8A, 0x0160}, {1251, 0x98, 0x0098},
               {1251, 0xC0, 0x0410}, {1253, 0xAA, 0xF8F9}, {1253, 0xFF, 0xF8FB},
               {1254, 0xD0, 0x011E}, {1255, 0xCA, 0x05BA}, {1255, 0xD9, 0xF88D},
               {1255, 0xFF, 0xF896}, {1256, 0x81, 0x067E}, {1257, 0xA1, 0xF8FC},
               {1257, 0xA5, 0xF8FD}, {1258, 0xD2, 0x0309}, {874, 0x81, 0x0081},
               {874, 0xDB, 0xF8C1}, {874, 0xFF, 0xF8C8}, {874, 0xA1, 0x0E01}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " byte " << c.byte);
    EXPECT_EQ(dec(page(c.id), bytes({c.byte})), u16string(1, c.unit));
  }
}

// --- Double-byte pages -------------------------------------------------------------

TEST(DoubleByte, LeadBytes) {
  struct {
    unsigned id;
    int lo1, hi1, lo2, hi2;
  } cases[] = {{932, 0x81, 0x9F, 0xE0, 0xFC},
               {936, 0x81, 0xFE, 0, -1},
               {949, 0x81, 0xFE, 0, -1},
               {950, 0x81, 0xFE, 0, -1}};
  for (const auto& c : cases)
    for (int b = 0; b < 256; ++b)
      EXPECT_EQ(qp::is_lead_byte(page(c.id), static_cast<unsigned char>(b)),
                (b >= c.lo1 && b <= c.hi1) || (b >= c.lo2 && b <= c.hi2))
          << c.id << " byte " << b;
  for (int b = 0; b < 256; ++b)
    EXPECT_FALSE(qp::is_lead_byte(page(65001), static_cast<unsigned char>(b)));
}

// Sweeps every lead/trail pair and every single byte: each character encodes
// to a sequence that decodes back to it (the same sequence unless the
// character has several), and each unit that is no character encodes to '?'.
TEST(DoubleByte, TablesRoundTrip) {
  struct {
    unsigned id;
    std::size_t characters;  // pairs decoding to other than the default char
    std::size_t aliases;     // pairs whose character is written another way
  } cases[] = {{932, 9603, 398}, {936, 23685, 0}, {949, 17236, 0}, {950, 19720, 10}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const qp::CodePage& cp = page(c.id);
    std::vector<bool> reachable(0x10000);
    std::size_t characters = 0, aliases = 0;
    for (int lead = 0x80; lead < 0x100; ++lead) {
      if (!qp::is_lead_byte(cp, static_cast<unsigned char>(lead))) {
        u16string u = dec(cp, bytes({lead}));
        ASSERT_EQ(u.size(), 1u);
        reachable[u[0]] = true;
        EXPECT_EQ(enc(cp, u), bytes({lead}));
        continue;
      }
      for (int trail = 1; trail < 0x100; ++trail) {
        string pair = bytes({lead, trail});
        u16string u = dec(cp, pair);
        ASSERT_EQ(u.size(), 1u) << lead << " " << trail;
        if (u[0] == default_char(c.id)) continue;
        ++characters;
        reachable[u[0]] = true;
        string back = enc(cp, u);
        if (back != pair) {
          ++aliases;
          EXPECT_EQ(dec(cp, back), u);
        }
      }
    }
    EXPECT_EQ(characters, c.characters);
    EXPECT_EQ(aliases, c.aliases);
    reachable[default_char(c.id)] = true;
    for (unsigned u = 0x80; u < 0x10000; ++u) {
      u16string unit(1, static_cast<char16_t>(u));
      string e = enc(cp, unit);
      if (reachable[u])
        EXPECT_EQ(dec(cp, e), unit) << u;
      else
        EXPECT_EQ(e, "?") << u;
    }
  }
}

TEST(DoubleByte, KnownCharacters) {
  struct {
    unsigned id;
    string in;
    char16_t unit;
  } cases[] = {
      {932, "\x82\xA0", 0x3042},    {932, "\x81\x5C", 0x2015},    {932, "\x81\x5F", 0xFF3C},
      {932, "\x5C", 0x005C},        {932, "\x7E", 0x007E},        {932, "\xA6", 0xFF66},
      {932, "\xDF", 0xFF9F},        {932, "\x80", 0x0080},        {932, "\xA0", 0xF8F0},
      {932, "\xFF", 0xF8F3},        {932, "\xF0\x40", 0xE000},    {932, "\x81\x45", 0x30FB},
      {936, "\x80", 0x20AC},        {936, "\xFF", 0xF8F5},        {936, "\xA1\xA4", 0x00B7},
      {936, "\xA1\xAA", 0x2014},    {936, "\xB0\xA1", 0x554A},    {936, "\xAA\xA1", 0xE000},
      {936, "\xA1\x40", 0xE4C6},    {936, "\xFE\xFE", 0xE4C5},    {949, "\xB0\xA1", 0xAC00},
      {949, "\x81\x41", 0xAC02},    {949, "\xC9\xA1", 0xE000},    {949, "\xFE\xFE", 0xE0BB},
      {949, "\x80", 0x0080},        {950, "\xA4\x40", 0x4E00},    {950, "\xA3\xE1", 0x20AC},
      {950, "\xF9\xFE", 0x2593},    {950, "\xFA\x40", 0xE000},    {950, "\x81\x40", 0xEEB8},
      {950, "\xC6\xA1", 0xF6B1},    {950, "\xC8\xFE", 0xF848},    {950, "\xFF", 0xF8F8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " " << testing::PrintToString(c.in));
    EXPECT_EQ(dec(page(c.id), c.in), u16string(1, c.unit));
  }
}

// Characters with several byte sequences are written the way Windows writes
// them.
TEST(DoubleByte, EncoderPicksWindowsSequence) {
  struct {
    unsigned id;
    char16_t unit;
    string out;
  } cases[] = {{932, 0x2252, "\x81\xE0"}, {932, 0x2160, "\x87\x54"}, {932, 0x2170, "\xFA\x40"},
               {932, 0xFFE2, "\x81\xCA"}, {932, 0x2235, "\x81\xE6"}, {932, 0x7E8A, "\xFA\x5C"},
               {936, 0x20AC, "\x80"},     {950, 0x2550, "\xF9\xF9"}, {950, 0x256D, "\xA2\x7E"},
               {950, 0x5341, "\xA4\x51"}, {950, 0x5345, "\xA4\xCA"}, {932, 0x00A5, "?"},
               {936, 0xD800, "?"}};
  for (const auto& c : cases)
    EXPECT_EQ(enc(page(c.id), u16string(1, c.unit)), c.out) << c.id << " " << int{c.unit};
}

TEST(DoubleByte, MalformedInput) {
  struct {
    unsigned id;
    string in;
    u16string out;
  } cases[] = {
      {932, "\x82", u"\x30FB"},                // lead byte at the end
      {932, "a\x82", u"a\x30FB"},              //
      {932, string("\x82\0b", 3), u"\x30FB\0b"},  // a zero is never a trail
      {932, "\x82\x20z", u"\x30FBz"},          // trail out of range: pair consumed
      {932, "\x85\x40\x41", u"\x30FB\x41"},    // unassigned pair
      {936, "\x81", u"?"},
      {936, "\xA2\xA0", u"?"},
      {949, "\xC9\x41", u"?"},
      {950, "\xA1\x7F", u"?"},
      {950, string("\xA4\0", 2), u"?\0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.id << " " << testing::PrintToString(c.in));
    EXPECT_EQ(dec(page(c.id), c.in), c.out);
  }
}

// --- UTF-8 ---------------------------------------------------------------------------

namespace {

string utf8_of(char32_t c) {
  string s;
  auto add = [&](unsigned b) { s += static_cast<char>(b); };
  if (c < 0x80) {
    add(c);
  } else if (c < 0x800) {
    add(0xC0 | c >> 6), add(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    add(0xE0 | c >> 12), add(0x80 | (c >> 6 & 0x3F)), add(0x80 | (c & 0x3F));
  } else {
    add(0xF0 | c >> 18), add(0x80 | (c >> 12 & 0x3F)), add(0x80 | (c >> 6 & 0x3F));
    add(0x80 | (c & 0x3F));
  }
  return s;
}

void append_utf16(u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

bool is_scalar(char32_t c) { return c <= 0x10FFFF && (c < 0xD800 || c > 0xDFFF); }

// A decoder built from definitions rather than cleverness: a sequence is well
// formed when it is the encoding of a scalar value; otherwise the longest
// prefix of some well-formed sequence (at least one byte) becomes U+FFFD.
u16string reference_decode(const string& s) {
  static const std::vector<bool> prefixes = [] {
    std::vector<bool> set(1u << 26);  // (length << 24) | bytes, for lengths 1..3
    for (char32_t c = 0; c <= 0x10FFFF; ++c) {
      if (!is_scalar(c)) continue;
      string e = utf8_of(c);
      std::uint32_t key = 0;
      for (std::size_t m = 1; m < e.size(); ++m) {
        key = key << 8 | static_cast<unsigned char>(e[m - 1]);
        set[m << 24 | key] = true;
      }
    }
    return set;
  }();
  u16string out;
  std::size_t i = 0;
  while (i < s.size()) {
    bool done = false;
    for (std::size_t len = 4; len >= 1 && !done; --len) {
      if (i + len > s.size()) continue;
      const auto lead = static_cast<unsigned char>(s[i]);
      char32_t c = len == 1 ? lead : lead & (0x7F >> len);
      for (std::size_t k = 1; k < len; ++k) c = c << 6 | (s[i + k] & 0x3F);
      if (is_scalar(c) && utf8_of(c) == s.substr(i, len)) {
        append_utf16(out, c);
        i += len;
        done = true;
      }
    }
    if (done) continue;
    std::size_t take = 1;
    std::uint32_t key = 0;
    for (std::size_t m = 1; m <= 3 && i + m <= s.size(); ++m) {
      key = key << 8 | static_cast<unsigned char>(s[i + m - 1]);
      if (prefixes[m << 24 | key]) take = m;
    }
    out += u'\xFFFD';
    i += take;
  }
  return out;
}

u16string reference_utf16(const u16string& s, string* utf8) {
  u16string fixed;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (s[++i] - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      c = 0xFFFD;
    *utf8 += utf8_of(c);
    append_utf16(fixed, c);
  }
  return fixed;
}

}  // namespace

TEST(Utf8, DecoderMatchesReferenceExhaustivelyOnShortInputs) {
  const qp::CodePage& cp = page(65001);
  for (unsigned v = 0; v < 0x10000; ++v) {
    string s = bytes({static_cast<int>(v >> 8), static_cast<int>(v & 0xFF)});
    ASSERT_EQ(dec(cp, s), reference_decode(s)) << testing::PrintToString(s);
    ASSERT_EQ(dec(cp, s.substr(1)), reference_decode(s.substr(1)));
  }
  // Three- and four-byte inputs over the bytes where the rules change.
  const int edges[] = {0x00, 0x41, 0x7F, 0x80, 0x8F, 0x90, 0x9F, 0xA0,
                       0xBF, 0xC0, 0xC2, 0xDF, 0xE0, 0xED, 0xF4, 0xFF};
  for (int lead = 0xC0; lead < 0x100; ++lead)
    for (int b : edges)
      for (int c : edges)
        for (int d : {0x41, 0x80, 0xBF}) {
          string s = bytes({lead, b, c, d});
          ASSERT_EQ(dec(cp, s), reference_decode(s)) << testing::PrintToString(s);
        }
}

TEST(Utf8, DecoderMatchesReferenceOnRandomInput) {
  const qp::CodePage& cp = page(65001);
  std::mt19937 rng(20240611);
  auto pick = [&](unsigned n) { return static_cast<unsigned>(rng() % n); };
  for (int round = 0; round < 20000; ++round) {
    string s;
    for (unsigned pieces = pick(12); pieces--;) {
      switch (pick(5)) {
        case 0: s += static_cast<char>('a' + pick(26)); break;
        case 1: s += static_cast<char>(pick(256)); break;
        case 2: {  // a whole character from a random range
          const char32_t tops[] = {0x80, 0x800, 0x10000, 0x110000};
          char32_t c = pick(tops[pick(4)]);
          if (is_scalar(c)) s += utf8_of(c);
          break;
        }
        case 3: {  // a character cut short
          string e = utf8_of(0x80 + pick(0x10FF80));
          s += e.substr(0, 1 + pick(static_cast<unsigned>(e.size())));
          break;
        }
        default: s += static_cast<char>(0x80 + pick(0x40)); break;
      }
    }
    ASSERT_EQ(dec(cp, s), reference_decode(s)) << testing::PrintToString(s);
  }
}

TEST(Utf8, EncoderMatchesReference) {
  const qp::CodePage& cp = page(65001);
  std::mt19937 rng(7);
  const char16_t interesting[] = {0x0000, 0x0041, 0x007F, 0x0080, 0x07FF, 0x0800, 0xD7FF, 0xD800,
                                  0xDBFF, 0xDC00, 0xDFFF, 0xE000, 0xFFFD, 0xFFFF, 0x00E9, 0x4E00};
  for (int round = 0; round < 20000; ++round) {
    u16string s;
    for (unsigned n = rng() % 16; n--;)
      s += (rng() % 2) ? interesting[rng() % 16] : static_cast<char16_t>(rng());
    string expected;
    u16string fixed = reference_utf16(s, &expected);
    ASSERT_EQ(enc(cp, s), expected);
    ASSERT_EQ(dec(cp, expected), fixed);  // well-formed text survives the trip
  }
}

TEST(Utf8, PinnedCases) {
  struct {
    string in;
    u16string out;
  } cases[] = {{"\xF0\x9F\x98\x80", u"\U0001F600"}, {"\xED\xA0\x80", u"\xFFFD\xFFFD\xFFFD"},
               {"\xE2\x82", u"\xFFFD"},             {"\xE2\x82\x41", u"\xFFFD\x41"},
               {"\xC0\xAF", u"\xFFFD\xFFFD"},       {"\xF4\x90\x80\x80", u"\xFFFD\xFFFD\xFFFD\xFFFD"},
               {"\xF0\x90\x80", u"\xFFFD"},         {string("a\0b", 3), u16string(u"a\0b", 3)}};
  for (const auto& c : cases) EXPECT_EQ(dec(page(65001), c.in), c.out) << c.in;
}

// --- Every page -----------------------------------------------------------------------

TEST(AllPages, ZerosAreCharactersAndMeasuringAgreesOnRandomInput) {
  std::vector<unsigned> ids(std::begin(kSingleByte), std::end(kSingleByte));
  ids.insert(ids.end(), std::begin(kDoubleByte), std::end(kDoubleByte));
  ids.push_back(65001);
  std::mt19937 rng(99);
  for (unsigned id : ids) {
    SCOPED_TRACE(id);
    const qp::CodePage& cp = page(id);
    EXPECT_EQ(qp::code_page_id(cp), id);
    EXPECT_EQ(dec(cp, string("\0a\0", 3)), u16string(u"\0a\0", 3));
    EXPECT_EQ(enc(cp, u16string(u"\0a\0", 3)), string("\0a\0", 3));
    string ascii;
    for (int b = 0; b < 0x80; ++b) ascii += static_cast<char>(b);
    EXPECT_EQ(enc(cp, dec(cp, ascii + ascii)), ascii + ascii);
    // dec() and enc() check measuring against writing; lengths are bounded.
    for (int round = 0; round < 2000; ++round) {
      string s;
      for (unsigned n = rng() % 40; n--;) s += static_cast<char>(rng());
      u16string u = dec(cp, s);
      EXPECT_LE(u.size(), s.size());
      u16string w;
      for (unsigned n = rng() % 40; n--;) w += static_cast<char16_t>(rng());
      EXPECT_LE(enc(cp, w).size(), 3 * w.size());
    }
  }
  for (unsigned id : {0u, 437u, 1200u, 1252000u, 20127u, 65000u, 54936u})
    EXPECT_EQ(qp::find_code_page(id), nullptr) << id;
}

// --- Choosing the process code page ----------------------------------------------------------

TEST(ProcessCodePage, CodesetNames) {
  struct {
    const char* codeset;
    unsigned id;
  } cases[] = {{"UTF-8", 65001},      {"utf8", 65001},         {"ANSI_X3.4-1968", 1252},
               {"ISO-8859-1", 1252},  {"ISO8859-1", 1252},     {"ISO-8859-15", 1252},
               {"ISO-8859-2", 1250},  {"ISO-8859-5", 1251},    {"CP1251", 1251},
               {"KOI8-R", 1251},      {"ISO-8859-7", 1253},    {"ISO-8859-9", 1254},
               {"ISO-8859-8", 1255},  {"ISO-8859-6", 1256},    {"ISO-8859-13", 1257},
               {"TIS-620", 874},      {"EUC-JP", 932},         {"SHIFT_JIS", 932},
               {"GB2312", 936},       {"GBK", 936},            {"GB18030", 936},
               {"EUC-KR", 949},       {"BIG5", 950},           {"BIG5-HKSCS", 950},
               {"CP1258", 1258},      {"WINDOWS-1256", 1256},  {"CP932", 932},
               {"CP437", 0},          {"CP", 0},               {"CP99999999", 0},
               {"ISO-8859-3", 0},     {"", 0},                 {nullptr, 0},
               {"A-VERY-LONG-CODESET-NAME-INDEED", 0}};
  for (const auto& c : cases)
    EXPECT_EQ(qp::code_page_for_codeset(c.codeset), c.id) << (c.codeset ? c.codeset : "null");
}

TEST(ProcessCodePage, OverrideThenCodesetThen1252) {
  struct {
    const char* acp;
    const char* codeset;
    unsigned id;
    bool rejected;
  } cases[] = {{nullptr, "UTF-8", 65001, false}, {"", "EUC-KR", 949, false},
               {"932", "UTF-8", 932, false},     {"65001", nullptr, 65001, false},
               {nullptr, "ISO-8859-3", 1252, false}, {nullptr, nullptr, 1252, false},
               {"xyz", "UTF-8", 1252, true},     {"437", "UTF-8", 1252, true},
               {"1252 ", nullptr, 1252, true},   {"-1", nullptr, 1252, true},
               {"99999999999", nullptr, 1252, true}};
  for (const auto& c : cases) {
    bool rejected = !c.rejected;
    EXPECT_EQ(qp::choose_code_page(c.acp, c.codeset, &rejected), c.id) << (c.acp ? c.acp : "-");
    EXPECT_EQ(rejected, c.rejected) << (c.acp ? c.acp : "-");
  }
}

// The platform functions convert with the page chosen at load.
TEST(ProcessCodePage, PlatformLayerUsesThePageChosenAtLoad) {
  const char* acp = std::getenv("QUARNEL_ACP");
  if (acp && *acp) EXPECT_EQ(quarnel::platform::ansi_code_page(), qp::choose_code_page(acp, "", nullptr));
  const qp::CodePage& cp = page(quarnel::platform::ansi_code_page());
  string s = "x\x82\xA0\xE9\x81";
  EXPECT_EQ(quarnel::platform::ansi_to_utf16(s.data(), s.size(), nullptr),
            qp::decode(cp, s.data(), s.size(), nullptr));
  u16string w = u"\x00E9\x3042\xD800";
  std::vector<char> a(8), b(8);
  EXPECT_EQ(quarnel::platform::utf16_to_ansi(w.data(), w.size(), a.data()),
            qp::encode(cp, w.data(), w.size(), b.data()));
  EXPECT_EQ(a, b);
  for (int byte = 0; byte < 256; ++byte)
    EXPECT_EQ(quarnel::platform::is_lead_byte(static_cast<unsigned char>(byte)),
              qp::is_lead_byte(cp, static_cast<unsigned char>(byte)));
}
