#include "csv.hpp"

#include <cstring>

#include "fields.hpp"

namespace qtool {
namespace {

// Lines up to this length without quotes are cut whole; longer ones are
// read field by field, so that memory stays within a small multiple of the
// line however many fields it holds.
constexpr std::size_t kWholeLine = 1u << 16;

std::size_t characters(std::string_view text) {
  std::size_t n = 0;
  for (char c : text) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

}  // namespace

bool CsvReader::next(FieldSink& sink) {
  std::string_view line;
  do {
    if (!lines_.next(&line)) return false;
  } while (line.empty());
  utf8_ = lines_.line_utf8();
  if (line.size() <= kWholeLine && !std::memchr(line.data(), '"', line.size())) {
    views_.clear();
    for_each_cut(line, separator_, [&](std::size_t from, std::size_t to) {
      views_.push_back(line.substr(from, to - from));
      return true;
    });
    sink.fields(views_, line, utf8_);
  } else {
    parse(line, sink);
  }
  return true;
}

void CsvReader::fail(std::string_view line, std::size_t at, const char* what) const {
  throw DataError(std::string(lines_.name()) + ":" + std::to_string(lines_.line_number()) + ":" +
                  std::to_string(characters(line.substr(0, at)) + 1) + ": " + what);
}

// One pass over the record, asking for more lines while a quote is open.
// A record is handed over whole while it is short: within one line,
// unquoted fields where they lie in the line and quoted ones unescaped into
// text_, made as long as the line first so that it never moves (unescaping
// only shortens); once it goes on past its line, every field copied into
// record_. A longer record, or one on a long line, is handed over field by
// field, quoted fields gathered in field_.
void CsvReader::parse(std::string_view line, FieldSink& sink) {
  const char sep = separator_;
  enum class Mode { in_line, copied, fields };
  Mode mode = line.size() <= kWholeLine ? Mode::in_line : Mode::fields;
  text_.clear();
  text_.reserve(line.size());
  views_.clear();
  record_.clear();
  ends_.clear();
  auto put = [&](std::string_view field) {
    if (mode == Mode::in_line) {
      views_.push_back(field);
    } else if (mode == Mode::copied) {
      record_.append(field);
      ends_.push_back(record_.size());
    } else {
      sink.field(field, utf8_);
    }
  };
  std::size_t i = 0;
  for (;;) {
    // At the start of a field.
    if (i == line.size() || line[i] != '"') {
      const char* found =
          static_cast<const char*>(std::memchr(line.data() + i, sep, line.size() - i));
      std::size_t end = found ? static_cast<std::size_t>(found - line.data()) : line.size();
      if (strict_) {
        const void* quote = std::memchr(line.data() + i, '"', end - i);
        if (quote)
          fail(line, static_cast<std::size_t>(static_cast<const char*>(quote) - line.data()),
               "quote in an unquoted field (without --strict it is kept)");
      }
      put(line.substr(i, end - i));
      if (end == line.size()) break;
      i = end + 1;
      continue;
    }
    // A quoted field, gathered at the end of *into from `start`.
    std::size_t open = i++, raw_from = open, open_column = 0;
    long open_line = 0;
    std::string* into = mode == Mode::in_line ? &text_ : mode == Mode::copied ? &record_ : &field_;
    std::size_t start = into->size();
    if (mode == Mode::fields) field_.clear(), start = 0;
    raw_.clear();
    bool as_written = false;
    for (;;) {
      const char* q = static_cast<const char*>(std::memchr(line.data() + i, '"', line.size() - i));
      if (!q) {
        // The field goes on past the line's end, its line break included.
        if (mode == Mode::in_line) {  // the record so far, copied
          for (std::string_view field : views_) {
            record_.append(field);
            ends_.push_back(record_.size());
          }
          std::size_t partial = start;
          start = record_.size();
          record_.append(text_, partial, std::string::npos);
          mode = Mode::copied;
          into = &record_;
        }
        if (mode == Mode::copied && record_.size() > kWholeLine) {  // too long to hold
          std::size_t begin = 0;
          for (std::size_t end : ends_) {
            sink.field(std::string_view(record_).substr(begin, end - begin), utf8_);
            begin = end;
          }
          field_.assign(record_, start, std::string::npos);
          mode = Mode::fields;
          into = &field_;
          start = 0;
        }
        if (strict_ && open_line == 0) {
          open_line = lines_.line_number();
          open_column = characters(line.substr(0, open)) + 1;
        }
        std::string_view brk = lines_.line_break();
        into->append(line.substr(i));
        raw_.append(line.substr(raw_from));
        if (brk.empty() || !lines_.next(&line)) {
          if (strict_)
            throw DataError(std::string(lines_.name()) + ":" + std::to_string(open_line) + ":" +
                            std::to_string(open_column) +
                            ": quote left open (without --strict the rest of the input is kept "
                            "as written)");
          as_written = true;
          line = {};
          i = 0;
          break;
        }
        *into += brk;
        raw_ += brk;
        utf8_ = utf8_ && lines_.line_utf8();
        i = raw_from = 0;
        continue;
      }
      std::size_t close = static_cast<std::size_t>(q - line.data());
      into->append(line.substr(i, close - i));
      i = close + 1;
      if (i < line.size() && line[i] == '"') {  // a doubled quote
        *into += '"';
        ++i;
        continue;
      }
      if (i == line.size() || line[i] == sep) break;
      // Text after the closing quote: the field is kept as written, up to
      // the next separator.
      if (strict_) fail(line, i, "text after a closing quote (without --strict it is kept)");
      const char* found =
          static_cast<const char*>(std::memchr(line.data() + i, sep, line.size() - i));
      std::size_t end = found ? static_cast<std::size_t>(found - line.data()) : line.size();
      raw_.append(line.substr(raw_from, end - raw_from));
      as_written = true;
      i = end;
      break;
    }
    if (as_written) {
      into->resize(start);
      *into += raw_;
    }
    if (mode == Mode::copied)
      ends_.push_back(record_.size());
    else
      put(std::string_view(*into).substr(start));
    if (i == line.size()) break;
    ++i;  // the separator
  }
  if (mode == Mode::in_line) {
    sink.record(views_, utf8_);
  } else if (mode == Mode::copied) {
    views_.clear();
    std::size_t begin = 0;
    for (std::size_t end : ends_) {
      views_.push_back(std::string_view(record_).substr(begin, end - begin));
      begin = end;
    }
    sink.record(views_, utf8_);
  }
}

}  // namespace qtool
