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
 * Each function's comment ends with the same headings: Arguments, Returns,
 * Ownership (who frees what it returns), Failure (what it does when it
 * fails, by the QUARNEL_EXCEPTION_* code a failure carries, which is also
 * what LStrGetLastFailure reads in record mode) and, where positions occur,
 * Index base.
 *
 * Rules every function follows:
 *  - Ownership: every function that returns a handle (the LStrAlloc ones,
 *    and those that cut, map case, trim, pad, replace, format or turn a
 *    number into text) returns a new one that the caller owns and destroys
 *    exactly once with the destroy function of the same family. Pointers
 *    into a handle's characters are borrowed: valid until the next call that
 *    changes, shares or destroys it.
 *  - Index base: each handle carries a base, 0 or 1 (new handles start at 1).
 *    A position p passed for a handle with base b names the (p + 1 - b)-th
 *    character; positions handed back are shifted the same way, so "not
 *    found" reads 0 under base 1 and -1 under base 0. Counts never shift.
 *  - Length rule for (text, length) pairs: a null text is empty; a negative
 *    length reads up to the terminating zero; 0 is empty; n > 0 takes exactly
 *    n characters, zero characters included.
 *  - Null handles: only LStrDestroyA / LStrDestroyW accept null. Every other
 *    function requires a valid handle of its family and does not check it.
 *  - Lengths: a text holds at most 0x7FFFFFF2 bytes (A) or 0x3FFFFFFF units
 *    (W). A call that would make one longer fails as out of memory and
 *    leaves the handle as it was.
 *  - Failures: there are no error codes. An out-of-range position on the A
 *    single-character functions, text that LStrToIntA / LStrToIntW cannot
 *    read and running out of memory leave the call as an exception (see
 *    "Failures" below), or, for a thread that asks, are recorded (see
 *    "Failure status and checked handles"); the handles passed in keep
 *    their text and nothing the call allocated is left behind. In record
 *    mode a failed call returns the zero of its result type (a null handle
 *    or pointer, 0, false). With checked handles on, any function given a
 *    handle that is not alive fails with QUARNEL_EXCEPTION_INVALID_HANDLE;
 *    the Failure headings below do not repeat it.
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

/* The library's version. The release archives, the packages and the tool's
 * --version carry the same (the build refuses a header that disagrees). */
#define QUARNEL_VERSION_MAJOR 0
#define QUARNEL_VERSION_MINOR 1
#define QUARNEL_VERSION_PATCH 0
#define QUARNEL_VERSION_STRING "0.1.0"

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
#define QUARNEL_EXCEPTION_RANGE 0xE0510001u          /* range error */
#define QUARNEL_EXCEPTION_CONVERT 0xE0510002u        /* conversion error */
#define QUARNEL_EXCEPTION_OUT_OF_MEMORY 0xE0510003u  /* memory exhausted */
#define QUARNEL_EXCEPTION_INVALID_HANDLE 0xE0510004u /* checked-handles mode */
#define QUARNEL_EXCEPTION_INTERNAL 0xE05100FFu       /* any other failure */

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
 * payload is null when the string is empty.
 *
 * An A payload's block holds, before the first byte, five fields a host may
 * read (only the library and its C++ wrapper write them), at these offsets
 * from the payload pointer:
 *   -16  int32   capacity: bytes the block holds, terminator aside
 *   -12  uint16  code page
 *   -10  uint16  bookkeeping, not used
 *    -8  int32   reference count: handles sharing the block (atomic)
 *    -4  int32   length in bytes
 * then the bytes and one zero byte. The block is freed when its count drops
 * to zero; a block with a count above 1 is never written. */
