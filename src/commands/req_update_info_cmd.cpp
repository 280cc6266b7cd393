#include "commands/req_update_info_cmd.h"

#include "commands/request_address.h"
#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "signal/taf_task.h"
#include "signal/taf_task_no_rsp.h"
#include "taf/records/update_info.h"

namespace kinetra {
namespace {

std::string Param(const std::map<std::string, std::string>& params, const char* key) {
    const auto entry = params.find(key);
    return entry == params.end() ? std::string() : entry->second;
}

}  // namespace

void ReqUpdateInfoCmd::ExecuteReqUpdateCommand(const taf::Bytes& payload) {
    const auto instance = mOwner.lock();
    auto* signal = instance ? instance->SignalService() : nullptr;
    if (signal == nullptr) {
        return;
    }
    MeruKinetra::UpdateInfoReqMsg query;
    taf::fromBytesLenient(payload, query);
    const std::string type = Param(query.mpParam, "iType");
    const std::string userAgent = Param(query.mpParam, "sUA");
    core::logger_stream(core::level_inf)
        << L"ReqUpdateInfoCmd::ExecuteReqUpdateCommand"
        << L" EngineNotify::VirtualAI_ReqUpdate type " << type << L" ua= " << userAgent;

    MERU::GetMobileUpdateInfoReq request;
    request.tId.sUA = userAgent;
    request.mpRelyArtifacts = {{"rely_artifacts_key", "pc_engine"}};
    request.mpRelyArtifactTypes = {{"rely_artifacts_key", 2}};
    // Holds the instance weakly: a task the host still holds keeps nothing alive after the
    // instance is released, and its late answer is dropped.
    auto onReply = [weakInstance = std::weak_ptr(instance)](
                       const Meru::SignalErrorHelper* error,
                       MERU::GetMobileUpdateInfoRsp* response) {
        if (error->errCode == Meru::kTimedOut) {
            core::logger_stream(core::level_inf)
                << L"ReqUpdateInfoCmd::ExecuteReqUpdateCommand::<lambda_1>::operator ()"
                << L" time out";
            return;
        }
        const auto alive = weakInstance.lock();
        if (!alive) {
            return;
        }
        const MeruKinetra::UpdateInfoMsg answer{response->iField0, response->sField3,
                                                response->sField4, response->iField7,
                                                response->iField8, response->sField9};
        alive->RememberUpdateValue(response->iField7);
        alive->SendToEngine(ToEngine::kUpdateInfo, answer);
    };
    signal->SendTask(new Meru::TafTaskWithTidAndCustomFillUA<MERU::GetMobileUpdateInfoReq,
                                                             MERU::GetMobileUpdateInfoRsp>(
        std::move(request), RequestAddress(taf::kGetMobileUpdateInfo), std::move(onReply)));
}

void ReqUpdateInfoCmd::ReportUpdateResult(const taf::Bytes& payload) {
    const auto instance = mOwner.lock();
    auto* signal = instance ? instance->SignalService() : nullptr;
    if (signal == nullptr) {
        return;
    }
    MeruKinetra::UpdateResultMsg report;
    taf::fromBytesLenient(payload, report);
    MERU::ReportMobileUpdateResultReq request;
    request.iUpdateValue = instance->UpdateValue();
    request.iResult = report.iResult;
    // The outcome is not looked at; a callback is still set so that the reply is taken.
    signal->SendTask(new Meru::TafTaskNoRspWithTid<MERU::ReportMobileUpdateResultReq>(
        std::move(request), RequestAddress(taf::kReportMobileUpdateResult),
        [](const Meru::SignalErrorHelper*) {}));
}

}  // namespace kinetra
