// Reading scenario files: what no checked-in scenario uses, and mistakes named by where they
// are. The audio steps and format are read by the audio scenario, whose trace pins them.
#include "kinetra-sim/scenario.h"

#include <gtest/gtest.h>

#include "plugin/plugin_names.h"

namespace kinetra_sim {
namespace {

bool Parse(const std::string& text, Scenario& scenario, std::string& error) {
    tafjson::Json json;
    tafjson::JsonError jsonError;
    if (!tafjson::parseJson(text, json, jsonError)) {
        error = "invalid JSON: " + jsonError.message;
        return false;
    }
    return ParseScenario(json, scenario, error);
}

// The scenarios' traces pin the camera, canvas, absent services, channels, waits, pushes, started
// live and the instance's start and release; these are the answers and steps none of them uses.
TEST(Scenario, ReadsTheAnswersAndStepsNoScenarioUses) {
    Scenario scenario;
    std::string error;
    ASSERT_TRUE(Parse(R"({
      "host": {"uid": -5, "user_value": 8589934592, "test_env": true, "dialog_result": 2},
      "steps": [{"engine": 4294967295, "payload": [{"tag": 0, "type": "int", "value": 300}]},
                {"live": "stopped"}, {"instance": "stop"},
                {"repeat": 3, "steps": [{"dialog": 1}, {"wait_ms": 5}]}],
      "server": {"replies": [{"servant": "s", "function": "f", "ret": -2,
                              "rsp": [{"tag": 1, "type": "string", "text": "ok"}]},
                             {"servant": "s", "function": "g", "ret": 3, "rsp_hex": "0c"},
                             {"servant": "s", "function": "h", "frame_hex": "00 01"}],
                 "delay_ms": 20, "timeout_ms": 900}})",
                      scenario, error))
        << error;
    const auto& answers = scenario.answers;
    EXPECT_EQ(answers.uid, -5);
    EXPECT_EQ(answers.userValue, 8589934592);
    EXPECT_TRUE(answers.testEnv);
    EXPECT_EQ(answers.dialogResult, std::optional<std::uint32_t>(2));
    ASSERT_EQ(scenario.steps.size(), 4u);
    const auto& first = std::get<EngineStep>(scenario.steps[0]);
    EXPECT_EQ(first.type, 4294967295u);
    EXPECT_EQ(first.channel, kinetra::kEngineChannelName);
    EXPECT_EQ(first.payload, (taf::Bytes{0x01, 0x01, 0x2C}));
    EXPECT_FALSE(std::get<LiveStep>(scenario.steps[1]).started);
    EXPECT_EQ(std::get<InstanceStep>(scenario.steps[2]).action, InstanceStep::Action::stop);
    const auto& repeat = std::get<RepeatStep>(scenario.steps[3]);
    EXPECT_EQ(repeat.count, 3u);
    ASSERT_EQ(repeat.steps.size(), 2u);
    EXPECT_EQ(std::get<DialogStep>(repeat.steps[0]).result, 1u);
    ASSERT_EQ(scenario.replies.size(), 3u);
    EXPECT_EQ(scenario.replies[0].servant, "s");
    EXPECT_EQ(scenario.replies[0].function, "f");
    const auto& fields = scenario.replies[0].reply;
    EXPECT_EQ(fields.kind, sim::Reply::Kind::response);
    EXPECT_EQ(fields.ret, -2);
    EXPECT_EQ(fields.value, (taf::Bytes{0x0A, 0x16, 0x02, 'o', 'k', 0x0B}));
    const auto& value = scenario.replies[1].reply;
    EXPECT_EQ(value.ret, 3);
    EXPECT_EQ(value.value, taf::Bytes{0x0C});
    const auto& frame = scenario.replies[2].reply;
    EXPECT_EQ(frame.kind, sim::Reply::Kind::raw);
    EXPECT_EQ(frame.bytes, (taf::Bytes{0x00, 0x01}));
    EXPECT_EQ(scenario.timing.delay.count(), 20);
    EXPECT_EQ(scenario.timing.timeout.count(), 900);
}

