// The compiler's stages, in order: the lexer (lexer.cpp) turns each logical
// line into tokens, decoding literals to UTF-16 under the code page in force
// where they stand; the preprocessor (preprocessor.cpp) runs the directives
// and expands macros into one stream of tokens; the parser (parser.cpp)
// fills the blocks from the statements; the emitter (emitter.cpp) writes
// them as C.
#include "rc_compiler.hpp"

#include <set>

#include "parser.hpp"
#include "preprocessor.hpp"

namespace rcstrings {

namespace {

// "file:line: error: message", or "file: error: message" without a line.
std::string located(const std::string& file, int line, const std::string& message) {
  std::string text = file;
  if (line > 0) text.append(":").append(std::to_string(line));
  return text.append(": error: ").append(message);
}

}  // namespace

Error::Error(const std::string& file, int line, const std::string& message)
    : std::runtime_error(located(file, line, message)) {}

Result compile(const std::vector<std::string>& scripts, const Options& options) {
  Preprocessed pp = preprocess(scripts, options);
  Result result;
  result.blocks = parse(std::move(pp.tokens), pp.files);
  std::set<std::string> seen;
  for (const std::string& f : pp.files)
    if (seen.insert(f).second) result.files.push_back(f);
  return result;
}

}  // namespace rcstrings
