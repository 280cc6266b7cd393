// What the simulated audio service hands its listeners for one scenario step: `calls` calls of
// `frames` frames each, with explicit samples, a tone or silence.
#pragma once

#include <cstdint>
#include <vector>

#include "service_plugin/host_services.h"

namespace sim {

struct AudioDelivery {
    std::int32_t kind = 2;
    std::uint32_t frames = 0;
    std::uint32_t calls = 1;
    // Explicit samples, `frames` per plane, the same in every call.
    std::vector<float> planes[2];
    // Without explicit samples: a sine of this frequency in both planes (silence at 0).
    double toneHz = 0;
    // Each call hands over a null frame.
    bool nullFrame = false;
};

// Produces the calls' samples; a tone goes on where the previous call stopped.
class AudioCallSource {
public:
    AudioCallSource(const AudioDelivery& delivery, std::uint32_t rate);
    // The next call's frame, or null for a delivery of null frames. Valid until the next call.
    const service_plugin::AudioFrame* Next();

private:
    const AudioDelivery& mDelivery;
    std::uint32_t mRate;
    std::uint64_t mPosition = 0;
    std::vector<float> mPlanes[2];
    service_plugin::AudioFrame mFrame;
};

}  // namespace sim