TEST(Scenario, MistakesAreNamedByWhereTheyAre) {
    const std::pair<const char*, const char*> cases[] = {
        {R"({"host": {"uid": "7"}})", "host.uid"},
        {R"({"host": {"gameid": 7}})", "host.gameid: unknown key"},
        {R"({"host": {"absent": ["radio"]}})", "host.absent: unknown service"},
        {R"({"host": {"canvas": [1]}})", "host.canvas"},
        {R"({"host": {"token_type": 4294967296}})", "host.token_type"},
        {R"({"steps": [{"engine": -1}]})", "steps[0].engine"},
        {R"({"steps": [{"engine": 1, "payload": [], "hex": ""}]})", "steps[0]: give either"},
        {R"({"steps": [{"engine": 1, "payload": [{"tag": 0, "type": "int9"}]}]})",
         "steps[0].payload"},
        {R"({"steps": [{"engine": 1, "hex": "0g"}]})", "steps[0].hex"},
        {R"({"steps": [{"post": 1400}]})", "steps[0]: a step needs"},
        // Every count and size has a bound, refused with its path.
        {R"({"steps": [{"audio": {"frames": 4294967295}}]})",
         "steps[0].audio.frames: must be at most 1048576"},
        {R"({"steps": [{"audio": {"frames": 1, "calls": 4294967295}}]})",
         "steps[0].audio.calls: must be at most"},
        {R"({"steps": [{"wait_ms": 4294967295}]})", "steps[0].wait_ms: must be at most 600000"},
        {R"({"server": {"timeout_ms": 600001}})", "server.timeout_ms: must be at most"},
        {R"({"steps": [{"repeat": 1000001, "steps": []}]})", "steps[0].repeat: must be at most"},
        {R"({"steps": [{"repeat": 1000, "steps": [{"repeat": 1000, "steps": [
                        {"repeat": 11, "steps": [{"dialog": 1}]}]}]}]})",
         "steps: would play more than 10000000 steps"},
        {R"({"steps": [{"repeat": 2, "steps": [{"dialog": -1}]}]})", "steps[0].steps[0].dialog"},
        {R"({"steps": [{"repeat": 2, "step": []}]})", "steps[0].step: unknown key"},
        {R"({"steps": [{"push": 1400, "payload": 5}]})", "steps[0].payload"},
        {R"({"steps": [{"audio": {"frames": 2, "planes": [[1, 2], [3]]}}]})",
         "steps[0].audio.planes"},
        {R"({"steps": [{"audio": {"frames": 1, "planes": [[1], [1]], "tone_hz": 5}}]})",
         "steps[0].audio: give either"},
        {R"({"steps": [{"audio": {"frame": 1}}]})", "steps[0].audio.frame: unknown key"},
        {R"({"host": {"audio_format": [48000]}})", "host.audio_format"},
        {R"({"server": {"replies": [{"servant": "s"}]}})", "server.replies[0]: needs"},
        {R"({"server": {"delay": 5}})", "server.delay: unknown key"},
        {R"({"server": {"replies": [{"servant": "s", "function": "f", "rsp": [],
                                     "frame_hex": "00"}]}})",
         "server.replies[0]: give one of"},
        {R"({"server": {"replies": [{"servant": "s", "function": "f", "ret": 1,
                                     "frame_hex": "00"}]}})",
         "server.replies[0].ret"},
        {R"({"server": {"replies": [{"servant": "s", "function": "f", "rsp_hex": 5}]}})",
         "server.replies[0].rsp_hex"},
        {R"({"host": {"dialog_result": -1}})", "host.dialog_result"},
        {R"({"steps": [{"live": "paused"}]})", "steps[0].live: must be \"started\" or"},
        {R"({"steps": [{"live": true}]})", "steps[0].live: must be a string"},
        {R"({"steps": [{"instance": "restart"}]})", "steps[0].instance: must be \"start\""},
        {R"({"steps": [{"wait_ms": 1}, {"dialog": "yes"}]})", "steps[1].dialog"},
        {R"({"steps": [{"dialog": 1, "seq": 2}]})", "steps[0].seq: unknown key"},
        {R"({"steps": [{"wait": "idle"}]})", "steps[0].wait: must be \"quiet\""},
        {R"({"step": []})", "scenario.step: unknown key"},
        {R"([])", "scenario: must be an object"},
    };
    for (const auto& [text, where] : cases) {
        Scenario scenario;
        std::string error;
        EXPECT_FALSE(Parse(text, scenario, error)) << text;
        EXPECT_NE(error.find(where), std::string::npos) << text << " gave: " << error;
    }
}

}  // namespace
}  // namespace kinetra_sim
