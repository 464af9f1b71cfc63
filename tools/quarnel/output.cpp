#include "output.hpp"

#include <algorithm>
#include <cerrno>
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

// Appends `text`, handing each byte of `special` to `escape` and copying
// the runs between them whole.
template <class Escape>
void append_escaped(Buffer& out, std::string_view text, const ByteSet& special, Escape escape) {
  std::size_t run = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (!special.has[static_cast<unsigned char>(text[i])]) continue;
    out += text.substr(run, i - run);
    escape(text[i]);
    run = i + 1;
  }
  out += text.substr(run);
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
}

// Cutting valid UTF-8 at ASCII bytes leaves valid UTF-8: one check of the
// whole source spares one per field.
bool RecordWriter::known_utf8(std::string_view source) const {
  return utf8_input_ && valid_utf8(source);
}

std::string_view RecordWriter::to_utf8(std::string_view text, std::string& scratch) const {
  if (utf8_input_) return valid_utf8(text) ? text : repair_utf8(text, scratch);
  // The library decodes the process code page; UTF-16 to UTF-8 is ours.
  CLWideStr wide(LStrAllocFromASzStrW(text.data(), static_cast<int>(text.size())), true);
  scratch.clear();
  append_utf16_as_utf8(wide.view(), scratch);
  return scratch;
}

void RecordWriter::separate(int index) {
  if (index == 0) return;
  out_.maybe_flush();  // a record of millions of fields is written as it grows
  static constexpr std::string_view kBetween[] = {" | ", "\t", ",", ","};
  out_.buffer() += kBetween[static_cast<int>(format_)];
}

void RecordWriter::end_record() {
  out_.buffer() += '\n';
  out_.maybe_flush();
}

void RecordWriter::write(const std::vector<std::string_view>& fields,
                         const std::vector<std::string>* keys, bool utf8_checked) {
  Buffer& b = out_.buffer();
  bool object = keys && format_ == Format::jsonl;
  if (format_ == Format::jsonl) b += object ? '{' : '[';
  for (std::size_t i = 0; i < fields.size(); ++i) {
    separate(static_cast<int>(i));
    if (object) {
      std::string number;
      if (i >= keys->size()) number = std::to_string(i + 1);
      field(i < keys->size() ? std::string_view((*keys)[i]) : std::string_view(number));
      b += ':';
    }
    field(utf8_checked ? fields[i] : to_utf8(fields[i], scratch_));
  }
  if (format_ == Format::jsonl) b += object ? '}' : ']';
  end_record();
}

void RecordWriter::write(const CLAnsiStrList& fields, std::string_view line) {
  bool checked = known_utf8(line);
  if (checked && format_ == Format::text) {  // the common case, kept short
    Buffer& b = out_.buffer();
    for (int i = 0; i < fields.count; ++i) {
      if (i > 0) {
        out_.maybe_flush();
        b += " | ";
      }
      b += fields[i].view();
    }
    end_record();
    return;
  }
  views_.clear();
  for (int i = 0; i < fields.count; ++i) views_.push_back(fields[i].view());
  write(views_, nullptr, checked);
}

void RecordWriter::write(const CLWideStrList& fields) {
  if (format_ == Format::jsonl) out_.buffer() += '[';
  for (int i = 0; i < fields.count; ++i) {
    separate(i);
    scratch_.clear();
    append_utf16_as_utf8(fields[i].view(), scratch_);
    field(scratch_);
  }
  if (format_ == Format::jsonl) out_.buffer() += ']';
  end_record();
}

// Escapes one UTF-8 field for the format: TSV escapes tabs, line breaks and
// backslashes so every record stays one line with a fixed number of
// columns; CSV quotes a field only when it must.
void RecordWriter::field(std::string_view text) {
  Buffer& b = out_.buffer();
  switch (format_) {
    case Format::text:
      b += text;
      break;
    case Format::tsv:
      append_escaped(b, text, kTsvSpecial, [&](char c) {
        b += c == '\t' ? "\\t" : c == '\n' ? "\\n" : c == '\r' ? "\\r" : "\\\\";
      });
      break;
    case Format::jsonl:
      b += '"';
      append_escaped(b, text, kJsonSpecial, [&](char c) {
        if (c == '"' || c == '\\') {
          b += '\\';
          b += c;
        } else if (c == '\n' || c == '\t' || c == '\r') {
          b += c == '\n' ? "\\n" : c == '\t' ? "\\t" : "\\r";
        } else {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          b += escape;
        }
      });
      b += '"';
      break;
    case Format::csv:
      if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
        b += text;
        break;
      }
      b += '"';
      for (char c : text) {
        if (c == '"') b += '"';
        b += c;
      }
      b += '"';
      break;
  }
}

}  // namespace qtool
