// UTF-8 one code point at a time, the same on every platform: invalid input becomes U+FFFD, one
// per maximal invalid subsequence.
#pragma once

#include <cstddef>
#include <string>

namespace core::internal {

inline constexpr char32_t kReplacement = 0xFFFD;

inline void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Decodes one code point at `text[at]`, advancing `at` past what it consumed.
inline char32_t DecodeUtf8(const unsigned char* text, std::size_t size, std::size_t& at) {
    const unsigned char lead = text[at++];
    if (lead < 0x80) {
        return lead;
    }
    std::size_t trailing = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    char32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        trailing = 1;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trailing = 2;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong forms
        if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trailing = 3;
        cp = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return kReplacement;
    }
    for (std::size_t i = 0; i < trailing; ++i) {
        if (at >= size || text[at] < low || text[at] > high) {
            return kReplacement;
        }
        cp = (cp << 6) | (text[at++] & 0x3F);
        low = 0x80;
        high = 0xBF;
    }
    return cp;
}

}  // namespace core::internal
