#include "output.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include "utf.hpp"

namespace qtool {
namespace {

// A set of bytes to escape, as a table.
struct ByteSet {
  constexpr explicit ByteSet(std::string_view bytes, bool controls = false) : has{} {
    for (char c : bytes) has[static_cast<unsigned char>(c)] = true;
    for (int c = 0; controls && c < 0x20; ++c) has[c] = true;
  }
  bool has[256];
};

constexpr ByteSet kTsvSpecial("\t\n\r\\");
constexpr ByteSet kJsonSpecial("\"\\", true);
constexpr ByteSet kCsvSpecial(",\"\r\n");

// The bytes a format escapes are control bytes and at most two others, which
// lets a line be searched for them eight bytes at a time; the table decides
// about each byte that the search stops at.
struct Escapes {
  const ByteSet& set;
  char a, b;
};

Escapes escapes_of(Format format) {
  switch (format) {
    case Format::tsv:
      return {kTsvSpecial, '\\', '\\'};
    case Format::jsonl:
      return {kJsonSpecial, '"', '\\'};
    default:
      return {kCsvSpecial, ',', '"'};
  }
}

bool has_escapes(std::string_view line, char separator, const Escapes& e) {
  constexpr std::uint64_t kOnes = 0x0101010101010101u, kHigh = 0x8080808080808080u;
  auto zero_byte = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
  std::uint64_t a = kOnes * static_cast<unsigned char>(e.a);
  std::uint64_t b = kOnes * static_cast<unsigned char>(e.b);
  for (std::size_t i = 0; i < line.size(); i += 8) {
    std::size_t n = std::min<std::size_t>(8, line.size() - i);
    std::uint64_t word = kOnes * ' ';  // a short tail is padded with harmless spaces
    std::memcpy(&word, line.data() + i, n);
    if (!((word - kOnes * 0x20) & ~word & kHigh) && !zero_byte(word ^ a) && !zero_byte(word ^ b))
      continue;
    for (std::size_t k = i; k < i + n; ++k)
      if (line[k] != separator && e.set.has[static_cast<unsigned char>(line[k])]) return true;
  }
  return false;
}

// The most bytes that one input byte becomes in any format ("\u0001").
constexpr std::size_t kMaxGrowth = 6;
// Records of lines up to this size are written with one capacity check;
// longer ones field by field, flushed as they grow.
constexpr std::size_t kWholeRecord = 1u << 20;
// Fields longer than this are written a piece at a time.
constexpr std::size_t kPiece = 1u << 16;

// Fields are mostly a few bytes long: those are copied as two overlapping
// fixed-size pieces, which compile to plain moves instead of a call.
char* put(char* at, std::string_view text) {
  const char* from = text.data();
  std::size_t n = text.size();
  if (n >= 8 && n <= 16) {
    std::memcpy(at, from, 8);
    std::memcpy(at + n - 8, from + n - 8, 8);
  } else if (n >= 4 && n < 8) {
    std::memcpy(at, from, 4);
    std::memcpy(at + n - 4, from + n - 4, 4);
  } else if (n > 16) {
    std::memcpy(at, from, n);
  } else {
    for (std::size_t i = 0; i < n; ++i) at[i] = from[i];  // an empty view may have no data
  }
  return at + n;
}

// Copies `text`, handing each byte of `special` to `escape` and copying the
// runs between them whole.
template <class Escape>
char* put_escaped(char* at, std::string_view text, const ByteSet& special, Escape escape) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!special.has[static_cast<unsigned char>(text[i])]) continue;
    at = escape(put(at, text.substr(run, i - run)), text[i]);
    run = i + 1;
  }
  return put(at, text.substr(run));
}

}  // namespace

bool parse_format(std::string_view name, Format* out) {
  static constexpr std::pair<std::string_view, Format> kNames[] = {
      {"text", Format::text}, {"tsv", Format::tsv}, {"jsonl", Format::jsonl}, {"csv", Format::csv}};
  for (const auto& [n, f] : kNames)
    if (name == n) {
      *out = f;
      return true;
    }
  return false;
}

Output::Output() {
  // Blocks go straight to the file: nothing waits in stdio's buffer.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
}

