// quarnel: cuts lines into fields and prints them. Layouts, name=value
// lines and code-page decoding go through the Quarnel library's exported
// functions, as any host would call them; lines cut at a separator (sep,
// and csv lines without quotes) are cut where they lie in the read buffer,
// as views, since a handle per field would cost more than the cut itself.
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <new>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "csv.hpp"
#include "fields.hpp"
#include "input.hpp"
#include "options.hpp"
#include "output.hpp"
#include "quarnel/quarnel.hpp"
#include "utf.hpp"

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
// QUARNEL_ACP when it loads. To decode a code page, the tool starts itself
// again with that setting when it is not already in force. UTF-8 input
// needs no decoding. Returns false when that fails. Windows decodes with
// the system's own functions.
bool use_code_page(unsigned cp, char** argv) {
#if defined(_WIN32)
  (void)cp;
  (void)argv;
  return true;
#else
  if (cp == 65001) return true;
  std::string wanted = std::to_string(cp);
  const char* current = std::getenv("QUARNEL_ACP");
  if (current && wanted == current) return true;
  setenv("QUARNEL_ACP", wanted.c_str(), 1);
  execv("/proc/self/exe", argv);
  execvp(argv[0], argv);
  std::fprintf(stderr, "quarnel: cannot restart for code page %u: %s\n", cp, std::strerror(errno));
  return false;
#endif
}

// Lines up to this length are cut whole (sep's into views of the line,
// fixed and columns by the library when they hold no zero byte); longer
// ones are cut as they are written, so that memory stays within a small
// multiple of the line however many fields it holds.
constexpr std::size_t kWholeLine = 1u << 16;

bool may_hold_nul(const LineReader& reader, std::string_view line) {
  return reader.line_may_hold_nul() && std::memchr(line.data(), 0, line.size());
}

// Names made distinct: a name met again gets _2, _3... (skipping names that
// are taken already). Each name's count goes on from where it stopped, so a
// header of many equal names costs linear time, not quadratic.
void make_distinct(std::vector<std::string>& names) {
  std::set<std::string> taken(names.begin(), names.end()), seen;
  std::map<std::string, int> next;
  for (std::string& name : names) {
    if (seen.insert(name).second) continue;
    int& n = next.try_emplace(name, 2).first->second;
    for (;; ++n) {
      std::string candidate = name;
      candidate += '_';
      candidate += std::to_string(n);
      if (taken.insert(candidate).second) {
        name = candidate;
        break;
      }
    }
    seen.insert(name);
  }
}

// Collects a record's fields, for records that are reordered.
class Record final : public FieldSink {
 public:
  void clear() {
    text_.clear();
    ends_.clear();
    utf8_ = true;
  }
  void field(std::string_view text, bool utf8) override {
    if (ends_.size() >= limit_) return;
    text_.append(text);
    ends_.push_back(text_.size());
    utf8_ = utf8_ && utf8;
  }
  // Fields past this many are not kept.
  void limit(std::size_t most) { limit_ = most ? most : SIZE_MAX; }
  const std::vector<std::string_view>& views() {
    views_.clear();
    std::size_t begin = 0;
    for (std::size_t end : ends_) {
      views_.push_back(std::string_view(text_).substr(begin, end - begin));
      begin = end;
    }
    return views_;
  }
  bool utf8() const { return utf8_; }

 private:
  std::string text_;
  std::vector<std::size_t> ends_;
  std::vector<std::string_view> views_;
  bool utf8_ = true;
  std::size_t limit_ = SIZE_MAX;
};

// Writes a record's fields as they come.
class Streamer final : public FieldSink {
 public:
  Streamer(RecordWriter& writer, char separator) : writer_(writer), separator_(separator) {}
  void field(std::string_view text, bool utf8) override {
    if (!begun_) writer_.begin();
    begun_ = true;
    writer_.add(text, utf8);
  }
  void fields(const std::vector<std::string_view>& fields, std::string_view line,
              bool utf8) override {
    writer_.write(fields, line, separator_, utf8);
  }
  void record(const std::vector<std::string_view>& fields, bool utf8) override {
    writer_.write(fields, utf8);
  }
  // Ends the record; `always`: also a record that received no field.
  void finish(bool always = false) {
    if (!begun_ && always) writer_.begin();
    if (begun_ || always) writer_.end();
    begun_ = false;
  }

