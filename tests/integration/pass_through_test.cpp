// Server requests the engine framed itself (22 → 23) through the real library: frame versions,
// replies that are not frames, time-outs. A frame the server numbered itself, renumbered with the
// engine's id, is pinned by the server_commands scenario's trace.
#include <gtest/gtest.h>

#include "integration/server_calls.h"
#include "taf/records/pass_through.h"
#include "taf/records/start_config.h"
#include "taf/server_call.h"

namespace {

using kinetra::FromEngine;
using kinetra::ToEngine;
using MeruKinetra::MeruTafTransDataRsp;
using namespace testing_support;

// A frame of `version` for servant "engineSrv", function "engineFn", with a record and a return
// value in its body.
taf::Bytes Frame(std::int16_t version, std::int32_t requestId, std::string_view attribute) {
    taf::UniPacket packet;
    packet.setVersion(version);
    packet.packet().sServantName = "engineSrv";
    packet.packet().sFuncName = "engineFn";
    packet.packet().iRequestId = requestId;
    packet.put(attribute, MeruKinetra::UpdaterConfig{"u", "m", "v"});
    packet.put(taf::kReturnAttribute, std::int32_t{-5});
    taf::Bytes frame;
    packet.encode(frame);
    return frame;
}

class PassThrough : public ::testing::Test {
protected:
    void SetUp() override { DropStartRequests(running); }

    // Sends `request` as a 22 and answers it with `reply`; the engine's 23.
    std::optional<MeruTafTransDataRsp> RoundTrip(const taf::Bytes& request,
                                                 const sim::Reply& reply) {
        running.engine.Send(FromEngine::kPassThroughRequest,
                            MeruKinetra::MeruTafTransDataReq{request});
        auto task = NextRequest(running);
        if (!task) {
            return std::nullopt;
        }
        EXPECT_EQ(task->Request().frame, request) << "the engine's frame is sent unchanged";
        task->Answer(reply);
        return running.engine.WaitForRecord<MeruTafTransDataRsp>(ToEngine::kPassThroughResponse);
    }

    RunningPlugin running{ServerIdentity()};
};

TEST_F(PassThrough, TheReplyFrameCarriesTheEnginesRequestIdAndTheSameBody) {
    for (const std::int16_t version : {2, 3}) {
        const taf::Bytes reply = Frame(version, 99, taf::kResponseAttribute);
        const auto answer =
            RoundTrip(Frame(version, 7, taf::kRequestAttribute), sim::Reply::Raw(reply));
        ASSERT_TRUE(answer) << version;
        // The server's frame with the engine's request id: nothing else of it changes.
        EXPECT_EQ(answer->vData, Frame(version, 7, taf::kResponseAttribute)) << version;
    }
}

TEST_F(PassThrough, RepliesThatAreNotFramesReachTheEngineAsReceived) {
    const taf::Bytes request = Frame(2, 7, taf::kRequestAttribute);
    const taf::Bytes notFrames[] = {{0x01, 0x02, 0x03}, {0x00, 0x00, 0x00, 0x05, 0x10}};
    for (const auto& reply : notFrames) {
        const auto answer = RoundTrip(request, sim::Reply::Raw(reply));
        ASSERT_TRUE(answer);
        EXPECT_EQ(answer->vData, reply);
    }
    const auto timedOut = RoundTrip(request, sim::Reply::TimeOut());
    ASSERT_TRUE(timedOut);
    EXPECT_TRUE(timedOut->vData.empty());
}

TEST_F(PassThrough, APayloadWithoutAFrameIsRefusedAtEncoding) {
    running.engine.Send(FromEngine::kPassThroughRequest, taf::Bytes{});
    auto task = NextRequest(running);
    ASSERT_TRUE(task);
    EXPECT_FALSE(task->Request().encoded);
    EXPECT_TRUE(task->Request().frame.empty());
}

}  // namespace
