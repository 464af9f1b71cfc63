#include "input.hpp"

#include <cstring>

#if defined(_WIN32)
#include <io.h>
#define isatty _isatty
#define fileno _fileno
#else
#include <unistd.h>
#endif

namespace qtool {
namespace {

constexpr std::uint64_t kLongInput = 16u << 20;  // below this, no progress line
constexpr std::uint64_t kReportEvery = 4u << 20;

}  // namespace

LineReader::LineReader(std::FILE* in, std::uint64_t size, const char* name)
    : in_(in),
      size_(size),
      name_(name),
      show_progress_(isatty(fileno(stderr)) && (size == 0 || size >= kLongInput)) {}

LineReader::~LineReader() {
  if (reported_) report(true);
}

// Reads the next chunk, keeping what is left of the current one.
bool LineReader::refill() {
  if (eof_) return false;
  buffer_.erase(0, at_);
  at_ = 0;
  std::size_t kept = buffer_.size();
  buffer_.resize(kept + (1u << 20));
  std::size_t got = std::fread(buffer_.data() + kept, 1, buffer_.size() - kept, in_);
  buffer_.resize(kept + got);
  if (got == 0) eof_ = true;
  return got > 0;
}

bool LineReader::next(std::string* line) {
  const char* newline;
  while (!(newline = static_cast<const char*>(
               std::memchr(buffer_.data() + at_, '\n', buffer_.size() - at_)))) {
    if (!refill()) break;
  }
  std::size_t end = newline ? static_cast<std::size_t>(newline - buffer_.data()) : buffer_.size();
  if (!newline && end == at_) return false;
  line->assign(buffer_, at_, end - at_);
  consumed_ += end - at_ + (newline != nullptr);
  at_ = newline ? end + 1 : end;
  if (!line->empty() && line->back() == '\r') line->pop_back();
  if (show_progress_ && consumed_ >= next_report_) {
    report(false);
    next_report_ = consumed_ + kReportEvery;
  }
  return true;
}

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
