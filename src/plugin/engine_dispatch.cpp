// The instance's own engine messages, after the live logic's hook has seen each one.
#include "commands/game_id_command.h"
#include "commands/metric_report_command.h"
#include "commands/req_create_source_command.h"
#include "commands/req_start_config_command.h"
#include "commands/req_update_info_cmd.h"
#include "commands/taf_transfer_command.h"
#include "plugin/engine_route.h"
#include "plugin/kinetra_service_plugin_impl.h"

namespace kinetra {
namespace {

// Every open or close notice is answered with the live flag, after the live logic's handling.
void NotifyLiveState(KinetraServicePluginImpl& instance, const taf::Bytes&) {
    instance.LiveState().NotifyLiveState(instance.IsLive());
}

// The new source, null included, becomes the current one; the camera makes way for it.
void CreateSource(KinetraServicePluginImpl& instance, const taf::Bytes&) {
    instance.SetCurrentSource(ReqCreateSourceCommand(instance.Owner()).EexecuteCommand());
    instance.Logic().OnSourceCreated();
}

void FitSource(KinetraServicePluginImpl& instance, const taf::Bytes& payload) {
    FitSourceToCanvas(instance.PresenterService(), instance.CurrentSource(), payload);
}

constexpr EngineRoute<KinetraServicePluginImpl> kInstanceRoutes[] = {
    {FromEngine::kOpenState, &NotifyLiveState},
    {FromEngine::kGameIdRequest, &RunCommand<GameIdCommand>},
    {FromEngine::kCreateSource, &CreateSource},
    {FromEngine::kFitSource, &FitSource},
    {FromEngine::kPassThroughRequest, &RunCommand<TafTransferCommand>},
    {FromEngine::kUpdateInfoRequest,
     &RunCommand<ReqUpdateInfoCmd, &ReqUpdateInfoCmd::ExecuteReqUpdateCommand>},
    {FromEngine::kUpdateResultReport,
     &RunCommand<ReqUpdateInfoCmd, &ReqUpdateInfoCmd::ReportUpdateResult>},
    {FromEngine::kStartConfigRequest, &RunCommand<ReqStartConfigCommand>},
    {FromEngine::kMetricReport, &RunCommand<MetricReportCommand>},
};

}  // namespace

std::span<const EngineRoute<KinetraServicePluginImpl>> InstanceRoutes() {
    return kInstanceRoutes;
}

void KinetraServicePluginImpl::OnEngineMessage(std::int32_t type, const taf::Bytes& payload) {
    mLogic.OnEngineMessage(type, payload);
    RouteEngineMessage<KinetraServicePluginImpl>(kInstanceRoutes, *this, type, payload);
}

}  // namespace kinetra
