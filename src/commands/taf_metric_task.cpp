#include "commands/taf_metric_task.h"

#include <atomic>

#include "core/boundary.h"
#include "core/logger_stream.h"
#include "signal/fill_user_id.h"
#include "taf/server_call.h"
#include "taf/server_functions.h"

namespace kinetra {
namespace {

// Zero when the library loads; the host may encode tasks on several threads at once.
std::atomic<std::uint32_t> gMetricRequests{0};

}  // namespace

bool TafMetricTask::Encode(service_plugin::ISignalService* service) {
    return core::at_boundary(
        L"TafMetricTask::Encode",
        [&] {
            FillUserId(service);
            const std::uint32_t number = ++gMetricRequests;
            encoded = taf::encodeRequest(taf::kReportMetric.servant, taf::kReportMetric.function,
                                         static_cast<std::int32_t>(number), request);
            return !encoded.empty();
        },
        false);
}

const char* TafMetricTask::GetServantName() {
    return taf::kReportMetric.servant.data();
}

const char* TafMetricTask::GetFunctionName() {
    return taf::kReportMetric.function.data();
}

bool TafMetricTask::OnResponse(const char* data, std::uint64_t size, std::int32_t firstCode,
                               std::int32_t secondCode) {
    return core::at_boundary(
        L"TafMetricTask::OnResponse",
        [&] {
            if (RecordReply(data, size, firstCode, secondCode)) {
                return true;
            }
            core::logger_stream(core::level_inf) << "TafMetricTask::OnResponse"
                                                 << " errCode = " << secondCode;
            return false;
        },
        false);
}

bool TafMetricTask::FillUserId(service_plugin::ISignalService* service) {
    Meru::FillUserIdFromHost(request.tId, service, Meru::UserAgentFill::fill);
    return true;
}

}  // namespace kinetra
