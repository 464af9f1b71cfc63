// quarnel: cuts lines into fields with the Quarnel library and prints them.
// It uses nothing but the library's exported functions, as any host would.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "csv.hpp"
#include "input.hpp"
#include "options.hpp"
#include "output.hpp"
#include "quarnel/quarnel.hpp"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#define isatty _isatty
#else
#include <unistd.h>
#endif

namespace {

using namespace qtool;

// The library decodes A text in the process code page, which it reads from
// QUARNEL_ACP when it loads. The tool wants its input's code page there, so
// it starts itself again with that setting when it is not already in force.
// Returns false when that fails. Windows keeps the system code page; lines
// are converted into it as they are read (see LineReader).
bool use_code_page(unsigned cp, char** argv) {
#if defined(_WIN32)
  (void)cp;
  (void)argv;
  return true;
#else
  std::string wanted = std::to_string(cp);
  const char* current = std::getenv("QUARNEL_ACP");
  if (current && wanted == current) return true;
  if (cp == 65001) {
    // A UTF-8 locale gives UTF-8 already: "é" is one character.
    CLWideStr probe(LStrAllocFromASzStrW("\xC3\xA9", 2), true);
    if (probe.length() == 1) return true;
  }
  setenv("QUARNEL_ACP", wanted.c_str(), 1);
  execv("/proc/self/exe", argv);
  execvp(argv[0], argv);
  std::fprintf(stderr, "quarnel: cannot restart for code page %u: %s\n", cp, std::strerror(errno));
  return false;
#endif
}

bool process_code_page_is_utf8(unsigned encoding) {
#if defined(_WIN32)
  (void)encoding;
  return GetACP() == 65001;
#else
  return encoding == 65001;
#endif
}

unsigned recode_from(unsigned encoding) {
#if defined(_WIN32)
  return encoding == GetACP() ? 0 : encoding;
#else
  (void)encoding;
  return 0;
#endif
}

void trim_view(std::string_view& s) {
  while (!s.empty() && static_cast<unsigned char>(s.front()) <= ' ') s.remove_prefix(1);
  while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ') s.remove_suffix(1);
}

// The state of one run over all inputs.
class Runner {
 public:
  Runner(const Options& o, Output& out)
      : o_(o), writer_(out, o.format, process_code_page_is_utf8(o.encoding)) {
    if (o.command->mode == Mode::fixed || o.command->mode == Mode::columns)
      wide_fields_.growBy = static_cast<int>(o.layout.size());
  }

  // Returns false on a data error, already reported.
  bool run(LineReader& reader) {
    if (writer_.utf8_input()) reader.check_utf8();
    switch (o_.command->mode) {
      case Mode::sep:
        return split_lines(reader);
      case Mode::fixed:
      case Mode::columns:
        return cut_layout(reader);
      case Mode::named:
        return split_named(reader);
      case Mode::csv:
        return read_csv(reader);
    }
    return true;
  }

  void finish() const {
    if (unsplit_ > 0)
      std::fprintf(stderr, "quarnel: %ld line%s without '%c' skipped\n", unsplit_,
                   unsplit_ == 1 ? "" : "s", o_.separator);
  }

 private:
  bool split_lines(LineReader& reader) {
    std::string_view text;
    int slots = slots_needed();
    slots_.resize(static_cast<std::size_t>(slots));
    while (reader.next(&text)) {
      LStrAssignASzStrA(line_.handle, text.data(), static_cast<int>(text.size()));
      if (slots > 0) {
        // The library stops after the last field asked for.
        int n = SplitBySepA(&line_, o_.separator, slots, slots_.data(), o_.trim);
        record_.clear();
        for (int i = 0; i < n; ++i)
          record_.push_back(slot_text(slots_[static_cast<std::size_t>(i)]));
        writer_.write(pick(record_), nullptr, reader.line_utf8());
        continue;
      }
      SplitBySepExA(&line_, o_.separator, &fields_, o_.trim);
      if (o_.select.empty()) {
        writer_.write(fields_, text, o_.separator, reader.line_utf8());
        continue;
      }
      record_.clear();
      for (int i = 0; i < fields_.count; ++i) record_.push_back(field_text(fields_[i]));
      writer_.write(pick(record_), nullptr, reader.line_utf8());
    }
    return true;
  }

