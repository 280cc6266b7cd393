// The push URIs of the live side, named once for the code and the tests.
#pragma once

#include <cstdint>

namespace kinetra {

// Viewer messages.
inline constexpr std::uint32_t kMessageNoticeUri = 1400;
// Items sent in the room, forwarded when they are for the signed-in user.
inline constexpr std::uint32_t kSendItemUri = 6501;

}  // namespace kinetra
