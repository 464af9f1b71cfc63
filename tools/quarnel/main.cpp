// quarnel: cuts lines into fields with the Quarnel library and prints them.
// It uses nothing but the library's exported functions, as any host would.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "input.hpp"
#include "output.hpp"
#include "quarnel/quarnel.hpp"
#include "samples.inc"

namespace {

using qtool::Format;

enum class Mode { sep, fixed, columns, named };

struct Command {
  const char* name;
  Mode mode;
  const char* summary;
  const char* sample_name;
  const char* sample;
  const char* usage;
};

const Command kCommands[] = {
    {"sep", Mode::sep, "split at a separator character", "people.csv", kSamplePeople,
     "  -d, --separator C   the separator character (default ','; \\t for a tab)\n"},
    {"fixed", Mode::fixed, "split by field widths", "stock.txt", kSampleStock,
     "  -w, --widths LIST   field widths, e.g. 5,10,5,-1 (a negative width takes the rest)\n"},
    {"columns", Mode::columns, "split by column ranges", "stock.txt", kSampleStock,
     "  -c, --columns LIST  first-last column ranges from 1, e.g. 1-4,6-14,21-27\n"},
    {"named", Mode::named, "split into name and value", "settings.ini", kSampleSettings,
     "  -d, --separator C   the separator character (default '=')\n"},
};

struct Options {
  const Command* command = nullptr;
  char separator = 0;
  std::vector<int> layout;
  bool trim = false;
  Format format = Format::text;
  std::vector<std::string> files;
};

int usage_error(const Command* c, const std::string& message) {
  std::fprintf(stderr, "quarnel: %s\n(see 'quarnel %s--help')\n", message.c_str(),
               c ? (std::string(c->name) + " ").c_str() : "");
  return 2;
}

void print_help(const Command* c) {
  if (!c) {
    std::printf(
        "usage: quarnel COMMAND [OPTIONS] [FILE...]\n\n"
        "Reads lines from the files ('-' for standard input) and writes their fields.\n"
        "With no file, runs on a small sample.\n\ncommands:\n");
    for (const Command& k : kCommands) std::printf("  %-8s %s\n", k.name, k.summary);
    std::printf("\nRun 'quarnel COMMAND --help' for the options of a command.\n");
    return;
  }
  std::printf("usage: quarnel %s [OPTIONS] [FILE...]\n\n%s of each line.\n\noptions:\n%s", c->name,
              c->summary, c->usage);
  std::printf(
      "  -t, --trim          remove blanks (codes 0-32) around each field\n"
      "  -f, --format FMT    text (fields joined by ' | '), tsv, or jsonl (a JSON array\n"
      "                      per line, UTF-8)\n"
      "  -h, --help          show this help\n\n"
      "With no FILE, runs on the bundled sample %s; '-' reads standard input.\n",
      c->sample_name);
}

bool parse_separator(std::string_view text, char* out) {
  if (text == "\\t") text = "\t";
  if (text.size() != 1) return false;
  *out = text[0];
  return true;
}

// "5,10,-1" or, for column ranges, "1-4,6-14".
bool parse_layout(std::string_view text, bool ranges, std::vector<int>* out) {
  while (!text.empty()) {
    std::size_t comma = text.find(',');
    std::string item(text.substr(0, comma));
    text = comma == std::string_view::npos ? "" : text.substr(comma + 1);
    int first = 0, last = 0, used = 0;
    if (ranges) {
      if (std::sscanf(item.c_str(), "%d-%d%n", &first, &last, &used) != 2) return false;
      out->push_back(first);
      out->push_back(last);
    } else {
      if (std::sscanf(item.c_str(), "%d%n", &first, &used) != 1) return false;
      out->push_back(first);
    }
    if (used != static_cast<int>(item.size())) return false;
  }
  return !out->empty();
}

// Returns -1 when the options are good, otherwise the exit status.
int parse_options(int argc, char** argv, Options* o) {
  if (argc < 2) {
    print_help(nullptr);
    return 0;
  }
  std::string_view name = argv[1];
  if (name == "-h" || name == "--help") {
    print_help(nullptr);
    return 0;
  }
  for (const Command& c : kCommands)
    if (name == c.name) o->command = &c;
  if (!o->command) return usage_error(nullptr, "unknown command '" + std::string(name) + "'");
  const Command* c = o->command;
  o->separator = c->mode == Mode::named ? '=' : ',';
  for (int i = 2; i < argc; ++i) {
    std::string_view arg = argv[i];
    auto value = [&](std::string_view* out) {
      if (i + 1 >= argc) return false;
      *out = argv[++i];
      return true;
    };
    std::string_view v;
    if (arg == "-h" || arg == "--help") {
      print_help(c);
      return 0;
    } else if (arg == "-t" || arg == "--trim") {
      o->trim = true;
    } else if ((arg == "-d" || arg == "--separator") &&
               (c->mode == Mode::sep || c->mode == Mode::named)) {
      if (!value(&v) || !parse_separator(v, &o->separator))
        return usage_error(c, "the separator must be one character");
    } else if ((arg == "-w" || arg == "--widths") && c->mode == Mode::fixed) {
      if (!value(&v) || !parse_layout(v, false, &o->layout))
        return usage_error(c, "bad width list (expected e.g. 5,10,-1)");
    } else if ((arg == "-c" || arg == "--columns") && c->mode == Mode::columns) {
      if (!value(&v) || !parse_layout(v, true, &o->layout))
        return usage_error(c, "bad column list (expected e.g. 1-4,6-14)");
    } else if (arg == "-f" || arg == "--format") {
      if (!value(&v) || !qtool::parse_format(v, &o->format))
        return usage_error(c, "the format must be text, tsv or jsonl");
    } else if (arg.size() > 1 && arg[0] == '-') {
      return usage_error(c, "unknown option '" + std::string(arg) + "'");
    } else {
      o->files.emplace_back(arg);
    }
  }
  if (o->layout.empty() && (c->mode == Mode::fixed || c->mode == Mode::columns)) {
    if (!o->files.empty())
      return usage_error(c,
                         c->mode == Mode::fixed ? "--widths is required" : "--columns is required");
    // The sample's own layout.
    o->layout = c->mode == Mode::fixed ? std::vector<int>{5, 10, 5, -1}
                                       : std::vector<int>{1, 4, 6, 14, 16, 19, 21, 27};
  }
  return -1;
}

// Splits every line of one input; returns the number of lines without a
// separator (name-value mode only).
long run(const Options& o, qtool::LineReader& reader, qtool::RecordWriter& writer) {
  CLAnsiStr line;
  CLAnsiStrList fields(16);
  std::string text;
  long unsplit = 0;
  int entries = static_cast<int>(o.layout.size() / (o.command->mode == Mode::columns ? 2 : 1));
  while (reader.next(&text)) {
    LStrAssignASzStrA(line.handle, text.data(), static_cast<int>(text.size()));
    switch (o.command->mode) {
      case Mode::sep:
        SplitBySepExA(&line, o.separator, &fields, o.trim);
        break;
      case Mode::fixed:
        SplitByFixedLayoutA(&line, entries, o.layout.data(), &fields, o.trim);
        break;
      case Mode::columns:
        SplitByFixedLayoutExA(&line, entries, o.layout.data(), &fields, o.trim);
        break;
      case Mode::named:
        if (!SplitNamedEquA(line.c_str(), &fields, o.trim, o.separator)) {
          ++unsplit;
          continue;
        }
        break;
    }
    writer.write(fields);
  }
  return unsplit;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  int status = parse_options(argc, argv, &o);
  if (status >= 0) return status;

  qtool::RecordWriter writer(stdout, o.format);
  long unsplit = 0;
  if (o.files.empty()) {
    std::FILE* sample = std::tmpfile();
    if (!sample) {
      std::fprintf(stderr, "quarnel: cannot create a temporary file: %s\n", std::strerror(errno));
      return 1;
    }
    std::fputs(o.command->sample, sample);
    std::rewind(sample);
    qtool::LineReader reader(sample, 0, o.command->sample_name);
    unsplit = run(o, reader, writer);
    std::fclose(sample);
  }
  for (const std::string& file : o.files) {
    bool is_stdin = file == "-";
    std::FILE* in = is_stdin ? stdin : std::fopen(file.c_str(), "rb");
    if (!in) {
      std::fprintf(stderr, "quarnel: cannot open '%s': %s\n", file.c_str(), std::strerror(errno));
      return 1;
    }
    std::uint64_t size = 0;
    if (!is_stdin && std::fseek(in, 0, SEEK_END) == 0) {
      long end = std::ftell(in);
      size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
      std::rewind(in);
    }
    qtool::LineReader reader(in, size, file.c_str());
    unsplit += run(o, reader, writer);
    bool failed = std::ferror(in);
    if (!is_stdin) std::fclose(in);
    if (failed) {
      std::fprintf(stderr, "quarnel: error reading '%s'\n", file.c_str());
      return 1;
    }
  }
  if (unsplit > 0)
    std::fprintf(stderr, "quarnel: %ld line%s without '%c' skipped\n", unsplit,
                 unsplit == 1 ? "" : "s", o.separator);
  if (std::fflush(stdout) != 0) {
    std::fprintf(stderr, "quarnel: cannot write the output: %s\n", std::strerror(errno));
    return 1;
  }
  return 0;
}
