// The server functions the plug-in calls, each as its servant and function name.
#pragma once

#include <string_view>

namespace taf {

struct ServerFunction {
    std::string_view servant;
    std::string_view function;
};

inline constexpr ServerFunction kGetConfig{"mobileui", "getConfig"};
inline constexpr ServerFunction kGetMobileUpdateInfo{"mobileui", "getMobileUpdateInfo"};
inline constexpr ServerFunction kReportMobileUpdateResult{"mobileui", "reportMobileUpdateResult"};
inline constexpr ServerFunction kReportMetric{"metric", "reportDetailV2"};
// Sets the room's live tags while the avatar is on air, clears them when it closes.
inline constexpr ServerFunction kSetLiveTag{"wupui", "setLiveTag"};
// Tells the room's viewers which avatar type is on air.
inline constexpr ServerFunction kTransMsgToViewer{"liveui", "transMsgToViewer"};
// The room's gift items.
inline constexpr ServerFunction kGetPropsList{"PropsUIServer", "getPropsList"};

}  // namespace taf
