// Tests of the parser: what text reads as, error positions, depth bound, hostile input.
#include "core/json_parse.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "core/json_object.h"
#include "json_test_allocator.h"

namespace meru {
namespace {

const std::string kParseError = "prase json string error at ";

// What a text reads as, shown by printing the tree back compactly.
TEST(JsonParse, ReadsValuesAsTheyPrintBack) {
    const std::pair<std::string, std::string> cases[] = {
        {" \t\r\n\x01\x1f [ 1 ,\x02 2 ] ", "[1,2]"},  // bytes 1 to 32 between tokens
        {"nullx", "null"},
        {"[true,false,null]", "[true,false,null]"},
        {"{\"a\":1} and more", "{\"a\":1}"},
        {"1e21", "1e+21"},  // a whole double past 2^64 would not read back as digits
        {"100000000000000000000", "18446744073709551615"},  // whole numbers saturate
        {"-100000000000000000000", "-9223372036854775808"},
        {"-10000000000000000000", "-9223372036854775808"},  // between -2^64 and -2^63
        {"-9223372036854775809", "-9223372036854775808"},
        {"1e400", "1.7976931348623157e+308"},  // beyond the double range: clamped
        {"[-1e+9999]", "[-1.7976931348623157e+308]"},
        {"1" + std::string(400, '0') + ".5", "1.7976931348623157e+308"},
        {"1" + std::string(400, '0') + "e-400", "1"},
        {"1" + std::string(400, '0') + "e", "1.7976931348623157e+308"},
        {"1e-400", "0"},
        {"1e99999999999999999999999", "1.7976931348623157e+308"},
        {"-1e-9", "0.000000"},  // no "-0", which reads back as 0
        {"-0.0", "0"},
        {"9007199254740993", "9007199254740992"},  // whole numbers pass through a double
        {"0123", "123"},
        {"-", "0"},
        {"2.5E+2", "250"},
        {"1e", "1"},
        {"1.", "1"},  // '.' without a digit is not part of the number
        {R"("\u00e9")", "\"\xC3\xA9\""},
        {R"("\ud83d\ude00")", "\"\xF0\x9F\x98\x80\""},
        {R"("\uD840\uDC00")", "\"\xF0\xA0\x80\x80\""},
        {R"("\u4e2d\u0041")",
         "\"\xE4\xB8\xAD"
         "A\""},
        {R"("\b\f\n\r\t\/\q\"\\")", R"("\b\f\n\r\t/q\"\\")"},
        {R"("\u0000x")", "\"x\""},
        {R"("a\udc00b")", "\"ab\""},     // lone low surrogate
        {R"("\ud83dx")", "\"x\""},       // high surrogate without a low one
        {R"("\ud83d\u0041")", "\"A\""},  // the escape after it is read on its own
        {R"("\u12zz")", "\"zz\""},       // fewer than four hex digits
        {"\"abc", "\"abc\""},            // unterminated at the end of the input
        {"\"abc\\", "\"abc\""},          // escape at the very end
        {"\"\\u12", "\"\""},
        {"\"\\ud83d\\", "\"\""},
        {"\"\\ud83d\\u", "\"\""},
        {"{\"\\u00e9\":1}", "{\"\xC3\xA9\":1}"},
        {"{ }", "{}"},
        {"[ ]", "[]"}};
    for (const auto& [text, printed] : cases) {
        CJsonObject json;
        EXPECT_TRUE(json.Parse(text)) << text;
        EXPECT_EQ(json.ToString(), printed) << text;
    }
}

// The error text quotes the input from the failing position on; every proper prefix of a
// document fails somewhere inside it.
TEST(JsonParse, ErrorTextQuotesTheRestFromTheFailure) {
    const std::pair<std::string, std::string> cases[] = {{"", ""},
                                                         {"x", "x"},
                                                         {"  Null", "Null"},
                                                         {"[1 2]", "2]"},
                                                         {"[1,]", "]"},
                                                         {"[1", ""},
                                                         {"[1.]", ".]"},
                                                         {"{a:1}", "a:1}"},
                                                         {"{\"a\" 1}", "1}"},
                                                         {"{\"a\":}", "}"},
                                                         {"{\"a\":1,}", "}"},
                                                         {"{\"a\":1]", "]"},
                                                         {"[\"a", ""},
                                                         {"[{\"a\":[1}]", "}]"},
                                                         {"+1", "+1"}};
    for (const auto& [text, rest] : cases) {
        CJsonObject json;
        EXPECT_FALSE(json.Parse(text)) << text;
        EXPECT_TRUE(json.IsEmpty()) << text;
        EXPECT_EQ(json.GetErrMsg(), kParseError + rest) << text;
    }
    const std::string document =
        R"({"name":"caf\u00e9 \ud83d\ude00","list":[1,-2.5e3,true,false,null,{"x":[]}],)"
        R"("esc":"a\"b\\c\n","n":18446744073709551615})";
    for (size_t length = 0; length < document.size(); ++length) {
        const std::string prefix = document.substr(0, length);
        CJsonObject json;
        ASSERT_FALSE(json.Parse(prefix)) << prefix;
        const std::string rest = json.GetErrMsg().substr(kParseError.size());
        EXPECT_EQ(rest, prefix.substr(prefix.size() - rest.size())) << prefix;
    }
    EXPECT_TRUE(CJsonObject(document).GetErrMsg().empty());
}

