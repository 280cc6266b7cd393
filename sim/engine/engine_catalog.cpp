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

// Frames of an audio block a trace line shows; the block holds 1024.
constexpr std::size_t kShownAudioFrames = 4;

// An audio block comes every 21 ms: its line shows the rate and the first frames only.
template <>
std::string Render<MeruKinetra::AudioFrameMsg>(const taf::Bytes& payload) {
    MeruKinetra::AudioFrameMsg block;
    taf::fromBytesLenient(payload, block);
    std::string line = "rate " + std::to_string(block.iSampleRate) + ", " +
                       std::to_string(block.iBitsPerSample) + " bits, " +
                       std::to_string(block.iChannels) + " channels, " +
                       std::to_string(block.sPcm.size() / 4) + " frames:";
    const auto sample = [&](std::size_t at) {
        const auto low = static_cast<std::uint8_t>(block.sPcm[at]);
        const auto high = static_cast<std::uint8_t>(block.sPcm[at + 1]);
        return std::to_string(static_cast<std::int16_t>(low | high << 8));
    };
    for (std::size_t frame = 0; frame < kShownAudioFrames && frame * 4 + 4 <= block.sPcm.size();
         ++frame) {
        line += " (" + sample(frame * 4) + ", " + sample(frame * 4 + 2) + ")";
    }
    return line + " ...";
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