 private:
  RecordWriter& writer_;
  char separator_;
  bool begun_ = false;
};

// Whether a selection can be written as the fields come: each item after
// the one before it, only the last open.
bool in_order(const std::vector<Selection>& selection) {
  int after = 0;
  for (const Selection& s : selection) {
    if (!s.name.empty() || after < 0 || s.first <= after) return false;
    after = s.last ? s.last : -1;
  }
  return true;
}

// The highest field number a selection reads; 0 when it reads to the end.
std::size_t last_selected(const std::vector<Selection>& selection) {
  std::size_t most = 0;
  for (const Selection& s : selection) {
    if (s.last == 0) return 0;
    most = std::max(most, static_cast<std::size_t>(s.last));
  }
  return most;
}

// Writes the selected fields of a record as they come, for a selection in
// order (see in_order); selected fields the record lacks are empty.
class Selector final : public FieldSink {
 public:
  Selector(Streamer& out, const std::vector<Selection>& selection)
      : out_(out), selection_(selection) {}
  void field(std::string_view text, bool utf8) override {
    ++index_;
    while (item_ < selection_.size() && selection_[item_].last &&
           index_ > static_cast<std::size_t>(selection_[item_].last))
      ++item_;
    if (item_ < selection_.size() && index_ >= static_cast<std::size_t>(selection_[item_].first))
      out_.field(text, utf8);
  }
  void finish() {
    for (; item_ < selection_.size(); ++item_) {
      const Selection& s = selection_[item_];
      for (std::size_t i = std::max(index_ + 1, static_cast<std::size_t>(s.first));
           s.last && i <= static_cast<std::size_t>(s.last); ++i)
        out_.field({}, true);
    }
    out_.finish(true);
    index_ = item_ = 0;
  }

 private:
  Streamer& out_;
  const std::vector<Selection>& selection_;
  std::size_t index_ = 0, item_ = 0;
};

// The state of one run over all inputs.
class Runner {
 public:
  Runner(const Options& o, Output& out) : o_(o), out_(out), writer_(out, o.format) {
    if (o.command->mode == Mode::fixed || o.command->mode == Mode::columns)
      wide_fields_.growBy = static_cast<int>(o.layout.size());
    object_ = o.header && o.format == Format::jsonl;
    if (!o.header) selection_ = o.select;
  }

  // Returns false on a data error, already reported.
  bool run(LineReader& reader) {
    try {
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
    } catch (const DataError& e) {
      out_.take_back();
      std::fprintf(stderr, "quarnel: %s\n", e.what());
      return false;
    }
    return true;
  }

  void finish() const {
    if (unsplit_ > 0)
      std::fprintf(stderr, "quarnel: %ld line%s without '%c' skipped\n", unsplit_,
                   unsplit_ == 1 ? "" : "s", o_.separator);
  }

  // Object output carries the names of every input's header: those of the
  // files are read first.
  void add_header_names(const std::string& file, const Decoding& decoding) {
    std::FILE* in = std::fopen(file.c_str(), "rb");
    if (!in) return;  // reported when the file's turn comes
    try {
      LineReader reader(in, 0, file.c_str(), decoding);
      CsvReader csv(reader, o_.separator, false);
      Record header;
      if (csv.next(header)) merge_names(names_of(header));
    } catch (const DataError&) {
    }
    std::fclose(in);
  }

 private:
  // Lines are cut where they lie in the read buffer; a long one is cut and
  // written as it goes (split_here), so no line costs a field list of its
  // own size.
  bool split_lines(LineReader& reader) {
    std::string_view text;
    std::size_t most = last_selected(o_.select);
    Streamer stream(writer_, o_.separator);
    while (reader.next(&text)) {
      if (text.size() > kWholeLine) {
        split_here(text, reader.line_utf8(), stream);
        continue;
      }
      record_.clear();
      cut_sep(text, o_.separator, o_.trim, most, record_);
      if (o_.select.empty())
        writer_.write(record_, text, o_.separator, reader.line_utf8());
      else
        writer_.write(pick(record_), reader.line_utf8());
    }
    return true;
  }

