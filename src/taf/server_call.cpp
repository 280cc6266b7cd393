// Framing a request in the kept, reused buffers.
#include "taf/server_call.h"

namespace taf {
namespace {

// The body, the header around it and the header's bytes, kept per thread between requests.
struct FrameScratch {
    TafOutputStream body;
    RequestPacket header;
    TafOutputStream packet;
};

}  // namespace

void frameRequest(std::string_view servant, std::string_view function, std::int32_t requestId,
                  std::string_view typeName, std::span<const std::uint8_t> value, Bytes& frame) {
    frame.clear();
    if (servant.empty() || function.empty()) {
        return;
    }
    SharedSpare<FrameScratch> scratch;
    // The version-2 body of one attribute: {name: {type name: value bytes}}.
    TafOutputStream& body = scratch->body;
    body.reset();
    body.writeMapHead(1, 0);
    body.writeString(kRequestAttribute, 0);
    body.writeMapHead(1, 1);
    body.writeString(typeName, 0);
    body.writeBytes(value, 1);

    RequestPacket& header = scratch->header;
    header.iVersion = 2;
    header.iRequestId = requestId;
    header.sServantName.assign(servant);
    header.sFuncName.assign(function);
    header.sBuffer.assign(body.data(), body.data() + body.size());
    TafOutputStream& packet = scratch->packet;
    packet.reset();
    writeTo(packet, header);

    const std::size_t length = packet.size() + kFrameLengthSize;
    frame.reserve(length);
    for (int shift = 24; shift >= 0; shift -= 8) {
        frame.push_back(static_cast<std::uint8_t>(length >> shift));
    }
    frame.insert(frame.end(), packet.data(), packet.data() + packet.size());
}

}  // namespace taf
