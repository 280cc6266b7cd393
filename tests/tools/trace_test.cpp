#include "kinetra-sim/trace.h"

#include <gtest/gtest.h>

#include <sstream>

#include "host/host_state.h"
#include "host/sim_signal_service.h"
#include "signal/taf_task.h"
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
    const std::string reply =
        R"({"from": "server", "to": "plugin", "servant": "pingui", "function": "ping", )"
        R"("ret": 3, "response": [{"tag": 0, "type": "int8", "value": 7}]})";
    const std::string timeout =
        R"({"from": "server", "to": "plugin", "servant": "pingui", "function": "silent", )"
        R"("timeout": true})";

    const auto lines = Lines(out.str());
    // Pushes are traced in the checked-in scenario's trace.
    ASSERT_EQ(lines.size(), 4u) << out.str();
    EXPECT_EQ(lines[0].rfind(requestStart, 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find(requestText), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], reply);
    EXPECT_EQ(lines[3], timeout);
}

}  // namespace
}  // namespace kinetra_sim