void Buffer::grow(std::size_t more) {
  std::size_t capacity = std::max({capacity_ * 2, size_ + more, std::size_t{1} << 17});
  auto bigger = std::make_unique<char[]>(capacity);
  if (size_) std::memcpy(bigger.get(), data_.get(), size_);
  data_ = std::move(bigger);
  capacity_ = capacity;
}

void Output::flush() {
  if (buffer_.empty()) return;
  errno = 0;
  std::size_t wrote = std::fwrite(buffer_.data(), 1, buffer_.size(), stdout);
  if (wrote != buffer_.size()) {
    int error = errno ? errno : EIO;
    buffer_.clear();
    throw WriteError(std::string("cannot write the output: ") + std::strerror(error),
                     error == EPIPE);
  }
  buffer_.clear();
  mark_ = 0;
}

const std::string_view kMissing("null", 0);

std::string_view RecordWriter::to_utf8(std::string_view text, std::string& scratch) {
  return valid_utf8(text) ? text : repair_utf8(text, scratch);
}

// Separators cost a few byte stores, not a copy each.
char* RecordWriter::put_between(char* at) const {
  switch (format_) {
    case Format::text:
      at[0] = ' ';
      at[1] = '|';
      at[2] = ' ';
      return at + 3;
    case Format::tsv:
      *at = '\t';
      return at + 1;
    default:
      *at = ',';
      return at + 1;
  }
}

void RecordWriter::separate(std::size_t index) {
  if (index == 0) return;
  out_.maybe_flush();  // a record of millions of fields is written as it grows
  Buffer& b = out_.buffer();
  b.commit(put_between(b.claim(3)));
}

void RecordWriter::end_record() {
  out_.buffer() += '\n';
  out_.mark();
  out_.maybe_flush();
}

// A CSV record of one empty field is written "": an empty line would be
// read back as no record at all.
void RecordWriter::write(const std::vector<std::string_view>& fields, bool utf8_checked) {
  if (utf8_checked) {
    std::size_t bytes = 0;
    for (std::string_view f : fields) bytes += f.size();
    if (bytes <= kWholeRecord)
      return put_record(fields.size(), bytes, format_ == Format::text,
                        [&](std::size_t i) { return fields[i]; });
  }
  begin();
  for (std::string_view f : fields) add(f, utf8_checked);
  end();
}

void RecordWriter::begin() {
  added_ = 0;
  last_empty_ = false;
  if (format_ == Format::jsonl) out_.buffer() += '[';
}

void RecordWriter::add(std::string_view text, bool utf8_checked) {
  separate(added_++);
  last_empty_ = text.empty();
  field(utf8_checked ? text : to_utf8(text, scratch_));
}

void RecordWriter::end() {
  if (format_ == Format::jsonl) out_.buffer() += ']';
  if (format_ == Format::csv && added_ == 1 && last_empty_) out_.buffer() += "\"\"";
  end_record();
}

void RecordWriter::write_object(const std::vector<std::string>& keys,
                                const std::vector<std::string_view>& fields, bool utf8_checked) {
  if (format_ != Format::jsonl) return write(fields, utf8_checked);
  Buffer& b = out_.buffer();
  b += '{';
  for (std::size_t i = 0; i < keys.size(); ++i) {
    separate(i);
    field(keys[i]);
    b += ':';
    if (i >= fields.size() || fields[i].data() == kMissing.data())
      b += "null";
    else
      field(utf8_checked ? fields[i] : to_utf8(fields[i], scratch_));
  }
  b += '}';
  end_record();
}

// Fields cut from a line hold at most the line's bytes between them, so one
// claim covers the whole record at its most escaped.
void RecordWriter::write(const std::vector<std::string_view>& fields, std::string_view line,
                         char separator, bool utf8_checked) {
  if (!utf8_checked || line.size() > kWholeRecord) return write(fields, utf8_checked);
  // Fields lie between separators: when the rest of the line needs no
  // escapes, neither does any field.
  bool plain = format_ == Format::text || !has_escapes(line, separator, escapes_of(format_));
  put_record(fields.size(), line.size(), plain, [&](std::size_t i) { return fields[i]; });
}

