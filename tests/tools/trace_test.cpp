#include "kinetra-sim/trace.h"

#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "host/host_state.h"
#include "host/sim_signal_service.h"
#include "signal/taf_task.h"
#include "taf/records/engine_audio.h"
#include "taf/request_records.h"

namespace kinetra_sim {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The line without its time, which must be there, last.
std::string WithoutTime(const std::string& line) {
    static const std::regex time(R"(, "t_ms": \d+\}$)");
    EXPECT_TRUE(std::regex_search(line, time)) << line;
    return std::regex_replace(line, time, "}");
}

// A readable line without the time it starts with, which must be there.
std::string TextWithoutTime(const std::string& line) {
    static const std::regex time(R"(^\[ *\d+ ms\]  )");
    EXPECT_TRUE(std::regex_search(line, time)) << line;
    return std::regex_replace(line, time, "");
}

// Requests, replies and time-outs as the simulated servers move them.
class ServerTraceTest : public ::testing::Test {
protected:
    ServerTraceTest() {
        signal.SetObserver([this](const sim::ServerTraffic& traffic) { trace.Record(traffic); });
    }
    ~ServerTraceTest() override { signal.Shutdown(); }

    void Send(const char* function) {
        test::PingReq request;
        request.sText = "hi";
        signal.SendTask(new Meru::TafTaskWithTid<test::PingReq, test::PingRsp>(
            request, Meru::RequestDescriptor("pingui", function),
            [](const Meru::SignalErrorHelper*, test::PingRsp*) {}));
    }

    sim::HostState state{[] {
        sim::HostAnswers answers;
        answers.uid = 5;
        return answers;
    }()};
    sim::SimSignalService signal{state};
    std::ostringstream out;
    Trace trace{TraceFormat::json, out};
};

TEST_F(ServerTraceTest, JsonLinesNameTheCallAndDecodeWithoutASchema) {
    signal.SetReply("pingui", "ping", sim::Reply::Fields(3, taf::Bytes{0x00, 0x07}));
    signal.StartAutomatic({std::chrono::milliseconds(0), std::chrono::milliseconds(10)});
    Send("ping");
    ASSERT_TRUE(signal.WaitIdle(std::chrono::seconds(10)));
    Send("silent");
    ASSERT_TRUE(signal.WaitIdle(std::chrono::seconds(10)));

    const std::string requestStart =
        R"({"from": "plugin", "to": "server", "servant": "pingui", "function": "ping", )"
        R"("request_id": 0, "request": [{"tag": 0, "type": "struct", "fields": [)"
        R"({"tag": 0, "type": "int8", "value": 5})";
    const std::string requestText = R"({"tag": 1, "type": "string1", "hex": "6869", "text": "hi"})";
    // The server numbers the frame it answers with itself.
    const std::string reply =
        R"({"from": "server", "to": "plugin", "servant": "pingui", "function": "ping", )"
        R"("request_id": 1000, "ret": 3, "response": [{"tag": 0, "type": "int8", "value": 7}]})";
    const std::string timeout =
        R"({"from": "server", "to": "plugin", "servant": "pingui", "function": "silent", )"
        R"("timeout": true})";

    const auto lines = Lines(out.str());
    // Pushes are traced in the checked-in scenario's trace.
    ASSERT_EQ(lines.size(), 4u) << out.str();
    EXPECT_EQ(lines[0].rfind(requestStart, 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(requestText), std::string::npos) << lines[0];
    EXPECT_EQ(WithoutTime(lines[1]), reply);
    EXPECT_EQ(WithoutTime(lines[3]), timeout);
}

// An audio block in the text trace: one short line with the rate and the first frames.
TEST(EngineTrace, AudioBlockIsOneShortTextLine) {
    MeruKinetra::AudioFrameMsg block;
    block.iSampleRate = 48000;
    block.sPcm.assign(4096, '\0');
    const unsigned char first[] = {0xFF, 0x7F, 0x01, 0x80, 0x02, 0x00, 0xFE, 0xFF};
    std::copy(std::begin(first), std::end(first), block.sPcm.begin());
    sim::EngineTraffic traffic;
    traffic.channel = sim::SimEngine::kChannel;
    traffic.type = static_cast<std::uint32_t>(kinetra::number(kinetra::ToEngine::kAudioData));
    traffic.payload = taf::toBytes(block);
    std::ostringstream out;
    Trace(TraceFormat::text, out).Record(traffic);
    EXPECT_EQ(TextWithoutTime(out.str()),
              "plugin -> engine  2034  audio data  rate 48000, 16 bits, 2 channels, 1024 frames: "
              "(32767, -32767) (2, -2) (0, 0) (0, 0) ...\n");
}

// Host calls: the name and the arguments by name; floats as the shortest real, texts as UTF-8.
TEST(HostCallTrace, JsonLineHasTheCallAndItsArguments) {
    std::ostringstream out;
    Trace trace(TraceFormat::json, out);
    trace.Record(sim::HostCall{"RestoreCamera",
                               {{"name", std::string("\xE8\x99\x9A cam")},
                                {"a", std::array<float, 2>{0.1f, 2.0f}},
                                {"uri", std::int64_t{1400}},
                                {"object", true}}});
    trace.Record(sim::HostCall{"ClearCamera", {}});
    const auto lines = Lines(out.str());
    ASSERT_EQ(lines.size(), 2u) << out.str();
    EXPECT_EQ(
        WithoutTime(lines[0]),
        "{\"from\": \"plugin\", \"to\": \"host\", \"call\": \"RestoreCamera\", \"args\": "
        "{\"name\": \"\xE8\x99\x9A cam\", \"a\": [0.1, 2.0], \"uri\": 1400, \"object\": true}}");
    EXPECT_EQ(WithoutTime(lines[1]),
              R"({"from": "plugin", "to": "host", "call": "ClearCamera", "args": {}})");

    std::ostringstream text;
    Trace(TraceFormat::text, text)
        .Record(sim::HostCall{"SetSourceTransform",
                              {{"position", std::array<float, 2>{656.25f, 0.0f}},
                               {"scale", std::array<float, 2>{0.84375f, 0.84375f}}}});
    EXPECT_EQ(TextWithoutTime(text.str()),
              "plugin -> host    SetSourceTransform  position (656.25, 0.0), scale (0.84375, "
              "0.84375)\n");
}

}  // namespace
}  // namespace kinetra_sim