  // sep's cut, for long lines and lines holding zero bytes: the same fields
  // as the library's, written as they are found (or gathered, to be picked).
  // A selection out of order takes a pass over the line per item, so that
  // no list of the line's fields is held.
  void split_here(std::string_view line, bool utf8, Streamer& stream) {
    if (o_.select.empty()) {
      for_each_sep_field(line, o_.separator, o_.trim, [&](std::string_view field) {
        stream.field(field, utf8);
        return true;
      });
      stream.finish(true);
    } else if (in_order(o_.select)) {
      Selector selector(stream, o_.select);
      std::size_t most = last_selected(o_.select), count = 0;
      for_each_sep_field(line, o_.separator, o_.trim, [&](std::string_view field) {
        selector.field(field, utf8);
        return ++count != most;
      });
      selector.finish();
    } else {
      writer_.begin();
      for (const Selection& s : o_.select) {
        auto first = static_cast<std::size_t>(s.first), count = std::size_t{0};
        std::size_t last = s.last ? static_cast<std::size_t>(s.last) : SIZE_MAX;
        for_each_sep_field(line, o_.separator, o_.trim, [&](std::string_view field) {
          if (++count >= first) writer_.add(field, utf8);
          return count != last;
        });
        for (std::size_t i = std::max(count + 1, first); s.last && i <= last; ++i)
          writer_.add({}, true);
      }
      writer_.end();
    }
  }

  // Widths and columns count characters (code points). A line of BMP
  // characters goes through the W family as it is; one holding characters
  // beyond the BMP (two units each) is cut at the same characters by the
  // column form, its ranges turned into units. Long lines and lines holding
  // zero bytes are cut here, at the same characters, as they are written.
  bool cut_layout(LineReader& reader) {
    std::string_view text;
    bool columns = o_.command->mode == Mode::columns;
    int entries = static_cast<int>(o_.layout.size() / (columns ? 2 : 1));
    std::string scratch;
    while (reader.next(&text)) {
      std::string_view line = reader.line_utf8() ? text : RecordWriter::to_utf8(text, scratch);
      if (line.size() > kWholeLine || may_hold_nul(reader, line)) {
        cut_here(line, columns);
        continue;
      }
      units_.clear();
      append_utf8_as_utf16(line, units_);
      LStrAssignWSzStrW(wide_.handle, units_.data(), static_cast<int>(units_.size()));
      bool pairs = false;
      for (LWideChar u : units_) pairs = pairs || (u >= 0xD800 && u < 0xDC00);
      if (!pairs && columns) {
        SplitByFixedLayoutExW(&wide_, entries, o_.layout.data(), &wide_fields_, o_.trim);
      } else if (!pairs) {
        SplitByFixedLayoutW(&wide_, entries, o_.layout.data(), &wide_fields_, o_.trim);
      } else {
        layout_ranges(std::basic_string_view<LWideChar>(units_), columns);
        layout_.clear();
        for (auto [from, to] : offsets_) {
          layout_.push_back(static_cast<int>(from) + 1);
          layout_.push_back(static_cast<int>(to));
        }
        SplitByFixedLayoutExW(&wide_, entries, layout_.data(), &wide_fields_, o_.trim);
      }
      writer_.write(wide_fields_);
    }
    return true;
  }

  void cut_here(std::string_view line, bool columns) {
    layout_ranges(line, columns);
    writer_.begin();
    for (auto [from, to] : offsets_) {
      std::string_view field = line.substr(from, to - from);
      if (o_.trim) field = trimmed(field);
      writer_.add(field, true);
    }
    writer_.end();
  }

