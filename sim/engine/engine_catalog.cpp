#include "engine/engine_catalog.h"

#include "taf/records/engine_identity.h"
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

struct Entry {
    Direction direction;
    std::uint32_t type;
    EngineMessageInfo info;
};

constexpr Direction kIn = Direction::toPlugin;
constexpr Direction kOut = Direction::toEngine;

const Entry kCatalog[] = {
    {kIn, 22, {"pass-through server request", nullptr}},
    {kIn, 24, {"user information request", nullptr}},
    {kIn, 28, {"current game and task id", nullptr}},
    {kIn, 29, {"push subscription", nullptr}},
    {kIn, 101, {"interactive game information request", nullptr}},
    {kIn, 103, {"crown game start", nullptr}},
    {kIn, 105, {"crown game end", nullptr}},
    {kIn, 111, {"game data recovery check", nullptr}},
    {kIn, 113, {"crown game heartbeat", nullptr}},
    {kIn, 201, {"travel game start", nullptr}},
    {kIn, 203, {"travel game pre-start", nullptr}},
    {kIn, 205, {"travel game start with level and screen type", nullptr}},
    {kIn, 207, {"interactive game heartbeat", nullptr}},
    {kIn, 211, {"interactive game end", nullptr}},
    {kIn, 2001, {"open or close notice", nullptr}},
    {kIn, 2014, {"game id request", nullptr}},
    {kIn, 2027, {"update information request", nullptr}},
    {kIn, 2028, {"update result report", nullptr}},
    {kIn, 2029, {"start configuration request", nullptr}},
    {kIn, 2035, {"create source", nullptr}},
    {kIn, 2036, {"fit source", nullptr}},
    {kIn, 2037, {"metric report", nullptr}},
    {kIn, 2039, {"presenter dialog", nullptr}},
    {kOut, 20, {"initial data", nullptr}},
    {kOut, 23, {"pass-through response", nullptr}},
    {kOut, 25, {"user information", &Render<MeruKinetra::UserInfoMsg>}},
    {kOut, 26, {"interactive game notice", nullptr}},
    {kOut, 30, {"raw subscribed push", nullptr}},
    {kOut, 39, {"live state", nullptr}},
    {kOut, 102, {"interactive game information", nullptr}},
    {kOut, 104, {"crown game start answer", nullptr}},
    {kOut, 106, {"crown game end answer", nullptr}},
    {kOut, 108, {"item sent to the user", nullptr}},
    {kOut, 109, {"viewer message notice", nullptr}},
    {kOut, 110, {"crown game data notice", nullptr}},
    {kOut, 112, {"game data recovery answer", nullptr}},
    {kOut, 114, {"crown game heartbeat answer", nullptr}},
    {kOut, 115, {"crown game ornament list", nullptr}},
    {kOut, 202, {"travel game start answer", nullptr}},
    {kOut, 204, {"travel game pre-start answer", nullptr}},
    {kOut, 206, {"travel game start (level and screen type) answer", nullptr}},
    {kOut, 208, {"interactive game heartbeat answer", nullptr}},
    {kOut, 209, {"travel guess-words notice", nullptr}},
    {kOut, 210, {"travel empowerment notice", nullptr}},
    {kOut, 212, {"interactive game end answer", nullptr}},
    {kOut, 317, {"update information", nullptr}},
    {kOut, 2000, {"start configuration", nullptr}},
    {kOut, 2014, {"game id", &Render<MeruKinetra::GameIdMsg>}},
    {kOut, 2034, {"audio data", nullptr}},
    {kOut, 2040, {"presenter dialog result", nullptr}},
};

}  // namespace

std::optional<EngineMessageInfo> DescribeEngineMessage(Direction direction, std::uint32_t type) {
    for (const auto& entry : kCatalog) {
        if (entry.direction == direction && entry.type == type) {
            return entry.info;
        }
    }
    return std::nullopt;
}

}  // namespace sim
