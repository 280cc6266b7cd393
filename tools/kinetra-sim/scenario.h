// A kinetra-sim scenario: what the simulated host answers and what the engine does, in order.
#pragma once

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "common/json_value.h"
#include "host/host_state.h"
#include "taf/wire.h"

namespace kinetra_sim {

struct EngineStep {
    std::uint32_t type = 0;
    std::string channel;
    taf::Bytes payload;
};

struct WaitStep {
    std::chrono::milliseconds duration{0};
};

using Step = std::variant<EngineStep, WaitStep>;

struct Scenario {
    sim::HostAnswers answers;
    std::set<sim::ServiceKind> absent;
    std::vector<Step> steps;
};

// Reads the scenario's JSON form (docs/kinetra-sim.md); false with `error` naming the
// offending key when something is missing, misspelt or of the wrong kind.
bool ParseScenario(const tafjson::JsonValue& json, Scenario& scenario, std::string& error);

// The scenario run when none is given: a tour of what the plug-in answers so far.
const char* DefaultScenarioText();

}  // namespace kinetra_sim