  // The [from, to) offsets in `text` (UTF-8 bytes or UTF-16 units) of each
  // layout entry's field, in offsets_: the pieces the library's layout
  // splitting cuts, counted in characters.
  template <class Char>
  void layout_ranges(std::basic_string_view<Char> text, bool columns) {
    auto continues = [](Char c) {
      auto u = static_cast<std::uint32_t>(c);
      return sizeof(Char) == 1 ? (u & 0xC0) == 0x80 : u >= 0xDC00 && u < 0xE000;
    };
    long long length = 0;
    for (Char c : text) length += !continues(c);
    // The pieces in characters, as cut_text would cut them.
    ranges_.clear();
    long long start = 1;
    std::size_t entries = o_.layout.size() / (columns ? 2 : 1);
    for (std::size_t i = 0; i < entries; ++i) {
      long long count;
      if (columns) {
        start = o_.layout[2 * i];
        long long last = o_.layout[2 * i + 1];
        count = last < 0 ? -1 : last - start + 1;
      } else {
        count = o_.layout[i];
      }
      long long from = std::max(start, 1LL), n = count;
      if (n < 0) n = length < start ? 0 : length - start + 1;
      if (start > length || n < 1)
        ranges_.emplace_back(length, length);
      else
        ranges_.emplace_back(from - 1, from - 1 + std::min(n, length - from + 1));
      if (!columns) start += count;
    }
    // Characters to offsets, in one pass over the text.
    std::vector<long long> points;
    for (auto [a, b] : ranges_) points.push_back(a), points.push_back(b);
    std::sort(points.begin(), points.end());
    points.erase(std::unique(points.begin(), points.end()), points.end());
    at_.assign(points.size(), text.size());
    std::size_t next = 0;
    long long character = -1;
    for (std::size_t i = 0; i < text.size() && next < points.size(); ++i) {
      if (continues(text[i])) continue;
      ++character;
      while (next < points.size() && points[next] == character) at_[next++] = i;
    }
    offsets_.clear();
    for (auto [a, b] : ranges_) {
      auto where = [&](long long c) {
        return at_[static_cast<std::size_t>(std::lower_bound(points.begin(), points.end(), c) -
                                            points.begin())];
      };
      offsets_.emplace_back(where(a), where(b));
    }
  }

  // Configuration files: comments and blank lines skipped, [section] lines
  // give the prefix of the names below them.
  bool split_named(LineReader& reader) {
    std::string_view text;
    std::string name;
    while (reader.next(&text)) {
      std::string_view bare = text;
      bare = trimmed(bare);
      if (bare.empty() || bare[0] == ';' || bare[0] == '#') continue;
      if (bare.front() == '[' && bare.back() == ']') {
        std::string_view section = bare.substr(1, bare.size() - 2);
        section = trimmed(section);
        section_.assign(section);
        continue;
      }
      std::string_view key, value;
      if (!cut_name_value(reader, text, &key, &value)) {
        ++unsplit_;
        continue;
      }
      name = section_;
      if (!name.empty()) name += '.';
      name += key;
      if (o_.unquote && value.size() >= 2 && (value[0] == '"' || value[0] == '\'') &&
          value.back() == value[0])
        value = value.substr(1, value.size() - 2);
      writer_.write({name, value}, false);
    }
    return true;
  }

  // A name=value line cut at its first separator by the library, which
  // reads the line up to a zero byte; a line holding one is cut here by the
  // same rule, so that its bytes are kept.
  bool cut_name_value(const LineReader& reader, std::string_view text, std::string_view* key,
                      std::string_view* value) {
    if (may_hold_nul(reader, text)) {
      std::size_t at = o_.separator ? text.find(o_.separator) : std::string_view::npos;
      if (at == std::string_view::npos) return false;
      *key = text.substr(0, at);
      *value = text.substr(at + 1);
      if (o_.trim) *key = trimmed(*key), *value = trimmed(*value);
      return true;
    }
    if (text.size() > INT_MAX - 1)
      throw DataError(std::string(reader.name()) + ":" + std::to_string(reader.line_number()) +
                      ": line too long");
    LStrAssignASzStrA(line_.handle, text.data(), static_cast<int>(text.size()));
    if (!SplitNamedEquA(line_.c_str(), &fields_, o_.trim, o_.separator)) return false;
    *key = fields_[0].view();
    *value = fields_[1].view();
    return true;
  }

