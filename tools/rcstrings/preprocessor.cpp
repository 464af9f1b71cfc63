// Directives: #define (object-like macros; function-like ones are accepted
// and ignored), #undef, #include, #if/#ifdef/#ifndef/#elif/#else/#endif,
// #error and #pragma code_page. Conditions are integer expressions after
// `defined` is read and macros are expanded.
#include "preprocessor.hpp"

#include <cctype>
#include <fstream>
#include <map>
#include <optional>
#include <set>
#include <sstream>
#include <string_view>
#include <utility>

#include "expression.hpp"
#include "lexer.hpp"

namespace rcstrings {
namespace {

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

  void lex(std::string_view s, Place at, bool& in_comment, std::vector<Token>& out,
           bool lenient = false) const {
    rcstrings::lex(s, at, {files[static_cast<std::size_t>(at.file)], code_page_}, in_comment, out,
                   lenient);
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

}  // namespace

Preprocessed preprocess(const std::vector<std::string>& scripts, const Options& options) {
  Preprocessor pp(options);
  for (const std::string& script : scripts) pp.run(script);
  return {std::move(pp.tokens), std::move(pp.files)};
}

}  // namespace rcstrings
