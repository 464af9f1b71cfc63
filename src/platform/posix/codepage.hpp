// The Windows ANSI code pages, reproduced for POSIX systems.
//
// Windows converts between its "ANSI" code page and UTF-16 with
// MultiByteToWideChar and WideCharToMultiByte; these functions give the same
// results with flags 0 (best-fit substitutions on encoding excepted: a unit
// with no exact mapping always becomes '?'). Every code page is read-only once
// built and may be used from any thread.
#pragma once

#include <cstddef>

namespace quarnel::platform::posix {

struct CodePage;

// The code page with Windows number `id`, or null when it is not supported.
// Supported: 874, 932, 936, 949, 950, 1250-1258 and 65001 (UTF-8).
const CodePage* find_code_page(unsigned id) noexcept;

unsigned code_page_id(const CodePage& page) noexcept;

// True when `byte` starts a two-byte character (only in 932, 936, 949, 950).
bool is_lead_byte(const CodePage& page, unsigned char byte) noexcept;

// Decodes `n` bytes into UTF-16; with `out` null, only counts the units.
// Returns the number of units, which is never more than `n`, and writes
// nothing past them. Zero bytes are characters like any other.
std::size_t decode(const CodePage& page, const char* s, std::size_t n, char16_t* out) noexcept;

// Decodes the bytes of s[0, n) before its first zero byte (all of them when
// there is none) into `out`, which has room for `n` units; returns the
// number of units.
std::size_t decode_to_zero(const CodePage& page, const char* s, std::size_t n,
                           char16_t* out) noexcept;

// Encodes `n` UTF-16 units; with `out` null, only counts the bytes. Returns
// the number of bytes, which is never more than max_bytes_per_unit(page)
// times `n`, and writes nothing past them.
std::size_t encode(const CodePage& page, const char16_t* s, std::size_t n, char* out) noexcept;

// The most bytes one UTF-16 unit encodes to: 1, 2 (double-byte pages) or 3
// (UTF-8, where a surrogate pair takes 4 bytes for its two units).
std::size_t max_bytes_per_unit(const CodePage& page) noexcept;

// The Windows code page that corresponds to a locale codeset name as
// nl_langinfo(CODESET) reports it ("UTF-8", "ISO-8859-5", "EUC-JP", ...), or 0
// when there is none. Case, '-', '_' and '.' are ignored.
unsigned code_page_for_codeset(const char* codeset) noexcept;

// How the process code page is chosen, given the value of QUARNEL_ACP (null
// when unset) and the user's locale codeset (null when unknown). A set but
// unusable QUARNEL_ACP gives 1252 and sets *rejected_override.
unsigned choose_code_page(const char* acp_override, const char* codeset,
                          bool* rejected_override) noexcept;

}  // namespace quarnel::platform::posix
