// Lexing and decoding. Literals are decoded here, while the code page that
// the script declared for them is known; later stages see UTF-16 only.
#include "lexer.hpp"

#include <cctype>
#include <cstdint>
#include <cstring>

#include "core/char_rules.hpp"
#include "rc_compiler.hpp"

namespace rcstrings {
namespace {

// --- Code pages ----------------------------------------------------------------

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
  const auto* bytes = reinterpret_cast<const unsigned char*>(s.data());
  for (std::size_t i = 0; i < s.size();) {
    const quarnel::chars::Utf8Step step = quarnel::chars::utf8_step(bytes + i, s.size() - i);
    if (step.valid)
      append_code_point(out, step.code_point);
    else
      out += u'\uFFFD';
    i += step.length;
  }
}

}  // namespace

void decode(unsigned code_page, std::string_view bytes, std::u16string& out) {
  if (code_page == kUtf8) return decode_utf8(bytes, out);
  for (char ch : bytes) {
    auto b = static_cast<unsigned char>(ch);
    out += b >= 0x80 && b < 0xA0 ? kCp1252[b - 0x80] : static_cast<char16_t>(b);
  }
}

namespace {

// The lexer of one line: the source tells it how literals decode and how
// messages name the file.
class LineLexer {
 public:
  explicit LineLexer(const Source& source) : source_(source) {}

  void lex(std::string_view s, Place at, bool& in_comment, std::vector<Token>& out,
           bool lenient) const {
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

 private:
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
      decode(source_.code_page, pending, units);
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

  [[noreturn]] void fail(Place at, const std::string& message) const {
    throw Error(source_.file_name, at.line, message);
  }

  const Source& source_;
};

}  // namespace

void lex(std::string_view line, Place at, const Source& source, bool& in_comment,
         std::vector<Token>& out, bool lenient) {
  LineLexer(source).lex(line, at, in_comment, out, lenient);
}

}  // namespace rcstrings
