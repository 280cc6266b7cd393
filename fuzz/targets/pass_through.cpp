// The pass-through: the engine frames a server request itself, the plug-in reads its names and
// request id, and rebuilds the server's reply frame with the engine's request id. Input: one
// byte n, n bytes of the engine's frame, then the reply, delivered in two pieces.
#include <algorithm>
#include <optional>

#include "commands/taf_transfer_task.h"
#include "fuzz_target.h"
#include "taf/uni_packet.h"

namespace kinetra::fuzz {
namespace {

// The frame with the request id set to `requestId`, rebuilt as the task rebuilds it; nothing
// when the frame names no servant or function and is handed on as received.
std::optional<taf::Bytes> Rebuilt(const taf::Bytes& frame, std::int32_t requestId) {
    taf::UniPacket packet;
    static_cast<void>(packet.decode(frame));
    if (packet.packet().sServantName.empty() || packet.packet().sFuncName.empty()) {
        return std::nullopt;
    }
    packet.packet().iRequestId = requestId;
    taf::Bytes rebuilt;
    packet.encode(rebuilt);
    return rebuilt;
}

}  // namespace

void FuzzPassThrough(Input input) {
    if (input.empty()) {
        return;
    }
    const std::size_t frameSize = std::min<std::size_t>(input[0], input.size() - 1);
    const Input engineFrame = input.subspan(1, frameSize);
    const Input reply = input.subspan(1 + frameSize);

    MeruKinetra::MeruTafTransDataReq request;
    request.vData.assign(engineFrame.begin(), engineFrame.end());
    taf::UniPacket engineView;
    static_cast<void>(engineView.decode(request.vData));
    const std::int32_t engineRequestId = engineView.packet().iRequestId;

    bool called = false;
    auto* task =
        new TafTransferTask(taf::toBytes(request), [&](MeruKinetra::MeruTafTransDataRsp& rsp) {
            called = true;
            const taf::Bytes received(reply.begin(), reply.end());
            const auto expected = Rebuilt(received, engineRequestId);
            Expect(rsp.vData == expected.value_or(received));
            // A rebuilt frame is a fixed point: rebuilding it again changes nothing.
            if (expected) {
                Expect(Rebuilt(rsp.vData, engineRequestId) == expected);
            }
        });
    Expect(task->Encode(nullptr) == !engineFrame.empty());
    Expect(task->GetDataSize() == engineFrame.size());
    const std::size_t half = reply.size() / 2;
    const auto* bytes = reinterpret_cast<const char*>(reply.data());
    task->OnResponse(bytes, half, 0, 0);
    task->OnResponse(bytes + half, reply.size() - half, 0, 0);
    task->OnCallback();
    task->Release();
    Expect(called);
}

}  // namespace kinetra::fuzz
