#include "plugin/engine_envelope.h"

#include "taf/codec.h"
#include "taf/records/engine_envelope.h"

namespace kinetra {

EngineEnvelope DecodeEngineEnvelope(std::span<const std::uint8_t> bytes) {
    MeruKinetra::EngineMessage message;
    // A damaged envelope still goes to dispatch with what could be read (type 0 by default).
    taf::fromBytesLenient(bytes, message);
    return {static_cast<std::int32_t>(message.type), std::move(message.payload)};
}

taf::Bytes EncodeEngineEnvelope(std::int32_t type, std::span<const std::uint8_t> payload) {
    MeruKinetra::EngineMessage message;
    message.type = static_cast<std::uint32_t>(type);
    message.payload.assign(payload.begin(), payload.end());
    return taf::toBytes(message);
}

}  // namespace kinetra
