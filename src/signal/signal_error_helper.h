// The three result codes every request callback receives.
#pragma once

#include <cstdint>

namespace Meru {

struct SignalErrorHelper {
    // The host's first code: 0 when a reply is present.
    std::int32_t resultCode = -1;
    // The host's second code: -1 when the request timed out or never got a reply.
    std::int32_t errCode = -1;
    // The reply's return value; stays -1 unless a reply was decoded.
    std::int32_t serverResult = -1;
};

// errCode of a request that got no reply in time.
inline constexpr std::int32_t kTimedOut = -1;

}  // namespace Meru
