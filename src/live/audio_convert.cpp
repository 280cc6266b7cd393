#include "live/audio_convert.h"

namespace kinetra {

void ConvertInterleavePortable(const float* plane0, const float* plane1, std::size_t frames,
                               std::uint8_t* out) {
    for (std::size_t i = 0; i < frames; ++i) {
        const auto left = static_cast<std::uint16_t>(ConvertAudioSample(plane0[i]));
        const auto right = static_cast<std::uint16_t>(ConvertAudioSample(plane1[i]));
        std::uint8_t* frame = out + i * kAudioFrameBytes;
        frame[0] = static_cast<std::uint8_t>(left);
        frame[1] = static_cast<std::uint8_t>(left >> 8);
        frame[2] = static_cast<std::uint8_t>(right);
        frame[3] = static_cast<std::uint8_t>(right >> 8);
    }
}

void ConvertInterleave(const float* plane0, const float* plane1, std::size_t frames,
                       std::uint8_t* out) {
    static const AudioConvertFunction fastest = AudioConverters().front().convert;
    fastest(plane0, plane1, frames, out);
}

}  // namespace kinetra
