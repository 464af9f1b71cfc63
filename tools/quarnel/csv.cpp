#include "csv.hpp"

#include <algorithm>

namespace qtool {

void prepare_list(CLAnsiStrList& list, std::string_view line, char separator) {
  // A line shorter than the capacity cannot have more fields than slots.
  if (line.size() < static_cast<std::size_t>(list.capacity)) return;
  std::size_t fields =
      static_cast<std::size_t>(std::count(line.begin(), line.end(), separator)) + 1;
  if (fields <= static_cast<std::size_t>(list.capacity)) return;
  // Never below the current step, so the list also keeps growing geometrically.
  std::size_t more = std::max({fields - list.capacity, static_cast<std::size_t>(list.capacity),
                               static_cast<std::size_t>(list.growBy)});
  list.growBy = static_cast<std::int32_t>(std::min<std::size_t>(more, INT32_MAX - list.capacity));
}

bool CsvReader::next(std::vector<std::string_view>* fields) {
  std::string_view line;
  do {
    if (!lines_.next(&line)) return false;
  } while (line.empty());
  record_line_ = lines_.line_number();
  fields->clear();
  if (line.find('"') == std::string_view::npos)
    split_plain(line, fields);
  else
    split_quoted(line, fields);
  return true;
}

void CsvReader::split_plain(std::string_view line, std::vector<std::string_view>* fields) {
  LStrAssignASzStrA(line_.handle, line.data(), static_cast<int>(line.size()));
  prepare_list(list_, line, separator_);
  SplitBySepExA(&line_, separator_, &list_, false);
  for (int i = 0; i < list_.count; ++i) fields->push_back(list_[i].view());
  // The library drops the empty field after a final separator; a record keeps it.
  if (line.back() == separator_) fields->emplace_back();
}

// One pass over the record, asking for more lines while a quote is open.
// Each field is kept both unquoted and as written, so --lenient can fall
// back to the text as written.
void CsvReader::split_quoted(std::string_view line, std::vector<std::string_view>* fields) {
  text_.clear();
  ends_.clear();
  std::string raw;
  std::size_t field_start = 0;
  enum class State { start, plain, quoted, closed } state = State::start;
  // Under --lenient, the field so far becomes its text as written.
  auto as_written = [&]() {
    text_.resize(field_start);
    text_ += raw;
  };
  auto stray = [&](const char* what) {
    if (!lenient_) throw CsvError(record_line_, what);
    as_written();
    state = State::plain;
  };
  for (;;) {
    for (char c : line) {
      if (c == separator_ && state != State::quoted) {
        ends_.push_back(text_.size());
        field_start = text_.size();
        raw.clear();
        state = State::start;
        continue;
      }
      raw += c;
      switch (state) {
        case State::start:
          if (c == '"') {
            state = State::quoted;
            continue;
          }
          state = State::plain;
          text_ += c;
          break;
        case State::plain:
          if (c == '"' && !lenient_)
            throw CsvError(record_line_, "stray quote in an unquoted field");
          text_ += c;
          break;
        case State::quoted:
          if (c == '"')
            state = State::closed;
          else
            text_ += c;
          break;
        case State::closed:
          if (c == '"') {  // a doubled quote
            text_ += c;
            state = State::quoted;
          } else {
            stray("text after a closing quote");
          }
          break;
      }
    }
    if (state != State::quoted) break;
    if (!lines_.next(&line)) {
      if (!lenient_) throw CsvError(record_line_, "unclosed quote");
      as_written();
      break;
    }
    text_ += '\n';
    raw += '\n';
  }
  ends_.push_back(text_.size());
  std::size_t begin = 0;
  for (std::size_t end : ends_) {
    fields->push_back(std::string_view(text_).substr(begin, end - begin));
    begin = end;
  }
}

}  // namespace qtool
