/*
 * quarnel.h - the public interface of the Quarnel string-handle library.
 *
 * A host never touches a string directly. It holds a handle, passes it to the
 * functions below, and gives it back to LStrDestroyA / LStrDestroyW when done.
 * Two twin families exist: A (byte strings in the process's ANSI code page,
 * payloads shared copy-on-write between handles) and W (UTF-16 strings whose
 * payloads are BSTRs, never shared). Each A function has a W twin with the
 * same arguments and rules unless its comment names a difference.
 *
 *     LStrHandleA h = LStrAllocFromASzStrA("port", -1);
 *     LStrAppendASzStrA(h, " = 8080", -1);
 *     printf("%s (%d bytes)\n", LStrCstrA(h), LStrLengthA(h));
 *     LStrDestroyA(h);
 *
 * Rules every function follows:
 *  - Ownership: every function whose name starts with LStrAlloc returns a new
 *    handle that the caller owns and destroys exactly once with the destroy
 *    function of the same family. Pointers into a handle's characters are
 *    borrowed: valid until the next call that changes, shares or destroys it.
 *  - Index base: each handle carries a base, 0 or 1 (new handles start at 1).
 *    A position p passed for a handle with base b names the (p + 1 - b)-th
 *    character; positions handed back are shifted the same way, so "not
 *    found" reads 0 under base 1 and -1 under base 0. Counts never shift.
 *  - Length rule for (text, length) pairs: a null text is empty; a negative
 *    length reads up to the terminating zero; 0 is empty; n > 0 takes exactly
 *    n characters, zero characters included.
 *  - Null handles: only LStrDestroyA / LStrDestroyW accept null. Every other
 *    function requires a valid handle of its family and does not check it.
 *  - Failures: there are no error codes. An out-of-range position on the A
 *    single-character functions, text that LStrToIntA / LStrToIntW cannot
 *    read and running out of memory leave the call as an exception (see
 *    "Failures" below); the handles passed in keep their text and nothing
 *    the call allocated is left behind.
 *
 * Failures. On Windows an exception leaves a function as a structured
 * exception raised with RaiseException (non-continuable), with one of the
 * codes QUARNEL_EXCEPTION_* below; ExceptionInformation[0] holds a pointer to
 * the zero-terminated message text and [1] its length in bytes. On other
 * platforms the C++ exception itself propagates: see quarnel/errors.hpp.
 */
#ifndef QUARNEL_QUARNEL_H
#define QUARNEL_QUARNEL_H

#include <stdarg.h>
#include <stdint.h>
#ifndef __cplusplus
#include <stdbool.h>
#endif
#ifdef _WIN32
#include <wchar.h>
#endif

/* ---- Calling convention and linkage ------------------------------------ */

/* QUARNEL_API: the convention of every function whose name does not begin
 * with an underscore (stdcall on 32-bit Windows, the platform default
 * elsewhere). QUARNEL_CDECL: the caller-cleans convention. */
#if defined(_WIN32)
#define QUARNEL_API __stdcall
#define QUARNEL_CDECL __cdecl
#else
#define QUARNEL_API
#define QUARNEL_CDECL
#endif

/* Windows hosts that link the import library may define QUARNEL_USE_DLLIMPORT
 * to call through the import table directly (the CMake package does). */
#if defined(QUARNEL_BUILDING_LIBRARY) && !defined(_WIN32)
#define QUARNEL_EXPORT __attribute__((visibility("default")))
#elif defined(QUARNEL_USE_DLLIMPORT) && defined(_WIN32)
#define QUARNEL_EXPORT __declspec(dllimport)
#else
#define QUARNEL_EXPORT
#endif

/* Structured-exception codes raised on Windows (customer bit set). */
#define QUARNEL_EXCEPTION_RANGE 0xE0510001u         /* range error */
#define QUARNEL_EXCEPTION_CONVERT 0xE0510002u       /* conversion error */
#define QUARNEL_EXCEPTION_OUT_OF_MEMORY 0xE0510003u /* memory exhausted */
#define QUARNEL_EXCEPTION_INTERNAL 0xE05100FFu      /* any other failure */

