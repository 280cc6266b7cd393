// Hex text of bytes.
#include "common/hex_text.h"

#include "core/text.h"

namespace tafjson {
namespace {

constexpr char kDigits[] = "0123456789abcdef";

bool isSeparator(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == ',';
}

}  // namespace

bool parseHexText(std::string_view text, taf::Bytes& bytes) {
    bytes.clear();
    std::size_t at = 0;
    while (at < text.size()) {
        if (isSeparator(text[at])) {
            ++at;
            continue;
        }
        if (text.substr(at, 2) == "0x" || text.substr(at, 2) == "0X") {
            at += 2;
        }
        const std::size_t start = at;
        while (at < text.size() && !isSeparator(text[at])) {
            ++at;
        }
        const std::string_view group = text.substr(start, at - start);
        if (group.empty() || group.size() % 2 != 0) {
            return false;
        }
        for (std::size_t i = 0; i < group.size(); i += 2) {
            const int high = core::HexDigitValue(group[i]);
            const int low = core::HexDigitValue(group[i + 1]);
            if (high < 0 || low < 0) {
                return false;
            }
            bytes.push_back(static_cast<std::uint8_t>(high << 4 | low));
        }
    }
    return true;
}

std::string toHex(std::span<const std::uint8_t> bytes) {
    std::string text;
    text.reserve(2 * bytes.size());
    for (const std::uint8_t byte : bytes) {
        text += kDigits[byte >> 4];
        text += kDigits[byte & 0x0F];
    }
    return text;
}

std::string toHexLines(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
        text += (i % 16 == 15 || i + 1 == bytes.size()) ? '\n' : ' ';
    }
    return text;
}

}  // namespace tafjson
