// The header record of every framed server request and reply.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "taf/codec.h"

namespace taf {

// Written at top level, without struct markers; `sBuffer` carries the UniAttribute body.
struct RequestPacket {
    std::int16_t iVersion = 0;
    std::int8_t cPacketType = 0;
    std::int32_t iMessageType = 0;
    std::int32_t iRequestId = 0;
    std::string sServantName;
    std::string sFuncName;
    Bytes sBuffer;
    std::int32_t iTimeout = 0;
    std::map<std::string, std::string> context;
    std::map<std::string, std::string> status;

    bool operator==(const RequestPacket&) const = default;

    static constexpr auto tafTable() {
        using R = RequestPacket;
        return table("RequestPacket", required(1, &R::iVersion, "iVersion"),
                     optional(2, &R::cPacketType, "cPacketType"),
                     optional(3, &R::iMessageType, "iMessageType"),
                     required(4, &R::iRequestId, "iRequestId"),
                     required(5, &R::sServantName, "sServantName"),
                     required(6, &R::sFuncName, "sFuncName"), required(7, &R::sBuffer, "sBuffer"),
                     optional(8, &R::iTimeout, "iTimeout"), optional(9, &R::context, "context"),
                     optional(10, &R::status, "status"));
    }
};

// Unlike every other record, a packet is read only up to its first failing field, whose code
// is returned; the fields after it keep their defaults.
[[nodiscard]] Status readFrom(TafInputStream& in, RequestPacket& packet);

}  // namespace taf
