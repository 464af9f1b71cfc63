// The second stage: reads the scripts and the files they include, runs the
// directives and expands macros, so the parser sees one stream of tokens.
#pragma once

#include <string>
#include <vector>

#include "rc_compiler.hpp"
#include "token.hpp"

namespace rcstrings {

struct Preprocessed {
  std::vector<Token> tokens;
  std::vector<std::string> files;  // indexed by Token::file; may repeat
};

// Runs `scripts` as if each were included in turn. Throws Error.
Preprocessed preprocess(const std::vector<std::string>& scripts, const Options& options);

}  // namespace rcstrings
