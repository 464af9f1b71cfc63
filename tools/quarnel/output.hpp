// Writing records (the fields of one line) as plain text, tab-separated
// values, JSON lines or CSV, always as valid UTF-8.
#pragma once

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "quarnel/quarnel.hpp"

namespace qtool {

enum class Format { text, tsv, jsonl, csv };

bool parse_format(std::string_view name, Format* out);

// A failed write to standard output. A closed pipe is `quiet`: the reader
// has gone away and there is nobody to tell.
struct WriteError : std::runtime_error {
  WriteError(const std::string& what, bool closed_pipe)
      : std::runtime_error(what), quiet(closed_pipe) {}
  bool quiet;
};

// A byte buffer for output, appended to in small pieces many times a line:
// leaner than std::string, whose appends also keep a terminator.
class Buffer {
 public:
  void operator+=(char c) {
    if (size_ == capacity_) grow(1);
    data_[size_++] = c;
  }
  void operator+=(std::string_view s) {
    if (s.empty()) return;  // an empty view may have no data at all
    if (s.size() > capacity_ - size_) grow(s.size());
    std::memcpy(data_.get() + size_, s.data(), s.size());
    size_ += s.size();
  }
  // Room for `n` more bytes, written through the pointer and kept by
  // commit(end of what was written): one capacity check for a whole record.
  char* claim(std::size_t n) {
    if (n > capacity_ - size_) grow(n);
    return data_.get() + size_;
  }
  void commit(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }
  char* data() { return data_.get(); }
  const char* data() const { return data_.get(); }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  void clear() { size_ = 0; }

 private:
  void grow(std::size_t more);

  std::unique_ptr<char[]> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// Collects output in large blocks and writes each block at once, so a write
// error stops the run where it happens instead of at exit.
class Output {
 public:
  Output();
  Buffer& buffer() { return buffer_; }
  void maybe_flush() {
    if (buffer_.size() >= kBlock) flush();
  }
  void flush();  // throws WriteError
  // Marks the end of a whole record, so that a record found faulty half-way
  // can be taken back (what was flushed already stays written).
  void mark() { mark_ = buffer_.size(); }
  void take_back() { buffer_.commit(buffer_.data() + std::min(mark_, buffer_.size())); }

 private:
  static constexpr std::size_t kBlock = 1u << 16;
  Buffer buffer_;
  std::size_t mark_ = 0;
};

// The text of a missing field in object output: written as null.
extern const std::string_view kMissing;

class RecordWriter {
 public:
  RecordWriter(Output& out, Format format) : out_(out), format_(format) {}
  // Writes one record; `utf8_checked`: the fields are known to be valid
  // UTF-8 already (others are checked, and repaired field by field).
  void write(const std::vector<std::string_view>& fields, bool utf8_checked = false);
  // Writes one record as a JSON object (other formats: as write does);
  // keys.size() >= fields.size(), and a field that is kMissing is null.
  void write_object(const std::vector<std::string>& keys,
                    const std::vector<std::string_view>& fields, bool utf8_checked);
  // Fields cut from `line` at `separator` (views into it, perhaps trimmed);
  // `utf8_checked`: `line` is known to be UTF-8.
  void write(const std::vector<std::string_view>& fields, std::string_view line, char separator,
             bool utf8_checked);
  void write(const CLWideStrList& fields);
  // A record written as its fields come, for records too long to hold.
  void begin();
  void add(std::string_view text, bool utf8_checked);
  void end();
  // Text as valid UTF-8: `text` itself when it is, else a repaired copy in
  // `scratch`.
  static std::string_view to_utf8(std::string_view text, std::string& scratch);

 private:
  void separate(std::size_t index);
  void end_record();
  void field(std::string_view utf8);
  template <class Field>
  void put_record(std::size_t count, std::size_t bytes, bool plain, Field field);
  char* put_between(char* at) const;
  char* put_field(char* at, std::string_view utf8) const;
  char* put_body(char* at, std::string_view utf8, bool quoted) const;

  Output& out_;
  Format format_;
  std::string scratch_;
  std::vector<std::string_view> views_;
  std::size_t added_ = 0;
  bool last_empty_ = false;
};

}  // namespace qtool
