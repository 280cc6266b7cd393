// Request tasks driven the way the host drives them, through the simulated signal service in
// step mode: encoding, identity filling, the codes and response a callback sees.
#include "signal/taf_task.h"

#include <gtest/gtest.h>

#include <optional>
#include <stdexcept>

#include "host/sim_host.h"
#include "signal/taf_task_no_rsp.h"
#include "support/hex.h"
#include "taf/request_records.h"

namespace Meru {
namespace {

using test::LateIdReq;
using test::PingReq;
using test::PingRsp;

// What a callback saw, when it ran.
struct Seen {
    SignalErrorHelper error;
    PingRsp response;
};

class TafTaskTest : public ::testing::Test {
protected:
    TafTaskTest() : host(Answers()) {}

    static sim::HostAnswers Answers() {
        sim::HostAnswers answers;
        answers.uid = 1234567890123;
        answers.guid = "guid-1";
        answers.ua = "agent/2";
        answers.token = "token-3";
        answers.tokenType = 4;
        return answers;
    }

    template <class Task>
    sim::PendingTask Send(Task* task) {
        host.Signal().SendTask(task);
        auto pending = host.Signal().TakeTask();
        EXPECT_TRUE(pending.has_value());
        return std::move(*pending);
    }

    TafTask<PingReq, PingRsp>::Callback Recorder() {
        return [this](const SignalErrorHelper* error, PingRsp* response) {
            seen = Seen{*error, *response};
        };
    }

