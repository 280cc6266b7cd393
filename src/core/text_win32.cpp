// UTF-8 <-> UTF-16 conversion with the system converter: UTF-8 code page and no flags, so
// invalid input becomes U+FFFD instead of failing.
#include <windows.h>

#include <cstring>
#include <cwchar>

#include "core/text.h"

namespace core {

std::string WideToUtf8(const wchar_t* text, int length) {
    if (length < 0) {
        length = static_cast<int>(std::wcslen(text));
    }
    if (length == 0) {
        return {};
    }
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    }
    return out;
}

std::wstring Utf8ToWide(const char* text, int length) {
    if (length < 0) {
        length = static_cast<int>(std::strlen(text));
    }
    if (length == 0) {
        return {};
    }
    const int size = MultiByteToWideChar(CP_UTF8, 0, text, length, nullptr, 0);
    std::wstring out(static_cast<std::size_t>(size > 0 ? size : 0), L'\0');
    if (size > 0) {
        MultiByteToWideChar(CP_UTF8, 0, text, length, out.data(), size);
    }
    return out;
}

}  // namespace core
