// The envelope of every message on the engine channel, in both directions.
#pragma once

#include <cstdint>

#include "taf/record_table.h"
#include "taf/wire.h"

namespace MeruKinetra {

struct EngineMessage {
    // The message type. It travels as an unsigned 32-bit number, so types from 0x80000000
    // up take the 64-bit form; readers accept every integer width and keep the low 32 bits.
    std::int64_t type = 0;
    taf::Bytes payload;

    static constexpr auto tafTable() {
        return taf::table("EngineMessage", taf::optional(0, &EngineMessage::type, "type"),
                          taf::optional(1, &EngineMessage::payload, "payload"));
    }
};

}  // namespace MeruKinetra