/* ---- Character and string types ------------------------------------------ */

/* One UTF-16 code unit: wchar_t on Windows, a 16-bit type elsewhere. */
#if defined(_WIN32)
typedef wchar_t LWideChar;
#elif defined(__cplusplus)
typedef char16_t LWideChar;
#else
typedef uint_least16_t LWideChar;
#endif

/* A BSTR: points at the first unit; the 32 bits before it hold the length in
 * bytes and one zero unit follows the last unit. */
typedef LWideChar* LBSTR;

/* ---- Handle records -------------------------------------------------------- */

/* Both records are two 32-bit fields on 32-bit platforms, in this order. The
 * payload is null when the string is empty. */
#ifdef __cplusplus
namespace LAnsiStrCore {
#endif
typedef struct LAnsiStrRec {
  char* payload;         /* first byte of a shared counted byte string */
  int32_t charIndexBase; /* 0 or 1 */
} LAnsiStrRec;
#ifdef __cplusplus
}  // namespace LAnsiStrCore
namespace LWideStrCore {
#endif
typedef struct LWideStrRec {
  LBSTR payload;         /* a BSTR owned by this record alone */
  int32_t charIndexBase; /* 0 or 1 */
} LWideStrRec;
#ifdef __cplusplus
}  // namespace LWideStrCore
typedef LAnsiStrCore::LAnsiStrRec* LStrHandleA;
typedef LWideStrCore::LWideStrRec* LStrHandleW;
#else
typedef LAnsiStrRec* LStrHandleA;
typedef LWideStrRec* LStrHandleW;
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* ==== Creating, converting and destroying handles =========================
 * Each creator returns a new handle with base 1, owned by the caller.
 * Conversions between the families use the process's ANSI code page.
 *
 *     LStrHandleW w = LStrAllocFromASzStrW("caf\xe9", -1);  // 4 units
 *     LStrHandleA a = LStrAllocCloneWA(w);                  // back to bytes
 */

/* An empty handle. */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocA(void);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocW(void);

/* A handle with src's text. The A clone shares src's payload (constant time,
 * copy-on-write); the W clone copies. The base is not copied (it is 1). */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocCloneAA(LStrHandleA src);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocCloneWW(LStrHandleW src);

/* W to A: src's units up to its first zero unit, encoded into the ANSI code
 * page (unrepresentable characters become the code page's default char). */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocCloneWA(LStrHandleW src);
/* A to W: all of src's bytes, zero bytes included, decoded to UTF-16. */
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocCloneAW(LStrHandleA src);

/* From a (text, length) pair under the length rule. The same-family forms
 * copy the characters as they are; the cross-family forms convert them (an
 * explicit length may cover zero characters, which convert to zeros). */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromASzStrA(const char* text, int length);
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromWSzStrA(const LWideChar* text, int length);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromASzStrW(const char* text, int length);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromWSzStrW(const LWideChar* text, int length);

/* One character. A: always one byte, so c == 0 gives a one-byte string
 * holding a zero byte. W: c == 0 gives an empty handle. */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromCharA(char c);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromCharW(LWideChar c);

/* count copies of c (zero characters included); empty for count <= 0. */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocStringOfCharA(char c, int count);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocStringOfCharW(LWideChar c, int count);

/* Releases the handle and its reference to the payload. Null does nothing.
 * Other handles that share the A payload keep it. */
QUARNEL_EXPORT void QUARNEL_API LStrDestroyA(LStrHandleA h);
QUARNEL_EXPORT void QUARNEL_API LStrDestroyW(LStrHandleW h);

/* A: if the payload is shared, gives the handle a private copy (the payload
 * pointer changes); otherwise nothing. W payloads are never shared, so the W
 * twin does nothing. */
QUARNEL_EXPORT void QUARNEL_API LStrUniqueA(LStrHandleA h);
QUARNEL_EXPORT void QUARNEL_API LStrUniqueW(LStrHandleW h);

