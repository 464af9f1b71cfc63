// New handles from entries of a module's string table.
#pragma once

#include "core/handle.hpp"

namespace quarnel::convert {

// The units of entry `index` (0-15) of a string-table block: 16 entries in
// a row, each a 16-bit count followed by that many UTF-16 units. Empty when
// the entry is absent or the block ends before it.
core::wstring_view block_entry(const void* block, std::size_t size, unsigned index) noexcept;

// The entry for identifier `id` in `module`'s string table (null: the main
// program); empty when there is none.
core::wstring_view find_string(void* module, int id) noexcept;

// A new handle (base 1) holding that entry, converted to the ANSI code page
// for the A family; an empty handle when there is no entry.
core::ARec* load_string_ansi(void* module, int id);
core::WRec* load_string_wide(void* module, int id);

}  // namespace quarnel::convert
