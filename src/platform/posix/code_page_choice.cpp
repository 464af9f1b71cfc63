// The choice of the process's ANSI code page on POSIX systems, made once
// while the library loads, and the platform layer's conversions, which all
// use that page.
#include <langinfo.h>
#include <locale.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "platform/platform.hpp"
#include "platform/posix/codepage.hpp"

namespace quarnel::platform::posix {
namespace {

struct CodesetName {
  const char* name;  // upper case, without '-', '_', '.' and spaces
  unsigned code_page;
};

// Locale codesets and the Windows ANSI code page used for the same languages.
// ISO-8859-15 and the C locale's ASCII have no page of their own and take
// 1252, as Western European systems do.
constexpr CodesetName kCodesets[] = {
    {"UTF8", 65001},    {"ANSIX341968", 1252}, {"ASCII", 1252},     {"USASCII", 1252},
    {"ISO88591", 1252}, {"ISO885915", 1252},   {"ISO88592", 1250},  {"ISO88595", 1251},
    {"KOI8R", 1251},    {"KOI8U", 1251},       {"ISO88597", 1253},  {"ISO88599", 1254},
    {"ISO88598", 1255}, {"ISO88596", 1256},    {"ISO885913", 1257}, {"TIS620", 874},
    {"EUCJP", 932},     {"SHIFTJIS", 932},     {"SJIS", 932},       {"GB2312", 936},
    {"GBK", 936},       {"GB18030", 936},      {"EUCKR", 949},      {"BIG5", 950},
    {"BIG5HKSCS", 950},
};

// Parses a run of decimal digits, all of s; 0 when s is not one or too long.
unsigned parse_number(const char* s) noexcept {
  unsigned value = 0;
  std::size_t digits = 0;
  for (; *s; ++s, ++digits) {
    if (*s < '0' || *s > '9' || digits == 6) return 0;
    value = value * 10 + static_cast<unsigned>(*s - '0');
  }
  return digits ? value : 0;
}

// The process code page as the environment asks for it.
unsigned detect_process_code_page() noexcept {
  const char* requested = std::getenv("QUARNEL_ACP");
  if (requested && *requested) {
    bool rejected = false;
    unsigned id = choose_code_page(requested, nullptr, &rejected);
    if (rejected) {
      // Quote at most 40 characters of the value, and nothing that could
      // break the message over several lines.
      char shown[48];
      std::size_t len = 0;
      for (const char* p = requested; *p && len < 40; ++p)
        shown[len++] = (*p >= 0x20 && *p < 0x7F) ? *p : '?';
      shown[len] = 0;
      std::fprintf(stderr, "quarnel: QUARNEL_ACP=%s%s is not a supported code page; using %u\n",
                   shown, std::strlen(requested) > len ? "..." : "", id);
    }
    return id;
  }
  // The codeset of the user's LC_CTYPE, looked up without touching the
  // process's own locale.
  if (locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr))) {
    unsigned id = choose_code_page(nullptr, nl_langinfo_l(CODESET, user), nullptr);
    freelocale(user);
    return id;
  }
  // The environment names a locale that is not installed; its name usually
  // still says the codeset ("ja_JP.eucJP", "de_DE.UTF-8@euro").
  const char* name = nullptr;
  for (const char* var : {"LC_ALL", "LC_CTYPE", "LANG"}) {
    name = std::getenv(var);
    if (name && *name) break;
  }
  char codeset[32] = "";
  if (const char* dot = name ? std::strchr(name, '.') : nullptr) {
    std::size_t len = std::strcspn(dot + 1, "@");
    if (len < sizeof codeset) {
      std::memcpy(codeset, dot + 1, len);
      codeset[len] = 0;
    }
  }
  return choose_code_page(nullptr, codeset, nullptr);
}

const CodePage& process_code_page() noexcept {
  static const CodePage& page = *find_code_page(detect_process_code_page());
  return page;
}

// Settles the process code page (and builds its tables) while the library
// loads, before any export can run. Everything reads it through
// process_code_page(), which is safe whatever order static initialisation
// takes.
[[maybe_unused]] const CodePage& kProcessCodePage = process_code_page();

}  // namespace

unsigned code_page_for_codeset(const char* codeset) noexcept {
  if (!codeset) return 0;
  char name[24];
  std::size_t len = 0;
  for (const char* p = codeset; *p; ++p) {
    char c = *p;
    if (c == '-' || c == '_' || c == '.' || c == ' ') continue;
    if (len + 1 == sizeof name) return 0;
    name[len++] = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
  }
  name[len] = 0;
  for (const CodesetName& entry : kCodesets)
    if (std::strcmp(name, entry.name) == 0) return entry.code_page;
  // CP1251, WINDOWS-1252 and the like name the page outright.
  for (const char* prefix : {"CP", "WINDOWS"}) {
    std::size_t plen = std::strlen(prefix);
    if (std::strncmp(name, prefix, plen) == 0) {
      unsigned id = parse_number(name + plen);
      if (id && find_code_page(id)) return id;
    }
  }
  return 0;
}

unsigned choose_code_page(const char* acp_override, const char* codeset,
                          bool* rejected_override) noexcept {
  if (rejected_override) *rejected_override = false;
  if (acp_override && *acp_override) {
    unsigned id = parse_number(acp_override);
    if (id && find_code_page(id)) return id;
    if (rejected_override) *rejected_override = true;
    return 1252;
  }
  unsigned id = code_page_for_codeset(codeset);
  return id ? id : 1252;
}

}  // namespace quarnel::platform::posix

// --- The platform layer's view ------------------------------------------------------

namespace quarnel::platform {

unsigned ansi_code_page() noexcept { return posix::code_page_id(posix::process_code_page()); }

bool is_lead_byte(unsigned char byte) noexcept {
  return posix::is_lead_byte(posix::process_code_page(), byte);
}

std::size_t ansi_to_utf16(const char* text, std::size_t count, wchar* out) noexcept {
  return posix::decode(posix::process_code_page(), text, count, out);
}

std::size_t ansi_to_utf16_terminated(const char* text, std::size_t count, wchar* out,
                                     std::size_t capacity) noexcept {
  const posix::CodePage& page = posix::process_code_page();
  // Room for anything `count` bytes can become: one pass, straight into out.
  if (out && capacity > count) {
    const std::size_t units = posix::decode_to_zero(page, text, count, out);
    out[units] = 0;
    return units + 1;
  }
  const void* zero = std::memchr(text, 0, count);
  if (zero) count = static_cast<std::size_t>(static_cast<const char*>(zero) - text);
  const std::size_t units = posix::decode(page, text, count, nullptr);
  if (out && units < capacity) {
    posix::decode(page, text, count, out);
    out[units] = 0;
  }
  return units + 1;
}

std::size_t utf16_to_ansi(const wchar* text, std::size_t count, char* out) noexcept {
  return posix::encode(posix::process_code_page(), text, count, out);
}

std::size_t ansi_bytes_per_unit() noexcept {
  return posix::max_bytes_per_unit(posix::process_code_page());
}

}  // namespace quarnel::platform
