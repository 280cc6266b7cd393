// The change-type timer through the real library. Its timer runs inside the loaded library,
// out of reach of the project's test clock, so these tests take real seconds: they wait for
// events with deadlines and check when the requests reached the servers.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "integration/live_support.h"
#include "support/running_plugin.h"
#include "taf/records/live_messages.h"

namespace {

using kinetra::FromEngine;
using MeruKinetra::OpenStateMsg;
using std::chrono::milliseconds;
using steady = std::chrono::steady_clock;
using testing_support::RunningPlugin;

// How far a run may stray from its nominal time: pool scheduling and sanitizer slowness.
constexpr milliseconds kSlack{700};

struct Request {
    milliseconds at;
    std::string what;  // "1" or "0" for setLiveTag, "viewer" for transMsgToViewer
};

// Every live-tag and viewer request the servers receive, with its time since the start.
class ServerClock {
public:
    explicit ServerClock(RunningPlugin& running)
        : mSignal(running.host.Signal()), mStart(steady::now()) {
        mSignal.SetObserver([this](const sim::ServerTraffic& traffic) {
            if (traffic.kind != sim::ServerTraffic::Kind::request) {
                return;
            }
            std::string what;
            MERU::SetLiveAttributeReq tags;
            if (traffic.request.servantName == taf::kSetLiveTag.servant &&
                traffic.request.RequestAs(tags) && tags.mpTags.count("sorvane3d") == 1) {
                const auto& value = tags.mpTags.at("sorvane3d").vValue;
                what.assign(value.begin(), value.end());
            } else if (traffic.request.functionName == taf::kTransMsgToViewer.function) {
                what = "viewer";
            } else {
                return;
            }
            std::lock_guard lock(mMutex);
            mRequests.push_back({Since(), what});
            mChanged.notify_all();
        });
        mSignal.StartAutomatic({milliseconds(0), milliseconds(1)});
    }
    // The plug-in outlives the clock: its stop still sends requests.
    ~ServerClock() {
        mSignal.SetObserver(nullptr);
        mSignal.WaitIdle(std::chrono::seconds(30));
    }

    milliseconds Since() const {
        return std::chrono::duration_cast<milliseconds>(steady::now() - mStart);
    }
    void SleepUntil(milliseconds at) const { std::this_thread::sleep_until(mStart + at); }
    // Waits until `count` requests of `what` came; false after a generous deadline.
    bool WaitFor(const std::string& what, std::size_t count) {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::seconds(30), [&] {
            return std::count_if(mRequests.begin(), mRequests.end(), [&](const Request& r) {
                       return r.what == what;
                   }) >= static_cast<std::ptrdiff_t>(count);
        });
    }
    std::vector<Request> Requests() const {
        std::lock_guard lock(mMutex);
        return mRequests;
    }

private:
    sim::SimSignalService& mSignal;
    const steady::time_point mStart;
    mutable std::mutex mMutex;
    std::condition_variable mChanged;
    std::vector<Request> mRequests;
};

void ExpectNear(milliseconds at, milliseconds nominal) {
    EXPECT_GE(at, nominal - milliseconds(50));
    EXPECT_LE(at, nominal + kSlack);
}

TEST(ChangeTypeTimer, RunsFiveSecondsAfterTheLatestOpenWhileLive) {
    RunningPlugin running(live_test::LiveHost());
    ServerClock clock(running);
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{1, 3});
    clock.SleepUntil(milliseconds(3000));
    const milliseconds second = clock.Since();
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{1, 3});
    ASSERT_TRUE(clock.WaitFor("viewer", 2));
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{0, 0});
    ASSERT_TRUE(clock.WaitFor("0", 1));

    const auto requests = clock.Requests();
    ASSERT_EQ(requests.size(), 5u);
    // Each run: the tags with "1", then the viewers; 5 s after the second open, then 5 s
    // after the end of that run; the close clears the tags.
    const char* expected[] = {"1", "viewer", "1", "viewer", "0"};
    for (std::size_t i = 0; i < requests.size(); ++i) {
        EXPECT_EQ(requests[i].what, expected[i]) << i;
    }
    ExpectNear(requests[0].at, second + milliseconds(5000));
    ExpectNear(requests[2].at, requests[1].at + milliseconds(5000));
}

TEST(ChangeTypeTimer, ARunWhileNotLiveSendsNothingAndNoneFollowsAClose) {
    sim::HostAnswers notLive = live_test::LiveHost();
    notLive.liveId = 0;
    RunningPlugin running(notLive);
    ServerClock clock(running);
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{1, 3});
    clock.SleepUntil(milliseconds(5000) + kSlack);
    EXPECT_TRUE(clock.Requests().empty());
    // The next run checks again.
    running.host.Live().RaiseLiveStarted();
    ASSERT_TRUE(clock.WaitFor("viewer", 1));
    const milliseconds closedAt = clock.Since();
    running.engine.Send(FromEngine::kOpenState, OpenStateMsg{0, 0});
    clock.SleepUntil(closedAt + milliseconds(5000) + kSlack);

    const auto requests = clock.Requests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].what, "1");
    ExpectNear(requests[0].at, milliseconds(10000));
    EXPECT_EQ(requests[1].what, "viewer");
    EXPECT_EQ(requests[2].what, "0");
}

}  // namespace
