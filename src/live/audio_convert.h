// Float audio planes to interleaved 16-bit little-endian stereo: the audio stream's hot path.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace kinetra {

// Bytes one stereo frame takes: two 16-bit samples.
inline constexpr std::size_t kAudioFrameBytes = 4;

// The sample times 32767.0, truncated toward zero, 32767 at most and -32768 below -32767.
// The product is taken in double, where it is exact (24 bits of sample times 15 bits of
// scale): in float it rounds, and a product just below a whole number becomes that number.
// Written without branches so that loops over it vectorise: NaN gives 0 and the clamp comes
// before the integer conversion, which is then always defined (infinities included).
constexpr std::int16_t ConvertAudioSample(float sample) {
    double scaled = static_cast<double>(sample) * 32767.0;
    scaled = scaled == scaled ? scaled : 0.0;
    scaled = scaled < -32768.0 ? -32768.0 : scaled;
    scaled = scaled > 32767.0 ? 32767.0 : scaled;
    return static_cast<std::int16_t>(static_cast<std::int32_t>(scaled));
}

// Writes `frames` frames to `out` (4 bytes each): the plane-0 sample, then the plane-1 sample.
using AudioConvertFunction = void (*)(const float* plane0, const float* plane1, std::size_t frames,
                                      std::uint8_t* out);

struct AudioConverter {
    std::string_view name;
    AudioConvertFunction convert;
};

// The fastest converter this processor runs.
void ConvertInterleave(const float* plane0, const float* plane1, std::size_t frames,
                       std::uint8_t* out);

// One sample at a time; the reference the faster converters are held to and their tail.
void ConvertInterleavePortable(const float* plane0, const float* plane1, std::size_t frames,
                               std::uint8_t* out);

// Every converter this processor runs, fastest first; the portable one comes last.
std::span<const AudioConverter> AudioConverters();

}  // namespace kinetra
