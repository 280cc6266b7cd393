// The server functions the plug-in calls, each as its servant and function name and the records
// of its request and response (void where no response is read).
#pragma once

#include <string_view>
#include <tuple>

#include "taf/records/live_attribute.h"
#include "taf/records/metrics.h"
#include "taf/records/props_list.h"
#include "taf/records/start_config.h"
#include "taf/records/update_info.h"

namespace taf {

struct ServerFunction {
    std::string_view servant;
    std::string_view function;
};

template <class Req, class Rsp>
struct ServerCall : ServerFunction {
    using Request = Req;
    using Response = Rsp;
};

inline constexpr ServerCall<MERU::GetConfigReq, MERU::GetConfigRsp> kGetConfig{
    {"mobileui", "getConfig"}};
inline constexpr ServerCall<MERU::GetMobileUpdateInfoReq, MERU::GetMobileUpdateInfoRsp>
    kGetMobileUpdateInfo{{"mobileui", "getMobileUpdateInfo"}};
inline constexpr ServerCall<MERU::ReportMobileUpdateResultReq, void> kReportMobileUpdateResult{
    {"mobileui", "reportMobileUpdateResult"}};
inline constexpr ServerCall<MERU::MetricDetailSet, void> kReportMetric{
    {"metric", "reportDetailV2"}};
// Sets the room's live tags while the avatar is on air, clears them when it closes.
inline constexpr ServerCall<MERU::SetLiveAttributeReq, void> kSetLiveTag{{"wupui", "setLiveTag"}};
// Tells the room's viewers which avatar type is on air.
inline constexpr ServerCall<MERU::TransMsgToViewerReq, MERU::TransMsgToViewerRsp> kTransMsgToViewer{
    {"liveui", "transMsgToViewer"}};
// The room's gift items.
inline constexpr ServerCall<MERU::GetPropsListReq, MERU::GetPropsListRsp> kGetPropsList{
    {"PropsUIServer", "getPropsList"}};

// Every row above, for walkers such as the protocol reference.
inline constexpr auto kServerCalls =
    std::make_tuple(kGetConfig, kGetMobileUpdateInfo, kReportMobileUpdateResult, kReportMetric,
                    kSetLiveTag, kTransMsgToViewer, kGetPropsList);

}  // namespace taf
