// The simulated signal service: automatic answers and pushes on its own thread, step mode,
// and shutdown with tasks still held.
#include "host/sim_signal_service.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "signal/signal_push.h"
#include "signal/taf_task.h"
#include "taf/request_records.h"

namespace sim {
namespace {

using namespace std::chrono_literals;
using test::PingReq;
using test::PingRsp;
using Task = Meru::TafTask<PingReq, PingRsp>;

constexpr auto kPatience = 60s;

// What the callbacks saw, from whichever thread ran them.
struct Outcomes {
    std::mutex mutex;
    std::set<std::thread::id> threads;
    int answered = 0;
    int timedOut = 0;

    void Record(const Meru::SignalErrorHelper& error, const PingRsp& response) {
        std::lock_guard lock(mutex);
        threads.insert(std::this_thread::get_id());
        if (error.errCode == Meru::kTimedOut) {
            ++timedOut;
        } else if (error.serverResult == 1 && response.sText == "pong") {
            ++answered;
        }
    }
};

class SimSignalServiceTest : public ::testing::Test {
protected:
    // Traffic as the observer saw it, in order: 'q' request, 'r' reply, 't' time-out, 'p' push.
    std::string Traffic() {
        std::lock_guard lock(trafficMutex);
        return traffic;
    }
    void Observe() {
        service.SetObserver([this](const ServerTraffic& t) {
            std::lock_guard lock(trafficMutex);
            traffic += t.kind == ServerTraffic::Kind::request ? 'q'
                       : t.kind == ServerTraffic::Kind::push  ? 'p'
                       : t.reply.kind == Reply::Kind::timeout ? 't'
                                                              : 'r';
        });
    }

    HostState state{HostAnswers{}};
    std::mutex trafficMutex;
    std::string traffic;
    Outcomes outcomes;
    // Last, so that its thread ends before what its callbacks touch goes away.
    SimSignalService service{state};

    Task* NewTask(const std::string& function) {
        return new Task({}, {"s", function}, [this](const auto* error, PingRsp* response) {
            outcomes.Record(*error, *response);
        });
    }
};

TEST_F(SimSignalServiceTest, AutomaticServerAnswersEveryTaskOnItsOwnThread) {
    Observe();
    service.SetReply("s", "ping", Reply::Of(1, PingRsp{0, "pong", {}}));
    service.SendTask(NewTask("ping"));  // waiting from before the server starts
    service.StartAutomatic({1ms, 20ms});

    constexpr int kSenders = 4;
    constexpr int kTasksEach = 10;
    std::vector<std::thread> senders;
    for (int sender = 0; sender < kSenders; ++sender) {
        senders.emplace_back([&] {
            for (int i = 0; i < kTasksEach; ++i) {
                service.SendTask(NewTask(i % 2 == 0 ? "ping" : "unknown"));
            }
        });
    }
    for (auto& sender : senders) {
        sender.join();
    }
    ASSERT_TRUE(service.WaitIdle(kPatience));

    std::lock_guard lock(outcomes.mutex);
    EXPECT_EQ(outcomes.answered, 1 + kSenders * kTasksEach / 2);
    EXPECT_EQ(outcomes.timedOut, kSenders * kTasksEach / 2);
    ASSERT_EQ(outcomes.threads.size(), 1u);
    EXPECT_NE(*outcomes.threads.begin(), std::this_thread::get_id());
    const std::string seen = Traffic();
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 'q'), 1 + kSenders * kTasksEach);
    int unanswered = 0;
    for (const char kind : seen) {
        unanswered += kind == 'q' ? 1 : -1;
        ASSERT_GE(unanswered, 0) << "a reply before its request: " << seen;
    }
    EXPECT_EQ(unanswered, 0);
    EXPECT_EQ(service.PendingTasks(), 0u);
}

TEST_F(SimSignalServiceTest, CallbacksMaySendFollowUpRequests) {
    service.SetReply("s", "first", Reply::Of(1, PingRsp{0, "pong", {}}));
    service.SetReply("s", "second", Reply::Of(1, PingRsp{0, "pong", {}}));
    service.StartAutomatic({0ms, 20ms});
    service.SendTask(new Task({}, {"s", "first"}, [this](const auto* error, PingRsp* response) {
        outcomes.Record(*error, *response);
        service.SendTask(NewTask("second"));
    }));
    ASSERT_TRUE(service.WaitIdle(kPatience));
    std::lock_guard lock(outcomes.mutex);
    EXPECT_EQ(outcomes.answered, 2);
}

TEST_F(SimSignalServiceTest, PushesReachEverySubscriberOnTheServiceThread) {
    Observe();
    std::atomic<int> typed{0};
    std::atomic<int> raw{0};
    std::thread::id deliveredOn;
    Meru::SignalPushFactory<PingRsp> first([&](PingRsp& push) {
        deliveredOn = std::this_thread::get_id();
        typed += push.iCode;
    });
    Meru::SignalPushFactory<PingRsp> second([&](PingRsp& push) { typed += push.iCode; });
    Meru::SignalPushFactory<taf::Bytes> other(6501, [&](const taf::Bytes& bytes, std::int32_t) {
        raw += static_cast<int>(bytes.size());
    });
    service.AddPushHandler(1400, &first);
    service.AddPushHandler(1400, &second);
    service.AddPushHandler(6501, &other);

    service.Push(1400, PingRsp{10, "", {}});
    service.Push(6501, taf::Bytes{1, 2, 3});
    service.Push(1, taf::Bytes{1});
    ASSERT_TRUE(service.WaitIdle(kPatience));
    service.RemovePushHandler(1400, &first);
    service.Push(1400, PingRsp{1, "", {}});
    ASSERT_TRUE(service.WaitIdle(kPatience));

    EXPECT_EQ(typed, 10 + 10 + 1);
    EXPECT_EQ(raw, 3);
    EXPECT_NE(deliveredOn, std::this_thread::get_id());
    EXPECT_EQ(Traffic(), "pppp");
    EXPECT_EQ(state.Calls().Count("SignalNotify::Release"), 4u);
}

TEST_F(SimSignalServiceTest, ShutdownReleasesHeldTasksUnansweredAndLaterOnesAtOnce) {
    auto owner = std::make_shared<int>(0);
    const auto holding = [&owner](const std::string& function) {
        return new Task({}, {"s", function}, [owner](const auto*, PingRsp*) { ++*owner; });
    };
    service.SendTask(holding("waiting"));
    service.StartAutomatic({0ms, 1h});
    service.SendTask(holding("in flight"));
    EXPECT_EQ(service.PendingTasks(), 2u);

    service.Shutdown();
    service.SendTask(holding("late"));
    EXPECT_EQ(service.PendingTasks(), 0u);
    EXPECT_EQ(owner.use_count(), 1) << "every task and its callback are gone";
    EXPECT_EQ(*owner, 0) << "no callback ran";
    EXPECT_EQ(state.Calls().Count("SignalTafTask::Release"), 3u);
}

}  // namespace
}  // namespace sim
