// Processors without a converter of their own use the portable one.
#include "live/audio_convert.h"

namespace kinetra {

std::span<const AudioConverter> AudioConverters() {
    static constexpr AudioConverter kConverters[] = {{"portable", &ConvertInterleavePortable}};
    return kConverters;
}

}  // namespace kinetra
