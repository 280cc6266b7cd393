// Runs a scenario against the built plug-in library, loaded exactly as the host loads it.
#pragma once

#include <ostream>
#include <string>

#include "kinetra-sim/scenario.h"
#include "kinetra-sim/trace.h"

namespace kinetra_sim {

// How long nothing may move on the channel before the run ends.
inline constexpr std::chrono::milliseconds kQuietPeriod{200};

// The plug-in only writes its log into a folder that exists, as an installer leaves it: creates
// the folder and returns the log's path.
std::string PrepareLogFolder();

// Exit code of a run where an expectation of the scenario did not hold.
inline constexpr int kExpectationFailed = 3;

// Returns the process exit code: 0 when the scenario ran, 1 when the library failed to load,
// kExpectationFailed (after the whole run, unload included) when an expectation did not hold.
int RunScenario(const Scenario& scenario, const std::string& libraryPath, Trace& trace,
                std::ostream& messages);

}  // namespace kinetra_sim
