// The engine's audio stream: one block of 16-bit stereo PCM per message.
#pragma once

#include <cstdint>
#include <string>

#include "taf/record_table.h"

namespace MeruKinetra {

// Message 2034. The block travels as a string: the codec gives anything longer than 255 bytes
// the four-byte length form, so a 4096-byte block always takes it.
struct AudioFrameMsg {
    // Interleaved frames, plane 0 then plane 1, each sample 16-bit signed little-endian.
    std::string sPcm;
    std::int32_t iSampleRate = 0;
    std::int32_t iBitsPerSample = 16;
    std::int32_t iChannels = 2;

    static constexpr auto tafTable() {
        return taf::table("AudioFrameMsg", taf::optional(0, &AudioFrameMsg::sPcm, "sPcm"),
                          taf::optional(1, &AudioFrameMsg::iSampleRate, "iSampleRate"),
                          taf::optional(2, &AudioFrameMsg::iBitsPerSample, "iBitsPerSample"),
                          taf::optional(3, &AudioFrameMsg::iChannels, "iChannels"));
    }
};

}  // namespace MeruKinetra
