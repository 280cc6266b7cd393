// The engine messages' table seen as routes: one per message from the engine, with its
// handlers and answers, and every handler numbered across the table so an area finds its
// binding by index. Compiled from the table alone, so tools and checkers read it too.
#pragma once

#include <array>
#include <cstddef>
#include <tuple>
#include <type_traits>

#include "plugin/engine_messages.h"

namespace kinetra {

struct InboundRoute {
    FromEngine type{};
    EngineSteps steps;
    EngineAnswerTypes answers;
    // The number of the first step across all routes, in table order.
    std::size_t firstStep = 0;
};

namespace detail {

template <class Row>
constexpr bool kFromEngine = std::is_same_v<std::remove_cvref_t<decltype(Row::type)>, FromEngine>;

consteval std::size_t CountInbound() {
    return std::apply(
        [](const auto&... rows) {
            return (std::size_t{0} + ... +
                    (kFromEngine<std::remove_cvref_t<decltype(rows)>> ? 1 : 0));
        },
        kEngineMessages);
}

consteval std::array<InboundRoute, CountInbound()> GatherInbound() {
    std::array<InboundRoute, CountInbound()> routes{};
    std::size_t next = 0;
    std::size_t steps = 0;
    auto add = [&](const auto& row) {
        if constexpr (kFromEngine<std::remove_cvref_t<decltype(row)>>) {
            routes[next++] = {row.type, row.steps, row.answers, steps};
            steps += row.steps.size();
        }
    };
    std::apply([&](const auto&... rows) { (add(rows), ...); }, kEngineMessages);
    return routes;
}

}  // namespace detail

inline constexpr auto kInboundRoutes = detail::GatherInbound();
inline constexpr std::size_t kInboundStepCount =
    kInboundRoutes.back().firstStep + kInboundRoutes.back().steps.size();

// A row without a handler would take a message that the plug-in then ignores.
consteval bool EveryTypeHasAHandler() {
    for (const auto& route : kInboundRoutes) {
        if (route.steps.empty()) {
            return false;
        }
    }
    return true;
}
static_assert(EveryTypeHasAHandler(), "a message from the engine has no handler");

// The route of `type`, or null for a type the plug-in does not handle.
constexpr const InboundRoute* FindInboundRoute(std::int32_t type) {
    for (const auto& route : kInboundRoutes) {
        if (number(route.type) == type) {
            return &route;
        }
    }
    return nullptr;
}

// Sent without an engine message to answer: the start configuration at Start, the live flag
// on open notices and live events, what pushes carry, and the audio.
inline constexpr std::array kOwnMessages = {
    ToEngine::kStartConfig,   ToEngine::kLiveState,        ToEngine::kRawPush,
    ToEngine::kGameNotice,    ToEngine::kItemSend,         ToEngine::kViewerMessage,
    ToEngine::kCrownGameData, ToEngine::kTravelGuessWords, ToEngine::kTravelEmpowerment,
    ToEngine::kAudioData,
};

}  // namespace kinetra
