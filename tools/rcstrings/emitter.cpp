// The last stage: the blocks as a C source (valid C and C++) that defines
// the table a module exports. The symbol's name and the table's version are
// those the library looks for (quarnel/quarnel.h); the structures repeat
// the header's layout so the source compiles without the header.
#include <cstdio>
#include <string>

#include "quarnel/quarnel.h"
#include "rc_compiler.hpp"

namespace rcstrings {

std::string to_c_source(const std::vector<Block>& blocks) {
  std::string out =
      "/* String tables compiled from .rc files by quarnel-rcstrings. Do not edit. */\n"
      "#include <stdint.h>\n\n"
      "struct quarnel_string_block_ {\n"
      "  uint16_t block;\n  uint16_t language;\n  uint32_t size;\n  const uint16_t* data;\n};\n\n"
      "struct quarnel_string_table_ {\n"
      "  uint32_t version;\n  uint32_t count;\n"
      "  const struct quarnel_string_block_* blocks;\n};\n\n";
  char buf[64];
  for (std::size_t i = 0; i < blocks.size(); ++i) {
    std::snprintf(buf, sizeof buf, "static const uint16_t quarnel_block_%zu_[] = {", i);
    out += buf;
    for (std::size_t k = 0; k < blocks[i].units.size(); ++k) {
      std::snprintf(buf, sizeof buf, "%s0x%04x",
                    k == 0   ? "\n    "
                    : k % 12 ? ", "
                             : ",\n    ",
                    static_cast<unsigned>(blocks[i].units[k]));
      out += buf;
    }
    out += "};\n";
  }
  if (!blocks.empty()) {
    out += "\nstatic const struct quarnel_string_block_ quarnel_blocks_[] = {\n";
    for (std::size_t i = 0; i < blocks.size(); ++i) {
      std::snprintf(buf, sizeof buf, "    {%u, 0x%04x, %zu, quarnel_block_%zu_},\n",
                    static_cast<unsigned>(blocks[i].number),
                    static_cast<unsigned>(blocks[i].language), blocks[i].units.size() * 2, i);
      out += buf;
    }
    out += "};\n";
  }
  out +=
      "\n#if defined(__cplusplus)\nextern \"C\"\n#endif\n"
      "#if defined(__GNUC__)\n__attribute__((visibility(\"default\")))\n#endif\n"
      "const struct quarnel_string_table_ " QUARNEL_STRING_TABLE_SYMBOL " = {";
  out += std::to_string(QUARNEL_STRING_TABLE_VERSION) + ", ";
  out += std::to_string(blocks.size());
  out += blocks.empty() ? ", (const struct quarnel_string_block_*)0};\n" : ", quarnel_blocks_};\n";
  return out;
}

}  // namespace rcstrings
