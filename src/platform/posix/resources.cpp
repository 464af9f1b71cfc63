// String tables on POSIX. A module handle is what dlopen returns, and null
// means the main program. The module exports its blocks as one table under
// QUARNEL_STRING_TABLE_SYMBOL (layout in quarnel/quarnel.h), written by the
// build from the same .rc file that Windows builds compile into resources.
#include <dlfcn.h>
#if defined(__GLIBC__)
#include <link.h>
#endif

#include <cstdint>

#include "platform/resources.hpp"
#include "quarnel/quarnel.h"

namespace quarnel::platform {
namespace {

constexpr std::uint16_t kNeutral = 0x0000;
constexpr std::uint16_t kEnglishUS = 0x0409;

// dlsym on a handle also searches the libraries the module depends on; a
// table found there belongs to another module, just as FindResourceA never
// looks past the module it is given.
bool defined_in(void* handle, const void* symbol) noexcept {
#if defined(__GLIBC__)
  link_map* wanted = nullptr;
  link_map* owner = nullptr;
  Dl_info info;
  if (dlinfo(handle, RTLD_DI_LINKMAP, &wanted) != 0 ||
      dladdr1(symbol, &info, reinterpret_cast<void**>(&owner), RTLD_DL_LINKMAP) == 0)
    return true;  // cannot tell: trust dlsym
  return owner == wanted;
#else
  (void)handle;
  (void)symbol;
  return true;
#endif
}

const QuarnelStringTable* table_of(void* module) noexcept {
  void* handle = module ? module : dlopen(nullptr, RTLD_LAZY);
  if (!handle) return nullptr;
  const void* symbol = dlsym(handle, QUARNEL_STRING_TABLE_SYMBOL);
  if (symbol && !defined_in(handle, symbol)) symbol = nullptr;
  // The main program stays loaded whatever its reference count says.
  if (!module) dlclose(handle);
  auto* table = static_cast<const QuarnelStringTable*>(symbol);
  if (!table || table->version != QUARNEL_STRING_TABLE_VERSION) return nullptr;
  return table;
}

}  // namespace

StringBlock find_string_block(void* module, unsigned block) noexcept {
  const QuarnelStringTable* table = table_of(module);
  if (!table) return {};
  // A block may exist in several languages. Windows would weigh the user's
  // interface language; here the choice is fixed: neutral, then U.S.
  // English, then whichever the .rc file defined first.
  const QuarnelStringBlock* chosen = nullptr;
  for (std::uint32_t i = 0; i < table->count; ++i) {
    const QuarnelStringBlock& b = table->blocks[i];
    if (b.block != block || !b.data) continue;
    if (b.language == kNeutral) return {b.data, b.size};
    if (!chosen || (b.language == kEnglishUS && chosen->language != kEnglishUS)) chosen = &b;
  }
  if (!chosen) return {};
  return {chosen->data, chosen->size};
}

}  // namespace quarnel::platform
