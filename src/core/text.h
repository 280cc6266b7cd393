// Text helpers shared by the plug-in: UTF-8 <-> wide conversion, splitting and replacing.
// Wide text is UTF-16 on Windows and UTF-32 elsewhere; invalid input on either side becomes
// U+FFFD instead of failing.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace core {

// A negative length means the text is NUL-terminated.
std::string WideToUtf8(const wchar_t* text, int length);
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const char* text, int length);
std::wstring Utf8ToWide(const std::string& text);

// The bytes as valid UTF-8, each invalid subsequence replaced by U+FFFD, alike on every
// platform (the converters above follow the platform's own rules).
std::string SanitizeUtf8(std::string_view bytes);

// The value of one hex digit (either case), or -1 for any other character.
int HexDigitValue(char c);

// Pieces between delimiters, as a line reader returns them: no empty piece after a final
// delimiter, none at all for an empty text.
std::vector<std::string> SplitString(const std::string& text, char delimiter);

// Replaces every occurrence of `search` (not empty); inserted text is not searched again.
void ReplaceAll(std::string& text, const std::string& search, const std::string& replacement);

}  // namespace core
