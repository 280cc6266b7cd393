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

// Sets `found` from `spec` when it is the row of (direction, type).
template <class Spec>
void Match(const Spec& spec, Direction direction, std::uint32_t type,
           std::optional<EngineMessageInfo>& found) {
    if (found || DirectionOf(spec.type) != direction ||
        static_cast<std::uint32_t>(kinetra::number(spec.type)) != type) {
        return;
    }
    using Payload = typename Spec::PayloadRecord;
    if constexpr (std::is_void_v<Payload>) {
        found = EngineMessageInfo{spec.name, nullptr};
    } else {
        found = EngineMessageInfo{spec.name, &Render<Payload>};
    }
}

}  // namespace

std::optional<EngineMessageInfo> DescribeEngineMessage(Direction direction, std::uint32_t type) {
    std::optional<EngineMessageInfo> found;
    std::apply([&](const auto&... spec) { (Match(spec, direction, type, found), ...); },
               kinetra::kEngineMessages);
    return found;
}

}  // namespace sim
