// The few operating-system services the library stands on. There is one
// implementation for Windows (win32/) and one for POSIX systems (posix/);
// everything above this line is platform-neutral.
//
// Nothing here keeps mutable state: what a platform decides at load (the
// ANSI code page, the heap) is fixed before the first export runs.
#pragma once

#include <cstddef>
#include <cstdint>

#include "quarnel/quarnel.h"

namespace quarnel::platform {

// One UTF-16 code unit: wchar_t on Windows, char16_t elsewhere.
using wchar = ::LWideChar;

// --- Process-wide heap -----------------------------------------------------
// The heap shared with host programs: the process heap on Windows, malloc on
// POSIX. Returns null when memory cannot be had; never throws.
void* heap_alloc(std::size_t bytes) noexcept;
void heap_free(void* block) noexcept;
// Usable size of a block from heap_alloc (at least what was asked for).
std::size_t heap_block_size(void* block) noexcept;

// --- BSTR payloads ----------------------------------------------------------
// Allocates a BSTR of `count` UTF-16 units, copying them from `units` when it
// is not null, and writes the byte-length prefix and the trailing zero unit.
// Returns null on failure.
wchar* bstr_alloc(const wchar* units, std::uint32_t count) noexcept;
void bstr_free(wchar* bstr) noexcept;
// Units a BSTR could hold in place without being reallocated (at least its
// length).
std::size_t bstr_capacity(wchar* bstr) noexcept;

// --- ANSI code page -----------------------------------------------------------
// The process's ANSI code page as a Windows code-page number.
unsigned ansi_code_page() noexcept;

// True when `byte` starts a two-byte character in the ANSI code page.
bool is_lead_byte(unsigned char byte) noexcept;

// Decodes `count` bytes of ANSI text into UTF-16. With `out` null, only
// measures. Returns the number of units produced, never more than `count`,
// so `out` may be sized by the input. Invalid input is replaced the way the
// Windows converters replace it; zero bytes become zero units.
std::size_t ansi_to_utf16(const char* text, std::size_t count, wchar* out) noexcept;

// The text before the first zero byte of text[0, count) (all of it when
// there is none), decoded, with a zero unit after it: returns how many units
// that takes, and writes them to `out` when they fit in `capacity` units.
// Nothing is written otherwise; `out` may be null to only measure.
std::size_t ansi_to_utf16_terminated(const char* text, std::size_t count, wchar* out,
                                     std::size_t capacity) noexcept;

// Encodes `count` UTF-16 units into the ANSI code page. With `out` null, only
// measures. Returns the number of bytes produced, never more than
// ansi_bytes_per_unit() times `count`. Units the code page cannot represent
// become the code page's default character.
std::size_t utf16_to_ansi(const wchar* text, std::size_t count, char* out) noexcept;

// The most bytes one UTF-16 unit becomes in the ANSI code page: 1 for the
// single-byte pages, where every conversion keeps the length.
std::size_t ansi_bytes_per_unit() noexcept;

// --- Locale-aware comparison ---------------------------------------------------
// Case-insensitive comparison of two UTF-16 texts under the user's locale:
// negative, zero or positive. `scratch` must hold na + nb + 2 values; it lets
// implementations that need room work without allocating.
int compare_text_ic(const wchar* a, std::size_t na, const wchar* b, std::size_t nb,
                    std::uint32_t* scratch) noexcept;

// Compares two zero-terminated UTF-16 texts unit by unit after folding each
// unit to lower case; negative, zero or positive.
int compare_units_ic(const wchar* a, const wchar* b) noexcept;

}  // namespace quarnel::platform
