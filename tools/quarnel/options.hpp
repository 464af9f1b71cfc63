// The tool's command line: commands, their options, and the checks on every
// value (numbers are range-checked, never wrapped).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "output.hpp"

namespace qtool {

enum class Mode { sep, fixed, columns, named, csv };

struct Command {
  const char* name;
  Mode mode;
  const char* summary;
  const char* description;
  const char* sample_name;
  const char* sample;
  const char* usage;
};

// One --select item, a column number range from 1 (last 0: to the end of
// the record), or one --names item, a header name.
struct Selection {
  int first = 0;
  int last = 0;
  std::string name;
};

struct Options {
  const Command* command = nullptr;
  char separator = 0;
  std::vector<int> layout;
  std::vector<Selection> select;
  bool trim = false;
  bool header = false;
  bool strict = false;
  bool unquote = false;
  Format format = Format::text;
  unsigned encoding = 65001;
  bool encoding_given = false;
  std::vector<std::string> files;
};

// Reports a usage error on standard error; returns the exit status, 2.
int usage_error(const Command* c, const std::string& message);

// Fills `o` from the command line. Returns -1 when the tool should run,
// otherwise the exit status (help and version have been written to `out`).
int parse_options(int argc, char** argv, Options* o, Output& out);

}  // namespace qtool
