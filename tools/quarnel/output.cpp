#include "output.hpp"

namespace qtool {

bool parse_format(std::string_view name, Format* out) {
  if (name == "text")
    *out = Format::text;
  else if (name == "tsv")
    *out = Format::tsv;
  else if (name == "jsonl")
    *out = Format::jsonl;
  else
    return false;
  return true;
}

void RecordWriter::write(const CLAnsiStrList& fields) {
  buffer_.clear();
  if (format_ == Format::jsonl) buffer_ += '[';
  for (int i = 0; i < fields.count; ++i) {
    if (i > 0) buffer_ += format_ == Format::text ? " | " : format_ == Format::tsv ? "\t" : ",";
    switch (format_) {
      case Format::text:
        field_text(fields[i]);
        break;
      case Format::tsv:
        field_tsv(fields[i]);
        break;
      case Format::jsonl:
        field_json(fields[i]);
        break;
    }
  }
  if (format_ == Format::jsonl) buffer_ += ']';
  buffer_ += '\n';
  std::fwrite(buffer_.data(), 1, buffer_.size(), out_);
}

void RecordWriter::field_text(const CLAnsiStr& field) { buffer_ += field.view(); }

// Tabs, line breaks and backslashes are escaped so every record stays one
// line with a fixed number of columns.
void RecordWriter::field_tsv(const CLAnsiStr& field) {
  for (char c : field.view()) {
    switch (c) {
      case '\t':
        buffer_ += "\\t";
        break;
      case '\n':
        buffer_ += "\\n";
        break;
      case '\r':
        buffer_ += "\\r";
        break;
      case '\\':
        buffer_ += "\\\\";
        break;
      default:
        buffer_ += c;
    }
  }
}

// JSON text is UTF-8: the field's bytes are decoded from the ANSI code page
// through the library's own conversion, then encoded.
void RecordWriter::field_json(const CLAnsiStr& field) {
  CLWideStr wide(LStrAllocCloneAW(field.handle), true);
  buffer_ += '"';
  std::basic_string_view<LWideChar> units = wide.view();
  for (std::size_t i = 0; i < units.size(); ++i) {
    char32_t c = units[i];
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] < 0xE000)
      c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
    else if (c >= 0xD800 && c < 0xE000)
      c = 0xFFFD;
    if (c == '"' || c == '\\') {
      buffer_ += '\\';
      buffer_ += static_cast<char>(c);
    } else if (c < 0x20) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(c));
      buffer_ += escape;
    } else if (c < 0x80) {
      buffer_ += static_cast<char>(c);
    } else if (c < 0x800) {
      buffer_ += static_cast<char>(0xC0 | (c >> 6));
      buffer_ += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      buffer_ += static_cast<char>(0xE0 | (c >> 12));
      buffer_ += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      buffer_ += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      buffer_ += static_cast<char>(0xF0 | (c >> 18));
      buffer_ += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      buffer_ += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      buffer_ += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  buffer_ += '"';
}

}  // namespace qtool
