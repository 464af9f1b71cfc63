#include "output.hpp"

#include <cerrno>
#include <cstring>

#include "utf.hpp"

namespace qtool {

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
  buffer_.reserve(kBlock * 2);
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
  static constexpr std::string_view kBetween[] = {" | ", "\t", ",", ","};
  out_.buffer() += kBetween[static_cast<int>(format_)];
}

void RecordWriter::end_record() {
  out_.buffer() += '\n';
  out_.maybe_flush();
}

void RecordWriter::write(const std::vector<std::string_view>& fields,
                         const std::vector<std::string>* keys) {
  std::string& b = out_.buffer();
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
    field(to_utf8(fields[i], scratch_));
  }
  if (format_ == Format::jsonl) b += object ? '}' : ']';
  end_record();
}

void RecordWriter::write(const CLAnsiStrList& fields) {
  views_.clear();
  for (int i = 0; i < fields.count; ++i) views_.push_back(fields[i].view());
  write(views_);
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
  std::string& b = out_.buffer();
  switch (format_) {
    case Format::text:
      b += text;
      break;
    case Format::tsv:
      for (char c : text) {
        const char* escape = c == '\t'   ? "\\t"
                             : c == '\n' ? "\\n"
                             : c == '\r' ? "\\r"
                             : c == '\\' ? "\\\\"
                                         : nullptr;
        if (escape)
          b += escape;
        else
          b += c;
      }
      break;
    case Format::jsonl:
      b += '"';
      for (char c : text) {
        if (c == '"' || c == '\\') {
          b += '\\';
          b += c;
        } else if (c == '\n') {
          b += "\\n";
        } else if (c == '\t') {
          b += "\\t";
        } else if (c == '\r') {
          b += "\\r";
        } else if (static_cast<unsigned char>(c) < 0x20) {
          char escape[8];
          std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
          b += escape;
        } else {
          b += c;
        }
      }
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
