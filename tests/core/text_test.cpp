#include "core/text.h"

#include <gtest/gtest.h>

namespace core {
namespace {

TEST(TextConversion, ValidTextRoundTripsThroughBothDirections) {
    const std::string samples[] = {
        "",
        "GiftListDataCenter::ReqPropList",
        "\xC3\xA9",                  // é
        "\xE8\x99\x9A\xE6\x8B\x9F",  // two CJK characters
        "\xF0\x9F\x98\x80",          // outside the BMP: a surrogate pair in UTF-16
        std::string("nul\0inside", 10),
    };
    for (const auto& utf8 : samples) {
        EXPECT_EQ(WideToUtf8(Utf8ToWide(utf8)), utf8);
    }
    EXPECT_EQ(WideToUtf8(L"GiftListDataCenter::ReqPropList"), "GiftListDataCenter::ReqPropList");
    EXPECT_EQ(WideToUtf8(L"\u00e9"), "\xC3\xA9");
    EXPECT_EQ(Utf8ToWide("\xF0\x9F\x98\x80"), std::wstring(L"\U0001F600"));
}

TEST(TextConversion, NegativeLengthMeansNulTerminated) {
    EXPECT_EQ(WideToUtf8(L"abc\0def", -1), "abc");
    EXPECT_EQ(Utf8ToWide("abc\0def", -1), L"abc");
    EXPECT_EQ(WideToUtf8(L"abcdef", 2), "ab");
    EXPECT_EQ(Utf8ToWide("abcdef", 0), L"");
}

TEST(TextConversion, InvalidUtf8BecomesReplacementCharacter) {
    struct Case {
        const char* bytes;
        std::wstring wide;
    };
    const Case cases[] = {
        {"\xC3\x28", L"\uFFFD("},  // lead byte followed by a non-continuation
        {"\x80", L"\uFFFD"},       // lone continuation byte
        {"a\xFF"
         "b",
         L"a\uFFFD"
         L"b"},                         // byte that never occurs in UTF-8
        {"\xC0\xAF", L"\uFFFD\uFFFD"},  // overlong encoding of '/'
        {"x\xE2\x82", L"x\uFFFD"},      // cut short at the end
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Utf8ToWide(c.bytes), c.wide) << "input " << ::testing::PrintToString(c.bytes);
    }
    // Converters differ in how many U+FFFD an encoded surrogate gives; none lets it through.
    const std::wstring surrogate = Utf8ToWide("\xED\xA0\x80!");
    EXPECT_EQ(surrogate.find_first_not_of(L"\uFFFD"), surrogate.size() - 1);
    EXPECT_EQ(surrogate.back(), L'!');
}

TEST(TextConversion, UnpairedSurrogateInWideTextBecomesReplacementCharacter) {
    std::wstring lone(1, static_cast<wchar_t>(0xD800));
    lone += L"x";
    EXPECT_EQ(WideToUtf8(lone), "\xEF\xBF\xBDx");
    std::wstring trailing = L"y";
    trailing += static_cast<wchar_t>(0xDC00);
    EXPECT_EQ(WideToUtf8(trailing), "y\xEF\xBF\xBD");
}

TEST(SplitString, FollowsLineReaderRules) {
    using Pieces = std::vector<std::string>;
    EXPECT_EQ(SplitString("a,b,", ','), (Pieces{"a", "b"}));
    EXPECT_EQ(SplitString("a,,b", ','), (Pieces{"a", "", "b"}));
    EXPECT_EQ(SplitString(",a", ','), (Pieces{"", "a"}));
    EXPECT_EQ(SplitString("", ','), Pieces{});
    EXPECT_EQ(SplitString("abc", ','), Pieces{"abc"});
    EXPECT_EQ(SplitString(",", ','), Pieces{""});
}

TEST(ReplaceAll, DoesNotRescanInsertedText) {
    std::string text = "aaa";
    ReplaceAll(text, "a", "aa");
    EXPECT_EQ(text, "aaaaaa");

    text = "one two one";
    ReplaceAll(text, "one", "1");
    EXPECT_EQ(text, "1 two 1");

    text = "abab";
    ReplaceAll(text, "ab", "");
    EXPECT_EQ(text, "");

    text = "unchanged";
    ReplaceAll(text, "", "x");
    EXPECT_EQ(text, "unchanged");
}

}  // namespace
}  // namespace core
