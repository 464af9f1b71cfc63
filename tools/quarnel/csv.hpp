// Reading comma-separated records: quoted fields may hold separators,
// doubled quotes and line breaks (kept as written: LF, CRLF or CR). Short
// lines without quotes are cut where they lie; the others, of any length,
// field by field as they are read.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "input.hpp"

namespace qtool {

// Receives the fields of a record in order.
class FieldSink {
 public:
  // One field, valid during the call; `utf8`: known to be valid UTF-8.
  virtual void field(std::string_view text, bool utf8) = 0;
  // All the fields of a record at once, valid during the call.
  virtual void record(const std::vector<std::string_view>& fields, bool utf8) {
    for (std::string_view f : fields) field(f, utf8);
  }
  // All the fields of a line without quotes: views into `line`, cut at
  // its separators.
  virtual void fields(const std::vector<std::string_view>& fields, std::string_view line,
                      bool utf8) {
    (void)line;
    record(fields, utf8);
  }

 protected:
  ~FieldSink() = default;
};

class CsvReader {
 public:
  // `strict`: a quote inside an unquoted field, text after a closing quote
  // and a quote left open are errors instead of being kept as written.
  CsvReader(LineReader& lines, char separator, bool strict)
      : lines_(lines), separator_(separator), strict_(strict) {}
  // Hands the fields of the next record to `sink`; false at the end of the
  // input. Blank lines are skipped. Throws DataError on malformed input
  // under --strict.
  bool next(FieldSink& sink);

 private:
  void parse(std::string_view line, FieldSink& sink);
  [[noreturn]] void fail(std::string_view line, std::size_t at, const char* what) const;

  LineReader& lines_;
  char separator_;
  bool strict_;
  bool utf8_ = true;
  std::string field_;  // a quoted field's text, in a long record
  std::string raw_;    // and as written, from its opening quote
  std::string text_;   // the quoted fields of a record within one line
  std::vector<std::string_view> views_;
  std::string record_;  // a short record's fields, copied, when it spans lines
  std::vector<std::size_t> ends_;
};

}  // namespace qtool
