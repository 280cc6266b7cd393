// Readable rendering of TAF scalars, strings and byte vectors.
#include "taf/render.h"

#include <algorithm>
#include <charconv>

namespace taf {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

void appendHexByte(std::string& out, std::uint8_t byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 0x0F];
}

}  // namespace

void renderInteger(std::string& out, std::int64_t value) {
    out += std::to_string(value);
}

void renderDouble(std::string& out, double value) {
    char text[32];
    const auto result = std::to_chars(text, text + sizeof text, value);
    out.append(text, result.ptr);
}

void renderString(std::string& out, std::string_view text) {
    out += '"';
    for (const char c : text) {
        const auto byte = static_cast<std::uint8_t>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20 || byte == 0x7F) {
            out += "\\x";
            appendHexByte(out, byte);
        } else {
            out += c;
        }
    }
    out += '"';
}

void renderBytes(std::string& out, std::span<const std::uint8_t> bytes) {
    out += '<';
    out += std::to_string(bytes.size());
    out += " bytes";
    if (!bytes.empty()) {
        out += ": ";
        for (const std::uint8_t byte : bytes.first(std::min(bytes.size(), kRenderedBytePrefix))) {
            appendHexByte(out, byte);
        }
        if (bytes.size() > kRenderedBytePrefix) {
            out += "...";
        }
    }
    out += '>';
}

}  // namespace taf
