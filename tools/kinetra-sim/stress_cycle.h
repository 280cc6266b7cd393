// One stress cycle: load the library, start the instance, drive it from several threads at
// once, then stop, release and unload it, either after the traffic has drained or in the
// middle of it.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "kinetra-sim/stress_checks.h"

namespace kinetra_sim {

struct CycleSettings {
    std::string library;
    std::uint64_t seed = 0;
    std::string secretMarker;
    std::chrono::milliseconds length{500};
    // Unloads while the engine floods, pushes arrive and dialogs stay open; the requests still
    // held are released by the host, unanswered, so their invariant is not checked.
    bool abrupt = false;
};

struct CycleOutcome {
    Broken broken;
    // The process's threads once the library is unloaded and the stand-ins are gone.
    std::size_t threadsAfter = 0;
};

CycleOutcome RunStressCycle(const CycleSettings& settings, StressTotals& totals);

}  // namespace kinetra_sim
