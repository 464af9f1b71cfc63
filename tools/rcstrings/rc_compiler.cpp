// Two passes: the preprocessor turns the scripts into one stream of tokens
// (macros expanded, literals already decoded to UTF-16 under the code page in
// force where they stood), then the parser walks the statements and fills
// the blocks.
#include "rc_compiler.hpp"

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>

namespace rcstrings {

Error::Error(const std::string& file, int line, const std::string& message)
    : std::runtime_error(file + (line > 0 ? ":" + std::to_string(line) : std::string()) +
                         ": error: " + message) {}

namespace {

// --- Code pages ----------------------------------------------------------------

constexpr unsigned kUtf8 = 65001;
constexpr unsigned kWestern = 1252;

// Bytes 0x80-0x9F of code page 1252; the rest of the page is Latin-1.
constexpr char16_t kCp1252[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void append_code_point(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out += static_cast<char16_t>(c);
  } else {
    c -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (c >> 10));
    out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
  }
}

// Malformed UTF-8 gives U+FFFD for each byte that cannot start or continue
// a well-formed sequence.
void decode_utf8(std::string_view s, std::u16string& out) {
  static constexpr char32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
  std::size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    int extra = b < 0x80                ? 0
                : b >= 0xC2 && b < 0xE0 ? 1
                : b >= 0xE0 && b < 0xF0 ? 2
                : b >= 0xF0 && b < 0xF5 ? 3
                                        : -1;
    bool ok = extra >= 0 && i + static_cast<std::size_t>(extra) < s.size();
    char32_t c = ok ? b & (0x7Fu >> (extra ? extra + 1 : 0)) : 0;
    for (int k = 1; ok && k <= extra; ++k) {
      auto t = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      ok = (t & 0xC0) == 0x80;
      c = (c << 6) | (t & 0x3Fu);
    }
    if (ok && (c < kLeast[extra] || (c >= 0xD800 && c < 0xE000) || c > 0x10FFFF)) ok = false;
    if (!ok) {
      out += u'\uFFFD';
      ++i;
      continue;
    }
    append_code_point(out, c);
    i += static_cast<std::size_t>(extra) + 1;
  }
}

void decode(unsigned code_page, std::string_view bytes, std::u16string& out) {
  if (code_page == kUtf8) return decode_utf8(bytes, out);
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    out += b >= 0x80 && b < 0xA0 ? kCp1252[b - 0x80] : static_cast<char16_t>(b);
  }
}

// --- Tokens ----------------------------------------------------------------------

enum class Kind { identifier, number, string, punct, end };

struct Token {
  Kind kind = Kind::end;
  std::string text;  // identifier, punctuator, or the source of a literal
  std::int64_t value = 0;
  std::u16string units;  // a literal's text
  int file = 0;
  int line = 0;
};

bool is_ident_start(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool is_ident_char(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool same_word(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::toupper(static_cast<unsigned char>(x)) ==
                  std::toupper(static_cast<unsigned char>(y));
         });
}

bool is_keyword(const Token& t, std::string_view word) {
  return t.kind == Kind::identifier && same_word(t.text, word);
}
bool is_punct(const Token& t, std::string_view p) { return t.kind == Kind::punct && t.text == p; }
bool opens_block(const Token& t) { return is_keyword(t, "BEGIN") || is_punct(t, "{"); }
bool closes_block(const Token& t) { return is_keyword(t, "END") || is_punct(t, "}"); }

std::string describe(const Token& t) {
  switch (t.kind) {
    case Kind::end:
      return t.text.empty() ? "end of file" : t.text;
    case Kind::string:
      return "string " + t.text;
    default:
      return "'" + t.text + "'";
  }
}

// --- Integer expressions -------------------------------------------------------
// C's operators and precedence, over numbers, parentheses and identifiers
// that the caller resolves. Stops at the first token that cannot continue
// the expression.

class Expression {
 public:
  using Resolve = std::function<std::int64_t(const Token&)>;
  Expression(const std::vector<Token>& tokens, std::size_t& pos, Resolve resolve,
             std::function<const std::string&(int)> file_name)
      : t_(tokens), pos_(pos), resolve_(std::move(resolve)), file_name_(std::move(file_name)) {}

  std::int64_t parse(int min_precedence = 1) {
    std::int64_t left = unary();
    for (;;) {
      const Token& op = peek();
      int p = op.kind == Kind::punct ? precedence(op.text) : 0;
      if (p < min_precedence) return left;
      ++pos_;
      std::int64_t right = parse(p + 1);
      left = apply(op, left, right);
    }
  }

