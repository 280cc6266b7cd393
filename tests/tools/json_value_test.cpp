#include "common/json_value.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

namespace tafjson {
namespace {

JsonValue Parse(std::string_view text) {
    JsonValue value;
    JsonError error;
    EXPECT_TRUE(parseJson(text, value, error)) << text << ": " << error.message;
    return value;
}

TEST(JsonValue, IntegersKeepAll64Bits) {
    for (const std::int64_t n : {INT64_MIN, INT64_MAX, std::int64_t{0}, std::int64_t{-1}}) {
        std::int64_t back = 0;
        EXPECT_TRUE(Parse(JsonValue::integer(n).text()).toInt64(back));
        EXPECT_EQ(back, n);
    }
    std::int64_t ignored = 0;
    EXPECT_FALSE(Parse("9223372036854775808").toInt64(ignored));
    EXPECT_FALSE(Parse("1.0").toInt64(ignored));
    EXPECT_FALSE(Parse("1e3").toInt64(ignored));
}

TEST(JsonValue, RealsReadBackBitForBit) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 20000; ++i) {
        const auto wide = std::bit_cast<double>(random());
        const auto narrow = std::bit_cast<float>(static_cast<std::uint32_t>(random()));
        double wideBack = 0;
        float narrowBack = 0;
        if (std::isfinite(wide)) {
            ASSERT_TRUE(Parse(JsonValue::real(wide).text()).toDouble(wideBack));
            ASSERT_EQ(std::bit_cast<std::uint64_t>(wideBack), std::bit_cast<std::uint64_t>(wide));
        }
        if (std::isfinite(narrow)) {
            ASSERT_TRUE(Parse(JsonValue::realFloat(narrow).text()).toFloat(narrowBack));
            ASSERT_EQ(std::bit_cast<std::uint32_t>(narrowBack),
                      std::bit_cast<std::uint32_t>(narrow));
        }
    }
    // Reals always print as reals, so they never read back as integers.
    EXPECT_EQ(JsonValue::real(1.0).text(), "1.0");
    EXPECT_EQ(JsonValue::real(-0.0).text(), "-0.0");
    EXPECT_EQ(JsonValue::realFloat(0.1f).text(), "0.1");
    float tooBig = 0;
    EXPECT_FALSE(Parse("1e39").toFloat(tooBig));
}

TEST(JsonValue, StringsRoundTripThroughEscapes) {
    const JsonValue value = Parse(R"(["a\"b\\c\/\n\t\u0001", "\u00e9\ud83d\ude00"])");
    EXPECT_EQ(value.items()[0].text(), "a\"b\\c/\n\t\x01");
    EXPECT_EQ(value.items()[1].text(), "\xC3\xA9\xF0\x9F\x98\x80");
    EXPECT_EQ(printJson(value), "[\"a\\\"b\\\\c/\\n\\t\\u0001\", \"\xC3\xA9\xF0\x9F\x98\x80\"]\n");
}

TEST(JsonValue, PrintsObjectsOnOneLineAndNestedArraysOneItemPerLine) {
    const JsonValue value = Parse(R"([{"a": 1, "b": [{"c": true}, {"d": null}]}, [1, 2], []])");
    EXPECT_EQ(printJson(value),
              "[\n"
              "  {\"a\": 1, \"b\": [\n"
              "    {\"c\": true},\n"
              "    {\"d\": null}\n"
              "  ]},\n"
              "  [1, 2],\n"
              "  []\n"
              "]\n");
    EXPECT_EQ(printJson(Parse(printJson(value))), printJson(value));
}

TEST(JsonValue, RejectsWhatIsNotStrictJson) {
    const std::string tooDeep =
        std::string(kMaxJsonDepth + 1, '[') + std::string(kMaxJsonDepth + 1, ']');
    const std::string deepest = std::string(kMaxJsonDepth, '[') + std::string(kMaxJsonDepth, ']');
    Parse(deepest);
    for (const std::string& text :
         {std::string("[1,]"), std::string("{\"a\":1,\"a\":2}"), std::string("\"\\x\""),
          std::string("01"), std::string("1."), std::string("-"), std::string("["),
          std::string("\"\\ud800\""), std::string("nul"), std::string("\"a\nb\""),
          std::string("1 2"), std::string("{1:2}"), tooDeep}) {
        JsonValue value;
        JsonError error;
        EXPECT_FALSE(parseJson(text, value, error)) << text;
        EXPECT_FALSE(error.message.empty()) << text;
    }
}

}  // namespace
}  // namespace tafjson
