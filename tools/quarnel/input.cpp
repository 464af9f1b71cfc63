#include "input.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstring>

#include "quarnel/quarnel.hpp"
#include "utf.hpp"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
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

using Clock = std::chrono::steady_clock;
const Clock::time_point kRunStart = Clock::now();
Clock::time_point next_report_time = kRunStart + std::chrono::seconds(1);
bool warned_utf8 = false;

constexpr std::size_t kChunk = 1u << 20;
// Undecoded bytes that are decoded even without a safe place to cut them.
constexpr std::size_t kMostUndecoded = 64u << 20;

// The first CR or LF in [p, p + n), or n.
std::size_t find_break(const char* p, std::size_t n) {
  std::size_t i = 0;
#if defined(__SSE2__)
  const __m128i lf = _mm_set1_epi8('\n'), cr = _mm_set1_epi8('\r');
  for (; i + 16 <= n; i += 16) {
    __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
    int mask = _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(v, lf), _mm_cmpeq_epi8(v, cr)));
    if (mask) return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
  }
#endif
  for (; i < n; ++i)
    if (p[i] == '\n' || p[i] == '\r') return i;
  return n;
}

// A byte below 0x40 is neither a lead nor a trail byte in any code page the
// tool reads, so text can be decoded in pieces cut after one.
std::size_t safe_cut(std::string_view raw) {
  for (std::size_t i = raw.size(); i > 0; --i)
    if (static_cast<unsigned char>(raw[i - 1]) < 0x40) return i;
  return 0;
}

void append_code_page_as_utf8(unsigned code_page, std::string_view bytes, std::string& out) {
  if (bytes.empty()) return;
#if defined(_WIN32)
  int n = static_cast<int>(bytes.size());
  int units = MultiByteToWideChar(code_page, 0, bytes.data(), n, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(units), L'\0');
  MultiByteToWideChar(code_page, 0, bytes.data(), n, wide.data(), units);
  append_utf16_as_utf8({reinterpret_cast<const LWideChar*>(wide.data()), wide.size()}, out);
#else
  // The library decodes its process code page, which the tool has set to
  // the input's (see use_code_page in main.cpp).
  (void)code_page;
  CLWideStr wide(LStrAllocFromASzStrW(bytes.data(), static_cast<int>(bytes.size())), true);
  if (!wide.handle) throw std::bad_alloc();
  append_utf16_as_utf8(wide.view(), out);
#endif
}

}  // namespace

LineReader::LineReader(std::FILE* in, std::uint64_t size, const char* name,
                       const Decoding& decoding)
    : in_(in),
      size_(size),
      name_(name),
      decoding_(decoding),
      show_progress_(isatty(fileno(stderr)) != 0) {}

LineReader::~LineReader() {
  if (reported_) report(true);
}

bool LineReader::read_raw(Bytes& into) {
  std::size_t kept = into.size();
  // A line longer than a chunk grows the read by half, so a huge line
  // costs linear time and the buffer stays within 1.5 times the line.
  into.resize(kept + std::max(kChunk, kept / 2));
  std::size_t got = 0;
#if defined(_WIN32)
  errno = 0;
  got = std::fread(into.data() + kept, 1, into.size() - kept, in_);
  if (got == 0 && std::ferror(in_)) error_ = errno ? errno : EIO;
#else
  // What a pipe or terminal has now, not a whole chunk: lines are written as
  // they come, and progress shows however slowly input arrives.
  ssize_t n;
  do n = ::read(fileno(in_), into.data() + kept, into.size() - kept);
  while (n < 0 && errno == EINTR);
  if (n < 0) error_ = errno;
  got = n > 0 ? static_cast<std::size_t>(n) : 0;
#endif
  into.resize(kept + got);
  if (got == 0) eof_ = true;
  return got > 0;
}

// Turns the undecoded bytes into UTF-8 at the end of buffer_, keeping those
// that may be the first half of a character.
void LineReader::decode(bool at_end) {
  std::string_view raw = raw_;
  std::size_t used = raw.size();
  decoded_.clear();
  if (source_ == Source::code_page) {
    if (!at_end) {
      used = safe_cut(raw);
      if (used == 0 && raw.size() > kMostUndecoded) used = raw.size();
    }
    append_code_page_as_utf8(decoding_.code_page, raw.substr(0, used), decoded_);
  } else {
    used = append_utf16_bytes_as_utf8(raw, source_ == Source::utf16be, high_surrogate_, decoded_);
    if (at_end && (used < raw.size() || high_surrogate_)) {
      decoded_ += "\xEF\xBF\xBD";  // half a unit, or a high surrogate with nothing after it
      used = raw.size();
      high_surrogate_ = 0;
    }
  }
  raw_.erase_front(used);
  buffer_.append(decoded_);
}

