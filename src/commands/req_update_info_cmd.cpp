#include "commands/req_update_info_cmd.h"

#include "commands/request_address.h"
#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "signal/taf_task.h"
#include "signal/taf_task_no_rsp.h"
#include "signal/task_shelf.h"
#include "taf/assign_text.h"
#include "taf/records/update_info.h"
#include "taf/shared_spare.h"

namespace kinetra {
namespace {

using UpdateTask = Meru::Shelved<Meru::TafTaskWithTidAndCustomFillUA<MERU::GetMobileUpdateInfoReq,
                                                                     MERU::GetMobileUpdateInfoRsp>>;

std::string_view Param(const std::map<std::string, std::string, std::less<>>& params,
                       std::string_view key) {
    const auto entry = params.find(key);
    return entry == params.end() ? std::string_view() : std::string_view(entry->second);
}

// What every update request starts from; the engine's user agent is set on top.
const MERU::GetMobileUpdateInfoReq& UpdateRequestTemplate() {
    static const MERU::GetMobileUpdateInfoReq request = [] {
        MERU::GetMobileUpdateInfoReq made;
        made.mpRelyArtifacts = {{"rely_artifacts_key", "pc_engine"}};
        made.mpRelyArtifactTypes = {{"rely_artifacts_key", 2}};
        return made;
    }();
    return request;
}

}  // namespace

void ReqUpdateInfoCmd::ExecuteReqUpdateCommand(const taf::Bytes& payload) {
    const auto instance = mOwner.lock();
    auto* signal = instance ? instance->SignalService() : nullptr;
    if (signal == nullptr) {
        return;
    }
    // Read over the kept query, whose map nodes serve the next one.
    taf::SharedSpare<MeruKinetra::UpdateInfoReqMsg> query;
    taf::fromBytesLenient(payload, *query);
    const std::string_view type = Param(query->mpParam, "iType");
    const std::string_view userAgent = Param(query->mpParam, "sUA");
    core::logger_stream(core::level_inf)
        << "ReqUpdateInfoCmd::ExecuteReqUpdateCommand"
        << " EngineNotify::VirtualAI_ReqUpdate type " << type << " ua= " << userAgent;

    // Holds the instance weakly: a task the host still holds keeps nothing alive after the
    // instance is released, and its late answer is dropped.
    auto onReply = [weakInstance = std::weak_ptr(instance)](
                       const Meru::SignalErrorHelper* error,
                       MERU::GetMobileUpdateInfoRsp* response) {
        if (error->errCode == Meru::kTimedOut) {
            core::logger_stream(core::level_inf)
                << "ReqUpdateInfoCmd::ExecuteReqUpdateCommand::<lambda_1>::operator ()"
                << " time out";
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
    // Update queries come one after another, so their tasks are taken from the shelf.
    auto task =
        UpdateTask::Take(taf::kGetMobileUpdateInfo.servant, taf::kGetMobileUpdateInfo.function,
                         UpdateRequestTemplate(), std::move(onReply));
    taf::assignText(task->Req().tId.sUA, userAgent);
    signal->SendTask(task.release());
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