#ifdef __cplusplus
namespace LAnsiStrCore {
#endif
typedef struct LAnsiStrRec {
  char* payload;         /* first byte of a shared counted byte string; the
                            32 bits just before it hold its length (the
                            block's fields are listed above) */
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

/* ---- Wrappers and wrapper lists (field splitting) --------------------------
 * Declared by the host, filled in place by the splitting functions; fields
 * and their order are part of the interface. C++ hosts get classes with
 * constructors and RAII from quarnel/quarnel.hpp; C hosts get these structs
 * and follow the same rules by hand:
 *  - ending a wrapper: if owned and handle is not null, destroy the handle,
 *    then set handle to null;
 *  - a list owns its array and every wrapper in it (each owning its handle);
 *    all of them come from the heap the library shares with its hosts
 *    (LStrHeapAlloc / LStrHeapFree below). LStrListEndA / LStrListEndW
 *    release a list. */
#ifdef __cplusplus
namespace quarnel {
template <class Rec>
class LStrWrapper;
template <class Rec>
class LStrWrapperList;
}  // namespace quarnel
typedef quarnel::LStrWrapper<LAnsiStrCore::LAnsiStrRec> CLAnsiStr;
typedef quarnel::LStrWrapper<LWideStrCore::LWideStrRec> CLWideStr;
typedef quarnel::LStrWrapperList<LAnsiStrCore::LAnsiStrRec> CLAnsiStrList;
typedef quarnel::LStrWrapperList<LWideStrCore::LWideStrRec> CLWideStrList;
#else
typedef struct CLAnsiStr {
  LStrHandleA handle; /* the wrapped handle */
  bool owned;         /* destroy the handle when the wrapper ends */
} CLAnsiStr;
typedef struct CLWideStr {
  LStrHandleW handle;
  bool owned;
} CLWideStr;
typedef struct CLAnsiStrList {
  int32_t growBy;    /* slots added at each growth, at least 1 */
  int32_t capacity;  /* slots allocated, each a live wrapper */
  int32_t count;     /* slots holding the fields of the last split */
  CLAnsiStr** items; /* capacity pointers; null while capacity is 0 */
} CLAnsiStrList;
typedef struct CLWideStrList {
  int32_t growBy;
  int32_t capacity;
  int32_t count;
  CLWideStr** items;
} CLWideStrList;
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

/* An empty handle.
 * Arguments: none.
 * Returns: a new empty handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocA(void);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocW(void);

/* A handle with src's text. The A clone shares src's payload (constant time,
 * copy-on-write); the W clone copies. The base is not copied (it is 1).
 * Arguments: src, the handle whose text is taken; it is not changed.
 * Returns: the new handle.
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW. src stays the caller's.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 * Index base: the new handle's is 1, whatever src's.
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocCloneAA(LStrHandleA src);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocCloneWW(LStrHandleW src);

/* W to A: src's units up to its first zero unit, encoded into the ANSI code
 * page (unrepresentable characters become the code page's default char).
 * Arguments: src, the W handle converted; it is not changed.
 * Returns: a new A handle (base 1).
 * Ownership: the caller destroys it with LStrDestroyA.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocCloneWA(LStrHandleW src);

/* A to W: all of src's bytes, zero bytes included, decoded to UTF-16.
 * Arguments: src, the A handle converted; it is not changed.
 * Returns: a new W handle (base 1).
 * Ownership: the caller destroys it with LStrDestroyW.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocCloneAW(LStrHandleA src);

/* From a (text, length) pair under the length rule. The same-family forms
 * copy the characters as they are; the cross-family forms convert them (an
 * explicit length may cover zero characters, which convert to zeros).
 * Arguments: text, the characters (bytes in the ANSI code page for the ASzStr
 *   forms, UTF-16 units for the WSzStr forms); length, their number under the
 *   length rule.
 * Returns: a new handle (base 1): an A handle from the functions ending in A,
 *   a W handle from those ending in W.
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW. text stays the caller's: it is copied.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromASzStrA(const char* text, int length);
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromWSzStrA(const LWideChar* text, int length);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromASzStrW(const char* text, int length);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromWSzStrW(const LWideChar* text, int length);

/* One character. A: always one byte, so c == 0 gives a one-byte string
 * holding a zero byte. W: c == 0 gives an empty handle.
 * Arguments: c, the character.
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromCharA(char c);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromCharW(LWideChar c);

/* count copies of c (zero characters included); empty for count <= 0.
 * Arguments: c, the character repeated; count, how many times.
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, a count above the longest text included
 *   (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocStringOfCharA(char c, int count);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocStringOfCharW(LWideChar c, int count);

/* Releases the handle and its reference to the payload. Null does nothing.
 * Other handles that share the A payload keep it.
 * Arguments: h, a handle of the family, or null.
 * Returns: nothing.
 * Ownership: this is how a handle is released; afterwards h and every pointer
 *   borrowed from it are invalid.
 * Failure: never fails.
 */
QUARNEL_EXPORT void QUARNEL_API LStrDestroyA(LStrHandleA h);
QUARNEL_EXPORT void QUARNEL_API LStrDestroyW(LStrHandleW h);

/* A: if the payload is shared, gives the handle a private copy (the payload
 * pointer changes); otherwise nothing. W payloads are never shared, so the W
 * twin does nothing.
 * Arguments: h, the handle made private.
 * Returns: nothing.
 * Ownership: nothing is returned; pointers borrowed from h before the call are
 *   invalid after a copy.
 * Failure: A: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY, h still shares
 *   its payload (record mode: returns as usual). W: never fails.
 */
QUARNEL_EXPORT void QUARNEL_API LStrUniqueA(LStrHandleA h);
QUARNEL_EXPORT void QUARNEL_API LStrUniqueW(LStrHandleW h);

/* The handle's index base. Setting accepts only 0 and 1 and returns 1; any
 * other value changes nothing and returns 0.
 * Arguments: h, the handle; base, the new base (Set forms).
 * Returns: the Get forms h's base, 0 or 1; the Set forms 1 when base was
 *   taken, otherwise 0.
 * Ownership: nothing to free.
 * Failure: never fails.
 * Index base: the base set here applies to every position passed for h and
 *   handed back for it; handles made from h start at 1 again.
 */
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
 * handle has text (the empty constant is not a BSTR).
 * Arguments: h, the handle read.
 * Returns: a pointer to the text, never null.
 * Ownership: borrowed: h keeps it, valid until the next call that changes,
 *   shares or destroys h; never free it or write through it.
 * Failure: never fails.
 */
QUARNEL_EXPORT const char* QUARNEL_API LStrCstrA(LStrHandleA h);
QUARNEL_EXPORT const LWideChar* QUARNEL_API LStrCstrW(LStrHandleW h);
QUARNEL_EXPORT const LWideChar* QUARNEL_API LStrCbstrW(LStrHandleW h);

/* The address of the handle's payload field (numerically h itself): a host
 * may read or replace the BSTR there; the library frees whatever BSTR it
 * finds when the handle is next assigned or destroyed.
 * Arguments: h, a W handle.
 * Returns: the address of h's payload field, never null.
 * Ownership: borrowed, valid while h lives. A BSTR stored there belongs to h
 *   from then on; the host that replaces one takes over the old BSTR.
 * Failure: never fails.
 */
QUARNEL_EXPORT LBSTR* QUARNEL_API LStrBSTRRef(LStrHandleW h);

/* Number of bytes / UTF-16 units, zero characters included.
 * Arguments: h, the handle read.
 * Returns: the length, 0 for an empty handle.
 * Ownership: nothing to free.
 * Failure: never fails.
 */
QUARNEL_EXPORT int QUARNEL_API LStrLengthA(LStrHandleA h);
QUARNEL_EXPORT int QUARNEL_API LStrLengthW(LStrHandleW h);

/* Sets the length: the first min(old, new) characters stay, added characters
 * have unspecified values, 0 empties the handle. A shared A payload is never
 * changed: the handle gets its own. Returns the new length. A negative length
 * empties the handle.
 * Arguments: h, the handle changed; length, its new length in characters.
 * Returns: h's length afterwards.
 * Ownership: nothing to free; pointers borrowed from h are invalid afterwards.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, h unchanged (record mode: 0).
 */
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

/* The character at position.
 * Arguments: h, the handle read; position, the character's position.
 * Returns: the byte (A) or the UTF-16 unit (W) at position.
 * Ownership: nothing to free.
 * Failure: A: a position outside the text: QUARNEL_EXCEPTION_RANGE (record
 *   mode: 0); out of memory while making the payload private:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY. W: never fails; a position outside the
 *   text reads outside it.
 * Index base: h's: the valid positions are base .. base + length - 1.
 */
QUARNEL_EXPORT char QUARNEL_API LStrGetCharAtA(LStrHandleA h, int position);
QUARNEL_EXPORT LWideChar QUARNEL_API LStrGetCharAtW(LStrHandleW h, int position);

/* Writes c at position; other A handles that shared the text keep theirs.
 * Arguments: h, the handle changed; position, the character's position; c, the
 *   new character.
 * Returns: nothing.
 * Ownership: nothing to free.
 * Failure: A: a position outside the text: QUARNEL_EXCEPTION_RANGE, h
 *   unchanged; out of memory while making the payload private:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY. W: never fails; a position outside the
 *   text writes outside it.
 * Index base: h's, as for LStrGetCharAtA.
 */
QUARNEL_EXPORT void QUARNEL_API LStrSetCharAtA(LStrHandleA h, int position, char c);
QUARNEL_EXPORT void QUARNEL_API LStrSetCharAtW(LStrHandleW h, int position, LWideChar c);

/* The address of the character at position.
 * Arguments: h, the handle; position, the character's position.
 * Returns: a pointer into h's text, which may be read and, within the length,
 *   written through.
 * Ownership: borrowed: valid until h next changes, is shared or is destroyed;
 *   never free it.
 * Failure: A: a position outside the text: QUARNEL_EXCEPTION_RANGE (record
 *   mode: null); out of memory while making the payload private:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY. W: never fails; the position is not
 *   checked.
 * Index base: h's, as for LStrGetCharAtA.
 */
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

/* Gives dst the text of src: the A form shares src's payload, the W form
 * copies it.
 * Arguments: dst, the handle changed; src, the handle read (dst itself
 *   allowed).
 * Returns: dst's length afterwards.
 * Ownership: nothing to free; src stays the caller's.
 * Failure: A: never fails. W: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY,
 *   dst unchanged (record mode: 0).
 */
QUARNEL_EXPORT int QUARNEL_API LStrAssignA(LStrHandleA dst, LStrHandleA src);
QUARNEL_EXPORT int QUARNEL_API LStrAssignW(LStrHandleW dst, LStrHandleW src);

/* Gives h a copy of a (text, length) pair under the length rule.
 * Arguments: h, the handle changed; text, the characters; length, their
 *   number.
 * Returns: h's length afterwards.
 * Ownership: nothing to free; text stays the caller's.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, h unchanged (record mode: 0).
 */
QUARNEL_EXPORT int QUARNEL_API LStrAssignASzStrA(LStrHandleA h, const char* text, int length);
QUARNEL_EXPORT int QUARNEL_API LStrAssignWSzStrW(LStrHandleW h, const LWideChar* text, int length);

/* Appends src's text to dst's.
 * Arguments: dst, the handle changed; src, the handle read (dst itself
 *   allowed).
 * Returns: dst's length afterwards.
 * Ownership: nothing to free; pointers borrowed from dst are invalid
 *   afterwards.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, dst unchanged (record mode: 0).
 */
QUARNEL_EXPORT int QUARNEL_API LStrAppendA(LStrHandleA dst, LStrHandleA src);
QUARNEL_EXPORT int QUARNEL_API LStrAppendW(LStrHandleW dst, LStrHandleW src);

/* Appends a (text, length) pair under the length rule.
 * Arguments: h, the handle changed; text, the characters; length, their
 *   number.
 * Returns: h's length afterwards.
 * Ownership: nothing to free; text stays the caller's.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, h unchanged (record mode: 0).
 */
QUARNEL_EXPORT int QUARNEL_API LStrAppendASzStrA(LStrHandleA h, const char* text, int length);
QUARNEL_EXPORT int QUARNEL_API LStrAppendWSzStrW(LStrHandleW h, const LWideChar* text, int length);

/* Appends one character. A: exactly one byte, also when c is 0; returns the
 * text pointer as LStrCstrA gives it. W: a zero c appends nothing; returns
 * the handle's BSTR, null only when the handle is still empty.
 * Arguments: h, the handle changed; c, the character appended.
 * Returns: as said above.
 * Ownership: borrowed, as from LStrCstrA / LStrCstrW: valid until h next
 *   changes; never free it.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, h unchanged (record mode: null).
 */
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

/* Compares a with b by the rules above.
 * Arguments: a, b: two handles of the family (the same handle allowed).
 * Returns: negative, zero or positive as a sorts before, with or after b.
 * Ownership: nothing to free.
 * Failure: LStrCompareICA converts both texts first: out of memory gives
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: 0, so tell it from "equal"
 *   with LStrGetLastFailure). The other three never fail.
 */
QUARNEL_EXPORT int QUARNEL_API LStrCompareA(LStrHandleA a, LStrHandleA b);
QUARNEL_EXPORT int QUARNEL_API LStrCompareICA(LStrHandleA a, LStrHandleA b);
QUARNEL_EXPORT int QUARNEL_API LStrCompareW(LStrHandleW a, LStrHandleW b);
QUARNEL_EXPORT int QUARNEL_API LStrCompareICW(LStrHandleW a, LStrHandleW b);

/* ==== Searching =============================================================
 * Positions follow the handle's index base (see the index-base rule above):
 * the first character is position 1, or 0 under base 0, and "not found" is
 * 0, or -1 under base 0. Only the base of h counts, never that of a pattern
 * or delimiter handle. Nothing here changes a handle.
 *
 *     LStrHandleA h = LStrAllocFromASzStrA("hello", -1);
 *     int at = LStrPosPtrA(h, "lo");  // 4 (3 once h has base 0)
 */

/* The first occurrence of pattern's text in h's text: every unit compared
 * exactly (case counts, zero characters are ordinary characters). An empty
 * pattern, an empty h or a pattern longer than h is not found. The Ptr forms
 * take a zero-terminated pattern; null means empty. LStrUnicodePosW is
 * LStrPosW under another name.
 * Arguments: h, the handle searched; pattern, the text sought (a handle, or
 *   for the Ptr forms a zero-terminated text).
 * Returns: the position of the occurrence's first character, or the not-found
 *   value.
 * Ownership: nothing to free.
 * Failure: never fails.
 * Index base: h's: the first character is 1 under base 1 and 0 under base 0;
 *   not found is 0 under base 1 and -1 under base 0. pattern's base plays no
 *   part.
 */
QUARNEL_EXPORT int QUARNEL_API LStrPosA(LStrHandleA h, LStrHandleA pattern);
QUARNEL_EXPORT int QUARNEL_API LStrPosW(LStrHandleW h, LStrHandleW pattern);
QUARNEL_EXPORT int QUARNEL_API LStrPosPtrA(LStrHandleA h, const char* pattern);
QUARNEL_EXPORT int QUARNEL_API LStrPosPtrW(LStrHandleW h, const LWideChar* pattern);
QUARNEL_EXPORT int QUARNEL_API LStrUnicodePosW(LStrHandleW h, LStrHandleW pattern);

/* As LStrPosA, but both texts count only up to their first zero byte, and
 * an occurrence that would begin on the trail byte of a double-byte
 * character of the ANSI code page is skipped. Under a single-byte code page
 * it equals LStrPosA for texts without zero bytes.
 * Arguments: h, the handle searched; pattern, the handle holding the text
 *   sought.
 * Returns: the position of the occurrence's first byte, or the not-found
 *   value.
 * Ownership: nothing to free.
 * Failure: never fails.
 * Index base: h's, as for LStrPosA: not found is 0 under base 1, -1 under base
 *   0.
 */
QUARNEL_EXPORT int QUARNEL_API LStrAnsiPosA(LStrHandleA h, LStrHandleA pattern);

/* ==== Cutting ===============================================================
 * Each returns a new handle (base 1, whatever h's base) that the caller
 * destroys; h is unchanged. Counts are numbers of characters, never shifted.
 *
 *     LStrHandleA part = LStrSubStringA(h, 3, -1);  // "abcdef" -> "cdef"
 *     LStrDestroyA(part);
 */

/* count characters from position pos. A negative count takes the rest of the
 * text. A position before the first character starts at the first one
 * without shortening count (base 1: pos 0, count 3 gives three characters);
 * a position past the end, or count 0, gives an empty handle.
 * Arguments: h, the handle read (unchanged); pos, the first character taken;
 *   count, how many characters.
 * Returns: a new handle (base 1) with those characters.
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 * Index base: pos follows h's base; the result has base 1.
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrSubStringA(LStrHandleA h, int pos, int count);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrSubStringW(LStrHandleW h, int pos, int count);

/* The first / last count characters; the whole text when count is at least
 * its length; empty for count <= 0.
 * Arguments: h, the handle read (unchanged); count, how many characters.
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrLeftA(LStrHandleA h, int count);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrLeftW(LStrHandleW h, int count);
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrRightA(LStrHandleA h, int count);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrRightW(LStrHandleW h, int count);

/* ==== Testing characters ====================================================
 * The delimiter set is the text of the delimiters handle up to its first
 * zero character. A zero character of h is never a delimiter. Double-byte
 * characters of the ANSI code page (A family): LStrIsDelimiterA and
 * LStrIsPathDelimiterA never take their lead or trail byte for a delimiter;
 * LStrLastDelimiterA steps over a character whose trail byte matches, lead
 * byte included (a lead byte that matches on its own counts).
 *
 *     LStrHandleA path = LStrAllocFromASzStrA("dir/file.txt", -1);
 *     int dot = LStrLastDelimiterA(path, dots_and_slashes);  // 9
 */

/* True when the character at pos is in the delimiter set; false for a
 * position outside the text.
 * Arguments: h, the handle read; delimiters, the handle holding the set; pos,
 *   the position tested.
 * Returns: true or false.
 * Ownership: nothing to free.
 * Failure: never fails.
 * Index base: pos follows h's base.
 */
QUARNEL_EXPORT bool QUARNEL_API LStrIsDelimiterA(LStrHandleA h, LStrHandleA delimiters, int pos);
QUARNEL_EXPORT bool QUARNEL_API LStrIsDelimiterW(LStrHandleW h, LStrHandleW delimiters, int pos);

/* True when the character at pos is a backslash (the forward slash is not
 * a path delimiter); false for a position outside the text.
 * Arguments: h, the handle read; pos, the position tested.
 * Returns: true or false.
 * Ownership: nothing to free.
 * Failure: never fails.
 * Index base: pos follows h's base.
 */
QUARNEL_EXPORT bool QUARNEL_API LStrIsPathDelimiterA(LStrHandleA h, int pos);
QUARNEL_EXPORT bool QUARNEL_API LStrIsPathDelimiterW(LStrHandleW h, int pos);

/* The position of the last character of h that is in the delimiter set, or
 * the not-found value.
 * Arguments: h, the handle searched; delimiters, the handle holding the set.
 * Returns: a position, or the not-found value.
 * Ownership: nothing to free.
 * Failure: never fails.
 * Index base: h's: not found is 0 under base 1, -1 under base 0.
 */
QUARNEL_EXPORT int QUARNEL_API LStrLastDelimiterA(LStrHandleA h, LStrHandleA delimiters);
QUARNEL_EXPORT int QUARNEL_API LStrLastDelimiterW(LStrHandleW h, LStrHandleW delimiters);

/* A pointer to the last character of h, null when h is empty. A: to the
 * lead byte when the text ends in a double-byte character. W: to the last
 * unit, whatever it is (the low surrogate of a final pair). Borrowed and for
 * reading only, as LStrCstrA / LStrCstrW.
 * Arguments: h, the handle read.
 * Returns: the pointer, or null.
 * Ownership: borrowed: valid until h next changes; never free it.
 * Failure: never fails.
 */
QUARNEL_EXPORT char* QUARNEL_API LStrAnsiLastCharA(LStrHandleA h);
QUARNEL_EXPORT LWideChar* QUARNEL_API LStrUnicodeLastCharW(LStrHandleW h);

/* ==== Inserting and deleting in place =======================================
 * Both change h and return its new length; h keeps its base, and other A
 * handles that shared its text keep the old one.
 *
 *     LStrInsertA(h, sep, 3);     // "abcd" + "-" -> "ab-cd" (base 1)
 *     LStrDeleteA(h, 3, 1);       // back to "abcd"
 */

/* Inserts source's text so that it starts at pos: a pos before the first
 * character inserts at the start, one past the end appends. source may be
 * h itself. An empty source changes nothing.
 * Arguments: h, the handle changed; source, the handle whose text is inserted;
 *   pos, where it goes.
 * Returns: h's length afterwards.
 * Ownership: nothing to free; pointers borrowed from h are invalid afterwards.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, h unchanged (record mode: 0).
 * Index base: pos follows h's base: under base 1, 1 inserts at the start and
 *   length + 1 appends.
 */
QUARNEL_EXPORT int QUARNEL_API LStrInsertA(LStrHandleA h, LStrHandleA source, int pos);
QUARNEL_EXPORT int QUARNEL_API LStrInsertW(LStrHandleW h, LStrHandleW source, int pos);

/* Removes up to count characters starting at pos. Nothing happens when pos
 * lies outside the text or count <= 0.
 * Arguments: h, the handle changed; pos, the first character removed; count,
 *   how many.
 * Returns: h's length afterwards.
 * Ownership: nothing to free; pointers borrowed from h are invalid afterwards.
 * Failure: out of memory (the shortened text is a new payload):
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, h unchanged (record mode: 0).
 * Index base: pos follows h's base.
 */
QUARNEL_EXPORT int QUARNEL_API LStrDeleteA(LStrHandleA h, int pos, int count);
QUARNEL_EXPORT int QUARNEL_API LStrDeleteW(LStrHandleW h, int pos, int count);

/* ==== Case ==================================================================
 * Lower or upper case under the current user's locale, character by
 * character (A: the ANSI code page's characters, accented ones included; W:
 * each UTF-16 unit). The length never changes: characters whose other case
 * would need a different number of bytes or units stay as they are. The
 * plain forms return a new handle (base 1); the Self forms change h and keep
 * its base.
 *
 *     LStrHandleA up = LStrUpperCaseA(h);  // "abc1" -> "ABC1"
 */

/* LowerCase / UpperCase: a new handle with the mapped text; SelfLowerCase /
 * SelfUpperCase: h mapped in place.
 * Arguments: h, the handle read (plain forms) or changed (Self forms).
 * Returns: the plain forms a new handle (base 1); the Self forms nothing.
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW. The Self forms return nothing; other A handles that shared
 *   h's text keep the old one.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY, h unchanged (record
 *   mode: null from the plain forms).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrLowerCaseA(LStrHandleA h);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrLowerCaseW(LStrHandleW h);
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrUpperCaseA(LStrHandleA h);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrUpperCaseW(LStrHandleW h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfLowerCaseA(LStrHandleA h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfLowerCaseW(LStrHandleW h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfUpperCaseA(LStrHandleA h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfUpperCaseW(LStrHandleW h);

/* ==== Trimming ==============================================================
 * Removes the blank characters, codes 0 to 32 (space, controls, zero), at
 * both ends, the start (TrimLeft) or the end (TrimRight). Bytes from 128 up
 * and Unicode spaces are not blank; blanks between other characters stay.
 * A: the result keeps every byte between the ends. W: the result ends before
 * the first zero unit left in it ("a", zero, "b" trims to "a"; TrimLeft
 * also loses zero units at the end). The plain forms return a new handle
 * (base 1); the Self forms change h and keep its base.
 *
 *     LStrSelfTrimA(h);  // "\t x y \n" -> "x y"
 */

/* Trim, TrimLeft, TrimRight: a new handle with the trimmed text; the Self
 * forms trim h in place.
 * Arguments: h, the handle read (plain forms) or changed (Self forms).
 * Returns: the plain forms a new handle (base 1); the Self forms nothing.
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW. The Self forms return nothing; other A handles that shared
 *   h's text keep the old one.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY, h unchanged (record
 *   mode: null from the plain forms).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrTrimA(LStrHandleA h);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrTrimW(LStrHandleW h);
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrTrimLeftA(LStrHandleA h);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrTrimLeftW(LStrHandleW h);
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrTrimRightA(LStrHandleA h);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrTrimRightW(LStrHandleW h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimA(LStrHandleA h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimW(LStrHandleW h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimLeftA(LStrHandleA h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimLeftW(LStrHandleW h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimRightA(LStrHandleA h);
QUARNEL_EXPORT void QUARNEL_API LStrSelfTrimRightW(LStrHandleW h);

/* ==== Padding ===============================================================
 * A new handle (base 1) of exactly width characters: width - length copies
 * of padChar before (PadLeft) or after (PadRight) the text. When h already
 * has width characters or more (or width <= 0) the result is a clone of h,
 * never shortened. A zero padChar gives zero characters, which count.
 *
 *     LStrHandleA n = LStrPadLeftA(h, '0', 5);  // "42" -> "00042"
 */

/* h's text padded on the left (PadLeft) or right (PadRight).
 * Arguments: h, the handle read (unchanged); padChar, the character added;
 *   width, the length wanted.
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, a width above the longest text included
 *   (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrPadLeftA(LStrHandleA h, char padChar, int width);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrPadLeftW(LStrHandleW h, LWideChar padChar, int width);
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrPadRightA(LStrHandleA h, char padChar, int width);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrPadRightW(LStrHandleW h, LWideChar padChar, int width);

/* ==== Replacing =============================================================
 * A new handle (base 1) with h's text after replacing occurrences of search
 * by replacement, both zero-terminated; h is unchanged. It works in passes:
 * each pass finds the first occurrence in the working text, searching from
 * its start with exact comparison, and puts replacement in its place; the
 * passes end when no occurrence is left. So an occurrence that a replacement
 * forms with its neighbours is replaced as well: "aabb" with "ab" -> "a"
 * gives "aa". A null or empty search gives a copy of h; a null or empty
 * replacement deletes the occurrences.
 *
 * Passes that would not end: when replacement contains search, and also when
 * the passes would re-read more than 32 characters per character of h plus
 * about four million, or grow the text past the longest a handle can hold,
 * the result is instead one left-to-right pass over h's text in which each
 * occurrence, found without overlap, is replaced once (search "ab" and
 * replacement "xab" turn "abab" into "xabxab"). Either way the call returns
 * promptly.
 *
 *     LStrHandleA r = LStrReplaceA(h, "-", "+");  // "a-b-c" -> "a+b+c"
 */

/* h's text with the occurrences of search replaced, as described above.
 * Arguments: h, the handle read (unchanged); search, the zero-terminated text
 *   sought; replacement, the zero-terminated text put in its place.
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW. search and replacement stay the caller's.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrReplaceA(LStrHandleA h, const char* search,
                                                    const char* replacement);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrReplaceW(LStrHandleW h, const LWideChar* search,
                                                    const LWideChar* replacement);

/* ==== Field splitting =======================================================
 * Each function cuts one line into fields and hands them back in wrappers
 * (see the wrapper types above). The source wrapper is only read; its
 * handle may also be one of the destinations (or, for SplitNamedEquA/W, the
 * text may lie in a list slot's own text): the fields are those of the
 * line as it was when the call began. Its handle's index base never changes
 * which fields come out. With trim true,
 * characters of code 0x20 and below are removed from both ends of every
 * field. The list-filling forms first clear the list (keeping its storage),
 * grow it by growBy slots whenever it is full, and store each field as
 * zero-terminated text (a field is cut at its first zero character); each
 * slot's handle keeps its own index base. Out of memory, the fields stored
 * before the failure stay in the list.
 */

/* Splits at every separator into the slotCount wrappers at slots (each must
 * already hold a live handle). A leading separator and adjacent separators
 * give empty fields; a separator that ends the line does not. Fields are
 * stored whole (zero bytes included); when the line has more fields than
 * slots the rest of the line is dropped; slots that no field reaches are
 * emptied. Returns the number of fields stored; slotCount <= 0 gives 0 and
 * touches nothing.
 *
 *     CLAnsiStr slots[3];                                 // C++ host
 *     int n = SplitBySepA(&line, ',', 3, slots, true);    // "a, b" -> 2
 *
 * Arguments: source, the wrapper holding the line (only read); separator, the
 *   character that ends a field; slotCount, how many wrappers slots holds;
 *   slots, the caller's array of wrappers; trim, whether fields are trimmed.
 * Returns: the number of fields stored.
 * Ownership: nothing new: each field goes into a slot's existing handle, which
 *   stays the caller's (released as its wrapper says).
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: 0);
 *   the slots written before it keep their fields.
 */
QUARNEL_EXPORT int QUARNEL_API SplitBySepA(const CLAnsiStr* source, char separator, int slotCount,
                                           CLAnsiStr* slots, bool trim);
QUARNEL_EXPORT int QUARNEL_API SplitBySepW(const CLWideStr* source, LWideChar separator,
                                           int slotCount, CLWideStr* slots, bool trim);

/* The same fields, every one of them, into a list. Returns the list's count.
 *
 *     CLAnsiStrList fields(8);
 *     SplitBySepExA(&line, ';', &fields, false);
 *
 * Arguments: source, the wrapper holding the line (only read); separator, the
 *   character that ends a field; list, the caller's list, cleared and filled
 *   (a growBy below 1 counts as 1); trim, whether fields are trimmed.
 * Returns: the list's count.
 * Ownership: the list owns the wrappers and handles it holds; LStrListEndA /
 *   LStrListEndW release them (the C++ list types do it when they end).
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: 0);
 *   the fields stored before it stay in the list.
 */
QUARNEL_EXPORT int QUARNEL_API SplitBySepExA(const CLAnsiStr* source, char separator,
                                             CLAnsiStrList* list, bool trim);
QUARNEL_EXPORT int QUARNEL_API SplitBySepExW(const CLWideStr* source, LWideChar separator,
                                             CLWideStrList* list, bool trim);

/* Fixed-width records. SplitByFixedLayoutA: widths[i] characters per field,
 * laid end to end from the first character. SplitByFixedLayoutExA: columns
 * holds fieldCount pairs (first, last), columns counting from 1 whatever the
 * source's index base, the last column included. Every layout entry gives
 * exactly one field: a field starting past the end of the line is empty, one
 * running past it is cut short, a negative width (or last < first - 1) takes
 * the rest of the line, a start before column 1 counts from column 1 with the
 * length unchanged. Returns the list's count (fieldCount, or 0 when
 * fieldCount <= 0, in which case the layout is not read).
 *
 *     int widths[] = {3, 2, 4};                     // "ABCDEFGHI" -> ABC DE FGHI
 *     SplitByFixedLayoutA(&line, 3, widths, &fields, false);
 *
 * Arguments: source, the wrapper holding the line (only read); fieldCount, the
 *   number of layout entries; widths, fieldCount widths (SplitByFixedLayoutA /
 *   W); columns, fieldCount (first, last) pairs (the Ex forms); list, the
 *   caller's list, cleared and filled; trim, whether fields are trimmed.
 * Returns: the list's count.
 * Ownership: the list owns the wrappers and handles it holds; LStrListEndA /
 *   LStrListEndW release them. widths and columns stay the caller's.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: 0);
 *   the fields stored before it stay in the list.
 * Index base: columns count from 1 whatever the source's base; each field's
 *   handle keeps its own.
 */
QUARNEL_EXPORT int QUARNEL_API SplitByFixedLayoutA(const CLAnsiStr* source, int fieldCount,
                                                   const int* widths, CLAnsiStrList* list,
                                                   bool trim);
QUARNEL_EXPORT int QUARNEL_API SplitByFixedLayoutW(const CLWideStr* source, int fieldCount,
                                                   const int* widths, CLWideStrList* list,
                                                   bool trim);
QUARNEL_EXPORT int QUARNEL_API SplitByFixedLayoutExA(const CLAnsiStr* source, int fieldCount,
                                                     const int* columns, CLAnsiStrList* list,
                                                     bool trim);
QUARNEL_EXPORT int QUARNEL_API SplitByFixedLayoutExW(const CLWideStr* source, int fieldCount,
                                                     const int* columns, CLWideStrList* list,
                                                     bool trim);

/* Splits a zero-terminated "name<separator>value" text at the first
 * separator: on success the list holds the name (slot 0) and the value
 * (slot 1, later separators included) and the result is true. A null text,
 * a text without the separator, or a zero separator give false and an empty
 * list. Note the argument order: the separator comes last.
 *
 *     SplitNamedEquA("port = 8080", &fields, true, '=');   // "port", "8080"
 *
 * Arguments: text, the zero-terminated line; list, the caller's list, cleared
 *   and filled; trim, whether both parts are trimmed; separator, the character
 *   between them.
 * Returns: true when the separator was found.
 * Ownership: the list owns the wrappers and handles it holds; LStrListEndA /
 *   LStrListEndW release them.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode:
 *   false).
 */
QUARNEL_EXPORT bool QUARNEL_API SplitNamedEquA(const char* text, CLAnsiStrList* list, bool trim,
                                               char separator);
QUARNEL_EXPORT bool QUARNEL_API SplitNamedEquW(const LWideChar* text, CLWideStrList* list,
                                               bool trim, LWideChar separator);

/* ==== List storage and the shared heap =====================================
 * The splitting functions grow a list with wrappers and arrays taken from
 * the heap the library shares with its hosts: the process heap on Windows,
 * malloc elsewhere. A host that builds or releases list storage by hand uses
 * the same heap through these functions, whatever the platform.
 *
 *     CLAnsiStrList fields = {4, 0, 0, NULL};               // C host
 *     SplitBySepExA(&line, ',', &fields, false);
 *     LStrListEndA(&fields);                               // all released
 */

/* A block of at least bytes bytes from the shared heap (0 gives a block
 * too), to be released with LStrHeapFree or the platform's own release for
 * that heap. Null when bytes is negative or memory is exhausted; never an
 * exception.
 * Arguments: bytes, the size wanted.
 * Returns: the block, or null.
 * Ownership: the caller frees the block with LStrHeapFree, or hands it to a
 *   list, which LStrListEndA / LStrListEndW free.
 * Failure: never fails: memory exhausted gives null, and LStrGetLastFailure
 *   then reads 0.
 */
QUARNEL_EXPORT void* QUARNEL_API LStrHeapAlloc(int bytes);

/* Releases a block of the shared heap. Null is ignored.
 * Arguments: block, from LStrHeapAlloc or from a list's storage, or null.
 * Returns: nothing.
 * Ownership: the block is released.
 * Failure: never fails.
 */
QUARNEL_EXPORT void QUARNEL_API LStrHeapFree(void* block);

/* Ends a list: every non-null wrapper among its capacity slots is ended (an
 * owned handle is destroyed) and freed, then the array is freed. The list
 * is left empty and ready for reuse: count = capacity = 0, items null,
 * growBy unchanged. The list itself stays the caller's; never fails.
 *
 *     LStrListEndW(&wide_fields);
 *
 * Arguments: list, the list ended.
 * Returns: nothing.
 * Ownership: every wrapper, handle and array the list owns is released; the
 *   list itself stays the caller's.
 * Failure: never fails.
 */
QUARNEL_EXPORT void QUARNEL_API LStrListEndA(CLAnsiStrList* list);
QUARNEL_EXPORT void QUARNEL_API LStrListEndW(CLWideStrList* list);

/* ==== Copying A text into a UTF-16 buffer ================================
 * The A text up to its first zero byte, converted from the ANSI code page.
 * LStrWideCharBufSizeA gives the capacity LStrWideCharA needs, in UTF-16
 * units, terminator included (an empty handle gives 1). LStrWideCharA fills
 * the caller's buffer with the text and its terminator and returns buffer;
 * with a smaller capacity the content of the buffer is not defined (no unit
 * beyond capacity is ever written). LStrWideCharBufSizeW counts something
 * else: the W text's size in bytes, 2 x its length, terminator not counted.
 *
 *     LWideChar* buf = malloc(LStrWideCharBufSizeA(h) * sizeof(LWideChar));
 *     LStrWideCharA(h, buf, LStrWideCharBufSizeA(h));
 */

/* The capacity LStrWideCharA needs for h.
 * Arguments: h, the A handle read.
 * Returns: the units of h's converted text plus one for the terminator.
 * Ownership: nothing to free.
 * Failure: never fails.
 */
QUARNEL_EXPORT int QUARNEL_API LStrWideCharBufSizeA(LStrHandleA h);

/* Converts h's text into the caller's buffer.
 * Arguments: h, the A handle read; buffer, the caller's array; capacity, its
 *   size in UTF-16 units.
 * Returns: buffer.
 * Ownership: buffer stays the caller's; the library keeps no pointer to it.
 * Failure: never fails; a capacity too small leaves the buffer's content
 *   undefined.
 */
QUARNEL_EXPORT LWideChar* QUARNEL_API LStrWideCharA(LStrHandleA h, LWideChar* buffer, int capacity);

/* The size of h's text in bytes.
 * Arguments: h, the W handle read.
 * Returns: 2 x h's length.
 * Ownership: nothing to free.
 * Failure: never fails.
 */
QUARNEL_EXPORT int QUARNEL_API LStrWideCharBufSizeW(LStrHandleW h);

/* ==== Strings from a module's string table ================================
 * A new handle (base 1, owned by the caller) holding entry id (0 to 65535)
 * of module's string table: the W form holds the entry's UTF-16 units as
 * they are, the A form their conversion to the ANSI code page (characters
 * the code page lacks become its default character). An absent or empty
 * entry, or a module without that table block, gives an empty handle,
 * never null.
 *
 * module: on Windows an HMODULE (null: the executable), the strings being
 * the STRINGTABLE resources of the module. Elsewhere a handle from dlopen
 * (null: the main program), the strings being the table that the module
 * exports as QUARNEL_STRING_TABLE_SYMBOL (below); the CMake function
 * quarnel_add_string_table(target file.rc) builds that table from the same
 * .rc file a Windows build compiles.
 *
 *     LStrHandleW title = LStrAllocLoadStrW(NULL, IDS_TITLE);    // the program's own
 *     LStrHandleA hint = LStrAllocLoadStrA(ui_module, IDS_HINT);  // HMODULE or dlopen's
 */

/* Entry id of module's string table, as described above.
 * Arguments: module, whose table is read (null: the program itself); id, the
 *   entry, 0 to 65535.
 * Returns: a new handle (base 1), empty when there is no such entry.
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW. module stays the caller's.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 *   An absent entry is not a failure.
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocLoadStrA(void* module, int id);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocLoadStrW(void* module, int id);

/* The string table of a module on platforms without resources. The module
 * exports one QuarnelStringTable under this symbol name (with C linkage and
 * default visibility; an executable must export it dynamically). It lists
 * the blocks in the Windows string-table format: block b (counting from 1)
 * holds identifiers 16 x (b - 1) to 16 x (b - 1) + 15 as 16 entries in a
 * row, each a 16-bit count of UTF-16 units followed by that many units (no
 * terminator; an absent entry has count 0). When a block comes in several
 * languages, the neutral one (0) wins, then U.S. English (0x0409), then the
 * one listed first. A table whose version is not QUARNEL_STRING_TABLE_VERSION
 * is ignored. */
#define QUARNEL_STRING_TABLE_SYMBOL "quarnel_string_table"
#define QUARNEL_STRING_TABLE_VERSION 1

typedef struct QuarnelStringBlock {
  uint16_t block;       /* block number: identifier / 16 + 1 */
  uint16_t language;    /* Windows language identifier, as in LANGUAGE */
  uint32_t size;        /* bytes at data */
  const uint16_t* data; /* the 16 entries */
} QuarnelStringBlock;

typedef struct QuarnelStringTable {
  uint32_t version; /* QUARNEL_STRING_TABLE_VERSION */
  uint32_t count;   /* entries in blocks */
  const QuarnelStringBlock* blocks;
} QuarnelStringTable;

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
 * "18446744073709551615", "0". No grouping, no leading '+'.
 * Arguments: value, the number.
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromInt64A(int64_t value);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromInt64W(int64_t value);
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromUInt64A(uint64_t value);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromUInt64W(uint64_t value);

/* A new handle with the general text of value: at most 15 significant
 * digits, trailing zeros removed, the user's decimal separator; fixed
 * notation from 0.0001 up to 15 integer digits, otherwise scientific with
 * the exponent as "E20" / "E-5" (1e20 gives "1E20", 1/3 "0.333333333333333").
 * Not-a-number gives "NAN", infinities "INF" and "-INF". Both families give
 * the same text.
 * Arguments: value, the number.
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrAllocFromDoubleA(double value);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrAllocFromDoubleW(double value);

/* A new handle with value's 32-bit pattern in upper-case hexadecimal, no
 * prefix, zero-padded on the left to at least digits digits (never cut):
 * (255, 4) gives "00FF", (-1, 0) "FFFFFFFF".
 * Arguments: value, the number; digits, the least number of digits.
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, digits above the longest text included
 *   (record mode: null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_API LStrIntToHexA(int value, int digits);
QUARNEL_EXPORT LStrHandleW QUARNEL_API LStrIntToHexW(int value, int digits);

/* The handle's text as an integer.
 * Text longer than two characters that starts with "0x" or "0X": the
 * hexadecimal digits after the prefix, read as far as they go, as a 32-bit
 * pattern ("0xFFFFFFFF" gives -1, "0x1FZZ" 31, "0xZZ" 0); never fails.
 * Any other text: optional spaces, an optional sign, then decimal digits in
 * the 32-bit range or hexadecimal digits after "$", "x" or "0x", and nothing
 * else. Other text, the empty text included, raises the conversion error
 * (QUARNEL_EXCEPTION_CONVERT on Windows, quarnel::EConvertError elsewhere).
 * Arguments: h, the handle read.
 * Returns: the integer.
 * Ownership: nothing to free.
 * Failure: text that is not an integer: QUARNEL_EXCEPTION_CONVERT (record
 *   mode: 0, which is also an ordinary answer: ask LStrGetLastFailure).
 */
QUARNEL_EXPORT int QUARNEL_API LStrToIntA(LStrHandleA h);
QUARNEL_EXPORT int QUARNEL_API LStrToIntW(LStrHandleW h);

/* The handle's whole text as a number, or defaultValue. Text longer than two
 * characters that starts with "0x" / "0X" must continue with hexadecimal
 * digits to its end; other text must be a decimal integer (LStrToIntDef*) or
 * a C floating-point number with "." as the decimal point (LStrToDoubleDef*).
 * Leading white space is accepted, anything after the number (white space
 * and zero characters included) gives defaultValue, as does empty text.
 * " 42" gives 42, "42 " defaultValue, "1.5" 1.5 whatever the user's settings,
 * "1,5" defaultValue. Values beyond 32 bits wrap.
 * Arguments: h, the handle read; defaultValue, the answer when h's text is not
 *   a number.
 * Returns: the number, or defaultValue.
 * Ownership: nothing to free.
 * Failure: LStrToIntDefA / W never fail. LStrToDoubleDefA / W fail only when
 *   memory runs out: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: 0.0).
 */
QUARNEL_EXPORT int QUARNEL_API LStrToIntDefA(LStrHandleA h, int defaultValue);
QUARNEL_EXPORT int QUARNEL_API LStrToIntDefW(LStrHandleW h, int defaultValue);
QUARNEL_EXPORT double QUARNEL_API LStrToDoubleDefA(LStrHandleA h, double defaultValue);
QUARNEL_EXPORT double QUARNEL_API LStrToDoubleDefW(LStrHandleW h, double defaultValue);

/* Appends value's decimal text and returns the handle's characters (the A
 * text; the W BSTR), valid until the handle next changes.
 * Arguments: h, the handle changed; value, the number.
 * Returns: as said above.
 * Ownership: borrowed from h: valid until h next changes; never free it.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY, h unchanged (record mode: null).
 */
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
 * has more integer digits than precision. Halves round away from zero.
 * Not-a-number gives "NAN" and infinities "INF" and "-INF", whatever the
 * format.
 * Arguments: value, the number; format, the layout (0 to 4, in the low byte);
 *   precision, significant digits: values outside 1..18 are clamped to the
 *   nearer end (0 works as 1, 40 as 18); digits, the exponent's least width
 *   for general and exponent (clamped to 0..4), the number of decimals for
 *   fixed, number and currency (clamped to 0..18).
 * Returns: a new handle (base 1); empty for an unknown format.
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW.
 * Failure: out of memory: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
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
 * W only: an empty format handle gives "#error#".
 * Arguments: format, the handle holding the picture; value, a pointer to the
 *   number (read, never null).
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW. format stays the caller's.
 * Failure: out of memory, or a text longer than a handle can hold:
 *   QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode: null).
 */
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
 *    digits per pointer byte;
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
 * "%n" is refused, whatever its size prefix (%hhn, %ln, %I64n, ...): a
 * format holding one makes the call fail with the conversion failure
 * (quarnel::EConvertError, QUARNEL_EXCEPTION_CONVERT on Windows) before any
 * argument is read; dest keeps its text and nothing is written through the
 * pointer. A library that takes its formats from hosts, which may pass on
 * text they do not control, must not hand out a write to any address.
 * A text longer than a handle can hold (a width or precision near INT_MAX)
 * fails with out of memory and also leaves dest as it was.
 *
 *     _LStrSprintfA(h, "%d-%s", 7, "ab");      // h holds "7-ab", returns 4
 *     _LStrCatSprintfW(w, L"%d", 42);           // "x=" becomes "x=42", returns 2
 */

/* QUARNEL_PRINTF_CHECK: the A functions below whose format is a literal
 * argument carry the compiler's printf format attribute, so -Wformat checks
 * each call's arguments against its format (Windows builds with GCC check the
 * Microsoft dialect: %I64d, %S). A host that uses this formatter's own
 * extensions where the compiler does not know them may define
 * QUARNEL_NO_PRINTF_CHECK before including this header. The W functions carry
 * no attribute: compilers check only byte-string formats, never one made of
 * UTF-16 units (and on Linux, where wchar_t is 32 bits, %ls would be checked
 * against the wrong type). */
#if (defined(__GNUC__) || defined(__clang__)) && !defined(QUARNEL_NO_PRINTF_CHECK)
#if defined(_WIN32) && !defined(__clang__)
#define QUARNEL_PRINTF_CHECK(f, a) __attribute__((__format__(__ms_printf__, f, a)))
#else
#define QUARNEL_PRINTF_CHECK(f, a) __attribute__((__format__(__printf__, f, a)))
#endif
#else
#define QUARNEL_PRINTF_CHECK(f, a)
#endif

/* A new handle with the text of the format handle (up to its first zero
 * character) formatted with the arguments; an empty format handle gives an
 * empty handle.
 * Arguments: format, the handle holding the format; then the arguments its
 *   conversions take.
 * Returns: a new handle (base 1).
 * Ownership: the caller destroys the new handle with LStrDestroyA /
 *   LStrDestroyW. format stays the caller's.
 * Failure: a "%n": QUARNEL_EXCEPTION_CONVERT; out of memory, or a text longer
 *   than a handle can hold: QUARNEL_EXCEPTION_OUT_OF_MEMORY (record mode:
 *   null).
 */
QUARNEL_EXPORT LStrHandleA QUARNEL_CDECL _LStrFormatA(LStrHandleA format, ...);
QUARNEL_EXPORT LStrHandleW QUARNEL_CDECL _LStrFormatW(LStrHandleW format, ...);

/* Replaces dest's text with the formatted text and returns its length.
 * Sprintf, Printf and VPrintf are the same operation.
 * Arguments: dest, the handle whose text is replaced; format, the
 *   zero-terminated format (null: empty); then the arguments its conversions
 *   take, or for the VPrintf forms args, a va_list the caller started and ends
 *   (it is read through a copy).
 * Returns: dest's length afterwards.
 * Ownership: nothing to free; format and the arguments stay the caller's.
 * Failure: a "%n": QUARNEL_EXCEPTION_CONVERT; out of memory, or a text longer
 *   than a handle can hold: QUARNEL_EXCEPTION_OUT_OF_MEMORY; dest keeps its
 *   text either way (record mode: 0).
 */
QUARNEL_PRINTF_CHECK(2, 3)
QUARNEL_EXPORT int QUARNEL_CDECL _LStrSprintfA(LStrHandleA dest, const char* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrSprintfW(LStrHandleW dest, const LWideChar* format, ...);
QUARNEL_PRINTF_CHECK(2, 3)
QUARNEL_EXPORT int QUARNEL_CDECL _LStrPrintfA(LStrHandleA dest, const char* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrPrintfW(LStrHandleW dest, const LWideChar* format, ...);
QUARNEL_PRINTF_CHECK(2, 0)
QUARNEL_EXPORT int QUARNEL_CDECL _LStrVPrintfA(LStrHandleA dest, const char* format, va_list args);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrVPrintfW(LStrHandleW dest, const LWideChar* format,
                                               va_list args);

/* Appends the formatted text to dest's and returns the length appended.
 * CatSprintf, CatPrintf and CatVPrintf are the same operation.
 * Arguments: dest, the handle appended to; format, the zero-terminated format
 *   (null: empty); then the arguments its conversions take, or for the
 *   CatVPrintf forms args, a va_list the caller started and ends (it is read
 *   through a copy).
 * Returns: the number of characters appended.
 * Ownership: nothing to free; format and the arguments stay the caller's.
 * Failure: a "%n": QUARNEL_EXCEPTION_CONVERT; out of memory, or a text longer
 *   than a handle can hold: QUARNEL_EXCEPTION_OUT_OF_MEMORY; dest keeps its
 *   text either way (record mode: 0).
 */
QUARNEL_PRINTF_CHECK(2, 3)
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatSprintfA(LStrHandleA dest, const char* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatSprintfW(LStrHandleW dest, const LWideChar* format, ...);
QUARNEL_PRINTF_CHECK(2, 3)
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatPrintfA(LStrHandleA dest, const char* format, ...);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatPrintfW(LStrHandleW dest, const LWideChar* format, ...);
QUARNEL_PRINTF_CHECK(2, 0)
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatVPrintfA(LStrHandleA dest, const char* format,
                                                  va_list args);
QUARNEL_EXPORT int QUARNEL_CDECL _LStrCatVPrintfW(LStrHandleW dest, const LWideChar* format,
                                                  va_list args);

/* ==== Failure status and checked handles ===================================
 * For hosts that cannot catch the exceptions described under "Failures"
 * (most languages other than C++), each thread may ask for failures to be
 * recorded instead. In record mode a call that fails returns normally: the
 * handles passed in keep their text, nothing it allocated is left behind,
 * and it returns the zero of its result type -- a null handle or pointer,
 * 0, false, a zero character, 0.0; a call without a result simply returns.
 * Since 0 is also an ordinary answer, a host tells them apart with
 * LStrGetLastFailure.
 *
 *     LStrSetFailureMode(1);
 *     int n = LStrToIntA(h);              // h holds "12x": n is 0
 *     char why[128];
 *     if (LStrGetLastFailure(why, sizeof why) == QUARNEL_EXCEPTION_CONVERT)
 *       fprintf(stderr, "%s\n", why);
 *
 * Checked handles. With QUARNEL_CHECK_HANDLES=1 in the environment when the
 * library is loaded, the library keeps a registry of the live handles and
 * every function checks its handle arguments against it: a destroyed handle
 * (a second LStrDestroyA of the same handle included), a pointer that never
 * was a handle, or a handle of the other family is refused with the failure
 * QUARNEL_EXCEPTION_INVALID_HANDLE before anything is read, raised or
 * recorded like any other failure, with a message naming the function and
 * the argument ("LStrAppendA: invalid handle argument 2"). The splitting
 * functions check the handles of their source, slots and list the same way,
 * and LStrListEndA/W every handle the list owns before releasing any. A
 * destroyed handle's record is held back from the heap among the last 16384
 * destroyed, so its address cannot come back as a new handle meanwhile.
 * Meant for hosts in development: the registry takes a lock on every call.
 * Off (the default), it costs one flag test per call.
 */

/* Sets how failures leave the calling thread's calls: 0 raise (the default:
 * exceptions as under "Failures"), 1 record. Other threads keep their own
 * mode. Returns the previous mode; any other value changes nothing and
 * returns the current mode.
 * Arguments: mode, 0 (raise) or 1 (record).
 * Returns: the thread's previous mode, or its current one when mode is
 *   refused.
 * Ownership: nothing to free.
 * Failure: never fails, and leaves the recorded failure as it was.
 */
QUARNEL_EXPORT int QUARNEL_API LStrSetFailureMode(int mode);

/* The failure of the last call the calling thread made in record mode: 0
 * when that call succeeded, otherwise its QUARNEL_EXCEPTION_* code. When
 * message is not null and capacity is positive, the failure's text (the
 * text the exception carries in raise mode; empty after a success) is
 * copied there, cut to capacity - 1 bytes and zero-terminated. Neither this
 * function nor LStrSetFailureMode changes the recorded failure.
 * Arguments: message, the caller's buffer for the text, or null; capacity, its
 *   size in bytes.
 * Returns: 0 or the failure's QUARNEL_EXCEPTION_* code.
 * Ownership: message stays the caller's; nothing to free.
 * Failure: never fails.
 */
QUARNEL_EXPORT unsigned QUARNEL_API LStrGetLastFailure(char* message, int capacity);

#ifdef __cplusplus
}  // extern "C"
#endif

#endif /* QUARNEL_QUARNEL_H */