TEST(JsonParse, NestingDeeperThanTheBoundFailsWhereTheBoundIsHit) {
    struct Case {
        std::string open, innermost, close;
    };
    for (const auto& c : {Case{"[", "[]", "]"}, Case{"{\"k\":", "{}", "}"}}) {
        const auto nested = [&c](size_t depth) {
            std::string open, close;
            for (size_t i = 1; i < depth; ++i) {
                open += c.open;
                close += c.close;
            }
            return open + c.innermost + close;
        };
        CJsonObject json;
        EXPECT_TRUE(json.Parse(nested(kJsonMaxNestingDepth))) << c.open;
        EXPECT_TRUE(json.ToString() == nested(kJsonMaxNestingDepth)) << c.open;

        const std::string tooDeep = nested(kJsonMaxNestingDepth + 1);
        EXPECT_FALSE(json.Parse(tooDeep)) << c.open;
        EXPECT_TRUE(json.GetErrMsg() ==
                    kParseError + tooDeep.substr(kJsonMaxNestingDepth * c.open.size()))
            << c.open;
    }
    const std::string hostile(100000, '[');
    CJsonObject json;
    EXPECT_FALSE(json.Parse(hostile));
    EXPECT_TRUE(json.GetErrMsg() == kParseError + hostile.substr(kJsonMaxNestingDepth));
}

TEST(JsonParse, AllocationFailureAtEveryStepLeavesNothing) {
    const std::string document =
        R"({"a":[1,2.5,"three",{"four":null}],"b":{"c":"\u00e9","d":[[],{}]},"e":true})";
    long needed = 0;
    {
        testing::CountingAllocator allocator;
        CJsonObject json(document);
        needed = testing::CountingAllocator::count();
    }
    CJsonObject json;
    const long failAt = testing::FailEachAllocationInTurn([&] {
        if (json.Parse(document)) {
            EXPECT_EQ(testing::CountingAllocator::live(), needed);
            return true;
        }
        EXPECT_TRUE(json.IsEmpty());
        EXPECT_EQ(json.GetErrMsg(), kParseError) << "no position after allocation failure";
        return false;
    });
    EXPECT_EQ(json.ToString(), R"({"a":[1,2.500000,"three",{"four":null}],"b":{"c":")"
                               "\xC3\xA9"
                               R"(","d":[[],{}]},"e":true})");
    // Nodes and texts come from arena blocks; the document outgrows the first, and each block
    // got its turn to fail.
    EXPECT_GE(needed, 2);
    EXPECT_EQ(failAt, needed);
}

// Each thread's parses stay correct; an error position may be another thread's, but the text
// it quotes always comes from the thread's own input.
TEST(JsonParse, ConcurrentParsesDoNotInterfere) {
    const std::vector<std::string> texts = {"{\"a\":[1,2,{\"b\":\"c\"}]}", "[1,2,x]",
                                            "{\"k\":[true,fals]}", "[\"long\",\"array\",15]"};
    std::vector<std::thread> threads;
    std::atomic<int> faults{0};
    for (const auto& text : texts) {
        threads.emplace_back([&text, &faults] {
            for (int i = 0; i < 2000; ++i) {
                CJsonObject json;
                if (json.Parse(text)) {
                    faults += json.ToString() != text;
                    continue;
                }
                const std::string& error = json.GetErrMsg();
                const std::string rest = error.substr(kParseError.size());
                faults += error.compare(0, kParseError.size(), kParseError) != 0 ||
                          text.compare(text.size() - rest.size(), rest.size(), rest) != 0;
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(faults, 0);
}

}  // namespace
}  // namespace meru
