#include "commands/taf_transfer_task.h"

#include "core/boundary.h"
#include "taf/uni_packet.h"

namespace kinetra {

bool TafTransferTask::Encode(service_plugin::ISignalService*) {
    return core::at_boundary(
        L"TafTransferTask::Encode",
        [&] {
            MeruKinetra::MeruTafTransDataReq request;
            if (taf::fromBytes(payload, request) >= 0) {
                encoded = std::move(request.vData);
                taf::UniPacket packet;
                // Names and id are what could be read; the frame is sent as it is.
                static_cast<void>(packet.decode(encoded));
                servantName = packet.packet().sServantName;
                functionName = packet.packet().sFuncName;
                requestId = packet.packet().iRequestId;
            }
            return !encoded.empty();
        },
        false);
}

bool TafTransferTask::OnResponse(const char* data, std::uint64_t size, std::int32_t firstCode,
                                 std::int32_t secondCode) {
    return core::at_boundary(
        L"TafTransferTask::OnResponse",
        [&] {
            if (!RecordReply(data, size, firstCode, secondCode)) {
                return false;
            }
            const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
            replyBytes.vData.insert(replyBytes.vData.end(), bytes, bytes + size);
            return true;
        },
        false);
}

void TafTransferTask::OnCallback() {
    core::at_boundary(L"TafTransferTask::OnCallback", [&] {
        taf::UniPacket packet;
        // A reply that is not a frame has no names and is handed on unchanged.
        static_cast<void>(packet.decode(replyBytes.vData));
        packet.packet().iRequestId = requestId;
        if (!packet.packet().sServantName.empty() && !packet.packet().sFuncName.empty()) {
            packet.encode(replyBytes.vData);
        }
        if (callback) {
            callback(replyBytes);
        }
    });
}

}  // namespace kinetra
