// Writing one record (the fields of one line) as plain text, tab-separated
// values or a JSON array per line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "quarnel/quarnel.hpp"

namespace qtool {

enum class Format { text, tsv, jsonl };

bool parse_format(std::string_view name, Format* out);

class RecordWriter {
 public:
  RecordWriter(std::FILE* out, Format format) : out_(out), format_(format) {}
  // Writes the first `count` fields of `fields`.
  void write(const CLAnsiStrList& fields);

 private:
  void field_text(const CLAnsiStr& field);
  void field_tsv(const CLAnsiStr& field);
  void field_json(const CLAnsiStr& field);

  std::FILE* out_;
  Format format_;
  std::string buffer_;
};

}  // namespace qtool