/* The handle's index base. Setting accepts only 0 and 1 and returns 1; any
 * other value changes nothing and returns 0. */
QUARNEL_EXPORT int QUARNEL_API LStrGetCharIndexBaseA(LStrHandleA h);
QUARNEL_EXPORT int QUARNEL_API LStrGetCharIndexBaseW(LStrHandleW h);
QUARNEL_EXPORT int QUARNEL_API LStrSetCharIndexBaseA(LStrHandleA h, int base);
QUARNEL_EXPORT int QUARNEL_API LStrSetCharIndexBaseW(LStrHandleW h, int base);

/* ==== Reading the text and the length =====================================
 *
 *     LStrHandleA h = LStrAllocFromASzStrA("abc", -1);
 *     assert(strcmp(LStrCstrA(h), "abc") == 0 && LStrLengthA(h) == 3);
 */

/* The text, zero-terminated, for reading only (an A payload may be shared).
 * An empty handle gives the family's empty-string constant, the same pointer
 * every time, never null. LStrCbstrW is LStrCstrW: the BSTR itself when the
 * handle has text (the empty constant is not a BSTR). */
QUARNEL_EXPORT const char* QUARNEL_API LStrCstrA(LStrHandleA h);
QUARNEL_EXPORT const LWideChar* QUARNEL_API LStrCstrW(LStrHandleW h);
QUARNEL_EXPORT const LWideChar* QUARNEL_API LStrCbstrW(LStrHandleW h);

/* The address of the handle's payload field (numerically h itself): a host
 * may read or replace the BSTR there; the library frees whatever BSTR it
 * finds when the handle is next assigned or destroyed. */
QUARNEL_EXPORT LBSTR* QUARNEL_API LStrBSTRRef(LStrHandleW h);

/* Number of bytes / UTF-16 units, zero characters included. */
QUARNEL_EXPORT int QUARNEL_API LStrLengthA(LStrHandleA h);
QUARNEL_EXPORT int QUARNEL_API LStrLengthW(LStrHandleW h);

/* Sets the length: the first min(old, new) characters stay, added characters
 * have unspecified values, 0 empties the handle. A shared A payload is never
 * changed: the handle gets its own. Returns the new length. A negative length
 * empties the handle. */
QUARNEL_EXPORT int QUARNEL_API LStrSetLengthA(LStrHandleA h, int length);
QUARNEL_EXPORT int QUARNEL_API LStrSetLengthW(LStrHandleW h, int length);

/* ==== Single characters by position (position rule) =======================
 * A: a position outside base .. base + length - 1 raises the range error and
 * changes nothing; otherwise the payload is first made private to the handle,
 * so the address returned by LStrCharAddrAtA may be written through, within
 * the length, until the handle next changes. W: the position is not checked;
 * the caller keeps it inside the text. Writing a zero keeps the length.
 *
 *     LStrSetCharIndexBaseA(h, 0);
 *     char first = LStrGetCharAtA(h, 0);
 */
QUARNEL_EXPORT char QUARNEL_API LStrGetCharAtA(LStrHandleA h, int position);
QUARNEL_EXPORT LWideChar QUARNEL_API LStrGetCharAtW(LStrHandleW h, int position);
QUARNEL_EXPORT void QUARNEL_API LStrSetCharAtA(LStrHandleA h, int position, char c);
QUARNEL_EXPORT void QUARNEL_API LStrSetCharAtW(LStrHandleW h, int position, LWideChar c);
QUARNEL_EXPORT char* QUARNEL_API LStrCharAddrAtA(LStrHandleA h, int position);
QUARNEL_EXPORT LWideChar* QUARNEL_API LStrCharAddrAtW(LStrHandleW h, int position);

/* ==== Assignment and appending ==============================================
 * Each returns the handle's length afterwards, except the AppendChar pair.
 * LStrAssignA shares src's payload (constant time); LStrAssignW copies.
 * Appending a handle to itself doubles its text. A null or empty text
 * appends nothing; assigning it empties the handle.
 *
 *     LStrAssignASzStrA(h, "key", -1);
 *     LStrAppendA(h, other);
 */
