#include "commands/metric_report_command.h"

#include "commands/taf_metric_task.h"
#include "context/plugin_context.h"

namespace kinetra {

void MetricReportCommand::EexecuteCommand(const taf::Bytes& payload) {
    const auto instance = mOwner.lock();
    auto* signal = instance ? instance->SignalService() : nullptr;
    if (signal == nullptr) {
        return;
    }
    MERU::MetricDetailSet metrics;
    taf::fromBytesLenient(payload, metrics);
    signal->SendTask(new TafMetricTask(std::move(metrics)));
}

}  // namespace kinetra
