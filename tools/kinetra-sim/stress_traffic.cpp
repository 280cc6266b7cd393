#include "kinetra-sim/stress_traffic.h"

#include <functional>
#include <tuple>
#include <vector>

#include "games/game_calls.h"
#include "live/live_protocol.h"
#include "plugin/engine_messages.h"

namespace kinetra_sim {
namespace {

using PayloadMaker = taf::Bytes (*)(StressRandom&);

template <class Payload>
taf::Bytes MakePayload(StressRandom& random) {
    if constexpr (std::is_void_v<Payload>) {
        return random.RandomBytes(16);
    } else {
        return random.Damage(taf::toBytes(RandomRecord<Payload>(random)));
    }
}

struct InboundRow {
    std::uint32_t type;
    PayloadMaker payload;
};

// One row per inbound type of the message table.
std::vector<InboundRow> InboundRows() {
    std::vector<InboundRow> rows;
    std::apply(
        [&](const auto&... message) {
            (
                [&] {
                    using Message = std::decay_t<decltype(message)>;
                    if constexpr (std::is_same_v<decltype(Message::type), kinetra::FromEngine>) {
                        rows.push_back({static_cast<std::uint32_t>(kinetra::number(message.type)),
                                        &MakePayload<typename Message::PayloadRecord>});
                    }
                }(),
                ...);
        },
        kinetra::kEngineMessages);
    return rows;
}

// The key words of a guess-words push are the run's own secrets, like tokens and cookies.
template <class Push>
Push WithSecretKeyWords(Push push, StressRandom& random) {
    if constexpr (std::is_same_v<Push, MERU::VirtualTravelGuessWordsGameNotice>) {
        auto& words = push.tGuessWordsGamePushInfo.vKeyWordInfo;
        words.resize(random.Between(1, 3));
        for (auto& word : words) {
            word.sKeyWord = random.Secret();
        }
    }
    return push;
}

struct PushRow {
    std::uint32_t uri;
    PayloadMaker payload;
};

template <class Push>
taf::Bytes MakePush(StressRandom& random) {
    return random.Damage(taf::toBytes(WithSecretKeyWords(RandomRecord<Push>(random), random)));
}

template <class... Push>
void AddPushRows(std::vector<PushRow>& rows, std::tuple<Push...>*) {
    (rows.push_back({Push::kPushUri, &MakePush<Push>}), ...);
}

std::vector<PushRow> PushRows() {
    std::vector<PushRow> rows;
    AddPushRows(rows, static_cast<kinetra::LivePushes*>(nullptr));
    AddPushRows(rows, static_cast<kinetra::GamePushes*>(nullptr));
    return rows;
}

// Most numbers the filler makes are this small, so random subscriptions use these URIs.
constexpr std::uint64_t kSmallUriCount = 8;

}  // namespace

EngineShot RandomEngineMessage(StressRandom& random) {
    static const std::vector<InboundRow> rows = InboundRows();
    const InboundRow& row = random.Pick(rows);
    EngineShot shot{row.type, row.payload(random), {}};
    if (random.Chance(0.02)) {
        shot.channel = random.Text() + "_other";
    } else if (random.Chance(0.02)) {
        // Not a type of the table: the plug-in ignores it.
        shot.type = static_cast<std::uint32_t>(random.Between(0, 0xffffffff));
        for (const auto& known : rows) {
            if (known.type == shot.type) {
                shot.type = ~shot.type;
            }
        }
    }
    return shot;
}

PushShot RandomPush(StressRandom& random) {
    static const std::vector<PushRow> rows = PushRows();
    if (random.Chance(0.1)) {
        return {static_cast<std::uint32_t>(random.Between(0, kSmallUriCount)),
                random.RandomBytes(24)};
    }
    const PushRow& row = random.Pick(rows);
    return {row.uri, row.payload(random)};
}

}  // namespace kinetra_sim
