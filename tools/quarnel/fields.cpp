#include "fields.hpp"

#include <algorithm>
#include <cstdint>

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

}  // namespace qtool
