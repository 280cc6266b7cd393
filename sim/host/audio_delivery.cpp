#include "host/audio_delivery.h"

#include <cmath>
#include <numbers>

namespace sim {
namespace {

// Loud enough to see in a trace, far from clipping.
constexpr double kToneAmplitude = 0.5;

}  // namespace

AudioCallSource::AudioCallSource(const AudioDelivery& delivery, std::uint32_t rate)
    : mDelivery(delivery), mRate(rate == 0 ? 48000 : rate) {
    for (int plane = 0; plane < 2; ++plane) {
        mPlanes[plane] = delivery.planes[plane];
        mPlanes[plane].resize(delivery.frames, 0.0f);
        mFrame.planes[plane] = mPlanes[plane].data();
    }
    mFrame.samples = delivery.frames;
}

const service_plugin::AudioFrame* AudioCallSource::Next() {
    if (mDelivery.nullFrame) {
        return nullptr;
    }
    const bool explicitSamples = !mDelivery.planes[0].empty() || !mDelivery.planes[1].empty();
    if (!explicitSamples && mDelivery.toneHz != 0) {
        const double step = 2 * std::numbers::pi * mDelivery.toneHz / mRate;
        for (std::uint32_t i = 0; i < mDelivery.frames; ++i) {
            const auto sample = static_cast<float>(
                kToneAmplitude * std::sin(step * static_cast<double>(mPosition + i)));
            mPlanes[0][i] = sample;
            mPlanes[1][i] = sample;
        }
    }
    mPosition += mDelivery.frames;
    return &mFrame;
}

}  // namespace sim
