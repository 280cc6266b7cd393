// The part of every server request task that does not depend on the reply: the request
// record, where it goes, the host's options and the encoded frame.
#pragma once

#include <span>

#include "core/boundary.h"
#include "signal/encoded_task.h"
#include "signal/signal_error_helper.h"
#include "taf/server_call.h"

namespace Meru {

// Keeps the host's two codes and, when a reply worth decoding came (bytes present and first
// code 0), the return value that `decode` reads from its bytes.
template <class Decode>
void RecordOutcome(SignalErrorHelper& outcome, const char* data, std::uint64_t size,
                   std::int32_t firstCode, std::int32_t secondCode, Decode&& decode) {
    outcome.resultCode = firstCode;
    outcome.errCode = secondCode;
    if (data != nullptr && size != 0 && firstCode == 0) {
        outcome.serverResult = decode(std::span<const std::uint8_t>(
            reinterpret_cast<const std::uint8_t*>(data), static_cast<std::size_t>(size)));
    }
}

// Slots 0 to 14 are the host's; this class adds slot 15. The host owns the task from SendTask
// on and ends it with Release.
template <class Req>
class TafTaskBase : public EncodedTask {
public:
    using Request = Req;

    TafTaskBase(Req requestRecord, RequestDescriptor address, TaskOptions taskOptions)
        : EncodedTask(taskOptions),
          request(std::move(requestRecord)),
          descriptor(std::move(address)) {}

    bool Encode(service_plugin::ISignalService*) override {
        return core::at_boundary(
            L"TafTaskBase::Encode",
            [&] {
                taf::encodeRequest(GetServantName(), GetFunctionName(), 0, request, encoded);
                return !encoded.empty();
            },
            false);
    }
    const char* GetPath() override { return descriptor.path.c_str(); }
    std::uint32_t GetPathSize() override {
        return static_cast<std::uint32_t>(descriptor.path.size());
    }
    const char* GetServantName() override { return descriptor.servantName.c_str(); }
    const char* GetFunctionName() override { return descriptor.functionName.c_str(); }
    bool OnResponse(const char* data, std::uint64_t size, std::int32_t firstCode,
                    std::int32_t secondCode) override {
        return core::at_boundary(
            L"TafTaskBase::OnResponse",
            [&] { return DecodeResponse(data, size, firstCode, secondCode); }, false);
    }
    void Release() override { delete this; }

    // 15: records the host's codes and decodes the reply; false when nobody waits for it.
    virtual bool DecodeResponse(const char* data, std::uint64_t size, std::int32_t firstCode,
                                std::int32_t secondCode) = 0;

protected:
    Req request;
    RequestDescriptor descriptor;
};

}  // namespace Meru