QUARNEL_EXPORT int QUARNEL_API LStrAssignA(LStrHandleA dst, LStrHandleA src);
QUARNEL_EXPORT int QUARNEL_API LStrAssignW(LStrHandleW dst, LStrHandleW src);
QUARNEL_EXPORT int QUARNEL_API LStrAssignASzStrA(LStrHandleA h, const char* text, int length);
QUARNEL_EXPORT int QUARNEL_API LStrAssignWSzStrW(LStrHandleW h, const LWideChar* text, int length);
QUARNEL_EXPORT int QUARNEL_API LStrAppendA(LStrHandleA dst, LStrHandleA src);
QUARNEL_EXPORT int QUARNEL_API LStrAppendW(LStrHandleW dst, LStrHandleW src);
QUARNEL_EXPORT int QUARNEL_API LStrAppendASzStrA(LStrHandleA h, const char* text, int length);
QUARNEL_EXPORT int QUARNEL_API LStrAppendWSzStrW(LStrHandleW h, const LWideChar* text, int length);

/* Appends one character. A: exactly one byte, also when c is 0; returns the
 * text pointer as LStrCstrA gives it. W: a zero c appends nothing; returns
 * the handle's BSTR, null only when the handle is still empty. */
QUARNEL_EXPORT const char* QUARNEL_API LStrAppendCharA(LStrHandleA h, char c);
QUARNEL_EXPORT LBSTR QUARNEL_API LStrAppendCharW(LStrHandleW h, LWideChar c);

/* ==== Comparison ==========================================================
 * LStrCompareA: unsigned bytes over the whole lengths (zero bytes count, a
 * proper prefix sorts first); exactly -1, 0 or 1.
 * LStrCompareICA: case-insensitive comparison of the two texts (each up to
 * its first zero byte) under the user's locale; negative, zero or positive.
 * LStrCompareW / LStrCompareICW: an empty operand gives exactly -1, 0 or 1;
 * otherwise units compare as unsigned 16-bit values up to each side's first
 * zero unit (the IC form folds each unit to lower case first); negative,
 * zero or positive.
 */
QUARNEL_EXPORT int QUARNEL_API LStrCompareA(LStrHandleA a, LStrHandleA b);
QUARNEL_EXPORT int QUARNEL_API LStrCompareICA(LStrHandleA a, LStrHandleA b);
QUARNEL_EXPORT int QUARNEL_API LStrCompareW(LStrHandleW a, LStrHandleW b);
QUARNEL_EXPORT int QUARNEL_API LStrCompareICW(LStrHandleW a, LStrHandleW b);

/* ==== Numbers to text and back ============================================
 * Number text follows the user's regional settings (decimal and thousands
 * separators, currency symbol and layout), read once when the library
 * loads: on Windows the user locale, elsewhere the locale the environment
 * names (LC_ALL, LC_NUMERIC / LC_MONETARY, LANG). The A family stores the
 * text in the ANSI code page. Reading a number never depends on the settings:
 * "." is always the decimal point. The index base plays no part here.
 *
 *     LStrHandleA h = LStrFloatToStrFA(1234.5, 3, 15, 2);  // "1,234.50"
 *     int port = LStrToIntDefA(value, 80);                  // 80 unless a number
 */

/* New handles with the decimal text of a 64-bit integer: "-9223372036854775808",
 * "18446744073709551615", "0". No grouping, no leading '+'. */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromInt64A(int64_t value);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromInt64W(int64_t value);
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromUInt64A(uint64_t value);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromUInt64W(uint64_t value);

/* A new handle with the general text of value: at most 15 significant
 * digits, trailing zeros removed, the user's decimal separator; fixed
 * notation from 0.0001 up to 15 integer digits, otherwise scientific with
 * the exponent as "E20" / "E-5" (1e20 gives "1E20", 1/3 "0.333333333333333").
 * Not-a-number gives "NAN", infinities "INF" and "-INF". Both families give
 * the same text. */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromDoubleA(double value);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromDoubleW(double value);

