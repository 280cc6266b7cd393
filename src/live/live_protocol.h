// The server functions and push URIs of the live side, named once for the code and the tests.
#pragma once

#include <cstdint>

#include "signal/request_descriptor.h"

namespace kinetra {

struct ServerFunction {
    const char* servant;
    const char* function;

    Meru::RequestDescriptor Descriptor() const { return {servant, function}; }
};

// Sets the room's live tags while the avatar is on air, clears them when it closes.
inline constexpr ServerFunction kSetLiveTag{"wupui", "setLiveTag"};
// Tells the room's viewers which avatar type is on air.
inline constexpr ServerFunction kTransMsgToViewer{"liveui", "transMsgToViewer"};
// The room's gift items.
inline constexpr ServerFunction kGetPropsList{"PropsUIServer", "getPropsList"};

// Viewer messages.
inline constexpr std::uint32_t kMessageNoticeUri = 1400;
// Items sent in the room, forwarded when they are for the signed-in user.
inline constexpr std::uint32_t kSendItemUri = 6501;

}  // namespace kinetra
