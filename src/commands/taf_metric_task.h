// A metric set the engine reports, sent to the servers with the user's identity filled in;
// each request carries the next number of a process-wide count, and its reply is not read.
#pragma once

#include "signal/encoded_task.h"
#include "taf/records/metrics.h"

namespace kinetra {

class TafMetricTask : public Meru::EncodedTask {
public:
    explicit TafMetricTask(MERU::MetricDetailSet metrics, Meru::TaskOptions taskOptions = {})
        : EncodedTask(taskOptions), request(std::move(metrics)) {}

    // Fills the identity, takes the next request number and frames the request.
    bool Encode(service_plugin::ISignalService* service) override;
    const char* GetServantName() override;
    const char* GetFunctionName() override;
    // Logs a time-out or a reply without bytes.
    bool OnResponse(const char* data, std::uint64_t size, std::int32_t firstCode,
                    std::int32_t secondCode) override;
    void OnCallback() override {}
    void Release() override { delete this; }

    // 15: the set's identity from the host, keeping the engine's cookie and device id.
    virtual bool FillUserId(service_plugin::ISignalService* service);

private:
    MERU::MetricDetailSet request;
};

}  // namespace kinetra
