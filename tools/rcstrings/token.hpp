// The tokens the stages pass on: the lexer makes them from a script's lines,
// the preprocessor expands them, the parser reads the statements from them.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <string>
#include <string_view>

namespace rcstrings {

enum class Kind { identifier, number, string, punct, end };

struct Token {
  Kind kind = Kind::end;
  std::string text;  // identifier, punctuator, or the source of a literal
  std::int64_t value = 0;
  std::u16string units;  // a literal's text
  int file = 0;          // index into the list of files read
  int line = 0;
};

// Where a line stands: the index of its file and its line number.
struct Place {
  int file;
  int line;
};

inline bool is_ident_start(char c) {
  return std::isalpha(static_cast<unsigned char>(c)) || c == '_';
}
inline bool is_ident_char(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_';
}

// Keywords of resource scripts are case-insensitive.
inline bool is_keyword(const Token& t, std::string_view word) {
  return t.kind == Kind::identifier && t.text.size() == word.size() &&
         std::equal(word.begin(), word.end(), t.text.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}
inline bool is_punct(const Token& t, std::string_view p) {
  return t.kind == Kind::punct && t.text == p;
}
inline bool opens_block(const Token& t) { return is_keyword(t, "BEGIN") || is_punct(t, "{"); }
inline bool closes_block(const Token& t) { return is_keyword(t, "END") || is_punct(t, "}"); }

// The token as a message names it.
inline std::string describe(const Token& t) {
  switch (t.kind) {
    case Kind::end:
      return t.text.empty() ? "end of file" : t.text;
    case Kind::string:
      return "string " + t.text;
    default:
      return "'" + t.text + "'";
  }
}

}  // namespace rcstrings
