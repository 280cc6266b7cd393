// How an area (the game logic, the live logic, the instance) runs its handlers of engine
// messages: it binds each handler name the table gives it to a function, and the binding is
// checked against the table when the area is compiled.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>
#include <type_traits>

#include "plugin/engine_inbound.h"
#include "taf/wire.h"

namespace kinetra {

template <class Area>
using EngineHandler = void (*)(Area& area, const taf::Bytes& payload);

template <class Area>
struct EngineBinding {
    std::string_view handler;
    EngineHandler<Area> run;
};

// The area's function for every step of the table, by step number; null for other areas'.
// Does not compile when a step of the area has no binding or two, or a binding no step.
template <class Area, std::size_t Count>
consteval std::array<EngineHandler<Area>, kInboundStepCount> BindEngineSteps(
    EngineArea area, const EngineBinding<Area> (&bindings)[Count]) {
    std::array<EngineHandler<Area>, kInboundStepCount> steps{};
    std::array<bool, Count> used{};
    for (const auto& route : kInboundRoutes) {
        for (std::size_t i = 0; i < route.steps.size(); ++i) {
            if (route.steps[i].area != area) {
                continue;
            }
            std::size_t found = Count;
            for (std::size_t b = 0; b < Count; ++b) {
                if (bindings[b].handler == route.steps[i].handler) {
                    if (found != Count) {
                        throw "a handler is bound twice";
                    }
                    found = b;
                }
            }
            if (found == Count) {
                throw "a handler of the table has no binding";
            }
            used[found] = true;
            steps[route.firstStep + i] = bindings[found].run;
        }
    }
    for (const bool bound : used) {
        if (!bound) {
            throw "a binding names no handler of the table";
        }
    }
    return steps;
}

// The binding of a command that is built with the area's owner for one message and runs
// `Run`, handing it the payload when it takes one.
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
