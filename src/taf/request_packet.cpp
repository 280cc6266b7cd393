// Reading the request packet: its fields in tag order, stopping at the first failure.
#include "taf/request_packet.h"

namespace taf {

Status readFrom(TafInputStream& in, RequestPacket& packet) {
    packet = RequestPacket{};
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
