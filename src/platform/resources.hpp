// String-table blocks of a module. Windows keeps them as resources of type
// 6; POSIX modules have no resources, so a module carries its blocks behind
// one exported symbol (see QuarnelStringTable in quarnel/quarnel.h) and the
// POSIX half finds that symbol with dlsym.
#pragma once

#include <cstddef>

namespace quarnel::platform {

struct StringBlock {
  const void* data = nullptr;  // 16 entries: a 16-bit count, then that many units
  std::size_t size = 0;        // bytes readable at data
};

// Block number `block` (identifier / 16 + 1) of `module`, where null means
// the main program. An empty result when the module has no such block.
// Never throws; the bytes are read-only and live as long as the module.
StringBlock find_string_block(void* module, unsigned block) noexcept;

}  // namespace quarnel::platform
