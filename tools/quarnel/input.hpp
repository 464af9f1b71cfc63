// Reading input line by line as UTF-8, whatever it was written in: a byte
// order mark (UTF-8, UTF-16 LE or BE) decides the encoding, else the code
// page given, else UTF-8. A progress line goes to standard error once a run
// has lasted about a second, when standard error is a terminal.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qtool {

// Malformed input, reported as "FILE:LINE[:COLUMN]: what".
struct DataError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

// A growing byte buffer that keeps to the size asked for: growing by
// realloc, a large buffer is moved by the system rather than copied beside
// its old self, so a long line costs its length once, not two or three times.
class Bytes {
 public:
  Bytes() = default;
  ~Bytes() { std::free(data_); }
  Bytes(const Bytes&) = delete;
  Bytes& operator=(const Bytes&) = delete;
  char* data() { return data_; }
  const char* data() const { return data_; }
  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  char operator[](std::size_t i) const { return data_[i]; }
  operator std::string_view() const { return {data_, size_}; }
  void clear() { size_ = 0; }
  // Throws std::bad_alloc when memory runs out; the contents stay.
  void resize(std::size_t n) {
    if (n > capacity_) {
      void* bigger = std::realloc(data_, n);
      if (!bigger) throw std::bad_alloc();
      data_ = static_cast<char*>(bigger);
      capacity_ = n;
    }
    size_ = n;
  }
  void append(std::string_view text) {
    std::size_t at = size_;
    if (size_ + text.size() > capacity_) reserve_more(text.size());
    resize(at + text.size());
    if (!text.empty()) std::memcpy(data_ + at, text.data(), text.size());
  }
  void erase_front(std::size_t n) {
    if (n == 0) return;
    std::memmove(data_, data_ + n, size_ - n);
    size_ -= n;
  }

 private:
  void reserve_more(std::size_t n) {
    std::size_t want = size_ + std::max(n, size_ / 2);
    std::size_t keep = size_;
    resize(want);
    size_ = keep;
  }
  char* data_ = nullptr;
  std::size_t size_ = 0, capacity_ = 0;
};

struct Decoding {
  unsigned code_page = 65001;  // the input's code page when it has no byte order mark
  bool code_page_given = false;
  bool strict = false;  // invalid UTF-8 is an error, not a warning
};

class LineReader {
 public:
  // `size` is the input's total size when known (0 otherwise).
  LineReader(std::FILE* in, std::uint64_t size, const char* name, const Decoding& decoding);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line without its line break (LF, CRLF or a lone CR, mixed as
  // they come), valid until the next call. Throws DataError on invalid
  // UTF-8 under --strict.
  bool next(std::string_view* line);
  // The line break that ended the line `next` returned last ("" at the end
  // of the input).
  std::string_view line_break() const {
    return std::string_view("\r\n", 2).substr(break_at_, break_size_);
  }
  // Whether the last line is known to be valid UTF-8 (decoded input always is).
  bool line_utf8() const { return line_utf8_; }
  // Whether the last line may hold a zero byte.
  bool line_may_hold_nul() const { return block_has_nul_; }
  long line_number() const { return line_number_; }
  const char* name() const { return name_; }
  // The errno of a failed read, 0 when reading went well.
  int error() const { return error_; }

 private:
  enum class Source { utf8, utf16le, utf16be, code_page };
  void report(bool last);
  void maybe_report();
  bool refill();
  bool read_raw(Bytes& into);
  void decode(bool at_end);
  bool known_utf8(std::size_t begin, std::size_t end);
  void bad_utf8();

  std::FILE* in_;
  std::uint64_t size_;
  std::uint64_t consumed_ = 0;
  const char* name_;
  Decoding decoding_;
  Source source_ = Source::utf8;
  bool started_ = false;
  bool show_progress_;
  bool reported_ = false;
  Bytes buffer_;  // UTF-8 text (or, for UTF-8 input, the bytes as read)
  Bytes raw_;     // bytes read but not decoded yet
  std::string decoded_;
  std::size_t at_ = 0;
  std::size_t scanned_ = 0;  // bytes past at_ known to hold no line break
  bool eof_ = false;
  bool line_utf8_ = true;
  bool block_has_nul_ = false;
  std::size_t utf8_to_ = 0;     // buffer_ up to here, from a line start, is valid UTF-8
  std::size_t last_break_ = 0;  // of buffer_, found once per block; 0: not yet
  char16_t high_surrogate_ = 0;
  int error_ = 0;
  long line_number_ = 0;
  std::size_t break_at_ = 0, break_size_ = 0;
};

}  // namespace qtool
