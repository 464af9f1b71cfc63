#include "input.hpp"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "utf.hpp"

#if defined(_WIN32)
#include <io.h>
#include <windows.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace qtool {
namespace {

constexpr std::uint64_t kLongInput = 16u << 20;  // below this, no progress line
constexpr std::uint64_t kReportEvery = 4u << 20;
constexpr std::size_t kChunk = 1u << 20;

}  // namespace

LineReader::LineReader(std::FILE* in, std::uint64_t size, const char* name, bool drop_bom,
                       unsigned recode_from)
    : in_(in),
      size_(size),
      name_(name),
      show_progress_(isatty(fileno(stderr)) && (size == 0 || size >= kLongInput)),
      drop_bom_(drop_bom),
      recode_from_(recode_from) {}

LineReader::~LineReader() {
  if (reported_) report(true);
}

// Reads the next chunk, keeping what is left of the current one. A line
// longer than a chunk doubles the read, so a huge line costs linear time.
bool LineReader::refill() {
  if (eof_) return false;
  buffer_.erase(0, at_);
  utf8_to_ = utf8_to_ > at_ ? utf8_to_ - at_ : 0;
  last_break_ = 0;
  at_ = 0;
  std::size_t kept = buffer_.size();
  buffer_.resize(kept + std::max(kChunk, kept));
  errno = 0;
  std::size_t got = std::fread(buffer_.data() + kept, 1, buffer_.size() - kept, in_);
  buffer_.resize(kept + got);
  if (got == 0) {
    eof_ = true;
    if (std::ferror(in_)) error_ = errno ? errno : EIO;
  }
  return got > 0;
}

bool LineReader::next(std::string_view* line) {
  if (error_) return false;
  const char* newline;
  while (!(newline = static_cast<const char*>(std::memchr(buffer_.data() + at_ + scanned_, '\n',
                                                          buffer_.size() - at_ - scanned_)))) {
    scanned_ = buffer_.size() - at_;
    if (!refill()) break;
  }
  scanned_ = 0;
  if (error_) return false;
  if (drop_bom_ && line_number_ == 0 && buffer_.compare(at_, 3, "\xEF\xBB\xBF") == 0) at_ += 3;
  std::size_t end = newline ? static_cast<std::size_t>(newline - buffer_.data()) : buffer_.size();
  if (!newline && end == at_) return false;
  if (check_utf8_) line_utf8_ = known_utf8(at_, end);
  std::string_view text(buffer_.data() + at_, end - at_);
  consumed_ += end - at_ + (newline != nullptr);
  at_ = newline ? end + 1 : end;
  ++line_number_;
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  if (show_progress_ && consumed_ >= next_report_) {
    report(false);
    next_report_ = consumed_ + kReportEvery;
  }
  *line = recode_from_ ? recode(text) : text;
  return true;
}

// Checking every line that is read, as one run up to the last line break in
// the buffer, costs a call per block instead of one per line. A valid run
// cut at line breaks (ASCII) leaves valid lines; a line holding an invalid
// byte ends the run, and the check starts again at the next line.
bool LineReader::known_utf8(std::size_t begin, std::size_t end) {
  if (end > utf8_to_) {
    if (last_break_ == 0) last_break_ = std::string_view(buffer_).rfind('\n') + 1;
    std::size_t stop = std::max(last_break_, end);
    utf8_to_ = begin + valid_utf8_prefix(std::string_view(buffer_).substr(begin, stop - begin));
  }
  return end <= utf8_to_;
}

#if defined(_WIN32)
std::string_view LineReader::recode(std::string_view line) {
  int n = static_cast<int>(line.size());
  int units = MultiByteToWideChar(recode_from_, 0, line.data(), n, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(recode_from_, 0, line.data(), n, wide.data(), units);
  int bytes = WideCharToMultiByte(CP_ACP, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
  recoded_.resize(static_cast<std::size_t>(bytes));
  WideCharToMultiByte(CP_ACP, 0, wide.data(), units, recoded_.data(), bytes, nullptr, nullptr);
  return recoded_;
}
#else
std::string_view LineReader::recode(std::string_view line) { return line; }
#endif

void LineReader::report(bool last) {
  reported_ = true;
  if (last) {
    std::fputs("\r\033[K", stderr);
  } else if (size_) {
    std::fprintf(stderr, "\r%s: %3u%% of %llu MB", name_,
                 static_cast<unsigned>(consumed_ * 100 / size_),
                 static_cast<unsigned long long>(size_ >> 20));
  } else {
    std::fprintf(stderr, "\r%s: %llu MB read", name_,
                 static_cast<unsigned long long>(consumed_ >> 20));
  }
  std::fflush(stderr);
}

}  // namespace qtool
