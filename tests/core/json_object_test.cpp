// Tests of CJsonObject: typed access, editing, wrappers, copies, key walks and error texts.
#include "core/json_object.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "json_test_allocator.h"

namespace meru {
namespace {

const char* const kNoData = "json data is null!";
const char* const kNotObject = "not a json object! json array?";
const char* const kNotArray = "not a json array! json object?";
const char* const kNoText = "prase json string error at ";

const char* const kSample =
    R"({"i":5,"d":5.0,"f":0.5,"b":true,"s":"x","n":null,"a":[1,"two"],"big":4294967297,"neg":-1})";

// Get succeeds only on the exact type; a failed Get leaves the value as it was.
template <typename T>
void ExpectGet(const CJsonObject& json, const std::string& key, bool found, T expected) {
    T value{};
    EXPECT_EQ(json.Get(key, value), found) << key;
    EXPECT_EQ(value, found ? expected : T{}) << key;
}

TEST(JsonObjectGet, MatchesTypesExactly) {
    CJsonObject json(kSample);
    ExpectGet(json, "i", true, int32_t{5});
    ExpectGet(json, "i", false, 0.0);
    ExpectGet(json, "d", true, 5.0);
    ExpectGet(json, "f", true, 0.5f);
    ExpectGet(json, "b", true, true);
    ExpectGet(json, "i", false, false);
    ExpectGet(json, "s", true, std::string("x"));
    ExpectGet(json, "n", false, std::string());
    ExpectGet(json, "missing", false, int32_t{});
    ExpectGet(json, "big", true, int32_t{1});  // low 32 bits
    ExpectGet(json, "big", true, int64_t{4294967297});
    ExpectGet(json, "neg", true, uint32_t{4294967295u});
    ExpectGet(json, "neg", true, UINT64_MAX);
    EXPECT_TRUE(json.GetErrMsg().empty());

    for (const auto& [key, text] :
         {std::pair{"a", "[1,\"two\"]"}, std::pair{"n", "null"}, std::pair{"s", "\"x\""}}) {
        CJsonObject copy;
        EXPECT_TRUE(json.Get(key, copy)) << key;
        EXPECT_EQ(copy.ToString(), text);
    }
    std::string element;
    int32_t number = 0;
    EXPECT_TRUE(json["a"].Get(1, element));
    EXPECT_EQ(element, "two");
    EXPECT_FALSE(json["a"].Get(2, number));
    EXPECT_FALSE(CJsonObject(kSample).Get(0, number));  // an object has no elements
    EXPECT_EQ(number, 0);
}

TEST(JsonObjectAdd, EmptyDocumentTakesTheShapeOfTheFirstAdd) {
    CJsonObject object;
    EXPECT_TRUE(object.Add("k", std::string("v")));
    EXPECT_TRUE(object.Add("k", int32_t{7}));  // same key again: appended
    EXPECT_EQ(object.ToString(), R"({"k":"v","k":7})");

    CJsonObject array;
    EXPECT_TRUE(array.Add(true));
    EXPECT_TRUE(array.AddAsFirst(uint32_t{3}));
    EXPECT_TRUE(array.Add(CJsonObject(R"({"x":[]})")));
    EXPECT_EQ(array.ToString(), R"([3,true,{"x":[]}])");
    EXPECT_EQ(array.GetArraySize(), 3);

    CJsonObject nested;
    EXPECT_TRUE(nested.AddEmptySubObject("o"));
    EXPECT_TRUE(nested.AddEmptySubArray("a"));
    EXPECT_TRUE(nested["a"].Add(int64_t{-5}));
    EXPECT_TRUE(nested["o"].Add("in", false));
    EXPECT_EQ(nested.ToString(), R"({"o":{"in":false},"a":[-5]})");
    EXPECT_TRUE(nested.Add("self", nested));
    EXPECT_EQ(nested.ToString(),
              R"({"o":{"in":false},"a":[-5],"self":{"o":{"in":false},"a":[-5]}})");
}

TEST(JsonObjectEdit, ReplaceAndDeleteFindTheirTarget) {
    CJsonObject json(R"({"Key":1,"other":[1,2,3]})");
    EXPECT_TRUE(json.Replace("key", std::string("new")));
    EXPECT_FALSE(json.Replace("missing", 1));
    EXPECT_TRUE(json["other"].Replace(1u, 2.5));
    EXPECT_FALSE(json["other"].Replace(3u, 1));
    EXPECT_TRUE(json["other"].Delete(0u));
    EXPECT_TRUE(json["other"].Delete(9u));
    EXPECT_EQ(json.ToString(), R"({"Key":"new","other":[2.500000,3]})");
    EXPECT_TRUE(json.Delete("OTHER"));
    EXPECT_TRUE(json.Delete("missing"));
    EXPECT_EQ(json.ToString(), R"({"Key":"new"})");
}

// An operation on a document of the wrong shape (or none) fails, says why and changes nothing.
TEST(JsonObjectEdit, WrongShapeFailsWithItsText) {
    struct Case {
        CJsonObject json;
        bool (*operation)(CJsonObject&);
        const char* error;
    };
    Case cases[] = {
        {CJsonObject(), [](CJsonObject& j) { return j.Replace("k", 1); }, kNoData},
        {CJsonObject(), [](CJsonObject& j) { return j.Replace(0u, 1); }, kNoData},
        {CJsonObject(), [](CJsonObject& j) { return j.Delete("k"); }, kNoData},
        {CJsonObject(), [](CJsonObject& j) { return j.Delete(0u); }, kNoData},
        {CJsonObject("[1]"), [](CJsonObject& j) { return j.Replace("k", 1); }, kNotObject},
        {CJsonObject("[1]"), [](CJsonObject& j) { return j.Delete("k"); }, kNotObject},
        {CJsonObject("{}"), [](CJsonObject& j) { return j.Replace(0u, 1); }, kNotArray},
        {CJsonObject("{}"), [](CJsonObject& j) { return j.Delete(0u); }, kNotArray},
        {CJsonObject("{}"), [](CJsonObject& j) { return j.AddAsFirst(1); }, kNotArray},
        {CJsonObject("{}"), [](CJsonObject& j) { return j.Add(1.5); }, kNotArray},
        {CJsonObject("[1]"), [](CJsonObject& j) { return j.Add("k", 1); }, kNotObject},
        {CJsonObject("[1]"), [](CJsonObject& j) { return j.AddEmptySubArray("k"); }, kNotObject},
        // An empty document has no text to copy.
        {CJsonObject("[1]"), [](CJsonObject& j) { return j.Add(CJsonObject()); }, kNoText},
    };
    for (auto& c : cases) {
        const std::string before = c.json.ToString();
        EXPECT_FALSE(c.operation(c.json)) << c.error;
        EXPECT_EQ(c.json.GetErrMsg(), c.error);
        EXPECT_EQ(c.json.ToString(), before);
    }
}

TEST(JsonObjectWrappers, ViewTheTreeAndFollowItsChanges) {
    CJsonObject json(R"({"list":[10,20,30],"o":{"x":1}})");
    CJsonObject& list = json["list"];
    EXPECT_NE(&json["LIST"], &list);  // cached by exact key
    EXPECT_EQ(&json["list"], &list);
    EXPECT_EQ(list.GetArraySize(), 3);
    EXPECT_EQ(list[1u].ToString(), "20");

    CJsonObject& missing = json["later"];
    EXPECT_TRUE(missing.IsEmpty());
    EXPECT_TRUE(json["o"][0u].IsEmpty());
    json.Add("later", 5);
    EXPECT_EQ(&json["later"], &missing);
    EXPECT_EQ(missing.ToString(), "5");

    CJsonObject& first = list[0u];
    EXPECT_TRUE(list.Delete(0u));
    EXPECT_TRUE(first.IsEmpty());  // it viewed the deleted element
    EXPECT_EQ(list[0u].ToString(), "20");
    CJsonObject& inner = json["o"];
    EXPECT_TRUE(json.Replace("o", std::string("gone")));
    EXPECT_TRUE(inner.IsEmpty());
    EXPECT_EQ(json["o"].ToString(), "\"gone\"");

    json.Clear();
    EXPECT_TRUE(json.IsEmpty());
    EXPECT_TRUE(json["list"].IsEmpty());
}

// Copies are independent documents that read as the compact text of what they copy would:
// whole doubles become integers, fractions keep six decimals, integers pass through a double,
// and a member's key stays behind.
TEST(JsonObjectCopy, CopiesAreIndependentAndReadAsTheirText) {
    CJsonObject original(R"({"a":[1]})");
    CJsonObject copy(original);
    CJsonObject assigned;
    assigned = original["a"];
    copy["a"].Add(2);
    assigned.Add(3);
    EXPECT_EQ(original.ToString(), R"({"a":[1]})");
    EXPECT_EQ(copy.ToString(), R"({"a":[1,2]})");
    EXPECT_EQ(assigned.ToString(), "[1,3]");
    const CJsonObject& alias = assigned;
    assigned = alias;
    EXPECT_EQ(assigned.ToString(), "[1,3]");

    CJsonObject source;
    source.Add("whole", 2.0);
    source.Add("fraction", 0.1234567);
    source.Add("big", uint64_t{9007199254740993u});
    CJsonObject added;
    ASSERT_TRUE(added.Add(source));
    CJsonObject read;
    ASSERT_TRUE(source.Get("fraction", read));
    EXPECT_EQ(read.ToString(), "0.123457");
    ASSERT_TRUE(added.Get(0u, read));
    for (CJsonObject* json : {&added[0u], &read}) {
        int32_t whole = 0;
        double fraction = 0;
        uint64_t big = 0;
        EXPECT_TRUE(json->Get("whole", whole) && json->Get("fraction", fraction) &&
                    json->Get("big", big));
        EXPECT_EQ(whole, 2);
        EXPECT_EQ(fraction, 0.123457);
        EXPECT_EQ(big, 9007199254740992u);
        EXPECT_FALSE(json->Get("whole", fraction));
    }
}

// The array keeps its tail and the element read last across edits: after each edit (made while
// the read position is inside the array) reading forwards, backwards and appending all see the
// array as it is.
TEST(JsonObjectArray, ReadsAndAppendsFollowEveryEdit) {
    CJsonObject array("[0,1,2,3,4]");
    const auto elements = [&array](bool backwards) {
        std::string digits;
        const auto size = static_cast<unsigned>(array.GetArraySize());
        for (unsigned n = 0; n < size; ++n) {
            int32_t value = -1;
            EXPECT_TRUE(array.Get(backwards ? size - 1 - n : n, value));
            digits.insert(backwards ? 0 : digits.size(), std::to_string(value));
        }
        return digits;
    };
    struct Step {
        bool (*edit)(CJsonObject&);
        const char* after;
    };
    const Step steps[] = {
        {[](CJsonObject& a) { return a.Add(5); }, "012345"},  // after the parsed tail
        {[](CJsonObject& a) { return a.Delete(5u); }, "01234"},
        {[](CJsonObject& a) { return a.Add(6); }, "012346"},  // after a removed tail
        {[](CJsonObject& a) { return a.Delete(0u); }, "12346"},
        {[](CJsonObject& a) { return a.AddAsFirst(7); }, "712346"},
        {[](CJsonObject& a) { return a.Replace(5u, 8); }, "712348"},
        {[](CJsonObject& a) { return a.Add(9); }, "7123489"},  // after a replaced tail
        {[](CJsonObject& a) { return a.Delete(2u) && a.Delete(2u) && a.Delete(2u); }, "7189"},
        {[](CJsonObject& a) { return a.Delete(3u) && a.Delete(2u) && a.Delete(1u); }, "7"},
        {[](CJsonObject& a) { return a.Delete(0u) && a.Add(1) && a.Add(2); }, "12"},
    };
    for (const Step& step : steps) {
        int32_t value = 0;
        array.Get(static_cast<unsigned>(array.GetArraySize()) / 2, value);
        EXPECT_TRUE(step.edit(array)) << step.after;
        EXPECT_EQ(elements(false), step.after);
        EXPECT_EQ(elements(true), step.after);
        std::string text = "[";
        for (const char* digit = step.after; *digit != '\0'; ++digit) {
            text += std::string(text.size() > 1 ? "," : "") + *digit;
        }
        EXPECT_EQ(array.ToString(), text + "]");
    }
}

TEST(JsonObjectKeys, WalkMembersInOrderAndRestartAfterAChange) {
    CJsonObject json(R"({"b":1,"a":2,"c":3})");
    std::string walked;
    bool added = false;
    for (std::string key; json.GetKey(key);) {
        walked += key;
        if (key == "a" && !added) {
            added = json.Add("d", 4);
        }
    }
    EXPECT_EQ(walked, "babacd");
    json.ResetTraversing();
    std::string key;
    EXPECT_TRUE(json.GetKey(key));
    EXPECT_EQ(key, "b");
    EXPECT_FALSE(CJsonObject("[1]").GetKey(key));
}

TEST(JsonObjectAllocation, FailuresReportTheirErrorTexts) {
    {
        CJsonObject json;
        testing::CountingAllocator allocator(0);
        EXPECT_FALSE(json.Add("k", 1));
        EXPECT_EQ(json.GetErrMsg(), kNoData);
    }
    for (const bool array : {false, true}) {
        for (long failAt : {0, 1}) {  // the new node, then its key
            CJsonObject json("{}");
            {
                testing::CountingAllocator allocator(failAt);
                EXPECT_FALSE(array ? json.AddEmptySubArray("k") : json.AddEmptySubObject("k"));
                EXPECT_EQ(testing::CountingAllocator::live(), 0);
            }
            EXPECT_EQ(json.GetErrMsg(),
                      array ? "create sub empty array error!" : "create sub empty object error!");
            EXPECT_EQ(json.ToString(), "{}");
        }
    }
    CJsonObject array("[]");
    const CJsonObject value("[1]");
    testing::CountingAllocator allocator(1);  // the copy's element
    EXPECT_FALSE(array.Add(value));
    EXPECT_EQ(array.GetErrMsg(), kNoText);
    EXPECT_EQ(testing::CountingAllocator::live(), 0);
}

}  // namespace
}  // namespace meru