  // A header's names as valid UTF-8, made distinct.
  static std::vector<std::string> names_of(Record& header) {
    std::vector<std::string> names;
    std::string scratch;
    for (std::string_view name : header.views())
      names.emplace_back(RecordWriter::to_utf8(name, scratch));
    make_distinct(names);
    return names;
  }

  // Adds the names the run's columns lack; column_at_ indexes them.
  void merge_names(const std::vector<std::string>& names) {
    for (const std::string& name : names)
      if (column_at_.try_emplace(name, columns_.size()).second) columns_.push_back(name);
  }

  // Reads an input's header: maps its columns to the run's by name.
  bool take_header(const std::vector<std::string>& names, const char* input) {
    bool first = !have_header_;
    if (object_ || first) {
      merge_names(names);
    } else {
      std::vector<std::string> a = names, b = columns_;
      std::sort(a.begin(), a.end());
      std::sort(b.begin(), b.end());
      if (a != b) {
        std::fprintf(stderr,
                     "quarnel: %s: its header names other columns than the first input's; "
                     "inputs are matched by name (JSON objects, -f jsonl, take the union)\n",
                     input);
        return false;
      }
    }
    have_header_ = true;
    map_.clear();
    identity_ = names.size() == columns_.size();
    for (std::size_t i = 0; i < names.size(); ++i) {
      map_.push_back(column_at_.at(names[i]));
      identity_ = identity_ && map_.back() == i;
    }
    if (!resolve_selection(input)) return false;
    keys_ = columns_;
    if (first && !object_) {
      std::vector<std::string_view> views(columns_.begin(), columns_.end());
      writer_.write(pick(views), true);
    }
    return true;
  }

  bool read_csv(LineReader& reader) {
    CsvReader csv(reader, o_.separator, o_.strict);
    if (o_.header) {
      record_in_.clear();
      if (!csv.next(record_in_)) return true;
      if (!take_header(names_of(record_in_), reader.name())) return false;
    }
    Streamer stream(writer_, o_.separator);
    Selector selector(stream, selection_);
    bool streamed = !object_ && identity_ && o_.select.empty();
    bool selected = !object_ && identity_ && !o_.select.empty() && in_order(selection_);
    record_in_.limit(object_ || !identity_ ? 0 : last_selected(selection_));
    for (;;) {
      if (streamed) {
        if (!csv.next(stream)) break;
        stream.finish();
        continue;
      }
      if (selected) {
        if (!csv.next(selector)) break;
        selector.finish();
        continue;
      }
      record_in_.clear();
      if (!csv.next(record_in_)) break;
      const std::vector<std::string_view>& fields = in_columns(record_in_.views());
      if (object_) {
        const std::vector<std::string>& keys = pick_keys(fields.size());
        writer_.write_object(keys, pick(fields), record_in_.utf8());
      } else
        writer_.write(pick(fields), record_in_.utf8());
    }
    return true;
  }

  // A record's fields in the run's column order: a column the input lacks
  // is kMissing, fields beyond the header follow the columns.
  const std::vector<std::string_view>& in_columns(const std::vector<std::string_view>& fields) {
    if (!o_.header || identity_) return fields;
    canon_.assign(columns_.size(), kMissing);
    for (std::size_t i = 0; i < fields.size(); ++i)
      if (i < map_.size())
        canon_[map_[i]] = fields[i];
      else
        canon_.push_back(fields[i]);
    return canon_;
  }

  // The keys of an object record of `count` fields (after in_columns):
  // fields beyond the header are keyed _N, N their number in the record.
  const std::vector<std::string>& pick_keys(std::size_t count) {
    for (std::size_t i = keys_.size(); i < count; ++i) {
      std::string key(1, '_');
      key += std::to_string(map_.size() + (i - columns_.size()) + 1);
      while (std::find(keys_.begin(), keys_.end(), key) != keys_.end()) key += "_";
      keys_.push_back(key);
    }
    std::size_t n = std::max(count, columns_.size());
    if (selection_.empty()) {
      picked_keys_.assign(keys_.begin(), keys_.begin() + static_cast<std::ptrdiff_t>(n));
      return picked_keys_;
    }
    std::vector<std::string_view> views(keys_.begin(),
                                        keys_.begin() + static_cast<std::ptrdiff_t>(n));
    const std::vector<std::string_view>& picked = pick(views);
    picked_keys_.assign(picked.begin(), picked.end());
    return picked_keys_;
  }

