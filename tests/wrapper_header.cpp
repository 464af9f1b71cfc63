// Compiled, not run: quarnel.hpp and ordinary uses of it must build without
// a warning under the strictest everyday flags, in each C++ standard.
#include <cstddef>
#include <string>
#include <vector>

#include "quarnel/quarnel.hpp"

std::size_t wrapper_header_uses(const std::vector<std::size_t>& positions) {
  quarnel::AString s = "a,b";
  s += std::string(",c");
  quarnel::AStringList fields;
  std::size_t n = fields.split(s, ',');
  for (std::size_t i : positions) n += fields.at(i).size() + s.substr(i).find('b');
  quarnel::WString w = QUARNEL_W("w");
  return n + (s < s + "x") + w.size() + quarnel::to_utf8(w).size();
}