// One claim for the whole record: `bytes` bounds the fields' bytes, each
// of which may grow kMaxGrowth times, and each field may add quotes and a
// separator. `plain`: no field needs escapes.
template <class Field>
void RecordWriter::put_record(std::size_t count, std::size_t bytes, bool plain, Field field) {
  Buffer& b = out_.buffer();
  char* at = b.claim(bytes * kMaxGrowth + count * 5 + 3);
  if (format_ == Format::jsonl) *at++ = '[';
  for (std::size_t i = 0; i < count; ++i) {
    std::string_view text = field(i);
    if (text.size() > bytes) {  // never, with a true bound; stays safe all the same
      b.commit(at);
      at = b.claim(text.size() * kMaxGrowth + (count - i) * 5 + 3);
      bytes = text.size();
    }
    bytes -= text.size();
    if (i > 0) at = put_between(at);
    if (!plain) {
      at = put_field(at, text);
    } else if (format_ == Format::jsonl) {
      *at++ = '"';
      at = put(at, text);
      *at++ = '"';
    } else {
      at = put(at, text);
    }
  }
  if (format_ == Format::jsonl) *at++ = ']';
  if (format_ == Format::csv && count == 1 && field(0).empty()) {
    *at++ = '"';
    *at++ = '"';
  }
  *at++ = '\n';
  b.commit(at);
  out_.mark();
  out_.maybe_flush();
}

void RecordWriter::write(const CLWideStrList& fields) {
  begin();
  for (int i = 0; i < fields.count; ++i) {
    scratch_.clear();
    append_utf16_as_utf8(fields[i].view(), scratch_);
    add(scratch_, true);
  }
  end();
}

// A long field goes out in pieces, flushed as they come, so that the
// buffer never holds it whole.
void RecordWriter::field(std::string_view text) {
  Buffer& b = out_.buffer();
  if (text.size() <= kPiece) {
    b.commit(put_field(b.claim(text.size() * kMaxGrowth + 2), text));
    return;
  }
  bool quoted = format_ == Format::jsonl ||
                (format_ == Format::csv && has_escapes(text, 0, {kCsvSpecial, ',', '"'}));
  if (quoted) b += '"';
  for (std::size_t i = 0; i < text.size(); i += kPiece) {
    std::string_view piece = text.substr(i, kPiece);
    b.commit(put_body(b.claim(piece.size() * kMaxGrowth), piece, quoted));
    out_.maybe_flush();
  }
  if (quoted) b += '"';
}

// Escapes one UTF-8 field for the format: TSV escapes tabs, line breaks and
// backslashes so every record stays one line with a fixed number of
// columns; CSV quotes a field only when it must. Needs room for
// kMaxGrowth bytes per byte of `text`, and two more.
char* RecordWriter::put_field(char* at, std::string_view text) const {
  if (format_ == Format::csv) {
    // Copied while looked at; quoted, once more, only when it must be.
    bool special = false;
    char* to = at;
    for (char c : text) {
      special |= kCsvSpecial.has[static_cast<unsigned char>(c)];
      *to++ = c;
    }
    if (!special) return to;
  }
  bool quoted = format_ == Format::jsonl || format_ == Format::csv;
  if (quoted) *at++ = '"';
  at = put_body(at, text, quoted);
  if (quoted) *at++ = '"';
  return at;
}

// A field's text without the quotes around it.
char* RecordWriter::put_body(char* at, std::string_view text, bool quoted) const {
  switch (format_) {
    case Format::text:
      return put(at, text);
    case Format::tsv:
      return put_escaped(at, text, kTsvSpecial, [](char* to, char c) {
        to[0] = '\\';
        to[1] = c == '\t' ? 't' : c == '\n' ? 'n' : c == '\r' ? 'r' : '\\';
        return to + 2;
      });
    case Format::jsonl:
      return put_escaped(at, text, kJsonSpecial, [](char* to, char c) {
        *to++ = '\\';
        if (c == '"' || c == '\\') {
          *to++ = c;
        } else if (c == '\n' || c == '\t' || c == '\r') {
          *to++ = c == '\n' ? 'n' : c == '\t' ? 't' : 'r';
        } else {
          static constexpr char kHex[] = "0123456789abcdef";
          to = put(to, "u00");
          *to++ = kHex[static_cast<unsigned char>(c) >> 4];
          *to++ = kHex[c & 0xF];
        }
        return to;
      });
    case Format::csv:
      if (!quoted) return put(at, text);
      for (char c : text) {
        if (c == '"') *at++ = '"';
        *at++ = c;
      }
      return at;
  }
  return at;
}

}  // namespace qtool
