// Turning engine-channel bytes into (type, payload) and back.
#pragma once

#include <cstdint>
#include <span>

#include "taf/wire.h"

namespace kinetra {

struct EngineEnvelope {
    std::int32_t type = 0;
    taf::Bytes payload;
};

// Reads whatever the bytes hold: a missing or unreadable type is 0, a missing payload empty.
// Never reads or allocates beyond what the bytes justify.
EngineEnvelope DecodeEngineEnvelope(std::span<const std::uint8_t> bytes);

// The type as an unsigned 32-bit number, then the payload as a simple list.
taf::Bytes EncodeEngineEnvelope(std::int32_t type, std::span<const std::uint8_t> payload);

}  // namespace kinetra
