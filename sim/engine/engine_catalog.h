// What each engine message type means and, where the plug-in declares its payload record, how
// to render the payload with field names: for traces that people read.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "engine/sim_engine.h"

namespace sim {

struct EngineMessageInfo {
    std::string_view name;
    // The payload rendered with its record's field names; empty when no record is known.
    std::string (*render)(const taf::Bytes& payload);
};

std::optional<EngineMessageInfo> DescribeEngineMessage(EngineTraffic::Direction direction,
                                                       std::uint32_t type);

}  // namespace sim