// Reads the next chunk, keeping what is left of the current one.
bool LineReader::refill() {
  if (eof_) return false;
  buffer_.erase_front(at_);
  utf8_to_ = utf8_to_ > at_ ? utf8_to_ - at_ : 0;
  last_break_ = 0;
  at_ = 0;
  std::size_t before = buffer_.size();
  if (!started_) {
    started_ = true;
    read_raw(buffer_);
    std::string_view head = buffer_;
    if (head.substr(0, 3) == "\xEF\xBB\xBF") {
      buffer_.erase_front(3);
    } else if (head.substr(0, 2) == "\xFF\xFE" || head.substr(0, 2) == "\xFE\xFF") {
      source_ = head[0] == '\xFF' ? Source::utf16le : Source::utf16be;
      raw_.append(head.substr(2));
      buffer_.clear();
    } else if (decoding_.code_page != 65001) {
      source_ = Source::code_page;
      raw_.append(head);
      buffer_.clear();
    }
    if (source_ != Source::utf8) decode(eof_);
  } else if (source_ == Source::utf8) {
    read_raw(buffer_);
  } else {
    bool got = read_raw(raw_);
    decode(!got);
  }
  block_has_nul_ = std::memchr(buffer_.data(), 0, buffer_.size()) != nullptr;
  maybe_report();
  return buffer_.size() > before || !raw_.empty();
}

bool LineReader::next(std::string_view* line) {
  if (error_) return false;
  std::size_t end;
  for (;;) {
    std::size_t from = at_ + scanned_;
    end = from + find_break(buffer_.data() + from, buffer_.size() - from);
    // A CR at the end of what has been read may be the first half of a CRLF.
    if (end < buffer_.size() && !(buffer_[end] == '\r' && end + 1 == buffer_.size() && !eof_))
      break;
    scanned_ = end - at_;
    if (!refill()) {
      end = std::min(at_ + scanned_, buffer_.size());
      end += find_break(buffer_.data() + end, buffer_.size() - end);
      break;
    }
  }
  scanned_ = 0;
  if (error_) return false;
  if (end == buffer_.size() && end == at_) return false;
  if (end == buffer_.size()) {
    break_size_ = 0;
  } else if (buffer_[end] == '\n') {
    break_at_ = 1, break_size_ = 1;
  } else {
    break_at_ = 0;
    break_size_ = end + 1 < buffer_.size() && buffer_[end + 1] == '\n' ? 2 : 1;
  }
  ++line_number_;
  line_utf8_ = source_ != Source::utf8 || known_utf8(at_, end);
  if (!line_utf8_) bad_utf8();
  *line = std::string_view(buffer_.data() + at_, end - at_);
  consumed_ += end - at_ + break_size_;
  at_ = end + break_size_;
  return true;
}

void LineReader::bad_utf8() {
  std::string where = std::string(name_) + ":" + std::to_string(line_number_) + ": ";
  if (decoding_.strict)
    throw DataError(where + "not valid UTF-8 (name the input's code page with -e, e.g. -e 1252)");
  if (warned_utf8) return;
  warned_utf8 = true;
  std::fprintf(stderr, "quarnel: %snot valid UTF-8, written as U+FFFD (said once; %s)\n",
               where.c_str(),
               decoding_.code_page_given
                   ? "use --strict to stop here"
                   : "name the input's code page with -e, e.g. -e 1252, or use --strict to stop "
                     "here");
}

// Checking every line that is read, as one run up to the last line break in
// the buffer, costs a call per block instead of one per line. A valid run
// cut at line breaks (ASCII) leaves valid lines; a line holding an invalid
// byte ends the run, and the check starts again at the next line.
bool LineReader::known_utf8(std::size_t begin, std::size_t end) {
  if (end > utf8_to_) {
    if (last_break_ == 0) {
      last_break_ = buffer_.size();
      while (last_break_ > 0 && buffer_[last_break_ - 1] != '\n' &&
             buffer_[last_break_ - 1] != '\r')
        --last_break_;
    }
    std::size_t stop = std::max(last_break_, end);
    utf8_to_ = begin + valid_utf8_prefix(std::string_view(buffer_).substr(begin, stop - begin));
  }
  return end <= utf8_to_;
}

void LineReader::maybe_report() {
  if (!show_progress_) return;
  Clock::time_point now = Clock::now();
  if (now < next_report_time) return;
  next_report_time = now + std::chrono::milliseconds(250);
  report(false);
}

void LineReader::report(bool last) {
  reported_ = true;
  if (last) {
    std::fputs("\r\033[K", stderr);
  } else if (size_) {
    std::fprintf(stderr, "\r%s: %3u%% of %llu MB", name_,
                 static_cast<unsigned>(std::min<std::uint64_t>(consumed_ * 100 / size_, 100)),
                 static_cast<unsigned long long>(size_ >> 20));
  } else {
    std::fprintf(stderr, "\r%s: %.1f MB read", name_, static_cast<double>(consumed_) / (1 << 20));
  }
  std::fflush(stderr);
}

}  // namespace qtool
