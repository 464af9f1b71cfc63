// UTF-8 checking and repair, and UTF-16 to UTF-8: the tool always writes
// valid UTF-8, whatever it reads.
#pragma once

#include <string>
#include <string_view>

#include "quarnel/quarnel.h"

namespace qtool {

bool valid_utf8(std::string_view text);
// The length of the longest prefix of `text` that is valid UTF-8.
std::size_t valid_utf8_prefix(std::string_view text);
// `text` with each byte that cannot start or continue a well-formed sequence
// replaced by U+FFFD, in `out`; returns a view of `out`.
std::string_view repair_utf8(std::string_view text, std::string& out);
// Appends UTF-16 units as UTF-8; a lone surrogate becomes U+FFFD.
void append_utf16_as_utf8(std::basic_string_view<LWideChar> units, std::string& out);
// Decodes UTF-16 from bytes (big-endian when `big_endian`), appending UTF-8;
// returns the bytes used (whole units; a high surrogate at the end waits in
// `high` for the next call). A lone surrogate becomes U+FFFD.
std::size_t append_utf16_bytes_as_utf8(std::string_view bytes, bool big_endian, char16_t& high,
                                       std::string& out);
// Appends valid UTF-8 as UTF-16 units.
void append_utf8_as_utf16(std::string_view utf8, std::basic_string<LWideChar>& out);

}  // namespace qtool
