// Reading the request packet: its fields in tag order, stopping at the first failure.
#include "taf/request_packet.h"

namespace taf {

Status readFrom(TafInputStream& in, RequestPacket& packet) {
    // Back to the defaults, keeping the strings' and the buffer's capacity for a reused packet.
    packet.iVersion = 0;
    packet.cPacketType = 0;
    packet.iMessageType = 0;
    packet.iRequestId = 0;
    packet.sServantName.clear();
    packet.sFuncName.clear();
    packet.sBuffer.clear();
    packet.iTimeout = 0;
    packet.context.clear();
    packet.status.clear();
    Status status = kOk;
    std::apply(
        [&](const auto&... field) {
            const auto readsOn = [&](const auto& one) {
                status = readValue(in, packet.*one.member, one.tag, one.required);
                return status >= 0;
            };
            static_cast<void>((readsOn(field) && ...));
        },
        kRecordTable<RequestPacket>.fields);
    return status < 0 ? status : kOk;
}

}  // namespace taf
