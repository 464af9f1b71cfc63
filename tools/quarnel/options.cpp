#include "options.hpp"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>

#include "samples.inc"

namespace qtool {
namespace {

const Command kCommands[] = {
    {"sep", Mode::sep, "split at a separator character", "people.csv", kSamplePeople,
     "  -d, --separator=C   the separator character (default ','; \\t for a tab)\n"
     "  -t, --trim          remove blanks (codes 0-32) around each field\n"
     "  -s, --select=LIST   fields to write, by number or range, e.g. 2 or 1,3-4,6-\n"
     "                      (a field the line lacks is written empty)\n"},
    {"csv", Mode::csv, "read CSV: quoted fields, a header, chosen columns", "people.csv",
     kSamplePeople,
     "  -d, --separator=C   the separator character (default ',')\n"
     "  -H, --header        the first record names the columns\n"
     "  -s, --select=LIST   columns to write, by number, range or header name,\n"
     "                      e.g. 1,3-4,6- or name,city\n"
     "      --lenient       keep stray and unclosed quotes as written instead of\n"
     "                      stopping with FILE:LINE: error\n"},
    {"fixed", Mode::fixed, "split by field widths", "stock.txt", kSampleStock,
     "  -w, --widths=LIST   field widths in characters, e.g. 5,10,5,-1 (a negative\n"
     "                      width takes the rest of the line)\n"
     "  -t, --trim          remove blanks (codes 0-32) around each field\n"},
    {"columns", Mode::columns, "split by column ranges", "stock.txt", kSampleStock,
     "  -c, --columns=LIST  character column ranges from 1, e.g. 1-4,6-14,21-\n"
     "                      (N alone is one column; N- runs to the end)\n"
     "  -t, --trim          remove blanks (codes 0-32) around each field\n"},
    {"named", Mode::named, "split configuration lines into name and value", "settings.ini",
     kSampleSettings,
     "  -d, --separator=C   the separator character (default '=')\n"
     "  -t, --trim          remove blanks (codes 0-32) around name and value\n"
     "  -u, --unquote       drop the quotes around a value \"like this\" or 'this'\n"
     "Lines starting with ';' or '#' are comments and blank lines are skipped.\n"
     "After a [section] line, names are written as section.name.\n"},
};

constexpr const char* kCommon =
    "  -f, --format=FMT    text (fields joined by ' | '), tsv (tabs, line breaks and\n"
    "                      backslashes escaped as \\t \\n \\r \\\\), jsonl (one JSON array\n"
    "                      per record; objects keyed by the header with csv -H), or\n"
    "                      csv (fields quoted where needed, doubled quotes)\n"
    "  -e, --encoding=CP   the input's Windows code page: 65001 (UTF-8, the default\n"
    "                      whatever the locale), 874, 932, 936, 949, 950, 1250-1258\n"
    "  -h, --help          show this help\n"
    "  -V, --version       show the version\n";

constexpr const char* kGeneral =
    "Input: the FILEs in turn ('-' is standard input); with no FILE, standard input\n"
    "when it is not a terminal, else a bundled sample (said on standard error).\n"
    "'--' ends the options. Values go as '-d ;', '-d;', '--separator ;' or\n"
    "'--separator=;'; short flags may share a word ('-tu').\n"
    "\n"
    "Encoding: input is read as UTF-8 unless --encoding names a code page; a UTF-8\n"
    "byte order mark is dropped. Output is always UTF-8 (invalid input bytes become\n"
    "U+FFFD). fixed and columns count characters, not bytes.\n"
    "\n"
    "Quoting: sep cuts at every separator, quotes or not; csv reads quoted fields\n"
    "(\"a,b\", \"say \"\"hi\"\"\", line breaks inside quotes). Quote option values for\n"
    "the shell: -d ';' or -d '|'.\n"
    "\n"
    "Exit status: 0 success; 1 a data error (a file that cannot be read, malformed\n"
    "CSV, a failed write); 2 a usage error. A closed output pipe ends the run\n"
    "quietly.\n";

bool write_help(Output& out, const Command* c) {
  Buffer& b = out.buffer();
  if (!c) {
    b += "usage: quarnel COMMAND [OPTIONS] [FILE...]\n\n"
         "Cuts lines into fields with the Quarnel library and writes them.\n\ncommands:\n";
    for (const Command& k : kCommands) {
      char line[100];
      std::snprintf(line, sizeof line, "  %-8s %s\n", k.name, k.summary);
      b += line;
    }
    b += "\nRun 'quarnel COMMAND --help' for the options of a command.\n\n";
  } else {
    b += std::string("usage: quarnel ") + c->name + " [OPTIONS] [FILE...]\n\n" + c->summary +
         ".\n\noptions:\n" + c->usage + kCommon + "\n";
  }
  b += kGeneral;
  return true;
}

}  // namespace

int usage_error(const Command* c, const std::string& message) {
  std::fprintf(stderr, "quarnel: %s\n(see 'quarnel %s--help')\n", message.c_str(),
               c ? (std::string(c->name) + " ").c_str() : "");
  return 2;
}

namespace {

// A whole decimal number in [min, max].
bool parse_int(std::string_view text, long long min, long long max, long long* out) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, *out);
  return ec == std::errc() && p == end && *out >= min && *out <= max;
}

