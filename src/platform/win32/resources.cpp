// String-table blocks are ordinary resources of type 6 named by their block
// number; a null module means the executable, as FindResourceA has it.
#include "platform/resources.hpp"

#include <windows.h>

namespace quarnel::platform {

StringBlock find_string_block(void* module, unsigned block) noexcept {
  // Block 0 would be a null name, which FindResourceA takes as a string.
  if (block == 0 || block > 0xFFFF) return {};
  auto* hmod = static_cast<HMODULE>(module);
  HRSRC found = FindResourceA(hmod, MAKEINTRESOURCEA(block), MAKEINTRESOURCEA(6));
  if (!found) return {};
  HGLOBAL loaded = LoadResource(hmod, found);
  if (!loaded) return {};
  const void* data = LockResource(loaded);
  if (!data) return {};
  return {data, SizeofResource(hmod, found)};
}

}  // namespace quarnel::platform
