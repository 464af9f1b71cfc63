// The checked-handles mode: a registry of the handle records that are alive,
// with their family. Hosts in development switch it on with
// QUARNEL_CHECK_HANDLES=1 in the environment, read once when the library is
// loaded; the export boundary then refuses any handle argument the registry
// does not know under the export's family (destroyed, foreign, or of the
// other family). When the mode is off, nothing is registered and the only
// cost is reading one flag per call.
//
// A destroyed record is not given back to the heap at once: it waits in a
// quarantine of the last kQuarantine destroyed records, still known to the
// registry as destroyed. Its address therefore cannot come back as a new
// handle (or as any other block) while a host may still hold it, so a use
// after destroy is told from a use of a new handle that happens to live at
// the same address. The quarantine bounds the mode's memory: the oldest
// record leaves it, and goes back to the heap, when a newer one comes in.
#pragma once

#include <cstddef>

namespace quarnel::core::registry {

enum class Family : unsigned char { ansi, wide };

// Destroyed records held back from the heap.
inline constexpr std::size_t kQuarantine = 16384;

namespace detail {
extern bool enabled;
}

inline bool enabled() noexcept { return detail::enabled; }

// Records a new record of `family`. Throws std::bad_alloc; call only while
// the mode is on.
void add(const void* record, Family family);

// Forgets a record that never reached a host and frees its block.
void discard(void* record) noexcept;

// A record its host destroyed: known as destroyed from now on, its block
// held in the quarantine. The payload must already be released.
void retire(void* record) noexcept;

// Whether `record` is alive as a record of `family`; when it is not, whether
// it is a destroyed record or alive as one of the other family.
enum class Verdict : unsigned char { live, unknown, other_family, destroyed };
Verdict look_up(const void* record, Family family) noexcept;

// How a failure message describes a handle that is not live: empty for an
// unknown one, else a parenthesised note with a leading blank.
const char* describe(Verdict verdict) noexcept;

// Throws EInvalidHandle, naming `what`, unless `record` is alive in `family`.
// Call only while the mode is on.
void require_live(const void* record, Family family, const char* what, long index = -1);

}  // namespace quarnel::core::registry

namespace quarnel::testing {

// Switches the checked-handles mode on or off for the whole process, as the
// environment would at load; the registry starts empty each time and the
// quarantined records go back to the heap. Test-only: handles created while
// the mode was off are unknown to it.
void check_handles(bool on) noexcept;

}  // namespace quarnel::testing
