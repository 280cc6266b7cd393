// Framing a request packet with its body, and reading one back.
#include "taf/uni_packet.h"

namespace taf {
namespace {

// The largest body a reused packet keeps between frames: a few ordinary replies.
constexpr std::size_t kKeptBodyBytes = 16 * 1024;

}  // namespace

Status UniPacket::encode(Bytes& frame) {
    frame.clear();
    if (packet_.sServantName.empty()) {
        return kNoServantName;
    }
    if (packet_.sFuncName.empty()) {
        return kNoFunctionName;
    }
    scratch_.reset();
    Status status = attribute_.writeBody(scratch_, packet_.iVersion == 3);
    packet_.sBuffer = scratch_.toBytes();
    scratch_.reset();
    keepFirstFailure(status, writeTo(scratch_, packet_));

    const std::size_t length = scratch_.size() + kFrameLengthSize;
    frame.reserve(length);
    for (int shift = 24; shift >= 0; shift -= 8) {
        frame.push_back(static_cast<std::uint8_t>(length >> shift));
    }
    frame.insert(frame.end(), scratch_.data(), scratch_.data() + scratch_.size());
    return status;
}

bool readFramedPacket(std::span<const std::uint8_t> frame, RequestPacket& packet) {
    const bool tooShort = frame.size() < kFrameLengthSize;
    TafInputStream in(tooShort ? frame.first(0) : frame.subspan(kFrameLengthSize));
    readLenient(in, packet);
    return !tooShort;
}

void releaseLargeBuffers(RequestPacket& packet) {
    if (packet.sBuffer.capacity() > kKeptBodyBytes) {
        packet = RequestPacket{};
    }
}

Status UniPacket::decode(std::span<const std::uint8_t> frame) {
    const bool framed = readFramedPacket(frame, packet_);
    const bool version3 = packet_.iVersion == 3;
    attribute_.setVersion(version3 ? 3 : 2);
    TafInputStream in(packet_.sBuffer);
    const Status body = attribute_.readBody(in, version3);
    return framed ? body : kFrameTooShort;
}

}  // namespace taf
