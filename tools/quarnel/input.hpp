// Reading input line by line, with a progress line on standard error for long
// inputs when standard error is a terminal.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace qtool {

class LineReader {
 public:
  // `size` is the input's total size when known (0 otherwise).
  LineReader(std::FILE* in, std::uint64_t size, const char* name);
  ~LineReader();
  // The next line without its line break (a CR before the LF is dropped too).
  bool next(std::string* line);

 private:
  void report(bool last);
  bool refill();

  std::FILE* in_;
  std::uint64_t size_;
  std::uint64_t consumed_ = 0;
  const char* name_;
  bool show_progress_;
  std::uint64_t next_report_ = 0;
  bool reported_ = false;
  std::string buffer_;
  std::size_t at_ = 0;
  bool eof_ = false;
};

}  // namespace qtool
