// Byte vectors written as hex text in tests ("0a 00 01"), and bytes shown as hex in failures.
#pragma once

#include <string>
#include <string_view>

#include "common/hex_text.h"

namespace test {

inline taf::Bytes Hex(std::string_view text) {
    taf::Bytes bytes;
    tafjson::parseHexText(text, bytes);
    return bytes;
}

inline std::string ToHex(const taf::Bytes& bytes) {
    return tafjson::toHex(bytes);
}

// The hex text of `text`'s bytes, to splice names into hex vectors.
inline std::string Ascii(std::string_view text) {
    return ToHex(taf::Bytes(text.begin(), text.end()));
}

}  // namespace test
