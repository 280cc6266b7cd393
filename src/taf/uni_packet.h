// A server request or reply as it travels: a 4-byte length, then the request packet whose
// byte-vector field carries the UniAttribute body.
#pragma once

#include <span>

#include "taf/request_packet.h"
#include "taf/uni_attribute.h"

namespace taf {

// The big-endian frame length that leads every frame, itself included in the count.
inline constexpr std::size_t kFrameLengthSize = 4;

// Skips the frame's length (unchecked) and reads the packet leniently: a header missing
// fields still carries what the body needs. False when the frame is too short to hold its
// length; the packet is then read from nothing, so a reused one is emptied.
bool readFramedPacket(std::span<const std::uint8_t> frame, RequestPacket& packet);

// A packet kept for reuse lets go of buffers grown by an unusually large frame.
void releaseLargeBuffers(RequestPacket& packet);

class UniPacket {
public:
    UniPacket() { setVersion(2); }

    RequestPacket& packet() { return packet_; }
    const RequestPacket& packet() const { return packet_; }
    UniAttribute& attribute() { return attribute_; }
    const UniAttribute& attribute() const { return attribute_; }

    // Sets the packet's and the body's version together; 3 selects the version-3 body.
    void setVersion(std::int16_t version) {
        packet_.iVersion = version;
        attribute_.setVersion(version);
    }

    template <class T>
    Status put(std::string_view name, const T& value) {
        return attribute_.put(name, value);
    }
    template <class T>
    [[nodiscard]] Status get(std::string_view name, T& value) {
        return attribute_.get(name, value);
    }

    // Writes the body into `sBuffer`, then the framed packet into `frame`. Without a servant or
    // function name nothing is produced and `frame` is left empty.
    Status encode(Bytes& frame);
    // Skips the length (unchecked), reads the packet leniently, then the body of the version
    // the packet names; returns the body's status. The body's version follows the packet's, so
    // version-3 replies can be read too.
    [[nodiscard]] Status decode(std::span<const std::uint8_t> frame);

private:
    RequestPacket packet_;
    UniAttribute attribute_;
    TafOutputStream scratch_;
};

}  // namespace taf
