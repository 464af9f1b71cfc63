// Reading input line by line, with a progress line on standard error for long
// inputs when standard error is a terminal.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace qtool {

class LineReader {
 public:
  // `size` is the input's total size when known (0 otherwise). A UTF-8 byte
  // order mark at the start is dropped when `drop_bom`. `recode_from`, when
  // not 0, is a Windows code page the lines are converted from into the
  // process code page (Windows only, where the tool cannot choose the
  // library's code page).
  LineReader(std::FILE* in, std::uint64_t size, const char* name, bool drop_bom,
             unsigned recode_from = 0);
  ~LineReader();
  LineReader(const LineReader&) = delete;
  LineReader& operator=(const LineReader&) = delete;

  // The next line without its line break (a CR before the LF is dropped
  // too), valid until the next call.
  bool next(std::string_view* line);
  // Asks `next` to learn whether each line is valid UTF-8 (see line_utf8).
  void check_utf8() { check_utf8_ = recode_from_ == 0; }
  // Whether the line `next` returned last is known to be valid UTF-8;
  // false when it is not, or when check_utf8 was not asked for.
  bool line_utf8() const { return line_utf8_; }
  // The number of the line `next` returned last, from 1.
  long line_number() const { return line_number_; }
  const char* name() const { return name_; }
  // The errno of a failed read, 0 when reading went well.
  int error() const { return error_; }

 private:
  void report(bool last);
  bool refill();
  std::string_view recode(std::string_view line);
  bool known_utf8(std::size_t begin, std::size_t end);

  std::FILE* in_;
  std::uint64_t size_;
  std::uint64_t consumed_ = 0;
  const char* name_;
  bool show_progress_;
  bool drop_bom_;
  unsigned recode_from_;
  std::uint64_t next_report_ = 0;
  bool reported_ = false;
  std::string buffer_;
  std::size_t at_ = 0;
  std::size_t scanned_ = 0;  // bytes past at_ known to hold no line break
  bool eof_ = false;
  bool check_utf8_ = false;
  bool line_utf8_ = false;
  std::size_t utf8_to_ = 0;     // buffer_ up to here, from a line start, is valid UTF-8
  std::size_t last_break_ = 0;  // of buffer_, found once per block; 0: not yet
  int error_ = 0;
  long line_number_ = 0;
  std::string recoded_;
};

}  // namespace qtool
