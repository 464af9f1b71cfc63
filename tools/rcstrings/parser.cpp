// STRINGTABLE [options] [LANGUAGE p, s] BEGIN id [,] "text" ... END, with
// braces for BEGIN/END, identifiers as integer expressions, and adjacent
// literals joined into one entry.
#include "parser.hpp"

#include <algorithm>
#include <array>
#include <map>
#include <optional>
#include <utility>

#include "expression.hpp"

namespace rcstrings {
namespace {

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

std::vector<Block> parse(std::vector<Token> tokens, const std::vector<std::string>& files) {
  return Parser(std::move(tokens), files).run();
}

}  // namespace rcstrings