  // How many fields of a line a selection needs, when a few slots hold
  // them: 0 for every field, or for a selection that reaches far (a slot is
  // a handle made in advance).
  int slots_needed() const {
    constexpr int kMostSlots = 256;
    int slots = 0;
    for (const Selection& s : o_.select) {
      if (s.last == 0 || s.last > kMostSlots) return 0;
      slots = std::max(slots, s.last);
    }
    return slots;
  }

  // Widths and columns count characters: the line goes through the W family.
  bool cut_layout(LineReader& reader) {
    std::string_view text;
    int entries = static_cast<int>(o_.layout.size() / (o_.command->mode == Mode::columns ? 2 : 1));
    while (reader.next(&text)) {
      CLWideStr wide(LStrAllocFromASzStrW(text.data(), static_cast<int>(text.size())), true);
      if (o_.command->mode == Mode::fixed)
        SplitByFixedLayoutW(&wide, entries, o_.layout.data(), &wide_fields_, o_.trim);
      else
        SplitByFixedLayoutExW(&wide, entries, o_.layout.data(), &wide_fields_, o_.trim);
      writer_.write(wide_fields_);
    }
    return true;
  }

  // Configuration files: comments and blank lines skipped, [section] lines
  // give the prefix of the names below them.
  bool split_named(LineReader& reader) {
    std::string_view text;
    std::string name;
    while (reader.next(&text)) {
      std::string_view bare = text;
      trim_view(bare);
      if (bare.empty() || bare[0] == ';' || bare[0] == '#') continue;
      if (bare.front() == '[' && bare.back() == ']') {
        std::string_view section = bare.substr(1, bare.size() - 2);
        trim_view(section);
        section_.assign(section);
        continue;
      }
      LStrAssignASzStrA(line_.handle, text.data(), static_cast<int>(text.size()));
      if (!SplitNamedEquA(line_.c_str(), &fields_, o_.trim, o_.separator)) {
        ++unsplit_;
        continue;
      }
      name = section_.empty() ? fields_[0].str() : section_ + "." + fields_[0].str();
      std::string_view value = fields_[1].view();
      if (o_.unquote && value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
          value.back() == value[0])
        value = value.substr(1, value.size() - 2);
      writer_.write({name, value});
    }
    return true;
  }

  bool read_csv(LineReader& reader) {
    CsvReader csv(reader, o_.separator, o_.lenient);
    std::vector<std::string_view> record;
    try {
      if (o_.header && csv.next(&record) && !have_header_) {
        have_header_ = true;
        std::string scratch;
        for (std::string_view name : record) header_.emplace_back(writer_.to_utf8(name, scratch));
        std::vector<std::string_view> names(header_.begin(), header_.end());
        if (!resolve_selection(names, reader.name())) return false;
        const std::vector<std::string_view>& picked = pick(names);
        if (o_.format != Format::jsonl) writer_.write(picked, nullptr, true);
        keys_.assign(picked.begin(), picked.end());
      }
      const std::vector<std::string>* keys =
          o_.header && o_.format == Format::jsonl ? &keys_ : nullptr;
      while (csv.next(&record))
        writer_.write(pick(record), keys, writer_.utf8_input() && csv.known_utf8());
    } catch (const CsvError& e) {
      std::fprintf(stderr, "quarnel: %s:%ld: %s\n", reader.name(), e.line, e.what());
      return false;
    }
    return true;
  }

  // Header names (UTF-8) in --select become column numbers.
  bool resolve_selection(const std::vector<std::string_view>& names, const char* input) {
    selection_ = o_.select;
    for (Selection& s : selection_) {
      if (s.name.empty()) continue;
      for (std::size_t i = 0; i < names.size() && !s.first; ++i)
        if (names[i] == s.name) s.first = s.last = static_cast<int>(i + 1);
      if (!s.first) {
        std::fprintf(stderr, "quarnel: %s: no column named '%s'\n", input, s.name.c_str());
        return false;
      }
    }
    return true;
  }

