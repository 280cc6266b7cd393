// What the stress run throws at the plug-in: engine messages of every inbound type and pushes
// under every URI the plug-in subscribes to, with valid, damaged or random payloads.
#pragma once

#include <cstdint>
#include <string>

#include "kinetra-sim/stress_random.h"

namespace kinetra_sim {

struct EngineShot {
    std::uint32_t type = 0;
    taf::Bytes payload;
    // Empty: the plug-in's own channel.
    std::string channel;
};

struct PushShot {
    std::uint32_t uri = 0;
    taf::Bytes payload;
};

// An inbound type from the message table, now and then an unknown one or another channel.
EngineShot RandomEngineMessage(StressRandom& random);
// A push under a fixed URI of the live side or the games, or under one the engine may have
// subscribed to (a small number, as random subscriptions ask for).
PushShot RandomPush(StressRandom& random);

}  // namespace kinetra_sim
