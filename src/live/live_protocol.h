// The pushes of the live side: their records, which carry their URIs, named once for the code
// and the tests.
#pragma once

#include <cstdint>
#include <tuple>

#include "taf/records/live_pushes.h"

namespace kinetra {

// Every push the live side subscribes to when it starts.
using LivePushes = std::tuple<MERU::MessageNotice, MERU::SendItemSubBroadcastPacket>;

// Viewer messages.
inline constexpr std::uint32_t kMessageNoticeUri = MERU::MessageNotice::kPushUri;
// Items sent in the room, forwarded when they are for the signed-in user.
inline constexpr std::uint32_t kSendItemUri = MERU::SendItemSubBroadcastPacket::kPushUri;

}  // namespace kinetra