/* A new handle with value's 32-bit pattern in upper-case hexadecimal, no
 * prefix, zero-padded on the left to at least digits digits (never cut):
 * (255, 4) gives "00FF", (-1, 0) "FFFFFFFF". */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrIntToHexA(int value, int digits);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrIntToHexW(int value, int digits);

/* The handle's text as an integer.
 * Text longer than two characters that starts with "0x" or "0X": the
 * hexadecimal digits after the prefix, read as far as they go, as a 32-bit
 * pattern ("0xFFFFFFFF" gives -1, "0x1FZZ" 31, "0xZZ" 0); never fails.
 * Any other text: optional spaces, an optional sign, then decimal digits in
 * the 32-bit range or hexadecimal digits after "$", "x" or "0x", and nothing
 * else. Other text, the empty text included, raises the conversion error
 * (QUARNEL_EXCEPTION_CONVERT on Windows, quarnel::EConvertError elsewhere). */
QUARNEL_EXPORT int QUARNEL_API LStrToIntA(LStrHandleA h);
QUARNEL_EXPORT int QUARNEL_API LStrToIntW(LStrHandleW h);

/* The handle's whole text as a number, or defaultValue. Text longer than two
 * characters that starts with "0x" / "0X" must continue with hexadecimal
 * digits to its end; other text must be a decimal integer (LStrToIntDef*) or
 * a C floating-point number with "." as the decimal point (LStrToDoubleDef*).
 * Leading white space is accepted, anything after the number (white space
 * and zero characters included) gives defaultValue, as does empty text.
 * " 42" gives 42, "42 " defaultValue, "1.5" 1.5 whatever the user's settings,
 * "1,5" defaultValue. Values beyond 32 bits wrap. */
QUARNEL_EXPORT int QUARNEL_API LStrToIntDefA(LStrHandleA h, int defaultValue);
QUARNEL_EXPORT int QUARNEL_API LStrToIntDefW(LStrHandleW h, int defaultValue);
QUARNEL_EXPORT double QUARNEL_API LStrToDoubleDefA(LStrHandleA h, double defaultValue);
QUARNEL_EXPORT double QUARNEL_API LStrToDoubleDefW(LStrHandleW h, double defaultValue);

/* Appends value's decimal text and returns the handle's characters (the A
 * text; the W BSTR), valid until the handle next changes. */
QUARNEL_EXPORT char* QUARNEL_API LStrAppendIntValueA(LStrHandleA h, int value);
QUARNEL_EXPORT LBSTR QUARNEL_API LStrAppendIntValueW(LStrHandleW h, int value);

/* A new handle with value laid out by format (its low byte; other codes give
 * an empty handle). precision is the number of significant digits (1..18),
 * digits as said per format:
 *   0 general:  as LStrAllocFromDoubleA with precision digits; digits is
 *               the exponent's minimum width (0..4)
 *   1 exponent: "d.dddE+ddd": precision digits in all, a signed exponent of
 *               at least digits (0..4) digits
 *   2 fixed:    digits (0..18) decimals, rounded to precision significant
 *               digits first (1234.5, 15, 2 gives "1234.50"; 345.6789, 5, 3
 *               "345.680")
 *   3 number:   as fixed, with thousands separators ("1,234.50")
 *   4 currency: as number, laid out with the currency symbol the way the
 *               user's settings place it ("$1,234.50", "($1,234.50)")
 * Fixed, number and currency switch to scientific notation when the value
 * has more integer digits than precision. Halves round away from zero. */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrFloatToStrFA(double value, int format, int precision,
                                                        int digits);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrFloatToStrFW(double value, int format, int precision,
                                                        int digits);

