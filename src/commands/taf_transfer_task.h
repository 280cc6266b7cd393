// A server request the engine framed itself, sent unchanged through the host's signal service;
// the reply frame goes back to the engine with the engine's own request id.
#pragma once

#include <functional>
#include <string>

#include "signal/encoded_task.h"
#include "taf/records/pass_through.h"

namespace kinetra {

class TafTransferTask : public Meru::EncodedTask {
public:
    // Runs on the host's thread that completes the request, with the reply frame.
    using Callback = std::function<void(MeruKinetra::MeruTafTransDataRsp&)>;

    TafTransferTask(taf::Bytes enginePayload, Callback onReply, Meru::TaskOptions taskOptions = {})
        : EncodedTask(taskOptions),
          payload(std::move(enginePayload)),
          callback(std::move(onReply)) {}

    // Takes the frame out of the engine's payload and the names and request id out of the frame.
    // Answers whether there is a frame to send: a payload without one would hand the host an
    // empty request, so the host is told the encoding failed instead.
    bool Encode(service_plugin::ISignalService* service) override;
    const char* GetServantName() override { return servantName.c_str(); }
    const char* GetFunctionName() override { return functionName.c_str(); }
    // Appends the bytes of every reply; false for a time-out or a reply without bytes.
    bool OnResponse(const char* data, std::uint64_t size, std::int32_t firstCode,
                    std::int32_t secondCode) override;
    // Rewrites the reply frame with the engine's request id, its body in its own version; a
    // reply that is not a frame goes to the callback as received.
    void OnCallback() override;
    void Release() override { delete this; }

private:
    std::int32_t requestId = 0;
    std::string servantName;
    std::string functionName;
    taf::Bytes payload;
    MeruKinetra::MeruTafTransDataRsp replyBytes;
    Callback callback;
};

}  // namespace kinetra
