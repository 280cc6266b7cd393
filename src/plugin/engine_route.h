// Routing engine messages inside one area (the game logic, the live logic, the instance): a
// table from message type to handler, and the forwarding that turns a command into a row.
#pragma once

#include <span>
#include <type_traits>

#include "plugin/engine_messages.h"
#include "taf/wire.h"

namespace kinetra {

class KinetraInteractiveGameLogic;
class KinetraLogic;
class KinetraServicePluginImpl;

template <class Area>
using EngineHandler = void (*)(Area& area, const taf::Bytes& payload);

template <class Area>
struct EngineRoute {
    FromEngine type;
    EngineHandler<Area> handler;
};

// Each area's table, for the protocol reference; they run in this order.
std::span<const EngineRoute<KinetraInteractiveGameLogic>> GameRoutes();
std::span<const EngineRoute<KinetraLogic>> LiveRoutes();
std::span<const EngineRoute<KinetraServicePluginImpl>> InstanceRoutes();

// Runs the handler of every row for `type`; a type without a row passes silently.
template <class Area>
void RouteEngineMessage(std::span<const EngineRoute<Area>> routes, Area& area, std::int32_t type,
                        const taf::Bytes& payload) {
    for (const auto& route : routes) {
        if (number(route.type) == type) {
            route.handler(area, payload);
        }
    }
}

// The row of a command that is built with the area's owner for one message and runs `Run`,
// handing it the payload when it takes one.
template <class Command, auto Run = &Command::EexecuteCommand, class Area>
void RunCommand(Area& area, const taf::Bytes& payload) {
    Command command(area.Owner());
    if constexpr (std::is_invocable_v<decltype(Run), Command&, const taf::Bytes&>) {
        (command.*Run)(payload);
    } else {
        (command.*Run)();
    }
}

}  // namespace kinetra
