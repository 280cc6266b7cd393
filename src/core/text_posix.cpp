// UTF-8 <-> UTF-32 conversion for platforms whose wchar_t holds one code point. Invalid
// input is replaced by U+FFFD, one per maximal invalid subsequence, as the Windows converter does.
#include <cstring>
#include <cwchar>

#include "core/internal/utf8.h"
#include "core/text.h"

namespace core {

static_assert(sizeof(wchar_t) == 4, "this converter is for UTF-32 wide text");

std::string WideToUtf8(const wchar_t* text, int length) {
    const std::size_t size = length < 0 ? std::wcslen(text) : static_cast<std::size_t>(length);
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < size; ++i) {
        auto cp = static_cast<char32_t>(text[i]);
        if ((cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
            cp = internal::kReplacement;
        }
        internal::AppendUtf8(out, cp);
    }
    return out;
}

std::wstring Utf8ToWide(const char* text, int length) {
    const std::size_t size = length < 0 ? std::strlen(text) : static_cast<std::size_t>(length);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::wstring out;
    out.reserve(size);
    for (std::size_t at = 0; at < size;) {
        out.push_back(static_cast<wchar_t>(internal::DecodeUtf8(bytes, size, at)));
    }
    return out;
}

}  // namespace core
