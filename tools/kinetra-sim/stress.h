// kinetra-sim --stress: load and unload cycles of the real library under traffic from several
// threads at once, with the invariants of stress_checks.h checked after every cycle.
#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

namespace kinetra_sim {

struct StressOptions {
    std::chrono::seconds duration{10};
    std::uint64_t seed = 1;
    // The progress is one line rewritten in place (a terminal), or a line per cycle.
    bool progressInPlace = false;
};

// Exit code of a run whose invariant broke; the message names it.
inline constexpr int kInvariantBroken = 3;

// Returns the process exit code: 0 when every invariant held, 1 when the library could not be
// loaded, kInvariantBroken otherwise. The summary goes to `out`; the progress while it runs to
// `progress`.
int RunStress(const StressOptions& options, const std::string& libraryPath, std::ostream& out,
              std::ostream& progress);

}  // namespace kinetra_sim
