#include "csv.hpp"

#include <algorithm>

namespace qtool {

bool CsvReader::next(std::vector<std::string_view>* fields) {
  std::string_view line;
  do {
    if (!lines_.next(&line)) return false;
  } while (line.empty());
  record_line_ = lines_.line_number();
  fields->clear();
  quoted_ = line.find('"') != std::string_view::npos;
  if (quoted_)
    split_quoted(line, fields);
  else
    split_plain(line, fields);
  return true;
}

void CsvReader::split_plain(std::string_view line, std::vector<std::string_view>* fields) {
  LStrAssignASzStrA(line_.handle, line.data(), static_cast<int>(line.size()));
  SplitBySepExA(&line_, separator_, &list_, false);
  for (int i = 0; i < list_.count; ++i) fields->push_back(field_text(list_[i]));
  // The library drops the empty field after a final separator; a record keeps it.
  if (line.back() == separator_) fields->emplace_back();
}

// One pass over the record, asking for more lines while a quote is open;
// runs between quotes and separators are copied whole. A field's text as
// written (for --lenient) is the part of earlier lines in `raw_before` and
// the current line from `raw_begin`.
void CsvReader::split_quoted(std::string_view line, std::vector<std::string_view>* fields) {
  text_.clear();
  ends_.clear();
  std::string raw_before;
  std::size_t raw_begin = 0, field_start = 0;
  enum class State { start, plain, quoted, closed } state = State::start;
  auto end_field = [&](std::size_t at) {
    ends_.push_back(text_.size());
    field_start = text_.size();
    raw_before.clear();
    raw_begin = at + 1;
    state = State::start;
  };
  auto as_written = [&](std::size_t at) {
    text_.resize(field_start);
    text_ += raw_before;
    text_ += line.substr(raw_begin, at - raw_begin);
  };
  std::size_t i = 0;
  for (;;) {
    while (i < line.size()) {
      char c = line[i];
      switch (state) {
        case State::start:
          if (c == separator_) {
            end_field(i++);
            continue;
          }
          if (c == '"') {
            state = State::quoted;
            ++i;
            continue;
          }
          state = State::plain;
          [[fallthrough]];
        case State::plain: {
          std::size_t j = i;
          while (j < line.size() && line[j] != separator_ && line[j] != '"') ++j;
          text_ += line.substr(i, j - i);
          if (j < line.size() && line[j] == '"') {
            if (!lenient_) throw CsvError(record_line_, "stray quote in an unquoted field");
            text_ += '"';
          } else if (j < line.size()) {
            end_field(j);
          }
          i = j + 1;
          break;
        }
        case State::quoted: {
          std::size_t j = line.find('"', i);
          text_ += line.substr(i, j == std::string_view::npos ? j : j - i);
          if (j == std::string_view::npos) {
            i = line.size();
          } else {
            state = State::closed;
            i = j + 1;
          }
          break;
        }
        case State::closed:
          if (c == '"') {  // a doubled quote
            text_ += '"';
            state = State::quoted;
            ++i;
          } else if (c == separator_) {
            end_field(i++);
          } else {
            if (!lenient_) throw CsvError(record_line_, "text after a closing quote");
            as_written(i);
            state = State::plain;
          }
          break;
      }
    }
    if (state != State::quoted) break;
    raw_before += line.substr(raw_begin);
    raw_begin = 0;
    if (!lines_.next(&line)) {
      if (!lenient_) throw CsvError(record_line_, "unclosed quote");
      line = {};
      as_written(0);
      break;
    }
    raw_before += '\n';
    text_ += '\n';
    i = 0;
  }
  ends_.push_back(text_.size());
  std::size_t begin = 0;
  for (std::size_t end : ends_) {
    fields->push_back(std::string_view(text_).substr(begin, end - begin));
    begin = end;
  }
}

}  // namespace qtool
