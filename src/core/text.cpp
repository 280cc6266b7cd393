#include "core/text.h"

#include <cstring>
#include <cwchar>
#include <sstream>

#include "core/internal/utf8.h"

namespace core {

std::string WideToUtf8(const std::wstring& text) {
    return WideToUtf8(text.data(), static_cast<int>(text.size()));
}

std::wstring Utf8ToWide(const std::string& text) {
    return Utf8ToWide(text.data(), static_cast<int>(text.size()));
}

std::string SanitizeUtf8(std::string_view bytes) {
    const auto* text = reinterpret_cast<const unsigned char*>(bytes.data());
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        internal::AppendUtf8(out, internal::DecodeUtf8(text, bytes.size(), at));
    }
    return out;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::vector<std::string> SplitString(const std::string& text, char delimiter) {
    std::vector<std::string> pieces;
    std::istringstream input(text);
    for (std::string piece; std::getline(input, piece, delimiter);) {
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

void ReplaceAll(std::string& text, const std::string& search, const std::string& replacement) {
    if (search.empty()) {
        return;
    }
    for (auto at = text.find(search); at != std::string::npos;
         at = text.find(search, at + replacement.size())) {
        text.replace(at, search.size(), replacement);
    }
}

}  // namespace core
