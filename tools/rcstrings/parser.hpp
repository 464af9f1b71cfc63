// The third stage: walks the statements of the preprocessed scripts and
// fills the string-table blocks. LANGUAGE sets the language of the
// statements after it (0x0409, U.S. English, until then); every resource
// statement other than STRINGTABLE is skipped.
#pragma once

#include <string>
#include <vector>

#include "rc_compiler.hpp"
#include "token.hpp"

namespace rcstrings {

// The blocks of every STRINGTABLE in `tokens`, by number, the languages of
// a number in order of first use. `files` names the tokens' files in
// messages. Throws Error.
std::vector<Block> parse(std::vector<Token> tokens, const std::vector<std::string>& files);

}  // namespace rcstrings
