#include "options.hpp"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cstdio>

#include "samples.inc"

namespace qtool {
namespace {

const Command kCommands[] = {
    {"sep", Mode::sep, "split at a separator character",
     "Cuts each line at every separator, quotes or not; a separator that ends\n"
     "the line gives no empty field.\n",
     "people.csv", kSamplePeople,
     "  -d, --separator=C   the separator, one ASCII character (default ','; \\t for\n"
     "                      a tab)\n"
     "  -t, --trim          remove blanks (codes 0-32) around each field\n"
     "  -s, --select=LIST   fields to write by number or range, e.g. 2 or 1,3-4,6-\n"
     "                      (a field the line lacks is written empty)\n"},
    {"csv", Mode::csv, "read CSV: quoted fields, a header, chosen columns",
     "A field in double quotes may hold separators, doubled quotes (\"\") and line\n"
     "breaks, which are kept as written (LF, CRLF or CR). Records end at LF, CRLF\n"
     "or a lone CR, mixed as they come; blank lines are skipped. A quote inside an\n"
     "unquoted field is kept as a character; text after a closing quote keeps\n"
     "the field as written (\"a\"b stays \"a\"b); a quote left open keeps the rest of\n"
     "the input as written. --strict makes each of these an error at\n"
     "FILE:LINE:COLUMN (columns in characters from 1).\n"
     "With --header, duplicate names are made distinct (name, name_2, name_3...)\n"
     "and the inputs' columns are matched by name: for JSON objects the keys are\n"
     "every name of every input's header (a record lacking one gives null, extra\n"
     "fields come under _N, N their number); for the other formats every input\n"
     "must have the first one's names, in any order, or it is refused.\n",
     "people.csv", kSamplePeople,
     "  -d, --separator=C   the separator, one ASCII character (default ',')\n"
     "  -H, --header        the first record of each input names its columns\n"
     "  -s, --select=LIST   columns by number or range, e.g. 1,3-4,6-\n"
     "  -n, --names=LIST    columns by header name, e.g. name,city or 2020 (a name\n"
     "                      is never read as a number; write a comma in a name as\n"
     "                      \\,); -s and -n items are written in the order given\n"},
    {"fixed", Mode::fixed, "split by field widths",
     "Widths count characters (code points), not bytes or UTF-16 units.\n", "stock.txt",
     kSampleStock,
     "  -w, --widths=LIST   required: field widths in characters, e.g. 5,10,5,-1\n"
     "                      (a negative width takes the rest of the line)\n"
     "  -t, --trim          remove blanks (codes 0-32) around each field\n"},
    {"columns", Mode::columns, "split by column ranges",
     "Columns count characters (code points) from 1, not bytes or UTF-16 units.\n", "stock.txt",
     kSampleStock,
     "  -c, --columns=LIST  required: column ranges, e.g. 1-4,6-14,21- (N alone is\n"
     "                      one column; N- runs to the end)\n"
     "  -t, --trim          remove blanks (codes 0-32) around each field\n"},
    {"named", Mode::named, "split configuration lines into name and value",
     "Each line is cut at its first separator into a name and a value. Lines\n"
     "starting with ';' or '#' are comments and blank lines are skipped; lines\n"
     "without the separator are skipped and counted on standard error. After a\n"
     "[section] line, names are written as section.name. Zero bytes are kept.\n",
     "settings.ini", kSampleSettings,
     "  -d, --separator=C   the separator, one ASCII character (default '=')\n"
     "  -t, --trim          remove blanks (codes 0-32) around name and value\n"
     "  -u, --unquote       drop the quotes around a value \"like this\" or 'this'\n"},
};

constexpr const char* kCommon =
    "  -f, --format=FMT    text (fields joined by ' | '), tsv (tabs, line breaks and\n"
    "                      backslashes escaped as \\t \\n \\r \\\\), jsonl (one JSON array\n"
    "                      per record; objects keyed by the header with csv -H), or\n"
    "                      csv (quoted where needed, quotes doubled, a record of one\n"
    "                      empty field written \"\")\n"
    "  -e, --encoding=CP   the input's Windows code page: 65001 (also utf-8, UTF-8,\n"
    "                      utf8; the default whatever the locale), 874, 932, 936,\n"
    "                      949, 950, 1250-1258\n"
    "      --strict        invalid UTF-8 input is an error (csv: malformed quotes too)\n"
    "  -h, --help          show this help\n"
    "  -V, --version       show the version\n";

constexpr const char* kGeneral =
    "Input: the FILEs in turn ('-' is standard input); with no FILE, standard input\n"
    "when it is not a terminal, else a bundled sample (said on standard error). A\n"
    "FILE that cannot be opened is reported, the others are still read, and the\n"
    "exit status is 1. '--' ends the options. Values go as '-d ;', '-d;',\n"
    "'--separator ;' or '--separator=;'; short flags may share a word ('-tu').\n"
    "Lines end at LF, CRLF or a lone CR.\n"
    "\n"
    "Encoding: a byte order mark decides (UTF-8, UTF-16 LE or BE, whatever -e\n"
    "says); else the code page of -e; else UTF-8. Input that is not valid UTF-8\n"
    "is said once on standard error with its line, its bytes written as U+FFFD\n"
    "(with --strict: an error). Output is always valid UTF-8, in every format.\n"
    "Text is decoded before it is split, so a separator byte inside a double-byte\n"
    "character (932, 936, 949, 950) never splits it.\n"
    "\n"
    "Exit status: 0 success; 1 a data error (a file that cannot be opened or\n"
    "read, malformed input under --strict, differing headers, a failed write,\n"
    "memory exhausted); 2 a usage error. A closed output pipe ends the run by\n"
    "SIGPIPE (status 141 in the shell), or quietly with status 0 when SIGPIPE is\n"
    "ignored. On a terminal, a progress line shows on standard error once a run\n"
    "has lasted about a second.\n";

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
         ".\n\n" + c->description + "\noptions:\n" + c->usage + kCommon + "\n";
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

std::string parse_select(std::string_view text, std::vector<Selection>* out, long long* selected) {
  for (std::string_view item : split_list(text)) {
    Selection s;
    std::string problem = parse_range(item, &s.first, &s.last);
    if (!problem.empty())
      return problem + (item.find_first_not_of("0123456789-") != std::string_view::npos
                            ? " (-s takes numbers; header names go with -n)"
                            : "");
    *selected += s.last ? s.last - s.first + 1LL : 1;
    if (*selected > kMostSelected)
      return "--select names more than " + std::to_string(kMostSelected) +
             " fields (use an open range such as 5- for the rest of a line)";
    out->push_back(s);
  }
  return "";
}

// Names separated by commas; "\," is a comma inside a name.
std::string parse_names(std::string_view text, std::vector<Selection>* out) {
  Selection s;
  for (std::size_t i = 0; i <= text.size(); ++i) {
    if (i < text.size() && text[i] == '\\' && i + 1 < text.size() && text[i + 1] == ',') {
      s.name += ',';
      ++i;
    } else if (i < text.size() && text[i] != ',') {
      s.name += text[i];
    } else if (s.name.empty()) {
      return "empty name in --names";
    } else {
      out->push_back(std::move(s));
      s = Selection();
    }
  }
  return "";
}

bool parse_separator(std::string_view text, char* out) {
  if (text == "\\t") text = "\t";
  if (text.size() != 1 || static_cast<unsigned char>(text[0]) >= 0x80) return false;
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
  bool options_done = false, lenient = false;
  long long selected = 0;
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
    } else if (key == "--strict") {
      good = flag(&o->strict);
    } else if (key == "--lenient" && mode == Mode::csv) {
      good = flag(&lenient);  // the default; kept for older scripts
    } else if (is("-d", "--separator") &&
               (mode == Mode::sep || mode == Mode::named || mode == Mode::csv)) {
      if (!value() || !parse_separator(v, &o->separator))
        problem = "the separator must be one ASCII character";
    } else if (is("-w", "--widths") && mode == Mode::fixed) {
      problem = value() ? parse_widths(v, &o->layout) : "--widths needs a value";
    } else if (is("-c", "--columns") && mode == Mode::columns) {
      problem = value() ? parse_columns(v, &o->layout) : "--columns needs a value";
    } else if (is("-s", "--select") && (mode == Mode::csv || mode == Mode::sep)) {
      problem = value() ? parse_select(v, &o->select, &selected) : "--select needs a value";
    } else if (is("-n", "--names") && mode == Mode::csv) {
      problem = value() ? parse_names(v, &o->select) : "--names needs a value";
    } else if (is("-f", "--format")) {
      if (!value() || !parse_format(v, &o->format))
        problem = "the format must be text, tsv, jsonl or csv";
    } else if (is("-e", "--encoding")) {
      o->encoding_given = true;
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
  if (lenient && o->strict) return usage_error(c, "--lenient and --strict exclude each other");
  return -1;
}

}  // namespace qtool
