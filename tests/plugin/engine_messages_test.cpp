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
        [&](const auto&... row) {
            (
                [&] {
                    constexpr bool fromEngine =
                        std::is_same_v<std::decay_t<decltype(row.type)>, FromEngine>;
                    inbound += fromEngine ? 1 : 0;
                    EXPECT_FALSE(row.name.empty()) << kinetra::number(row.type);
                    EXPECT_TRUE(seen.emplace(fromEngine, kinetra::number(row.type)).second)
                        << "a second row for " << kinetra::number(row.type);
                }(),
                ...);
        },
        kEngineMessages);
    EXPECT_EQ(inbound, 23u);
    EXPECT_EQ(seen.size() - inbound, 27u);
}

}  // namespace
