#include "kinetra-sim/stress_random.h"

#include <limits>

namespace kinetra_sim {

std::string SecretMarker(std::uint64_t seed) {
    return "Zq9Secret" + std::to_string(seed % 1000) + "x";
}

std::int64_t StressRandom::Number() {
    switch (Between(0, 9)) {
        case 0:
            return std::numeric_limits<std::int32_t>::max();
        case 1:
            return -1;
        case 2:
            return static_cast<std::int64_t>(Between(0, std::numeric_limits<std::uint32_t>::max()));
        default:
            return static_cast<std::int64_t>(Between(0, 8));
    }
}

std::string StressRandom::Text() {
    std::string text(Between(0, 12), 'a');
    for (char& letter : text) {
        letter = static_cast<char>('a' + Between(0, 25));
    }
    return text;
}

taf::Bytes StressRandom::RandomBytes(std::size_t most) {
    taf::Bytes bytes(Between(0, most));
    for (auto& byte : bytes) {
        byte = static_cast<std::uint8_t>(Between(0, 255));
    }
    return bytes;
}

taf::Bytes StressRandom::Damage(taf::Bytes bytes) {
    const auto choice = Between(0, 9);
    if (choice < 6 || bytes.empty()) {
        return bytes;
    }
    if (choice < 8) {
        bytes.resize(Between(0, bytes.size() - 1));
    } else {
        bytes[Between(0, bytes.size() - 1)] ^= static_cast<std::uint8_t>(Between(1, 255));
    }
    return bytes;
}

}  // namespace kinetra_sim