  // Header names in --names become column numbers of the run's columns.
  bool resolve_selection(const char* input) {
    selection_ = o_.select;
    for (Selection& s : selection_) {
      if (s.name.empty()) continue;
      auto at = std::find(columns_.begin(), columns_.end(), s.name);
      if (at == columns_.end()) {
        std::fprintf(stderr, "quarnel: %s: no column named '%s'\n", input, s.name.c_str());
        return false;
      }
      s.first = s.last = static_cast<int>(at - columns_.begin() + 1);
    }
    return true;
  }

  // The selected fields of a record; a selected column the record lacks is
  // kMissing, an open range stops at the record's end.
  const std::vector<std::string_view>& pick(const std::vector<std::string_view>& record) {
    if (selection_.empty()) return record;
    picked_.clear();
    for (const Selection& s : selection_) {
      std::size_t last = s.last ? static_cast<std::size_t>(s.last) : record.size();
      for (std::size_t i = static_cast<std::size_t>(s.first); i <= last; ++i)
        picked_.push_back(i <= record.size() ? record[i - 1] : kMissing);
    }
    return picked_;
  }

  const Options& o_;
  Output& out_;
  RecordWriter writer_;
  CLAnsiStr line_;
  CLAnsiStrList fields_{256};
  CLWideStr wide_;
  CLWideStrList wide_fields_{16};
  std::basic_string<LWideChar> units_;
  std::vector<int> layout_;
  std::vector<std::pair<long long, long long>> ranges_;
  std::vector<std::size_t> at_;
  std::vector<std::pair<std::size_t, std::size_t>> offsets_;
  long unsplit_ = 0;
  std::string section_;
  bool object_ = false;
  bool have_header_ = false;
  bool identity_ = true;
  std::vector<std::string> columns_;              // the run's column names
  std::map<std::string, std::size_t> column_at_;  // of columns_
  std::vector<std::size_t> map_;                  // the input's column i is the run's map_[i]
  std::vector<std::string> keys_, picked_keys_;
  std::vector<Selection> selection_;
  std::vector<std::string_view> picked_, canon_;
  std::vector<std::string_view> record_;
  Record record_in_;
};

// Back to the start of a file, for stdio and for the reader, which reads
// the file descriptor itself on POSIX systems.
void rewind_fully(std::FILE* file) {
  std::rewind(file);
#if !defined(_WIN32)
  lseek(fileno(file), 0, SEEK_SET);
#endif
}

// Runs over one named input; false on a data error, already reported.
bool run_file(Runner& runner, const std::string& file, const Decoding& decoding) {
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
    rewind_fully(in);
  }
  bool good;
  int error;
  {
    LineReader reader(in, size, is_stdin ? "standard input" : file.c_str(), decoding);
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
  Decoding decoding{o.encoding, o.encoding_given, o.strict};
  if (o.header && o.format == Format::jsonl && o.files.size() > 1)
    for (const std::string& file : o.files)
      if (file != "-") runner.add_header_names(file, decoding);
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
    rewind_fully(file);
    {
      LineReader reader(file, 0, o.command->sample_name, decoding);
      good = runner.run(reader);
    }
    std::fclose(file);
  }
  for (const std::string& file : o.files) good = run_file(runner, file, decoding) && good;
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
  } catch (const std::bad_alloc&) {
    // Memory grows with the longest line (a few times its length).
    std::fprintf(stderr, "quarnel: out of memory (a line too long for the memory available)\n");
    return 1;
  } catch (const std::length_error&) {
    std::fprintf(stderr, "quarnel: a line too long for this system\n");
    return 1;
  }
}
