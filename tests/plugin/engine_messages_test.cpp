// The table of engine messages: one row per (direction, type), every row named.
#include <gtest/gtest.h>

#include <set>
#include <tuple>
#include <type_traits>
#include <utility>

#include "plugin/engine_messages.h"

namespace {

using kinetra::FromEngine;
using kinetra::kEngineMessages;

TEST(EngineMessages, EveryTypeHasOneNamedRowPerDirection) {
    std::set<std::pair<bool, std::int32_t>> seen;
    std::size_t inbound = 0;
    std::apply(
        [&](const auto&... spec) {
            (
                [&] {
                    constexpr bool fromEngine =
                        std::is_same_v<std::decay_t<decltype(spec.type)>, FromEngine>;
                    inbound += fromEngine ? 1 : 0;
                    EXPECT_FALSE(spec.name.empty()) << kinetra::number(spec.type);
                    EXPECT_TRUE(seen.emplace(fromEngine, kinetra::number(spec.type)).second)
                        << "a second row for " << kinetra::number(spec.type);
                }(),
                ...);
        },
        kEngineMessages);
    EXPECT_EQ(inbound, 23u);
    EXPECT_EQ(seen.size() - inbound, 27u);
}

}  // namespace
