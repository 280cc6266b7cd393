// A kinetra-sim scenario: what the simulated host answers and what the engine does, in order.
#pragma once

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "common/json.h"
#include "host/audio_delivery.h"
#include "host/host_state.h"
#include "host/sim_signal_service.h"
#include "kinetra-sim/expectation.h"
#include "taf/wire.h"

namespace kinetra_sim {

struct EngineStep {
    std::uint32_t type = 0;
    std::string channel;
    taf::Bytes payload;
};

// Nothing happens for `duration`; with `untilQuiet`, until every request has its answer or
// time-out and nothing has moved for a while, so that what follows comes out in one order.
struct WaitStep {
    std::chrono::milliseconds duration{0};
    bool untilQuiet = false;
};

struct PushStep {
    std::uint32_t uri = 0;
    taf::Bytes payload;
};

// The host's audio thread calls the plug-in's audio listener.
struct AudioStep {
    sim::AudioDelivery delivery;
};

// The host's live service raises live started or live stopped on its own thread.
struct LiveStep {
    bool started = false;
};

// The host calls the instance's Start or Stop, or releases the module, and with it the
// instance, without calling either.
struct InstanceStep {
    enum class Action { start, stop, release };
    Action action = Action::start;
};

// The presenter answers the oldest open dialog with `result` on its own thread.
struct DialogStep {
    std::uint32_t result = 0;
};

struct RepeatStep;

using Step = std::variant<EngineStep, WaitStep, PushStep, AudioStep, LiveStep, InstanceStep,
                          DialogStep, ExpectStep, RepeatStep>;

// Plays `steps` `count` times, so that a flood is a short scenario.
struct RepeatStep {
    std::uint32_t count = 0;
    std::vector<Step> steps;
};

// What a scenario may ask for: a count or size past these is refused with its path, so that a
// mistyped number ends the run with a message instead of exhausting memory or time.
inline constexpr std::uint32_t kMaxRepeat = 1'000'000;
inline constexpr std::size_t kMaxStepsPlayed = 10'000'000;  // steps of a run, repeats unrolled
inline constexpr std::uint32_t kMaxRepeatNesting = 8;
inline constexpr std::uint32_t kMaxAudioFrames = 1u << 20;  // per call
inline constexpr std::uint32_t kMaxAudioCalls = 1'000'000;
inline constexpr std::uint32_t kMaxMilliseconds = 600'000;  // a wait, a delay, a time-out

// A canned server answer for one servant and function; requests without one time out.
struct ServerReply {
    std::string servant;
    std::string function;
    sim::Reply reply;
};

struct Scenario {
    sim::HostAnswers answers;
    std::set<sim::ServiceKind> absent;
    std::vector<ServerReply> replies;
    sim::ServerTiming timing;
    std::vector<Step> steps;
};

// Reads the scenario's JSON form (docs/kinetra-sim.md); false with `error` naming the
// offending key when something is missing, misspelt or of the wrong kind.
bool ParseScenario(const tafjson::Json& json, Scenario& scenario, std::string& error);

// The scenario run when none is given: a tour of what the plug-in answers so far.
const char* DefaultScenarioText();

}  // namespace kinetra_sim
