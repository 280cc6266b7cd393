#include "common/json.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

namespace tafjson {
namespace {

Json Parse(std::string_view text) {
    Json value;
    JsonError error;
    EXPECT_TRUE(parseJson(text, value, error)) << text << ": " << error.message;
    return value;
}

TEST(ToolsJson, IntegersKeepAll64Bits) {
    for (const std::int64_t n : {INT64_MIN, INT64_MAX, std::int64_t{0}, std::int64_t{-1}}) {
        std::int64_t back = 0;
        EXPECT_TRUE(toInt64(Parse(printJson(Json(n))), back));
        EXPECT_EQ(back, n);
    }
    std::int64_t ignored = 0;
    for (const char* notInt64 : {"9223372036854775808", "-9223372036854775809", "1.0", "1e3"}) {
        EXPECT_FALSE(toInt64(Parse(notInt64), ignored)) << notInt64;
    }
}

TEST(ToolsJson, RealsReadBackBitForBit) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const auto wide = std::bit_cast<double>(random());
        const auto narrow = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        double wideBack = 0;
        float narrowBack = 0;
        if (std::isfinite(wide)) {
            ASSERT_TRUE(toDouble(Parse(printJson(Json(wide))), wideBack));
            ASSERT_EQ(std::bit_cast<std::uint64_t>(wideBack), std::bit_cast<std::uint64_t>(wide));
        }
        if (std::isfinite(narrow)) {
            ASSERT_TRUE(toFloat(Parse(printJson(floatJson(narrow))), narrowBack));
            ASSERT_EQ(std::bit_cast<std::uint32_t>(narrowBack),
                      std::bit_cast<std::uint32_t>(narrow));
        }
    }
    // Reals print in their shortest form and always as reals, never as integers.
    const std::pair<Json, std::string> printed[] = {
        {Json(1.0), "1.0\n"},    {Json(-0.0), "-0.0\n"},  {floatJson(0.1f), "0.1\n"},
        {Json(1e15), "1e+15\n"}, {Json(1e-7), "1e-07\n"},
    };
    for (const auto& [value, text] : printed) {
        EXPECT_EQ(printJson(value), text);
    }
    float tooBig = 0;
    EXPECT_FALSE(toFloat(Parse("1e39"), tooBig));
}

// The command-line samples pin objects on one line and nested arrays one item per line, the
// scenario traces the one-line layout and the escapes; arrays of scalars stay on one line.
TEST(ToolsJson, PrintsArraysOfScalarsOnOneLine) {
    EXPECT_EQ(printJson(Parse(R"([{"d": null}, [1, 2], []])")),
              "[\n  {\"d\": null},\n  [1, 2],\n  []\n]\n");
}

TEST(ToolsJson, RefusesWhatIsNotStrictJson) {
    const std::string tooDeep =
        std::string(kMaxJsonDepth + 1, '[') + std::string(kMaxJsonDepth + 1, ']');
    const std::string deepest = std::string(kMaxJsonDepth, '[') + std::string(kMaxJsonDepth, ']');
    Parse(deepest);
    // Far past the bound, an unclosed nesting must fail as cleanly as a closed one.
    const std::string runaway(1 << 20, '[');
    const std::pair<std::string, std::string> refused[] = {
        {"[1,]", "syntax error"},
        {R"({"a":1,"a":2})", "duplicate member \"a\""},
        {R"("\x")", "syntax error"},
        {"01", "syntax error"},
        {"1.", "syntax error"},
        {"[", "syntax error"},
        {R"("\ud800")", "surrogate"},
        {"\"a\xFF\"", "UTF-8"},
        {"\"a\nb\"", "control character"},
        {"1 2", "syntax error"},
        {"{1:2}", "syntax error"},
        {tooDeep, "nested deeper than 400 levels"},
        {runaway, "nested deeper than 400 levels"},
    };
    for (const auto& [text, why] : refused) {
        Json value;
        JsonError error;
        EXPECT_FALSE(parseJson(text, value, error)) << text.substr(0, 20);
        EXPECT_NE(error.message.find(why), std::string::npos) << error.message;
    }
    JsonError error;
    Json value;
    EXPECT_FALSE(parseJson("[1, x]", value, error));
    EXPECT_EQ(error.offset, 4u) << error.message;
}

// An object of 50,000 members is read in linear time, and a name given twice is still
// refused, however late it comes.
TEST(ToolsJson, LargeObjectsReadInLinearTime) {
    std::string text = "{";
    for (int i = 0; i < 50'000; ++i) {
        text += "\"k" + std::to_string(i) + "\":" + std::to_string(i) + ",";
    }
    Json value;
    JsonError error;
    EXPECT_FALSE(parseJson(text + "\"k5\":0}", value, error));
    EXPECT_EQ(error.message, "duplicate member \"k5\"");
}

}  // namespace
}  // namespace tafjson
