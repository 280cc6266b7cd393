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
};

// Exit code of a run whose invariant broke; the message names it.
inline constexpr int kInvariantBroken = 3;

// Returns the process exit code: 0 when every invariant held, 1 when the library could not be
// loaded, kInvariantBroken otherwise. Progress goes to `out` once a second, then the summary.
int RunStress(const StressOptions& options, const std::string& libraryPath, std::ostream& out);

}  // namespace kinetra_sim