 private:
  static int precedence(const std::string& op) {
    static const std::map<std::string, int> table = {
        {"||", 1}, {"&&", 2}, {"|", 3},  {"^", 4},  {"&", 5},  {"==", 6},
        {"!=", 6}, {"<", 7},  {"<=", 7}, {">", 7},  {">=", 7}, {"<<", 8},
        {">>", 8}, {"+", 9},  {"-", 9},  {"*", 10}, {"/", 10}, {"%", 10}};
    auto it = table.find(op);
    return it == table.end() ? 0 : it->second;
  }

  const Token& peek() const { return t_[std::min(pos_, t_.size() - 1)]; }

  [[noreturn]] void fail(const Token& at, const std::string& message) const {
    throw Error(file_name_(at.file), at.line, message);
  }

  std::int64_t unary() {
    const Token& t = peek();
    if (t.kind == Kind::punct &&
        (t.text == "-" || t.text == "+" || t.text == "~" || t.text == "!")) {
      ++pos_;
      std::int64_t v = unary();
      return t.text == "-" ? -v : t.text == "+" ? v : t.text == "~" ? ~v : !v;
    }
    if (is_punct(t, "(")) {
      ++pos_;
      std::int64_t v = parse();
      if (!is_punct(peek(), ")")) fail(peek(), "expected ')' but found " + describe(peek()));
      ++pos_;
      return v;
    }
    if (t.kind == Kind::number) {
      ++pos_;
      return t.value;
    }
    if (t.kind == Kind::identifier) {
      ++pos_;
      return resolve_(t);
    }
    fail(t, "expected a number but found " + describe(t));
  }

  std::int64_t apply(const Token& op, std::int64_t a, std::int64_t b) const {
    const std::string& o = op.text;
    if ((o == "/" || o == "%") && b == 0) fail(op, "division by zero");
    if (o == "||") return a || b;
    if (o == "&&") return a && b;
    if (o == "|") return a | b;
    if (o == "^") return a ^ b;
    if (o == "&") return a & b;
    if (o == "==") return a == b;
    if (o == "!=") return a != b;
    if (o == "<") return a < b;
    if (o == "<=") return a <= b;
    if (o == ">") return a > b;
    if (o == ">=") return a >= b;
    if (o == "<<") return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) << (b & 63));
    if (o == ">>") return a >> (b & 63);
    if (o == "+") return a + b;
    if (o == "-") return a - b;
    if (o == "*") return a * b;
    if (o == "/") return a / b;
    return a % b;
  }

  const std::vector<Token>& t_;
  std::size_t& pos_;
  Resolve resolve_;
  std::function<const std::string&(int)> file_name_;
};

// --- Preprocessor ------------------------------------------------------------------

const std::set<std::string>& sdk_headers() {
  static const std::set<std::string> names = {"afxres.h",  "commctrl.h", "dlgs.h",    "richedit.h",
                                              "verrsrc.h", "windef.h",   "windows.h", "winnt.h",
                                              "winres.h",  "winresrc.h", "winuser.h", "winver.h"};
  return names;
}

std::string lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

