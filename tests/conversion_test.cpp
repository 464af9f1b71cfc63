// Conversions between the families through the exports, against the
// platform's own converter for the process code page: MultiByteToWideChar
// and WideCharToMultiByte on Windows, the POSIX layer's code pages elsewhere
// (themselves checked against reference decoders in tests/posix). Every
// byte, every UTF-16 unit (lone surrogates included), malformed input, and
// texts long enough to be converted in several pieces, with surrogate pairs
// and characters across the joins. The suite runs once more under UTF-8
// and a double-byte page where the platform lets the page be chosen.
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "platform/platform.hpp"
#include "support.hpp"

#if defined(_WIN32)
#include <windows.h>
#endif

using namespace qtest;

namespace {

// The platform's converter for the process code page: the system's on
// Windows, the POSIX layer's own elsewhere. One byte never becomes more than
// one unit, nor one unit more than four bytes.
wstr platform_decode(const std::string& s) {
  wstr w(s.size(), 0);
#if defined(_WIN32)
  const int n = static_cast<int>(s.size());
  w.resize(static_cast<std::size_t>(MultiByteToWideChar(CP_ACP, 0, s.data(), n, w.data(), n)));
#else
  w.resize(quarnel::platform::ansi_to_utf16(s.data(), s.size(), w.data()));
#endif
  return w;
}

std::string platform_encode(const wstr& w) {
  std::string s(4 * w.size(), 0);
#if defined(_WIN32)
  const int n = static_cast<int>(w.size());
  s.resize(static_cast<std::size_t>(
      WideCharToMultiByte(CP_ACP, 0, w.data(), n, s.data(), 4 * n, nullptr, nullptr)));
#else
  s.resize(quarnel::platform::utf16_to_ansi(w.data(), w.size(), s.data()));
#endif
  return s;
}

// Texts of one family: every value but zero in a row, random texts
// mostly of letters, and texts long enough to be converted in several
// pieces, with characters (and lone halves, and malformed bytes) across the
// joins, and with a zero, where the conversions of the bridge and the clones
// stop, after the first join.
template <class Char>
std::vector<std::basic_string<Char>> texts(unsigned values, const std::vector<Char>& edges) {
  using Text = std::basic_string<Char>;
  std::vector<Text> out(1);
  for (unsigned v = 1; v < values; ++v) out[0] += static_cast<Char>(v);
  std::mt19937 rng(values);
  for (int round = 0; round < 300; ++round) {
    Text s(rng() % 70, 0);
    for (Char& c : s)
      c = static_cast<Char>(rng() % 3   ? 'a' + rng() % 26
                            : rng() % 2 ? edges[rng() % edges.size()]
                                        : rng());
    out.push_back(s);
  }
  for (std::size_t at : {16383u, 16384u, 16385u, 32767u}) {
    Text s(40000, 'x');
    std::copy(edges.begin(), edges.end(), s.begin() + at - 1);
    out.push_back(s);
    s[at + 20] = 0;
    out.push_back(s);
  }
  out.push_back(Text(40000, edges.back()));  // grows past the first guess
  return out;
}

const std::vector<char> kByteEdges = {'\\',   '\x82', '\xA0', '\xC3', '\xA9', '\xE3', '\x81',
                                      '\x82', '\xF0', '\x9F', '\x98', '\x80', '\xC8'};
const std::vector<LWideChar> kUnitEdges = {0xD83D, 0xDE00, 0xDC00, 0x4E00, 0x7F,   0x80,
                                           0xE9,   0x20AC, 0xD800, 0xDBFF, 0xFFFD, 0x3042};

}  // namespace

