// Where each engine message goes: one table per stage, read in the order the stages run.
#pragma once

#include <cstdint>

#include "taf/wire.h"

namespace kinetra {

class KinetraServicePluginImpl;

// Runs the live logic's hook (which first hands the message to the game logic's hook), then
// the instance's own switch; unknown types pass through silently.
void DispatchEngineMessage(KinetraServicePluginImpl& instance, std::int32_t type,
                           const taf::Bytes& payload);

}  // namespace kinetra