/* A new handle with *value laid out by the picture in the format handle (its
 * text up to the first zero character). Up to three sections separated by
 * ';' apply to positive values, negative values and zero; an empty negative
 * or zero section uses the first, which then writes a leading '-' for
 * negative values. Within a section: '0' a digit or '0'; '#' a digit or
 * nothing; the first '.' the decimal separator; ',' thousands grouping;
 * "E+" / "E-" / "e+" / "e-" followed by up to four '0's scientific notation
 * ('+' also signs positive exponents); text in '...' or "..." and any other
 * character literally. An empty first section, an empty picture, or a value
 * of 1e18 or more without scientific notation gives the general text of
 * LStrAllocFromDoubleA.
 *   "#,##0.00;(#,##0.00)" with -1234 gives "(1,234.00)"; "0.000E+00" with
 *   1234 gives "1.234E+03"; "#.##" with 0 gives "".
 * W only: an empty format handle gives "#error#". */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrFormatFloatA(LStrHandleA format, const double* value);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrFormatFloatW(LStrHandleW format, const double* value);

/* ==== Formatted output ====================================================
 * printf-style formatting into handles. These functions are caller-cleans
 * (__cdecl); the VPrintf ones take a prepared va_list. The formatter is the
 * library's own and gives the same text on every platform:
 *  - numbers as C99 printf writes them: d i u o x X e E f F g G a A with the
 *    flags - + space # 0, width, precision and '*'; size prefixes hh h l ll
 *    j z t, and the Windows ones: "L", "I64" on integers mean 64 bits, "I32"
 *    32 bits, "I" pointer-sized; "%p" is upper-case hexadecimal with two
 *    digits per pointer byte; "%n" stores the count so far;
 *  - text as Windows writes it: in the A functions %s / %c take byte text
 *    and %ls %ws %S / %lc %wc %C UTF-16; in the W functions %s / %c take
 *    UTF-16 and %hs %S / %hc %C byte text. Text of the other family is
 *    converted through the ANSI code page; a null string prints "(null)".
 * Counts are in the family's characters (bytes, UTF-16 units). A null or
 * empty format, or one that formats to nothing, gives no text: the replacing
 * functions then empty dest and return 0, the appending ones leave it as it
 * was and return 0. The format and any argument may be dest's own text.
 * The index base plays no part.
 *
 *     _LStrSprintfA(h, "%d-%s", 7, "ab");      // h holds "7-ab", returns 4
 *     _LStrCatSprintfW(w, L"%d", 42);           // "x=" becomes "x=42", returns 2
 */

/* A new handle with the text of the format handle (up to its first zero
 * character) formatted with the arguments; an empty format handle gives an
 * empty handle. */
QUARNEL_EXPORT LStrHandleA QUARNEL_CDECL _LStrFormatA(LStrHandleA format, ...);
QUARNEL_EXPORT LStrHandleW QUARNEL_CDECL _LStrFormatW(LStrHandleW format, ...);

/* Replaces dest's text with the formatted text and returns its length.
 * Sprintf, Printf and VPrintf are the same operation. */
QUARNEL_EXPORT int QUARNEL_CDECL _LStrSprintfA(LStrHandleA dest, const char* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrSprintfW(LStrHandleW dest, const LWideChar* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrPrintfA(LStrHandleA dest, const char* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrPrintfW(LStrHandleW dest, const LWideChar* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrVPrintfA(LStrHandleA dest, const char* format, va_list args);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrVPrintfW(LStrHandleW dest, const LWideChar* format,
                                               va_list args);

/* Appends the formatted text to dest's and returns the length appended.
 * CatSprintf, CatPrintf and CatVPrintf are the same operation. */
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatSprintfA(LStrHandleA dest, const char* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatSprintfW(LStrHandleW dest, const LWideChar* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatPrintfA(LStrHandleA dest, const char* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatPrintfW(LStrHandleW dest, const LWideChar* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatVPrintfA(LStrHandleA dest, const char* format,
                                                  va_list args);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatVPrintfW(LStrHandleW dest, const LWideChar* format,
                                                  va_list args);

#ifdef __cplusplus
}  // extern "C"
#endif

#endif /* QUARNEL_QUARNEL_H */
