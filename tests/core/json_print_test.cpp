// Tests of the printer: number and string formats, layout, round trips, deep trees.
#include "core/json_print.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/json_object.h"
#include "core/json_parse.h"
#include "json_test_allocator.h"

namespace meru {
namespace {

template <typename T>
std::string printed(const T& value) {
    CJsonObject json;
    json.Add(value);
    const std::string text = json.ToString();
    return text.substr(1, text.size() - 2);  // without the array's brackets
}

// Integers keep all 64 bits and their sign; doubles print whole or with six decimals; strings
// escape control bytes only (the parser's table shows the short escapes).
TEST(JsonPrint, ValuesPrintInTheirFormats) {
    const std::pair<std::string, const char*> cases[] = {
        {printed(std::numeric_limits<uint64_t>::max()), "18446744073709551615"},
        {printed(std::numeric_limits<int64_t>::min()), "-9223372036854775808"},
        {printed(int32_t{-2147483647 - 1}), "-2147483648"},
        {printed(uint32_t{4294967295u}), "4294967295"},
        {printed(1.0), "1"},
        {printed(0.5), "0.500000"},
        {printed(0.5f), "0.500000"},
        {printed(1e-7), "0.000000"},
        {printed(-0.25), "-0.250000"},
        {printed(2500000000.25), "2500000000.250000"},
        {printed(0x1p63), "9223372036854775808"},
        {printed(-0x1p63), "-9223372036854775808"},
        {printed(0x1p70), "1.1805916207174113e+21"},  // digits would read back saturated
        {printed(-1e22), "-1e+22"},
        {printed(std::numeric_limits<double>::infinity()), "1.7976931348623157e+308"},
        {printed(-std::numeric_limits<double>::infinity()), "-1.7976931348623157e+308"},
        {printed(std::numeric_limits<double>::quiet_NaN()), "0"},
        {printed(std::string("\x01\x0b\x1f")), R"("\u0001\u000b\u001f")"},
        {printed(std::string("\x7f\xC3\xA9\xFF")), "\"\x7f\xC3\xA9\xFF\""},
        {CJsonObject(R"({"k\n":""})").ToString(), R"({"k\n":""})"}};
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(text, expected);
    }
}

TEST(JsonPrint, FormattedLayoutIsExact) {
    const CJsonObject json(R"({"a":1,"b":[1,"x",{"c":{},"d":[]}],"e":{"f":"y"},"g":[]})");
    EXPECT_EQ(json.ToFormattedString(),
              "{\n"
              "\t\"a\":\t1,\n"
              "\t\"b\":\t[1, \"x\", {\n"
              "\t\t\t\"c\":\t{\n"
              "\t\t\t},\n"
              "\t\t\t\"d\":\t[]\n"
              "\t\t}],\n"
              "\t\"e\":\t{\n"
              "\t\t\"f\":\t\"y\"\n"
              "\t},\n"
              "\t\"g\":\t[]\n"
              "}");
    EXPECT_EQ(CJsonObject("[[1,2],[]]").ToFormattedString(), "[[1, 2], []]");
    EXPECT_EQ(CJsonObject().ToFormattedString(), "");
}

// A random document built through Add. Whole numbers stay below 2^53, which a double carries.
CJsonObject Generate(std::mt19937& random, int depth) {
    const auto below = [&random](uint32_t bound) { return random() % bound; };
    const auto text = [&below] {
        std::string bytes(below(8), '\0');
        for (char& c : bytes) {
            c = static_cast<char>(1 + below(255));
        }
        return bytes;
    };
    const bool object = below(2) == 0;
    CJsonObject json(object ? "{}" : "[]");
    const auto add = [&](const auto& value) { object ? json.Add(text(), value) : json.Add(value); };
    for (uint32_t n = below(6); n > 0; --n) {
        const int64_t whole = static_cast<int64_t>(random() % (1ull << 53)) - (1ll << 52);
        const uint32_t kind = below(depth > 0 ? 8 : 6);
        if (kind == 0) {
            add(whole);
        } else if (kind == 1) {
            add(static_cast<uint64_t>(whole & 0xFFFFFFFFFFFF));
        } else if (kind == 2) {
            add(static_cast<double>(whole % 100000000) / 64 + 1.0 / 128);
        } else if (kind == 3) {
            add(below(2) == 0);
        } else if (kind < 6) {
            add(text());
        } else {
            add(Generate(random, depth - 1));
        }
    }
    return json;
}

// Number texts the parser accepts: edge values, random doubles in their shortest form, long
// whole numbers and lenient forms.
std::vector<std::string> NumberTexts() {
    std::vector<std::string> texts;
    std::istringstream edges(
        "0 -0 -0.0 1e-7 -1e-9 4.9999e-7 2.9999999 1e21 -1e19 1e400 -1e+9999 1e-400 "
        "9223372036854775807 -9223372036854775808 9223372036854775808 -9223372036854775809 "
        "18446744073709551615 18446744073709551616 4294967296 9007199254740993 "
        "1.7976931348623157e308 4.9e-324 - 1e 1e+ 0123 1000000000.5 123456789012.000001");
    for (std::string text; edges >> text;) {
        texts.push_back(text);
    }
    std::mt19937_64 random(20240601);
    for (int i = 0; i < 3000; ++i) {
        char text[64];
        const uint64_t bits = random();
        double value = 0;
        std::memcpy(&value, &bits, sizeof value);
        if (std::isfinite(value)) {
            texts.emplace_back(text, std::to_chars(text, text + sizeof text, value).ptr);
        }
        const std::string digits = std::to_string(random()) + std::to_string(random() % 1000);
        texts.push_back((i % 2 == 0 ? "-" : "") + digits.substr(0, 1 + random() % digits.size()));
        const double scaled =
            static_cast<double>(static_cast<int64_t>(random() % 2000001) - 1000000) *
            std::pow(10.0, static_cast<int>(random() % 40) - 20);
        texts.emplace_back(text, std::to_chars(text, text + sizeof text, scaled).ptr);
    }
    return texts;
}

bool IsJsonNumber(const std::string& text) {
    static const std::regex kNumber(R"(-?(0|[1-9][0-9]*)(\.[0-9]+)?([eE][-+]?[0-9]+)?)");
    return std::regex_match(text, kNumber);
}

// Printing is JSON, and parsing what was printed prints it again. The one exception is fixed by
// the six-decimal format: a fraction within 5e-7 of a whole number prints as "N.000000", which
// reads back as the whole number N and prints as such from then on.
TEST(JsonPrint, EveryAcceptedNumberPrintsAsJsonThatReadsBackToTheSameText) {
    const auto reprinted = [](const std::string& text) {
        const std::string array = CJsonObject("[" + text + "]").ToString();
        return array.substr(1, array.size() - 2);
    };
    for (const auto& text : NumberTexts()) {
        const std::string first = reprinted(text);
        const std::string second = reprinted(first);
        EXPECT_TRUE(IsJsonNumber(first)) << text << " printed " << first;
        if (first.find(".000000") == std::string::npos) {
            EXPECT_EQ(second, first) << text;
        } else {
            EXPECT_EQ(second, first.substr(0, first.find('.'))) << text;
        }
        EXPECT_EQ(reprinted(second), second) << text;
    }
}

// Generated documents print, parse and print again to the same text, compact or formatted.
TEST(JsonPrint, GeneratedDocumentsSurvivePrintParsePrint) {
    for (uint32_t seed = 1; seed <= 200; ++seed) {
        std::mt19937 random(seed);
        const CJsonObject original = Generate(random, 5);
        const std::string compact = original.ToString();
        EXPECT_EQ(CJsonObject(compact).ToString(), compact) << "seed " << seed;
        EXPECT_EQ(CJsonObject(original.ToFormattedString()).ToString(), compact) << "seed " << seed;
    }
}

TEST(JsonPrint, DeepTreesPrintAndFreeWithoutRecursion) {
    constexpr int kDepth = 100000;
    CJsonObject objects;
    CJsonObject arrays;
    const CJsonObject emptyArray("[]");
    CJsonObject* object = &objects;
    CJsonObject* array = &arrays;
    for (int i = 0; i < kDepth; ++i) {
        ASSERT_TRUE(object->AddEmptySubObject("k"));
        object = &(*object)["k"];
        ASSERT_TRUE(array->AddAsFirst(emptyArray));
        array = &(*array)[0u];
    }
    const std::string compact = objects.ToString();
    EXPECT_EQ(compact.size(), kDepth * 6u + 2);
    EXPECT_EQ(compact.substr(0, 12), R"({"k":{"k":{")");
    const std::string nested = std::string(kDepth + 1, '[') + std::string(kDepth + 1, ']');
    EXPECT_TRUE(arrays.ToFormattedString() == nested);
    // Copies, made or added, read as their text would: the parser refuses this depth.
    const std::string error = "prase json string error at " + nested.substr(kJsonMaxNestingDepth);
    EXPECT_TRUE(CJsonObject(arrays).GetErrMsg() == error);
    CJsonObject holder;
    EXPECT_FALSE(holder.Add(arrays));
    EXPECT_TRUE(holder.GetErrMsg() == error);
}

TEST(JsonPrint, AllocationFailureAtEveryStepGivesNoTextAndNoLeak) {
    std::string document = R"({"list":[1,2,3],"text":")" + std::string(600, 'x') + R"("})";
    for (int i = 0; i < 70; ++i) {
        document = "[" + document + "]";  // deeper than the printer's inline stack
    }
    json_node* tree = json_parse(document.c_str());
    ASSERT_NE(tree, nullptr);
    for (const bool formatted : {false, true}) {
        const std::string expected =
            formatted ? CJsonObject(document).ToFormattedString() : document;
        long needed = 0;
        {
            testing::CountingAllocator allocator;
            json_free(json_print(tree, formatted));
            needed = testing::CountingAllocator::count();
        }
        const long failAt = testing::FailEachAllocationInTurn([&] {
            size_t length = 0;
            char* text = json_print(tree, formatted, &length);
            if (text != nullptr) {
                EXPECT_EQ(std::string(text, length), expected);
                json_free(text);
            }
            return text != nullptr;
        });
        EXPECT_EQ(failAt, needed);
        EXPECT_GE(needed, 3) << "the text buffer and the stack both had to grow";
    }
    json_delete(tree);
}

}  // namespace
}  // namespace meru
