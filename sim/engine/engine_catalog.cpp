#include "engine/engine_catalog.h"

#include <tuple>
#include <type_traits>

#include "plugin/engine_messages.h"
#include "taf/render.h"

namespace sim {
namespace {

using Direction = EngineTraffic::Direction;

template <taf::Record T>
std::string Render(const taf::Bytes& payload) {
    T record;
    taf::fromBytesLenient(payload, record);
    return taf::render(record);
}

constexpr Direction DirectionOf(kinetra::FromEngine) {
    return Direction::toPlugin;
}
constexpr Direction DirectionOf(kinetra::ToEngine) {
    return Direction::toEngine;
}

// Sets `found` from `row` when it describes (direction, type).
template <class Row>
void Match(const Row& row, Direction direction, std::uint32_t type,
           std::optional<EngineMessageInfo>& found) {
    if (found || DirectionOf(row.type) != direction ||
        static_cast<std::uint32_t>(kinetra::number(row.type)) != type) {
        return;
    }
    using Payload = typename Row::PayloadRecord;
    if constexpr (std::is_void_v<Payload>) {
        found = EngineMessageInfo{row.name, nullptr};
    } else {
        found = EngineMessageInfo{row.name, &Render<Payload>};
    }
}

}  // namespace

std::optional<EngineMessageInfo> DescribeEngineMessage(Direction direction, std::uint32_t type) {
    std::optional<EngineMessageInfo> found;
    std::apply([&](const auto&... row) { (Match(row, direction, type, found), ...); },
               kinetra::kEngineMessages);
    return found;
}

}  // namespace sim