// Both directions: texts of the other family (zeros kept), clones (which
// stop at a zero), the W size, and the bridge into a host's buffer.
TEST(Conversion, BothDirectionsMatchThePlatformConverter) {
  for (const wstr& w : texts(0x10000, kUnitEdges)) {
    SCOPED_TRACE(testing::PrintToString(w.substr(0, 10)));
    ASSERT_EQ(text(HA(LStrAllocFromWSzStrA(w.data(), static_cast<int>(w.size()))).get()),
              platform_encode(w));
    ASSERT_EQ(text(HA(LStrAllocCloneWA(make_w(w).get())).get()),
              platform_encode(w.substr(0, w.find(LWideChar{0}))));
  }
  for (const std::string& s : texts(256, kByteEdges)) {
    SCOPED_TRACE(testing::PrintToString(s.substr(0, 40)));
    const wstr want = platform_decode(s);
    HW from_text(LStrAllocFromASzStrW(s.data(), static_cast<int>(s.size())));
    ASSERT_EQ(text(from_text.get()), want);
    HA a = make_a(s);
    ASSERT_EQ(text(HW(LStrAllocCloneAW(a.get())).get()), want);
    // A backslash is a path delimiter only where a character starts (in a
    // double-byte page it can be a trail byte): where cutting the text in two
    // leaves its conversion unchanged.
    for (std::size_t i = 0; i < s.size() && s.size() < 100; ++i) {
      const bool starts = platform_decode(s.substr(0, i)) + platform_decode(s.substr(i)) == want;
      ASSERT_EQ(LStrIsPathDelimiterA(a.get(), static_cast<int>(i) + 1) != 0, s[i] == '\\' && starts)
          << "at " << i;
    }
    // The W size counts bytes of the whole text, zero units included.
    ASSERT_EQ(LStrWideCharBufSizeW(from_text.get()), 2 * static_cast<int>(want.size()));
    // The bridge converts up to the first zero byte, into a buffer of the
    // exact size and into a roomy one, and never writes past the capacity,
    // however small.
    const wstr up_to_zero = platform_decode(s.substr(0, s.find('\0')));
    const int need = LStrWideCharBufSizeA(a.get());
    ASSERT_EQ(need, static_cast<int>(up_to_zero.size()) + 1);
    for (int capacity : {need, need + 40, static_cast<int>(s.size()) + 1, need - 1, 0, -1}) {
      wstr buffer(s.size() + 41, 0xBEEF);  // room for the largest capacity given
      ASSERT_EQ(LStrWideCharA(a.get(), buffer.data(), capacity), buffer.data());
      if (capacity >= need) {
        ASSERT_EQ(wstr(buffer.data()), up_to_zero);
      }
      ASSERT_EQ(buffer.find_first_not_of(LWideChar{0xBEEF}, std::max(capacity, 0)), wstr::npos)
          << capacity;
    }
  }
}

// A precision cuts text of the other family after conversion, and only
// between characters: a start cut inside a character converts to something
// else.
TEST(Conversion, PrecisionCutsConvertedTextBetweenCharacters) {
  // The longest start of a text (cut anywhere) whose conversion fits in the
  // precision and begins the conversion of the whole text.
  const auto fitting_start = [](const auto& text, std::size_t precision, auto convert) {
    decltype(convert(text)) fitting;
    for (std::size_t k = 0; k <= text.size(); ++k) {
      const auto start = convert(text.substr(0, k));
      if (start.size() <= precision && convert(text).starts_with(start)) fitting = start;
    }
    return fitting;
  };
  const wstr wide = QW("a\u00e9\u3042\U0001F600b");
  const std::string bytes = "a\xC3\xA9\x82\xA0\xF0\x9F\x98\x80z";
  for (std::size_t precision = 0; precision < 12; ++precision) {
    SCOPED_TRACE(precision);
    HA a(LStrAllocA());
    HW w(LStrAllocW());
    // The library's %ls takes its own UTF-16 unit, not wchar_t.
    const char* format = "%.*ls";
    _LStrSprintfA(a.get(), format, static_cast<int>(precision), wide.c_str());
    _LStrSprintfW(w.get(), QW("%.*hs"), static_cast<int>(precision), bytes.c_str());
    EXPECT_EQ(text(a.get()), fitting_start(wide, precision, platform_encode));
    EXPECT_EQ(text(w.get()), fitting_start(bytes, precision, platform_decode));
  }
}

// A host may store any BSTR through LStrBSTRRef, also one whose length
// prefix says more than 2 GiB: its W size is capped, never negative.
TEST(Conversion, WideSizeOfAnOversizedHostBstrIsNotNegative) {
  for (std::uint32_t prefix : {0x7FFFFFFEu, 0x80000000u, 0xFFFFFFFEu}) {
    alignas(4) std::uint32_t block[2] = {prefix, 0};
    HW w(LStrAllocW());
    *LStrBSTRRef(w.get()) = reinterpret_cast<LBSTR>(&block[1]);
    EXPECT_EQ(LStrWideCharBufSizeW(w.get()), static_cast<int>(std::min(prefix, 0x7FFFFFFFu)));
    *LStrBSTRRef(w.get()) = nullptr;  // not a real BSTR: not to be released
  }
}