  // The selected fields of a record; a selected column the record lacks is
  // empty, an open range stops at the record's end.
  const std::vector<std::string_view>& pick(const std::vector<std::string_view>& record) {
    if (o_.select.empty()) return record;
    if (selection_.empty()) selection_ = o_.select;
    picked_.clear();
    for (const Selection& s : selection_) {
      std::size_t last = s.last ? static_cast<std::size_t>(s.last) : record.size();
      for (std::size_t i = static_cast<std::size_t>(s.first); i <= last; ++i)
        picked_.push_back(i <= record.size() ? record[i - 1] : std::string_view());
    }
    return picked_;
  }

  const Options& o_;
  RecordWriter writer_;
  CLAnsiStr line_;
  CLAnsiStrList fields_{256};
  CLWideStrList wide_fields_{16};
  long unsplit_ = 0;
  std::string section_;
  bool have_header_ = false;
  std::vector<std::string> header_;
  std::vector<std::string> keys_;
  std::vector<Selection> selection_;
  std::vector<std::string_view> picked_;
  std::vector<std::string_view> record_;
  std::vector<CLAnsiStr> slots_;
};

// Runs over one named input; false on a data error, already reported.
bool run_file(Runner& runner, const std::string& file, unsigned recode) {
  bool is_stdin = file == "-";
  std::FILE* in = is_stdin ? stdin : std::fopen(file.c_str(), "rb");
  if (!in) {
    std::fprintf(stderr, "quarnel: cannot open '%s': %s\n", file.c_str(), std::strerror(errno));
    return false;
  }
  std::uint64_t size = 0;
  if (!is_stdin && std::fseek(in, 0, SEEK_END) == 0) {
    long end = std::ftell(in);
    size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    std::rewind(in);
  }
  bool good;
  int error;
  {
    LineReader reader(in, size, is_stdin ? "standard input" : file.c_str(), true, recode);
    good = runner.run(reader);
    error = reader.error();
  }
  if (!is_stdin) std::fclose(in);
  if (error) {
    std::fprintf(stderr, "quarnel: error reading '%s': %s\n", file.c_str(), std::strerror(error));
    return false;
  }
  return good;
}

int run(Options& o, Output& out) {
  bool sample = o.files.empty() && isatty(0);
  if (!sample && o.files.empty()) o.files.emplace_back("-");
  Mode mode = o.command->mode;
  if (o.layout.empty() && (mode == Mode::fixed || mode == Mode::columns)) {
    if (!sample)
      return usage_error(o.command,
                         mode == Mode::fixed ? "--widths is required" : "--columns is required");
    // The sample's own layout.
    o.layout = mode == Mode::fixed ? std::vector<int>{5, 10, 5, -1}
                                   : std::vector<int>{1, 4, 6, 14, 16, 19, 21, 27};
  }
  Runner runner(o, out);
  bool good = true;
  if (sample) {
    std::fprintf(stderr,
                 "quarnel: no input given and standard input is a terminal: "
                 "running on the sample %s\n",
                 o.command->sample_name);
    std::FILE* file = std::tmpfile();
    if (!file) {
      std::fprintf(stderr, "quarnel: cannot create a temporary file: %s\n", std::strerror(errno));
      return 1;
    }
    std::fputs(o.command->sample, file);
    std::rewind(file);
    {
      LineReader reader(file, 0, o.command->sample_name, true);
      good = runner.run(reader);
    }
    std::fclose(file);
  }
  unsigned recode = recode_from(o.encoding);
  for (const std::string& file : o.files) good = run_file(runner, file, recode) && good;
  runner.finish();
  out.flush();
  return good ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  Options o;
  Output out;
  try {
    int status = parse_options(argc, argv, &o, out);
    if (status >= 0) {
      out.flush();
      return status;
    }
    if (!use_code_page(o.encoding, argv)) return 1;
    return run(o, out);
  } catch (const WriteError& e) {
    if (!e.quiet) std::fprintf(stderr, "quarnel: %s\n", e.what());
    return e.quiet ? 0 : 1;
  }
}
