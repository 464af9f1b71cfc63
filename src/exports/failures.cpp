// Exports: the calling thread's failure mode and its last recorded failure.
#include "exports/boundary.hpp"

using namespace quarnel::exports;

extern "C" {

// clang-format off
QUARNEL_EXPORT int QUARNEL_API LStrSetFailureMode(int mode) { return QUARNEL_BOUNDARY_STATE(set_failure_mode(mode)); }
QUARNEL_EXPORT unsigned QUARNEL_API LStrGetLastFailure(char* message, int capacity) { return QUARNEL_BOUNDARY_STATE(last_failure(message, capacity)); }
// clang-format on

}  // extern "C"