std::vector<std::string_view> split_list(std::string_view text) {
  std::vector<std::string_view> items;
  for (;;) {
    std::size_t comma = text.find(',');
    items.push_back(text.substr(0, comma));
    if (comma == std::string_view::npos) return items;
    text.remove_prefix(comma + 1);
  }
}

// "N", "N-M" or "N-" with 1 <= N <= M; returns an error message or "".
std::string parse_range(std::string_view item, int* first, int* last) {
  long long a = 0, b = 0;
  std::size_t dash = item.find('-');
  std::string_view head = item.substr(0, dash);
  if (!parse_int(head, 1, INT_MAX, &a)) return "bad column '" + std::string(item) + "'";
  if (dash == std::string_view::npos) {
    b = a;
  } else if (dash + 1 == item.size()) {
    b = 0;
  } else if (!parse_int(item.substr(dash + 1), 1, INT_MAX, &b)) {
    return "bad column range '" + std::string(item) + "'";
  } else if (b < a) {
    return "reversed column range '" + std::string(item) + "'";
  }
  *first = static_cast<int>(a);
  *last = static_cast<int>(b);
  return "";
}

std::string parse_widths(std::string_view text, std::vector<int>* out) {
  for (std::string_view item : split_list(text)) {
    long long w = 0;
    if (!parse_int(item, -INT_MAX, INT_MAX, &w))
      return "bad width '" + std::string(item) + "' (expected e.g. 5,10,-1)";
    out->push_back(static_cast<int>(w));
  }
  return "";
}

std::string parse_columns(std::string_view text, std::vector<int>* out) {
  for (std::string_view item : split_list(text)) {
    int first = 0, last = 0;
    std::string problem = parse_range(item, &first, &last);
    if (!problem.empty()) return problem + " (expected e.g. 1-4,6-14,20-)";
    out->push_back(first);
    out->push_back(last ? last : -1);  // the library: last < first - 1 takes the rest
  }
  return "";
}

// Closed ranges are written out in full, missing fields as empty ones, so
// their total is bounded: a range such as 1-2147483647 would otherwise ask
// for billions of fields on every line.
constexpr long long kMostSelected = 65536;

std::string parse_select(std::string_view text, std::vector<Selection>* out) {
  long long selected = 0;
  for (std::string_view item : split_list(text)) {
    Selection s;
    if (!item.empty() && item[0] >= '0' && item[0] <= '9') {
      std::string problem = parse_range(item, &s.first, &s.last);
      if (!problem.empty()) return problem;
      selected += s.last ? s.last - s.first + 1LL : 1;
      if (selected > kMostSelected)
        return "--select names more than " + std::to_string(kMostSelected) +
               " fields (use an open range such as 5- for the rest of a line)";
    } else if (item.empty()) {
      return "empty item in --select";
    } else {
      s.name = item;
    }
    out->push_back(s);
  }
  return "";
}

bool parse_separator(std::string_view text, char* out) {
  if (text == "\\t") text = "\t";
  if (text.size() != 1) return false;
  *out = text[0];
  return true;
}

constexpr unsigned kCodePages[] = {65001, 874,  932,  936,  949,  950,  1250, 1251,
                                   1252,  1253, 1254, 1255, 1256, 1257, 1258};

bool parse_encoding(std::string_view text, unsigned* out) {
  if (text == "utf-8" || text == "UTF-8" || text == "utf8") text = "65001";
  long long cp = 0;
  if (!parse_int(text, 1, 65535, &cp)) return false;
  for (unsigned known : kCodePages)
    if (known == cp) *out = known;
  return *out == cp;
}

}  // namespace

