#include "core/text.h"

#include <gtest/gtest.h>

namespace core {
namespace {

// The same text in UTF-8 and in wide characters (UTF-16 on Windows, UTF-32 elsewhere).
TEST(TextConversion, ValidTextConvertsBothWays) {
    const std::pair<std::string, std::wstring> cases[] = {
        {"", L""},
        {"GiftListDataCenter::ReqPropList", L"GiftListDataCenter::ReqPropList"},
        {"\xC3\xA9", L"\u00e9"},
        {"\xE8\x99\x9A\xE6\x8B\x9F", L"\u865a\u62df"},
        {"\xF0\x9F\x98\x80", L"\U0001F600"},  // a surrogate pair in UTF-16
        {std::string("nul\0inside", 10), std::wstring(L"nul\0inside", 10)},
    };
    for (const auto& [utf8, wide] : cases) {
        EXPECT_EQ(Utf8ToWide(utf8), wide);
        EXPECT_EQ(WideToUtf8(wide), utf8);
    }
    // A negative length means NUL-terminated.
    EXPECT_EQ(WideToUtf8(L"abc\0def", -1), "abc");
    EXPECT_EQ(Utf8ToWide("abc\0def", -1), L"abc");
    EXPECT_EQ(WideToUtf8(L"abcdef", 2), "ab");
    EXPECT_EQ(Utf8ToWide("abcdef", 0), L"");
}

TEST(TextConversion, InvalidUtf8BecomesReplacementCharacter) {
    const std::pair<const char*, std::wstring> cases[] = {
        {"\xC3\x28", L"\uFFFD("},       // lead byte followed by a non-continuation
        {"\x80", L"\uFFFD"},            // lone continuation byte
        {"a\xFF", L"a\uFFFD"},          // byte that never occurs in UTF-8
        {"\xC0\xAF", L"\uFFFD\uFFFD"},  // overlong encoding of '/'
        {"x\xE2\x82", L"x\uFFFD"},      // cut short at the end
    };
    for (const auto& [bytes, wide] : cases) {
        EXPECT_EQ(Utf8ToWide(bytes), wide) << "input " << ::testing::PrintToString(bytes);
        EXPECT_EQ(SanitizeUtf8(bytes), WideToUtf8(wide))
            << "input " << ::testing::PrintToString(bytes);
    }
    // Converters differ in how many U+FFFD an encoded surrogate gives; none lets it through.
    const std::wstring surrogate = Utf8ToWide("\xED\xA0\x80!");
    EXPECT_EQ(surrogate.find_first_not_of(L"\uFFFD"), surrogate.size() - 1);
    EXPECT_EQ(surrogate.back(), L'!');
    // The tools' rendering is the same on every platform: one per invalid byte here.
    EXPECT_EQ(SanitizeUtf8("\xED\xA0\x80!"), "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD!");
}

TEST(TextConversion, UnpairedSurrogateInWideTextBecomesReplacementCharacter) {
    std::wstring lone(1, static_cast<wchar_t>(0xD800));
    lone += L"x";
    EXPECT_EQ(WideToUtf8(lone), "\xEF\xBF\xBDx");
    std::wstring trailing = L"y";
    trailing += static_cast<wchar_t>(0xDC00);
    EXPECT_EQ(WideToUtf8(trailing), "y\xEF\xBF\xBD");
}

TEST(ReplaceAll, DoesNotRescanInsertedText) {
    const struct {
        std::string text, search, replacement, result;
    } cases[] = {
        {"aaa", "a", "aa", "aaaaaa"},
        {"one two one", "one", "1", "1 two 1"},
        {"abab", "ab", "", ""},
        {"unchanged", "", "x", "unchanged"},
    };
    for (auto c : cases) {
        ReplaceAll(c.text, c.search, c.replacement);
        EXPECT_EQ(c.text, c.result);
    }
}

}  // namespace
}  // namespace core
