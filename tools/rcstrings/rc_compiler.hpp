// Compiles the STRINGTABLE statements of Windows resource scripts (.rc) into
// string-table blocks, so that platforms without resources can carry the
// same strings as an exported table (see QuarnelStringTable in quarnel.h).
//
// What it understands:
//  - a preprocessor: #define (object-like macros; function-like ones are
//    accepted and ignored), #undef, #include "file" and <file>, #if, #ifdef,
//    #ifndef, #elif, #else, #endif, #error, #pragma code_page(N), comments
//    and line continuations. RC_INVOKED and QUARNEL_RCSTRINGS are defined.
//    Windows SDK headers (windows.h, winres.h, ...) are skipped when no
//    include directory has them; the usual LANG_* and SUBLANG_* names are
//    known without them.
//  - STRINGTABLE [options] [LANGUAGE p, s] BEGIN id [,] "text" ... END, with
//    braces for BEGIN/END, identifiers as integer expressions over macros,
//    and adjacent literals joined.
//  - LANGUAGE p, s between statements (the default is 0x0409, U.S. English).
//  - every other resource statement is skipped.
// Text: narrow literals are bytes in the script's code page, 1252 unless
// #pragma code_page(65001) or a UTF-8 byte-order mark says UTF-8; L"..."
// literals are read the same way but their escapes give UTF-16 units.
// Escapes: \n \t \r \a \b \f \v \\ \" \' \? \xHH (\xHHHH in L"...") and
// \ooo; "" inside a literal is one quote; any other \c stays as it is.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace rcstrings {

// A fault in the input. what() reads "file:line: error: message".
class Error : public std::runtime_error {
 public:
  Error(const std::string& file, int line, const std::string& message);
};

struct Options {
  std::vector<std::string> include_dirs;
  std::vector<std::string> defines;  // "NAME" or "NAME=VALUE"
  // Reads a whole file, or gives nullopt when it cannot. Null: the disk.
  std::function<std::optional<std::string>(const std::string& path)> read_file;
};

struct Block {
  std::uint16_t number;  // identifier / 16 + 1
  std::uint16_t language;
  std::vector<std::uint16_t> units;  // 16 entries: a count, then the units
};

struct Result {
  std::vector<Block> blocks;       // by number; languages in order of first use
  std::vector<std::string> files;  // every file read
};

// Compiles `scripts` as if each were included in turn. Throws Error.
Result compile(const std::vector<std::string>& scripts, const Options& options);

// C source (valid C and C++) that defines the exported table.
std::string to_c_source(const std::vector<Block>& blocks);

}  // namespace rcstrings