int parse_options(int argc, char** argv, Options* o, Output& out) {
  if (argc < 2) return usage_error(nullptr, "no command given");
  std::string_view name = argv[1];
  if (name == "-h" || name == "--help") return write_help(out, nullptr), 0;
  if (name == "-V" || name == "--version") {
    out.buffer() += "quarnel " QUARNEL_VERSION "\n";
    return 0;
  }
  for (const Command& c : kCommands)
    if (name == c.name) o->command = &c;
  if (!o->command) return usage_error(nullptr, "unknown command '" + std::string(name) + "'");
  const Command* c = o->command;
  Mode mode = c->mode;
  o->separator = mode == Mode::named ? '=' : ',';
  // Short flags may share a word ("-tu"): each becomes a word of its own.
  std::vector<std::string> args;
  for (int i = 2; i < argc; ++i) {
    std::string word = argv[i];
    bool after_dashes = std::find(args.begin(), args.end(), "--") != args.end();
    while (!after_dashes && word.size() > 2 && word[0] == '-' && word[1] != '-' &&
           std::string_view("tuHhV").find(word[1]) != std::string_view::npos) {
      args.push_back(word.substr(0, 2));
      word.erase(1, 1);
    }
    args.push_back(word);
  }
  bool options_done = false;
  int count = static_cast<int>(args.size());
  for (int i = 0; i < count; ++i) {
    std::string_view arg = args[i];
    if (options_done || arg == "-" || arg.size() < 2 || arg[0] != '-') {
      o->files.emplace_back(arg);
      continue;
    }
    if (arg == "--") {
      options_done = true;
      continue;
    }
    // The option's name, and its value when given in the same word.
    std::string_view key = arg, inline_value;
    bool has_inline = false;
    if (arg.substr(0, 2) == "--") {
      std::size_t eq = arg.find('=');
      if (eq != std::string_view::npos) {
        key = arg.substr(0, eq);
        inline_value = arg.substr(eq + 1);
        has_inline = true;
      }
    } else if (arg.size() > 2) {
      key = arg.substr(0, 2);
      inline_value = arg.substr(2);
      has_inline = true;
    }
    auto is = [&](const char* s, const char* l) { return key == s || key == l; };
    std::string_view v;
    auto value = [&]() {
      if (has_inline) {
        v = inline_value;
        return true;
      }
      if (i + 1 >= count) return false;
      v = args[++i];
      return true;
    };
    auto flag = [&](bool* target) {
      if (has_inline) return false;
      *target = true;
      return true;
    };
    std::string problem;
    bool known = true, good = true;
    if (is("-h", "--help")) {
      if (has_inline) return usage_error(c, "--help takes no value");
      write_help(out, c);
      return 0;
    } else if (is("-V", "--version")) {
      out.buffer() += "quarnel " QUARNEL_VERSION "\n";
      return 0;
    } else if (is("-t", "--trim") && mode != Mode::csv) {
      good = flag(&o->trim);
    } else if (is("-u", "--unquote") && mode == Mode::named) {
      good = flag(&o->unquote);
    } else if (is("-H", "--header") && mode == Mode::csv) {
      good = flag(&o->header);
    } else if (key == "--lenient" && mode == Mode::csv) {
      good = flag(&o->lenient);
    } else if (is("-d", "--separator") &&
               (mode == Mode::sep || mode == Mode::named || mode == Mode::csv)) {
      if (!value() || !parse_separator(v, &o->separator))
        problem = "the separator must be one character";
    } else if (is("-w", "--widths") && mode == Mode::fixed) {
      problem = value() ? parse_widths(v, &o->layout) : "--widths needs a value";
    } else if (is("-c", "--columns") && mode == Mode::columns) {
      problem = value() ? parse_columns(v, &o->layout) : "--columns needs a value";
    } else if (is("-s", "--select") && (mode == Mode::csv || mode == Mode::sep)) {
      problem = value() ? parse_select(v, &o->select) : "--select needs a value";
    } else if (is("-f", "--format")) {
      if (!value() || !parse_format(v, &o->format))
        problem = "the format must be text, tsv, jsonl or csv";
    } else if (is("-e", "--encoding")) {
      if (!value() || !parse_encoding(v, &o->encoding))
        problem = "unsupported encoding '" + std::string(v) + "' (see --help)";
    } else {
      known = false;
    }
    if (!known) return usage_error(c, "unknown option '" + std::string(arg) + "'");
    if (!good) return usage_error(c, std::string(key) + " takes no value");
    if (!problem.empty()) return usage_error(c, problem);
  }
  for (const Selection& s : o->select)
    if (!s.name.empty() && mode == Mode::sep)
      return usage_error(c, "sep selects fields by number, not by name ('" + s.name + "')");
    else if (!s.name.empty() && !o->header)
      return usage_error(c, "selecting '" + s.name + "' by name needs --header");
  return -1;
}

}  // namespace qtool
