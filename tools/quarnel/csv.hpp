// Reading comma-separated records: quoted fields may hold separators,
// doubled quotes and line breaks. Lines without quotes are cut by the
// library's own separator splitting.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "fields.hpp"
#include "input.hpp"
#include "quarnel/quarnel.hpp"
#include "utf.hpp"

namespace qtool {

struct CsvError : std::runtime_error {
  CsvError(long at, const std::string& what) : std::runtime_error(what), line(at) {}
  long line;  // where the faulty record starts
};

class CsvReader {
 public:
  // `lenient`: a stray or unclosed quote is kept as written instead of
  // being an error.
  CsvReader(LineReader& lines, char separator, bool lenient)
      : lines_(lines), separator_(separator), lenient_(lenient) {}
  // The fields of the next record, valid until the next call; blank lines
  // are skipped. Throws CsvError on malformed input.
  bool next(std::vector<std::string_view>* fields);
  long record_line() const { return record_line_; }
  // Whether the last record's fields are known to be valid UTF-8 (a line
  // cut by the library as the reader checked it, or the unquoted text).
  bool known_utf8() const { return quoted_ ? valid_utf8(text_) : lines_.line_utf8(); }

 private:
  void split_plain(std::string_view line, std::vector<std::string_view>* fields);
  void split_quoted(std::string_view line, std::vector<std::string_view>* fields);

  LineReader& lines_;
  char separator_;
  bool lenient_;
  long record_line_ = 0;
  bool quoted_ = false;
  CLAnsiStr line_;
  CLAnsiStrList list_{256};
  std::string text_;  // the unquoted fields of a record, end to end
  std::vector<std::size_t> ends_;
};

}  // namespace qtool
