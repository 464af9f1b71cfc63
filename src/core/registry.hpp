// The checked-handles mode: a registry of the handle records that are alive,
// with their family. Hosts in development switch it on with
// QUARNEL_CHECK_HANDLES=1 in the environment, read once when the library is
// loaded; the export boundary then refuses any handle argument the registry
// does not know under the export's family (destroyed, foreign, or of the
// other family). When the mode is off, nothing is registered and the only
// cost is reading one flag per call.
#pragma once

namespace quarnel::core::registry {

enum class Family : unsigned char { ansi, wide };

namespace detail {
extern bool enabled;
}

inline bool enabled() noexcept { return detail::enabled; }

// Records a new record of `family`. Throws std::bad_alloc; call only while
// the mode is on.
void add(const void* record, Family family);

// Forgets a record; unknown records are ignored.
void remove(const void* record) noexcept;

// Whether `record` is alive as a record of `family`, and, when it is not,
// whether it is alive as one of the other family.
enum class Verdict : unsigned char { live, unknown, other_family };
Verdict look_up(const void* record, Family family) noexcept;

}  // namespace quarnel::core::registry

namespace quarnel::testing {

// Switches the checked-handles mode on or off for the whole process, as the
// environment would at load; the registry starts empty each time. Test-only:
// handles created while the mode was off are unknown to it.
void check_handles(bool on) noexcept;

}  // namespace quarnel::testing
