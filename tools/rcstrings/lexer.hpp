// The first stage: one logical line of a script into tokens, with string
// literals decoded to UTF-16 under the code page in force where they stand,
// and numbers read into their values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "token.hpp"

namespace rcstrings {

// Code pages a script may be written in.
constexpr unsigned kUtf8 = 65001;
constexpr unsigned kWestern = 1252;

// Where the line comes from: its file's name (for messages) and the code
// page its literals are written in.
struct Source {
  const std::string& file_name;
  unsigned code_page;
};

// Splits one logical line into tokens, appended to `out`. `in_comment`
// carries an open block comment from one line to the next. In skipped lines
// (`lenient`) only comments matter, so odd text there is no error.
void lex(std::string_view line, Place at, const Source& source, bool& in_comment,
         std::vector<Token>& out, bool lenient = false);

// Appends the UTF-16 text of `bytes`, written in `code_page` (kUtf8 or
// kWestern).
void decode(unsigned code_page, std::string_view bytes, std::u16string& out);

}  // namespace rcstrings
