// A metric set the engine reports, sent to the servers with the user's identity filled in;
// each request carries the next number of a process-wide count, and its reply is not read.
#pragma once

#include "service_plugin/signal_service.h"
#include "signal/request_descriptor.h"
#include "taf/records/metrics.h"

namespace kinetra {

class TafMetricTask : public service_plugin::SignalTafTask {
public:
    explicit TafMetricTask(MERU::MetricDetailSet metrics, Meru::TaskOptions taskOptions = {})
        : request(std::move(metrics)), options(taskOptions) {}

    // Fills the identity, takes the next request number and frames the request.
    bool Encode(service_plugin::ISignalService* service) override;
    const char* GetData() override { return reinterpret_cast<const char*>(encoded.data()); }
    std::uint64_t GetDataSize() override { return encoded.size(); }
    std::uint32_t GetOption1() override { return options.option1; }
    std::uint32_t GetOption2() override { return options.option2; }
    std::uint32_t GetOption3() override { return options.option3; }
    std::uint32_t GetOption4() override { return options.option4; }
    const char* GetPath() override { return nullptr; }
    std::uint32_t GetPathSize() override { return 0; }
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
    Meru::TaskOptions options;
    taf::Bytes encoded;
    std::int32_t resultCode = -1;
    std::int32_t errCode = -1;
};

}  // namespace kinetra