    sim::SimHost host;
    std::optional<Seen> seen;
};

const PingRsp kAnswer{5, "pong", {{1, "x"}}};

TEST_F(TafTaskTest, CallbackSeesTheHostsCodesAndTheDecodedReply) {
    const PingRsp defaults;
    const struct {
        const char* what;
        sim::Reply reply;
        std::int32_t resultCode, errCode, serverResult;
        PingRsp response;
    } cases[] = {
        {"reply", sim::Reply::Of(7, kAnswer), 0, 0, 7, kAnswer},
        {"reply of fields under an unknown type", sim::Reply::Fields(8, taf::toBytes(kAnswer)), 0,
         0, 8, kAnswer},
        {"time-out", sim::Reply::TimeOut(), -1, -1, -1, defaults},
        {"first code 0 without bytes", sim::Reply::Raw({}, 0, 0), 0, 0, -1, defaults},
        {"bytes with a non-zero first code", sim::Reply::Raw(test::Hex("00 00 00 04"), 5, 0), 5, 0,
         -1, defaults},
        {"truncated frame", sim::Reply::Raw(test::Hex("00 00 00 09 10 02 4c 56 05"), 0, 0), 0, 0, 0,
         defaults},
    };
    for (const auto& c : cases) {
        seen.reset();
        auto pending = Send(new TafTask<PingReq, PingRsp>({}, {"s", "f"}, Recorder()));
        EXPECT_TRUE(pending.Answer(c.reply)) << c.what;
        ASSERT_TRUE(seen.has_value()) << c.what;
        EXPECT_EQ(seen->error.resultCode, c.resultCode) << c.what;
        EXPECT_EQ(seen->error.errCode, c.errCode) << c.what;
        EXPECT_EQ(seen->error.serverResult, c.serverResult) << c.what;
        EXPECT_EQ(seen->response, c.response) << c.what;
    }
}

TEST_F(TafTaskTest, TaskWithoutCallbackIsSentButIgnoresItsReply) {
    auto pending = Send(new TafTask<PingReq, PingRsp>({}, {"s", "f"}, nullptr));
    EXPECT_TRUE(pending.Request().encoded);
    EXPECT_FALSE(pending.Answer(sim::Reply::Of(0, kAnswer)));
    EXPECT_EQ(host.Calls().Count("SignalTafTask::Release"), 1u);

    auto noRsp = Send(new TafTaskNoRsp<PingReq>({}, {"s", "f"}, nullptr));
    EXPECT_FALSE(noRsp.Answer(sim::Reply::Of(0, kAnswer)));
}

TEST_F(TafTaskTest, NoResponseTasksReportTheReturnValue) {
    std::optional<SignalErrorHelper> error;
    auto pending = Send(new TafTaskNoRspWithTid<PingReq>(
        {}, {"wupui", "setLiveTag"}, [&](const SignalErrorHelper* e) { error = *e; }));
    EXPECT_EQ(pending.Request().path, "/wupui/setLiveTag");
    EXPECT_TRUE(pending.Answer(sim::Reply::Of(-3, kAnswer)));
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(error->serverResult, -3);
    EXPECT_EQ(error->resultCode, 0);
}

TEST_F(TafTaskTest, FrameCarriesTheAddressOptionsAndRequestAndNeedsAServant) {
    PingReq request;
    request.sText = "ping";
    auto pending =
        Send(new TafTask<PingReq, PingRsp>(request, {"mobileui", "getMobileUpdateInfo"}, {}));
    const sim::SentRequest& sent = pending.Request();
    EXPECT_EQ(sent.path, "/mobileui/getMobileUpdateInfo");
    EXPECT_EQ(std::vector(std::begin(sent.options), std::end(sent.options)),
              (std::vector<std::uint32_t>{3000, 1, 3, 3}));
    EXPECT_EQ(sent.packet.sServantName, "mobileui");
    EXPECT_EQ(sent.packet.sFuncName, "getMobileUpdateInfo");
    EXPECT_EQ(sent.packet.iRequestId, 0);
    EXPECT_EQ(sent.requestType, "MERU.PingReq");
    PingReq decoded;
    ASSERT_TRUE(sent.RequestAs(decoded));
    EXPECT_EQ(decoded.sText, "ping");
    EXPECT_EQ(decoded.tId, MERU::UserId{}) << "a plain task fills no identity";

    auto unaddressed = Send(new TafTask<PingReq, PingRsp>({}, {"", "f"}, {}));
    EXPECT_FALSE(unaddressed.Request().encoded);
    EXPECT_TRUE(unaddressed.Request().frame.empty());
}

MERU::UserId CallersIdentity() {
    return {1, "caller guid", "caller token", "caller agent", "cookie", 9, "device"};
}

TEST_F(TafTaskTest, WithTidTasksFillTheIdentityFromTheHost) {
    PingReq ping;
    ping.tId = CallersIdentity();
    LateIdReq late;
    late.tId = CallersIdentity();

    auto plain = Send(new TafTaskWithTid<PingReq, PingRsp>(ping, {"s", "f"}, {}));
    auto customUa = Send(new TafTaskWithTidAndCustomFillUA<PingReq, PingRsp>(ping, {"s", "f"}, {}));
    auto noRsp = Send(new TafTaskNoRspWithTid<LateIdReq>(late, {"s", "f"}, {}));

    const MERU::UserId filled{1234567890123, "guid-1", "token-3", "agent/2", "cookie", 4, "device"};
    MERU::UserId keptUa = filled;
    keptUa.sUA = "caller agent";
    PingReq decoded;
    ASSERT_TRUE(plain.Request().RequestAs(decoded));
    EXPECT_EQ(decoded.tId, filled);
    ASSERT_TRUE(customUa.Request().RequestAs(decoded));
    EXPECT_EQ(decoded.tId, keptUa);
    LateIdReq decodedLate;
    ASSERT_TRUE(noRsp.Request().RequestAs(decodedLate));
    EXPECT_EQ(decodedLate.tId, filled) << "the identity is found at tag 1 too";
}

TEST_F(TafTaskTest, IdentityIsAskedForInTheHostsOrder) {
    Send(new TafTaskWithTid<PingReq, PingRsp>({}, {"s", "f"}, {}));
    std::vector<std::string> asked;
    for (const auto& call : host.Calls().Calls()) {
        asked.push_back(call.name);
    }
    const std::vector<std::string> expected = {
        "ISignalService::SendTask", "ISignalService::GetAccount",   "IAccount::GetAccountInfo",
        "ISignalService::GetGuid",  "ISignalService::GetUserAgent", "ISignalService::GetAccount",
        "IAccount::GetUid",         "SignalTafTask::Encode",        "SignalTafTask::Release",
    };
    EXPECT_EQ(asked, expected);
}

TEST_F(TafTaskTest, NothingThrownLeavesASlot) {
    auto pending =
        Send(new TafTask<PingReq, PingRsp>({}, {"s", "f"}, [](const SignalErrorHelper*, PingRsp*) {
            throw std::runtime_error("callback failed");
        }));
    EXPECT_NO_THROW(pending.Answer(sim::Reply::Of(0, kAnswer)));
    EXPECT_EQ(host.Calls().Count("SignalTafTask::Release"), 1u);
}

}  // namespace
}  // namespace Meru
