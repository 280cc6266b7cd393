// Every engine message runs the handlers its row of the message table names, in order: the
// game logic's and the live logic's through the live logic, the instance's here.
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

constexpr EngineBinding<KinetraServicePluginImpl> kInstanceBindings[] = {
    {"NotifyLiveState", &NotifyLiveState},
    {"GameIdCommand", &RunCommand<GameIdCommand>},
    {"CreateSource", &CreateSource},
    {"FitSource", &FitSource},
    {"TafTransferCommand", &RunCommand<TafTransferCommand>},
    {"ExecuteReqUpdateCommand",
     &RunCommand<ReqUpdateInfoCmd, &ReqUpdateInfoCmd::ExecuteReqUpdateCommand>},
    {"ReportUpdateResult", &RunCommand<ReqUpdateInfoCmd, &ReqUpdateInfoCmd::ReportUpdateResult>},
    {"ReqStartConfigCommand", &RunCommand<ReqStartConfigCommand>},
    {"MetricReportCommand", &RunCommand<MetricReportCommand>},
};
constexpr auto kInstanceSteps = BindEngineSteps(EngineArea::instance, kInstanceBindings);

}  // namespace

// A type without a row passes silently.
void KinetraServicePluginImpl::OnEngineMessage(std::int32_t type, const taf::Bytes& payload) {
    const InboundRoute* route = FindInboundRoute(type);
    if (route == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < route->steps.size(); ++i) {
        const auto area = route->steps[i].area;
        const auto step = route->firstStep + i;
        if (area == EngineArea::instance) {
            kInstanceSteps[step](*this, payload);
        } else {
            mLogic.RunEngineStep(area, step, payload);
        }
    }
}

}  // namespace kinetra