std::string directory_of(const std::string& path) {
  std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::optional<std::string> read_from_disk(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

class Preprocessor {
 public:
  explicit Preprocessor(const Options& options) : options_(options) {
    if (!options_.read_file) options_.read_file = read_from_disk;
    define_from_text("RC_INVOKED=1");
    define_from_text("QUARNEL_RCSTRINGS=1");
    for (const std::string& d : options.defines) define_from_text(d);
  }

  void run(const std::string& script) {
    std::optional<std::string> text = options_.read_file(script);
    if (!text) throw Error(script, 0, "cannot read the file");
    process(script, *text);
  }

  std::vector<Token> tokens;
  std::vector<std::string> files;

 private:
  struct Macro {
    std::vector<Token> body;
    bool function_like = false;
  };
  struct Conditional {
    bool active;  // this branch is being read
    bool taken;   // some branch of the group was (or cannot be) taken
    bool seen_else;
    int line;
  };
  struct Place {
    int file;
    int line;
  };

  [[noreturn]] void fail(Place at, const std::string& message) const {
    throw Error(files[static_cast<std::size_t>(at.file)], at.line, message);
  }

  void define_from_text(const std::string& definition) {
    std::size_t eq = definition.find('=');
    std::string name = definition.substr(0, eq);
    std::string value = eq == std::string::npos ? "1" : definition.substr(eq + 1);
    Macro m;
    bool in_comment = false;
    files.push_back("<command line>");
    lex(value, {static_cast<int>(files.size()) - 1, 1}, in_comment, m.body);
    files.pop_back();
    macros_[name] = std::move(m);
  }

  void process(const std::string& path, std::string_view text) {
    if (++depth_ > 64) fail({static_cast<int>(files.size()) - 1, 0}, "#include nested too deeply");
    files.push_back(path);
    int file = static_cast<int>(files.size()) - 1;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
      code_page_ = kUtf8;
      text.remove_prefix(3);
    } else if (text.substr(0, 2) == "\xFF\xFE" || text.substr(0, 2) == "\xFE\xFF") {
      fail({file, 1},
           "UTF-16 scripts are not supported; save it as UTF-8 and add "
           "#pragma code_page(65001)");
    }
    std::vector<Conditional> conditionals;
    bool in_comment = false;
    int comment_line = 0;
    std::size_t pos = 0;
    int next_line = 1;
    while (pos < text.size()) {
      // One logical line: physical lines joined where one ends in '\'.
      int line = next_line;
      std::string logical;
      for (;;) {
        std::size_t eol = text.find('\n', pos);
        std::string_view piece =
            text.substr(pos, eol == std::string_view::npos ? std::string_view::npos : eol - pos);
        pos = eol == std::string_view::npos ? text.size() : eol + 1;
        ++next_line;
        if (!piece.empty() && piece.back() == '\r') piece.remove_suffix(1);
        if (!piece.empty() && piece.back() == '\\' && pos < text.size()) {
          logical.append(piece.substr(0, piece.size() - 1));
          continue;
        }
        logical.append(piece);
        break;
      }
      bool active = conditionals.empty() || conditionals.back().active;
      std::size_t first = logical.find_first_not_of(" \t\f\v");
      if (!in_comment && first != std::string::npos && logical[first] == '#') {
        directive(std::string_view(logical).substr(first + 1), {file, line}, conditionals,
                  in_comment);
        if (in_comment) comment_line = line;
        continue;
      }
      bool was_in_comment = in_comment;
      std::vector<Token> raw;
      lex(logical, {file, line}, in_comment, raw, !active);
      if (in_comment && !was_in_comment) comment_line = line;
      if (!active) continue;
      std::set<std::string> expanding;
      for (const Token& t : raw) expand(t, {file, line}, expanding, tokens);
    }
    if (in_comment) fail({file, comment_line}, "unterminated comment");
    if (!conditionals.empty()) fail({file, conditionals.back().line}, "#if without #endif");
    --depth_;
  }

  // Splits one logical line into tokens. In skipped lines (`lenient`) only
  // comments matter, so odd text there is no error.
  void lex(std::string_view s, Place at, bool& in_comment, std::vector<Token>& out,
           bool lenient = false) const {
    std::size_t i = 0;
    while (i < s.size()) {
      if (in_comment) {
        std::size_t close = s.find("*/", i);
        if (close == std::string_view::npos) return;
        in_comment = false;
        i = close + 2;
        continue;
      }
      char c = s[i];
      char next = i + 1 < s.size() ? s[i + 1] : '\0';
      if (std::isspace(static_cast<unsigned char>(c))) {
        ++i;
      } else if (c == '/' && next == '/') {
        return;
      } else if (c == '/' && next == '*') {
        in_comment = true;
        i += 2;
      } else if (c == '"' || ((c == 'L' || c == 'l') && next == '"')) {
        bool wide = c != '"';
        std::size_t start = i;
        Token t{Kind::string, "", 0, {}, at.file, at.line};
        if (lenient) {
          i = skip_literal(s, i + (wide ? 2 : 1));
        } else {
          i = literal(s, i + (wide ? 2 : 1), wide, at, t.units);
        }
        t.text = std::string(s.substr(start, i - start));
        out.push_back(std::move(t));
      } else if (std::isdigit(static_cast<unsigned char>(c))) {
        std::size_t start = i;
        while (i < s.size() && (is_ident_char(s[i]))) ++i;
        Token t{Kind::number, std::string(s.substr(start, i - start)), 0, {}, at.file, at.line};
        if (!lenient) t.value = number(t.text, at);
        out.push_back(std::move(t));
      } else if (is_ident_start(c)) {
        std::size_t start = i;
        while (i < s.size() && is_ident_char(s[i])) ++i;
        out.push_back(
            {Kind::identifier, std::string(s.substr(start, i - start)), 0, {}, at.file, at.line});
      } else {
        static const char* const pairs[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||", "##"};
        std::size_t n = 1;
        for (const char* p : pairs)
          if (s.substr(i, 2) == p) n = 2;
        out.push_back({Kind::punct, std::string(s.substr(i, n)), 0, {}, at.file, at.line});
        i += n;
      }
    }
  }

  std::int64_t number(const std::string& text, Place at) const {
    std::size_t end = text.size();
    while (end > 0 && std::strchr("uUlL", text[end - 1])) --end;
    std::string digits = text.substr(0, end);
    int base = 10;
    std::size_t skip = 0;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
      base = 16;
      skip = 2;
    } else if (digits.size() > 1 && digits[0] == '0') {
      base = 8;
      skip = 1;
    }
    std::uint64_t value = 0;
    bool ok = skip < digits.size() || base == 10;
    for (std::size_t k = skip; ok && k < digits.size(); ++k) {
      int d = std::isdigit(static_cast<unsigned char>(digits[k])) ? digits[k] - '0'
              : std::isxdigit(static_cast<unsigned char>(digits[k]))
                  ? std::tolower(static_cast<unsigned char>(digits[k])) - 'a' + 10
                  : 99;
      ok = d < base && value <= (UINT64_MAX >> 4);
      value = value * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
    if (!ok || digits.empty()) fail(at, "malformed number '" + text + "'");
    return static_cast<std::int64_t>(value);
  }

  static std::size_t skip_literal(std::string_view s, std::size_t i) {
    while (i < s.size()) {
      if (s[i] == '\\') {
        i += 2;
      } else if (s[i] == '"') {
        if (i + 1 < s.size() && s[i + 1] == '"') {
          i += 2;
        } else {
          return i + 1;
        }
      } else {
        ++i;
      }
    }
    return s.size();
  }

  // Reads a literal's body from s[i] up to and including its closing quote
  // into `units`; returns the position after the quote.
  std::size_t literal(std::string_view s, std::size_t i, bool wide, Place at,
                      std::u16string& units) const {
    std::string pending;  // bytes still to decode under the code page
    auto flush = [&] {
      decode(code_page_, pending, units);
      pending.clear();
    };
    for (;;) {
      if (i >= s.size()) fail(at, "unterminated string literal");
      char c = s[i];
      if (c == '"') {
        if (i + 1 < s.size() && s[i + 1] == '"') {
          pending += '"';
          i += 2;
          continue;
        }
        flush();
        return i + 1;
      }
      if (c != '\\' || i + 1 >= s.size()) {
        pending += c;
        ++i;
        continue;
      }
      char e = s[i + 1];
      i += 2;
      static const std::string_view simple = "n\nt\tr\ra\ab\bf\fv\v\\\\\"\"''??";
      std::size_t found = std::string_view::npos;
      for (std::size_t k = 0; k < simple.size(); k += 2)
        if (simple[k] == e) found = k;
      if (found != std::string_view::npos) {
        pending += simple[found + 1];
        continue;
      }
      unsigned value = 0;
      int digits = 0;
      if (e == 'x' || e == 'X') {
        int most = wide ? 4 : 2;
        while (digits < most && i < s.size() && std::isxdigit(static_cast<unsigned char>(s[i]))) {
          char h = static_cast<char>(std::tolower(static_cast<unsigned char>(s[i++])));
          value = value * 16 + static_cast<unsigned>(h <= '9' ? h - '0' : h - 'a' + 10);
          ++digits;
        }
        if (digits == 0) fail(at, "\\x used with no following hex digits");
      } else if (e >= '0' && e <= '7') {
        value = static_cast<unsigned>(e - '0');
        for (digits = 1; digits < 3 && i < s.size() && s[i] >= '0' && s[i] <= '7'; ++digits)
          value = value * 8 + static_cast<unsigned>(s[i++] - '0');
      } else {
        pending += '\\';
        pending += e;
        continue;
      }
      if (wide) {
        flush();
        units += static_cast<char16_t>(value & 0xFFFF);
      } else {
        pending += static_cast<char>(value & 0xFF);
      }
    }
  }

  void expand(const Token& t, Place at, std::set<std::string>& expanding,
              std::vector<Token>& out) const {
    if (t.kind == Kind::identifier) {
      auto it = macros_.find(t.text);
      if (it != macros_.end() && !it->second.function_like && !expanding.count(t.text)) {
        expanding.insert(t.text);
        for (Token b : it->second.body) {
          b.file = at.file;
          b.line = at.line;
          expand(b, at, expanding, out);
        }
        expanding.erase(t.text);
        return;
      }
    }
    out.push_back(t);
  }

  void directive(std::string_view rest, Place at, std::vector<Conditional>& conditionals,
                 bool& in_comment) {
    std::size_t k = 0;
    while (k < rest.size() && (rest[k] == ' ' || rest[k] == '\t')) ++k;
    std::size_t name_end = k;
    while (name_end < rest.size() && is_ident_char(rest[name_end])) ++name_end;
    std::string name(rest.substr(k, name_end - k));
    std::string_view args = rest.substr(name_end);
    bool parent_active = conditionals.empty() || conditionals.back().active;

    if (name == "if" || name == "ifdef" || name == "ifndef") {
      bool value = parent_active && condition(name, args, at);
      conditionals.push_back({value, value || !parent_active, false, at.line});
      return;
    }
    if (name == "elif" || name == "else") {
      if (conditionals.empty()) fail(at, "#" + name + " without #if");
      Conditional& c = conditionals.back();
      if (c.seen_else) fail(at, "#" + name + " after #else");
      bool outer = conditionals.size() < 2 || conditionals[conditionals.size() - 2].active;
      bool value = outer && !c.taken && (name == "else" || condition("if", args, at));
      c.active = value;
      c.taken = c.taken || value;
      c.seen_else = name == "else";
      return;
    }
    if (name == "endif") {
      if (conditionals.empty()) fail(at, "#endif without #if");
      conditionals.pop_back();
      return;
    }
    if (!parent_active) return;

    std::vector<Token> words;
    if (name == "define" || name == "undef") {
      std::size_t p = args.find_first_not_of(" \t");
      std::size_t e = p;
      while (e != std::string_view::npos && e < args.size() && is_ident_char(args[e])) ++e;
      if (p == std::string_view::npos || e == p || !is_ident_start(args[p]))
        fail(at, "#" + name + " needs a macro name");
      std::string macro(args.substr(p, e - p));
      if (name == "undef") {
        macros_.erase(macro);
        return;
      }
      Macro m;
      m.function_like = e < args.size() && args[e] == '(';
      lex(args.substr(e), at, in_comment, m.body, m.function_like);
      macros_[macro] = std::move(m);
    } else if (name == "include") {
      include(args, at);
    } else if (name == "pragma") {
      lex(args, at, in_comment, words);
      if (!words.empty() && words[0].text == "code_page") pragma_code_page(words, at);
    } else if (name == "error") {
      std::size_t p = args.find_first_not_of(" \t");
      fail(at, "#error" + (p == std::string_view::npos ? "" : " " + std::string(args.substr(p))));
    } else if (name != "" && name != "line" && name != "warning" && name != "ident") {
      fail(at, "unknown directive #" + name);
    }
  }

  bool condition(const std::string& kind, std::string_view args, Place at) const {
    bool in_comment = false;
    std::vector<Token> raw;
    lex(args, at, in_comment, raw);
    if (kind != "if") {
      if (raw.empty() || raw[0].kind != Kind::identifier) fail(at, "#" + kind + " needs a name");
      return macros_.count(raw[0].text) == (kind == "ifdef" ? 1u : 0u);
    }
    // `defined NAME` and `defined(NAME)` are read before any expansion.
    std::vector<Token> expr;
    std::set<std::string> expanding;
    for (std::size_t i = 0; i < raw.size(); ++i) {
      if (raw[i].kind == Kind::identifier && raw[i].text == "defined") {
        bool paren = i + 1 < raw.size() && is_punct(raw[i + 1], "(");
        std::size_t n = i + (paren ? 2 : 1);
        if (n >= raw.size() || raw[n].kind != Kind::identifier ||
            (paren && (n + 1 >= raw.size() || !is_punct(raw[n + 1], ")"))))
          fail(at, "malformed 'defined' in #if");
        expr.push_back(
            {Kind::number, "", macros_.count(raw[n].text) ? 1 : 0, {}, at.file, at.line});
        i = n + (paren ? 1 : 0);
      } else {
        expand(raw[i], at, expanding, expr);
      }
    }
    if (expr.empty()) fail(at, "#if needs an expression");
    expr.push_back({Kind::end, "end of line", 0, {}, at.file, at.line});
    std::size_t pos = 0;
    Expression e(
        expr, pos, [](const Token&) { return std::int64_t{0}; },
        [this](int f) -> const std::string& { return files[static_cast<std::size_t>(f)]; });
    std::int64_t value = e.parse();
    if (expr[pos].kind != Kind::end) fail(at, "unexpected " + describe(expr[pos]) + " in #if");
    return value != 0;
  }

  void include(std::string_view args, Place at) {
    std::size_t p = args.find_first_not_of(" \t");
    char open = p == std::string_view::npos ? '\0' : args[p];
    char close = open == '"' ? '"' : open == '<' ? '>' : '\0';
    std::size_t end = close ? args.find(close, p + 1) : std::string_view::npos;
    if (end == std::string_view::npos) fail(at, "#include expects \"file\" or <file>");
    std::string name(args.substr(p + 1, end - p - 1));
    std::vector<std::string> candidates;
    if (open == '"')
      candidates.push_back(directory_of(files[static_cast<std::size_t>(at.file)]) + name);
    for (const std::string& dir : options_.include_dirs)
      candidates.push_back(dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name);
    for (const std::string& path : candidates) {
      if (std::optional<std::string> text = options_.read_file(path)) {
        process(path, *text);
        return;
      }
    }
    std::string base = name.substr(name.find_last_of("/\\") + 1);
    if (sdk_headers().count(lower(base))) return;
    fail(at, "cannot find include file '" + name + "'");
  }

  void pragma_code_page(const std::vector<Token>& w, Place at) {
    if (w.size() != 4 || !is_punct(w[1], "(") || !is_punct(w[3], ")"))
      fail(at, "malformed #pragma code_page: expected code_page(number)");
    if (is_keyword(w[2], "DEFAULT")) {
      code_page_ = kWestern;
      return;
    }
    if (w[2].kind != Kind::number || (w[2].value != kUtf8 && w[2].value != kWestern))
      fail(at, "code page " + w[2].text + " is not supported: use 65001 (UTF-8) or 1252");
    code_page_ = static_cast<unsigned>(w[2].value);
  }

  Options options_;
  std::map<std::string, Macro> macros_;
  unsigned code_page_ = kWestern;
  int depth_ = 0;
};

// --- Statements ----------------------------------------------------------------------

// Language names of the Windows SDK headers, which scripts use in LANGUAGE
// statements but which are not read here.
const std::map<std::string, std::int64_t>& language_names() {
  static const std::map<std::string, std::int64_t> names = {
      {"LANG_NEUTRAL", 0x00},
      {"LANG_INVARIANT", 0x7F},
      {"LANG_ARABIC", 0x01},
      {"LANG_BULGARIAN", 0x02},
      {"LANG_CATALAN", 0x03},
      {"LANG_CHINESE", 0x04},
      {"LANG_CZECH", 0x05},
      {"LANG_DANISH", 0x06},
      {"LANG_GERMAN", 0x07},
      {"LANG_GREEK", 0x08},
      {"LANG_ENGLISH", 0x09},
      {"LANG_SPANISH", 0x0A},
      {"LANG_FINNISH", 0x0B},
      {"LANG_FRENCH", 0x0C},
      {"LANG_HEBREW", 0x0D},
      {"LANG_HUNGARIAN", 0x0E},
      {"LANG_ICELANDIC", 0x0F},
      {"LANG_ITALIAN", 0x10},
      {"LANG_JAPANESE", 0x11},
      {"LANG_KOREAN", 0x12},
      {"LANG_DUTCH", 0x13},
      {"LANG_NORWEGIAN", 0x14},
      {"LANG_POLISH", 0x15},
      {"LANG_PORTUGUESE", 0x16},
      {"LANG_ROMANIAN", 0x18},
      {"LANG_RUSSIAN", 0x19},
      {"LANG_CROATIAN", 0x1A},
      {"LANG_SLOVAK", 0x1B},
      {"LANG_SWEDISH", 0x1D},
      {"LANG_THAI", 0x1E},
      {"LANG_TURKISH", 0x1F},
      {"LANG_UKRAINIAN", 0x22},
      {"LANG_SLOVENIAN", 0x24},
      {"LANG_VIETNAMESE", 0x2A},
      {"SUBLANG_NEUTRAL", 0x00},
      {"SUBLANG_DEFAULT", 0x01},
      {"SUBLANG_SYS_DEFAULT", 0x02},
      {"SUBLANG_ENGLISH_US", 0x01},
      {"SUBLANG_ENGLISH_UK", 0x02},
      {"SUBLANG_GERMAN", 0x01},
      {"SUBLANG_GERMAN_SWISS", 0x02},
      {"SUBLANG_GERMAN_AUSTRIAN", 0x03},
      {"SUBLANG_FRENCH", 0x01},
      {"SUBLANG_FRENCH_BELGIAN", 0x02},
      {"SUBLANG_FRENCH_CANADIAN", 0x03},
      {"SUBLANG_FRENCH_SWISS", 0x04},
      {"SUBLANG_SPANISH", 0x01},
      {"SUBLANG_SPANISH_MEXICAN", 0x02},
      {"SUBLANG_SPANISH_MODERN", 0x03},
      {"SUBLANG_ITALIAN", 0x01},
      {"SUBLANG_DUTCH", 0x01},
      {"SUBLANG_PORTUGUESE", 0x02},
      {"SUBLANG_PORTUGUESE_BRAZILIAN", 0x01},
      {"SUBLANG_CHINESE_TRADITIONAL", 0x01},
      {"SUBLANG_CHINESE_SIMPLIFIED", 0x02},
      {"SUBLANG_JAPANESE_JAPAN", 0x01},
      {"SUBLANG_KOREAN", 0x01},
  };
  return names;
}

class Parser {
 public:
  Parser(std::vector<Token> tokens, const std::vector<std::string>& files)
      : t_(std::move(tokens)), files_(files) {
    t_.push_back(
        {Kind::end, "", 0, {}, t_.empty() ? 0 : t_.back().file, t_.empty() ? 0 : t_.back().line});
  }

  std::vector<Block> run() {
    while (peek().kind != Kind::end) {
      const Token& t = peek();
      if (is_keyword(t, "LANGUAGE")) {
        ++pos_;
        language_ = language();
      } else if (is_keyword(t, "STRINGTABLE")) {
        ++pos_;
        string_table(t);
      } else if (is_keyword(t, "VERSION") || is_keyword(t, "CHARACTERISTICS")) {
        ++pos_;
        integer(false);
      } else {
        skip_resource();
      }
    }
    return blocks();
  }

 private:
  struct Entry {
    std::u16string text;
    int file;
    int line;
  };
  struct Table {
    std::array<std::optional<Entry>, 16> entries;
  };

  const Token& peek() const { return t_[pos_]; }
  const Token& take() { return t_[pos_ < t_.size() - 1 ? pos_++ : pos_]; }

  [[noreturn]] void fail(const Token& at, const std::string& message) const {
    throw Error(files_[static_cast<std::size_t>(at.file)], at.line, message);
  }

  std::int64_t integer(bool language_names_allowed) {
    Expression e(
        t_, pos_,
        [this, language_names_allowed](const Token& name) -> std::int64_t {
          if (language_names_allowed) {
            auto it = language_names().find(name.text);
            if (it != language_names().end()) return it->second;
          }
          fail(name, "unknown identifier '" + name.text + "'");
        },
        [this](int f) -> const std::string& { return files_[static_cast<std::size_t>(f)]; });
    return e.parse();
  }

  std::uint16_t language() {
    const Token& at = peek();
    std::int64_t primary = integer(true);
    if (!is_punct(peek(), ","))
      fail(peek(), "expected ',' in LANGUAGE but found " + describe(peek()));
    ++pos_;
    std::int64_t sub = integer(true);
    if (primary < 0 || primary > 0x3FF || sub < 0 || sub > 0x3F)
      fail(at,
           "LANGUAGE " + std::to_string(primary) + ", " + std::to_string(sub) + " is out of range");
    return static_cast<std::uint16_t>(sub << 10 | primary);
  }

  static bool memory_option(const Token& t) {
    for (const char* word : {"DISCARDABLE", "PURE", "IMPURE", "MOVEABLE", "FIXED", "PRELOAD",
                             "LOADONCALL", "SHARED", "NONSHARED"})
      if (is_keyword(t, word)) return true;
    return false;
  }

  void string_table(const Token& start) {
    std::uint16_t lang = language_;
    for (;;) {
      if (memory_option(peek())) {
        ++pos_;
      } else if (is_keyword(peek(), "LANGUAGE")) {
        ++pos_;
        lang = language();
      } else if (is_keyword(peek(), "VERSION") || is_keyword(peek(), "CHARACTERISTICS")) {
        ++pos_;
        integer(false);
      } else {
        break;
      }
    }
    if (!opens_block(peek()))
      fail(peek().kind == Kind::end ? start : peek(),
           "expected BEGIN or '{' after STRINGTABLE but found " + describe(peek()));
    ++pos_;
    for (;;) {
      const Token& at = peek();
      if (at.kind == Kind::end) fail(start, "STRINGTABLE has no END");
      if (closes_block(at)) {
        ++pos_;
        return;
      }
      if (at.kind == Kind::string) fail(at, "expected a string identifier before " + describe(at));
      std::int64_t id = integer(false);
      if (is_punct(peek(), ",")) ++pos_;
      if (peek().kind != Kind::string)
        fail(peek().kind == Kind::end ? at : peek(), "expected a string after identifier " +
                                                         std::to_string(id) + " but found " +
                                                         describe(peek()));
      Entry entry{{}, at.file, at.line};
      while (peek().kind == Kind::string) entry.text += take().units;
      if (id < 0 || id > 0xFFFF)
        fail(at, "string identifier " + std::to_string(id) + " is out of range 0-65535");
      if (entry.text.size() > 0xFFFF)
        fail(at, "string " + std::to_string(id) + " is longer than 65535 UTF-16 units");
      add(lang, static_cast<unsigned>(id), std::move(entry), at);
    }
  }

  void add(std::uint16_t lang, unsigned id, Entry entry, const Token& at) {
    if (std::find(languages_.begin(), languages_.end(), lang) == languages_.end())
      languages_.push_back(lang);
    std::optional<Entry>& slot = tables_[{id / 16 + 1, lang}].entries[id % 16];
    if (slot)
      fail(at, "string identifier " + std::to_string(id) + " is already defined at " +
                   files_[static_cast<std::size_t>(slot->file)] + ":" + std::to_string(slot->line));
    slot = std::move(entry);
  }

  // Skips a resource statement other than a string table: a name, a type,
  // then either a block (after header lines for the types that have them)
  // or the rest of the line (a file name and options).
  void skip_resource() {
    const Token& name = take();
    if (name.kind == Kind::punct) fail(name, "unexpected " + describe(name));
    const Token& type = take();
    if (type.kind == Kind::end) fail(name, "expected a resource type after " + describe(name));
    if (type.kind == Kind::punct)
      fail(type, "unexpected " + describe(type) + " after resource name " + describe(name));
    for (const char* word :
         {"DIALOG", "DIALOGEX", "MENU", "MENUEX", "VERSIONINFO", "ACCELERATORS", "TOOLBAR"}) {
      if (!is_keyword(type, word)) continue;
      while (!opens_block(peek())) {
        if (peek().kind == Kind::end) fail(type, type.text + " has no BEGIN");
        ++pos_;
      }
      skip_block();
      return;
    }
    while (memory_option(peek())) ++pos_;
    if (opens_block(peek())) {
      skip_block();
      return;
    }
    if (peek().kind == Kind::end || peek().file != type.file || peek().line != type.line)
      fail(type, "expected a file name or BEGIN after resource type " + describe(type));
    int file = type.file;
    int line = type.line;
    while (peek().kind != Kind::end && peek().file == file && peek().line == line) ++pos_;
  }

  void skip_block() {
    const Token& open = take();
    int depth = 1;
    while (depth > 0) {
      const Token& t = take();
      if (t.kind == Kind::end) fail(open, "BEGIN without END");
      if (opens_block(t)) ++depth;
      if (closes_block(t)) --depth;
    }
  }

  std::vector<Block> blocks() const {
    std::vector<Block> out;
    for (const auto& [key, table] : tables_) {
      Block b{static_cast<std::uint16_t>(key.first), key.second, {}};
      for (const std::optional<Entry>& e : table.entries) {
        std::size_t n = e ? e->text.size() : 0;
        b.units.push_back(static_cast<std::uint16_t>(n));
        if (e) b.units.insert(b.units.end(), e->text.begin(), e->text.end());
      }
      out.push_back(std::move(b));
    }
    auto rank = [this](std::uint16_t lang) {
      return std::find(languages_.begin(), languages_.end(), lang) - languages_.begin();
    };
    std::stable_sort(out.begin(), out.end(), [&](const Block& a, const Block& b) {
      return a.number != b.number ? a.number < b.number : rank(a.language) < rank(b.language);
    });
    return out;
  }

  std::vector<Token> t_;
  const std::vector<std::string>& files_;
  std::size_t pos_ = 0;
  std::uint16_t language_ = 0x0409;
  std::vector<std::uint16_t> languages_;
  std::map<std::pair<unsigned, std::uint16_t>, Table> tables_;
};

}  // namespace

Result compile(const std::vector<std::string>& scripts, const Options& options) {
  Preprocessor pp(options);
  for (const std::string& script : scripts) pp.run(script);
  Parser parser(std::move(pp.tokens), pp.files);
  Result result;
  result.blocks = parser.run();
  std::set<std::string> seen;
  for (const std::string& f : pp.files)
    if (seen.insert(f).second) result.files.push_back(f);
  return result;
}

std::string to_c_source(const std::vector<Block>& blocks) {
  std::string out =
      "/* String tables compiled from .rc files by quarnel-rcstrings. Do not edit. */\n"
      "#include <stdint.h>\n\n"
      "struct quarnel_string_block_ {\n"
      "  uint16_t block;\n  uint16_t language;\n  uint32_t size;\n  const uint16_t* data;\n};\n\n"
      "struct quarnel_string_table_ {\n"
      "  uint32_t version;\n  uint32_t count;\n"
      "  const struct quarnel_string_block_* blocks;\n};\n\n";
  char buf[64];
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    std::snprintf(buf, sizeof buf, "static const uint16_t quarnel_block_%zu_[] = {", i);
    out += buf;
    for (std::size_t k = 0; k < blocks[i].units.size(); ++k) {
      std::snprintf(buf, sizeof buf, "%s0x%04x",
                    k == 0   ? "\n    "
                    : k % 12 ? ", "
                             : ",\n    ",
                    static_cast<unsigned>(blocks[i].units[k]));
      out += buf;
    }
    out += "};\n";
  }
  if (!blocks.empty()) {
    out += "\nstatic const struct quarnel_string_block_ quarnel_blocks_[] = {\n";
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      std::snprintf(buf, sizeof buf, "    {%u, 0x%04x, %zu, quarnel_block_%zu_},\n",
                    static_cast<unsigned>(blocks[i].number),
                    static_cast<unsigned>(blocks[i].language), blocks[i].units.size() * 2, i);
      out += buf;
    }
    out += "};\n";
  }
  out +=
      "\n#if defined(__cplusplus)\nextern \"C\"\n#endif\n"
      "#if defined(__GNUC__)\n__attribute__((visibility(\"default\")))\n#endif\n"
      "const struct quarnel_string_table_ quarnel_string_table = {1, ";
  out += std::to_string(blocks.size());
  out += blocks.empty() ? ", (const struct quarnel_string_block_*)0};\n" : ", quarnel_blocks_};\n";
  return out;
}

}  // namespace rcstrings
