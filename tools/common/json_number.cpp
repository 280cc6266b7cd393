// Exact conversions between JSON numbers and the TAF number types.
#include <charconv>
#include <limits>
#include <system_error>

#include "common/json.h"

namespace tafjson {

Json floatJson(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    double wide = 0;
    std::from_chars(text, end, wide);
    return wide;
}

bool toInt64(const Json& value, std::int64_t& number) {
    if (value.is_number_unsigned()) {
        const auto unsignedNumber = value.get<std::uint64_t>();
        if (unsignedNumber > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
            return false;
        }
        number = static_cast<std::int64_t>(unsignedNumber);
        return true;
    }
    if (value.is_number_integer()) {
        number = value.get<std::int64_t>();
        return true;
    }
    return false;
}

bool toDouble(const Json& value, double& number) {
    if (!value.is_number()) {
        return false;
    }
    number = value.get<double>();
    return true;
}

// The reader holds every real as a double; a float is read from that double's shortest
// text, which has the digits the number was written with whenever it was written as a float.
bool toFloat(const Json& value, float& number) {
    double wide = 0;
    if (!toDouble(value, wide)) {
        return false;
    }
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, wide).ptr;
    float narrow = 0;
    const auto [stop, error] = std::from_chars(text, end, narrow);
    if (error != std::errc() || stop != end) {
        return false;
    }
    number = narrow;
    return true;
}

const Json* findMember(const Json& object, const std::string& key) {
    const auto found = object.find(key);
    return found == object.end() ? nullptr : &*found;
}

}  // namespace tafjson
