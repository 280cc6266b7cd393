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

Status UniPacket::decode(std::span<const std::uint8_t> frame) {
    const bool tooShort = frame.size() < kFrameLengthSize;
    // A frame too short to hold its length still empties a reused packet.
    TafInputStream in(tooShort ? frame.first(0) : frame.subspan(kFrameLengthSize));
    // A header missing fields still carries what the body needs; the body's status decides.
    readLenient(in, packet_);
    const bool version3 = packet_.iVersion == 3;
    attribute_.setVersion(version3 ? 3 : 2);
    in.reset(packet_.sBuffer);
    const Status body = attribute_.readBody(in, version3);
    return tooShort ? kFrameTooShort : body;
}

void UniPacket::releaseLargeBuffers() {
    if (packet_.sBuffer.capacity() > kKeptBodyBytes) {
        *this = UniPacket{};
    }
}

}  // namespace taf
