#include "plugin/engine_envelope.h"

#include "taf/codec.h"

namespace kinetra {

void ReadEngineEnvelope(std::span<const std::uint8_t> bytes, MeruKinetra::EngineMessage& message) {
    // A damaged envelope still goes to dispatch with what could be read (type 0 by default).
    taf::fromBytesLenient(bytes, message);
}

EngineEnvelope DecodeEngineEnvelope(std::span<const std::uint8_t> bytes) {
    MeruKinetra::EngineMessage message;
    ReadEngineEnvelope(bytes, message);
    return {static_cast<std::int32_t>(message.type), std::move(message.payload)};
}

void WriteEngineEnvelope(std::int32_t type, std::span<const std::uint8_t> payload,
                         taf::TafOutputStream& out) {
    // The envelope record's fields, written from the payload in place instead of a copy of it.
    const auto& [typeField, payloadField] = taf::kRecordTable<MeruKinetra::EngineMessage>.fields;
    out.writeInt(static_cast<std::uint32_t>(type), typeField.tag);
    out.writeBytes(payload, payloadField.tag);
}

taf::Bytes EncodeEngineEnvelope(std::int32_t type, std::span<const std::uint8_t> payload) {
    taf::TafOutputStream out;
    WriteEngineEnvelope(type, payload, out);
    return out.toBytes();
}

}  // namespace kinetra
