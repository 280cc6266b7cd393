// What a scenario's MATCH holds for, and how a mistaken expectation is named. Waiting and the
// exit code are pinned end to end by kinetra_sim_workbench and the focused scenarios.
#include "kinetra-sim/expectation.h"

#include <gtest/gtest.h>

namespace kinetra_sim {
namespace {

using tafjson::Json;

Json Parse(const char* text) {
    Json json;
    tafjson::JsonError error;
    EXPECT_TRUE(tafjson::parseJson(text, json, error)) << text << ": " << error.message;
    return json;
}

// A 2014 game id (iGameId 7), a 2000 start configuration with a nested updater and a list of
// images, a server request, a time-out, a push and a host call, as the JSON trace writes them.
constexpr const char* kLines[] = {
    R"({"from": "plugin", "to": "engine", "type": 2014, "payload": [{"tag": 0, "type": "int8", "value": 7}], "t_ms": 1})",
    R"({"from": "plugin", "to": "engine", "type": 2000, "payload": [{"tag": 0, "type": "list", "items": [{"tag": 0, "type": "string1", "text": "a.png"}, {"tag": 0, "type": "string1", "text": "b.png"}]}, {"tag": 6, "type": "struct", "fields": [{"tag": 2, "type": "string1", "text": "1.2.0"}]}], "t_ms": 2})",
    R"({"from": "plugin", "to": "server", "servant": "mobileui", "function": "getConfig", "request_id": 0, "request": [], "t_ms": 3})",
    R"({"from": "server", "to": "plugin", "servant": "wupui", "function": "setLiveTag", "timeout": true, "t_ms": 4})",
    R"({"from": "server", "to": "plugin", "push": 1400, "payload": [{"tag": 3, "type": "string1", "text": "hi"}], "t_ms": 5})",
    R"({"from": "plugin", "to": "host", "call": "SetSourceTransform", "args": {"position": [656.25, 0.0], "scale": [0.84375, 0.84375]}, "t_ms": 6})",
    R"({"from": "host", "error": "handler still registered", "uri": 1400, "t_ms": 7})",
};

TEST(Expectation, MatchesByEndsKindsAndFieldsByName) {
    const struct {
        const char* match;
        std::vector<int> lines;  // which of kLines it matches
    } cases[] = {
        {R"({"from": "plugin", "type": 2014})", {0}},
        {R"({"type": 2014, "fields": {"iGameId": 7}})", {0}},
        {R"({"type": 2014, "fields": {"iGameId": 8}})", {}},
        {R"({"fields": {"tUpdater": {"sVersion": "1.2.0"}, "vImage": ["a.png"]}})", {1}},
        {R"({"fields": {"vImage": ["b.png"]}})", {}},
        {R"({"fields": {"vImage": ["a.png", "b.png", "c.png"]}})", {}},
        {R"({"function": "getConfig"})", {2}},
        {R"({"function": "mobileui/getConfig", "to": "server"})", {2}},
        {R"({"function": "wupui/setLiveTag", "timeout": true})", {3}},
        {R"({"timeout": false, "from": "server"})", {4}},
        {R"({"uri": 1400})", {4}},
        {R"({"uri": 1400, "fields": {"sText3": "hi"}})", {4}},
        {R"({"call": "SetSourceTransform", "args": {"position": [656.25]}})", {5}},
        {R"({"call": "SetSourceTransform", "fields": {"scale": [0.84375, 0.84375]}})", {5}},
        {R"({"from": "host", "fields": {"error": "handler still registered"}})", {6}},
        {R"({"to": "engine"})", {0, 1}},
    };
    for (const auto& test : cases) {
        const Json match = Parse(test.match);
        std::vector<int> matched;
        for (int i = 0; i < static_cast<int>(std::size(kLines)); ++i) {
            if (MatchesEvent(match, Parse(kLines[i]))) {
                matched.push_back(i);
            }
        }
        EXPECT_EQ(matched, test.lines) << test.match;
    }
}

TEST(Expectation, MistakesAreNamedByWhereTheyAre) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"expect": {"type": 25}, "within": 5})", "steps[3].within: unknown key"},
        {R"({"expect": {"type": 25}, "for_ms": 5})", "steps[3].for_ms: unknown key"},
        {R"({"expect_none": {"type": 25}, "within_ms": 5})", "steps[3].within_ms: unknown key"},
        {R"({"expect": {"type": 25}, "within_ms": -1})", "steps[3].within_ms: must be"},
        {R"({"expect": {}})", "steps[3].expect: must be an object with any of"},
        {R"({"expect": {"typ": 25}})", "steps[3].expect.typ: unknown key"},
        {R"({"expect": {"type": "25"}})", "steps[3].expect.type: must be a whole number"},
        {R"({"expect_none": {"fields": [1]}})", "steps[3].expect_none.fields: must be an object"},
        {R"({"expect": {"timeout": 1}})", "steps[3].expect.timeout: must be true or false"},
    };
    for (const auto& [text, expected] : cases) {
        ExpectStep step;
        std::string error;
        EXPECT_FALSE(ReadExpectation(Parse(text), "steps[3]", step, error)) << text;
        EXPECT_TRUE(error.starts_with(expected)) << text << " -> " << error;
    }
    ExpectStep step;
    std::string error;
    ASSERT_TRUE(
        ReadExpectation(Parse(R"({"expect_none": {"type": 25}})"), "steps[0]", step, error));
    EXPECT_TRUE(step.none);
    EXPECT_EQ(step.window, kDefaultExpectNoneFor);
}

}  // namespace
}  // namespace kinetra_sim
