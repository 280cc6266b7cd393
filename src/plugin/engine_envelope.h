// Turning engine-channel bytes into (type, payload) and back.
#pragma once

#include <cstdint>
#include <span>

#include "taf/output_stream.h"
#include "taf/records/engine_envelope.h"
#include "taf/wire.h"

namespace kinetra {

struct EngineEnvelope {
    std::int32_t type = 0;
    taf::Bytes payload;
};

// Reads whatever the bytes hold: a missing or unreadable type is 0, a missing payload empty.
// Never reads or allocates beyond what the bytes justify.
EngineEnvelope DecodeEngineEnvelope(std::span<const std::uint8_t> bytes);
// The same, read over `message`, whose payload keeps its capacity for the next message.
void ReadEngineEnvelope(std::span<const std::uint8_t> bytes, MeruKinetra::EngineMessage& message);

// The type as an unsigned 32-bit number, then the payload as a simple list.
taf::Bytes EncodeEngineEnvelope(std::int32_t type, std::span<const std::uint8_t> payload);
// The same bytes, written into `out` after what it holds.
void WriteEngineEnvelope(std::int32_t type, std::span<const std::uint8_t> payload,
                         taf::TafOutputStream& out);

}  // namespace kinetra
