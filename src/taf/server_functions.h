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

}  // namespace taf
