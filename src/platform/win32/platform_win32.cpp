// Windows services: the process heap, OLE Automation BSTRs, code page 0
// conversions (single-byte pages through tables read from the system
// converter) and the user locale's comparison.
#include <windows.h>
// windows.h must come first.
#include <oleauto.h>
#include <wchar.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <initializer_list>

#include "platform/codepage_kernels.hpp"
#include "platform/platform.hpp"

namespace quarnel::platform {

void* heap_alloc(std::size_t bytes) noexcept { return HeapAlloc(GetProcessHeap(), 0, bytes); }
void heap_free(void* block) noexcept { HeapFree(GetProcessHeap(), 0, block); }
// HeapSize answers (SIZE_T)-1 for a block it does not know; that counts as no room.
std::size_t heap_block_size(void* block) noexcept {
  SIZE_T size = HeapSize(GetProcessHeap(), 0, block);
  return size == static_cast<SIZE_T>(-1) ? 0 : size;
}

wchar* bstr_alloc(const wchar* units, std::uint32_t count) noexcept {
  return SysAllocStringLen(units, count);
}
void bstr_free(wchar* bstr) noexcept { SysFreeString(bstr); }
// The BSTR allocator does not tell how much room a string has, so only its
// current length is known to be usable.
std::size_t bstr_capacity(wchar* bstr) noexcept {
  return reinterpret_cast<const std::uint32_t*>(bstr)[-1] / sizeof(wchar);
}

unsigned ansi_code_page() noexcept { return GetACP(); }

bool is_lead_byte(unsigned char byte) noexcept { return IsDBCSLeadByteEx(CP_ACP, byte) != 0; }

namespace {

// The system converters, which take int lengths; texts in handles never
// exceed INT_MAX characters, but a caller's explicit length might, so they
// convert in pieces that end on character boundaries.
std::size_t system_to_utf16(const char* text, std::size_t count, wchar* out) noexcept {
  std::size_t produced = 0;
  while (count > 0) {
    std::size_t piece = count > 0x10000000 ? 0x10000000 : count;
    if (piece < count && IsDBCSLeadByteEx(CP_ACP, static_cast<unsigned char>(text[piece - 1])))
      --piece;
    int n = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(piece),
                                out ? out + produced : nullptr, out ? INT_MAX : 0);
    produced += static_cast<std::size_t>(n);
    text += piece;
    count -= piece;
  }
  return produced;
}

std::size_t system_to_ansi(const wchar* text, std::size_t count, char* out) noexcept {
  std::size_t produced = 0;
  while (count > 0) {
    std::size_t piece = count > 0x10000000 ? 0x10000000 : count;
    if (piece < count && text[piece - 1] >= 0xD800 && text[piece - 1] < 0xDC00) --piece;
    int n =
        WideCharToMultiByte(CP_ACP, 0, text, static_cast<int>(piece),
                            out ? out + produced : nullptr, out ? INT_MAX : 0, nullptr, nullptr);
    produced += static_cast<std::size_t>(n);
    text += piece;
    count -= piece;
  }
  return produced;
}

// A single-byte ANSI code page converts character by character, so the
// system converter's answer for each byte and each unit is asked once, in
// bulk, and kept in tables that the vector loops use. Surrogates, which the
// system may treat in pairs, are left to it (their byte in the table is 0),
// and so is everything when the page has more than one byte per character
// or does not keep ASCII as it is.
struct AnsiTables {
  bool usable = false;
  wchar high[128];
  unsigned char to_byte[0x10000] = {};
  kernels::SingleByteTables<wchar> tables{};

  AnsiTables() noexcept {
    CPINFO info;
    if (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 1) return;
    char bytes[256];
    wchar units[256];
    for (int b = 0; b < 256; ++b) bytes[b] = static_cast<char>(b);
    if (MultiByteToWideChar(CP_ACP, 0, bytes, 256, units, 256) != 256) return;
    for (unsigned b = 0; b < 0x80; ++b)
      if (units[b] != b) return;
    std::memcpy(high, units + 0x80, sizeof high);
    // Every unit but the ASCII ones and the surrogates, a few thousand at a
    // time.
    wchar piece[4096];
    for (unsigned first : {0x80u, 0xE000u}) {
      const unsigned end = first == 0x80 ? 0xD800 : 0x10000;
      for (unsigned start = first; start < end; start += 4096) {
        const int n = static_cast<int>(std::min(end - start, 4096u));
        for (int k = 0; k < n; ++k) piece[k] = static_cast<wchar>(start + static_cast<unsigned>(k));
        if (WideCharToMultiByte(CP_ACP, 0, piece, n, reinterpret_cast<char*>(to_byte + start), n,
                                nullptr, nullptr) != n)
          return;
      }
    }
    tables = {high, to_byte, kernels::identity_start(high)};
    usable = true;
  }
};

const AnsiTables& ansi_tables() noexcept {
  static const AnsiTables tables;
  return tables;
}

}  // namespace

std::size_t ansi_to_utf16(const char* text, std::size_t count, wchar* out) noexcept {
  const AnsiTables& t = ansi_tables();
  if (!t.usable) return system_to_utf16(text, count, out);
  if (out)
    kernels::decode_single<false>(t.tables, reinterpret_cast<const unsigned char*>(text), count,
                                  out);
  return count;
}

std::size_t ansi_to_utf16_terminated(const char* text, std::size_t count, wchar* out,
                                     std::size_t capacity) noexcept {
  const AnsiTables& t = ansi_tables();
  // Every byte gives at most one unit: with that much room, one pass.
  if (t.usable && out && capacity > count) {
    const std::size_t units = kernels::decode_single<true>(
        t.tables, reinterpret_cast<const unsigned char*>(text), count, out);
    out[units] = 0;
    return units + 1;
  }
  const void* zero = std::memchr(text, 0, count);
  if (zero) count = static_cast<std::size_t>(static_cast<const char*>(zero) - text);
  if (out && capacity > count) {
    const std::size_t units = ansi_to_utf16(text, count, out);
    out[units] = 0;
    return units + 1;
  }
  const std::size_t units = ansi_to_utf16(text, count, nullptr);
  if (out && units < capacity) {
    ansi_to_utf16(text, count, out);
    out[units] = 0;
  }
  return units + 1;
}

std::size_t utf16_to_ansi(const wchar* text, std::size_t count, char* out) noexcept {
  const AnsiTables& t = ansi_tables();
  if (!t.usable || !out) return system_to_ansi(text, count, out);
  const std::size_t done = kernels::encode_single(t.tables, text, count, out);
  return done == count ? count : done + system_to_ansi(text + done, count - done, out + done);
}

// The code page's longest character; a UTF-16 unit never needs more.
std::size_t ansi_bytes_per_unit() noexcept {
  static const std::size_t most = [] {
    CPINFO info;
    return GetCPInfo(CP_ACP, &info) && info.MaxCharSize > 0 ? std::size_t{info.MaxCharSize}
                                                            : std::size_t{4};
  }();
  return most;
}

int compare_text_ic(const wchar* a, std::size_t na, const wchar* b, std::size_t nb,
                    std::uint32_t*) noexcept {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a, static_cast<int>(na), b,
                        static_cast<int>(nb)) -
         CSTR_EQUAL;
}

int compare_units_ic(const wchar* a, const wchar* b) noexcept { return _wcsicmp(a, b); }

}  // namespace quarnel::platform
