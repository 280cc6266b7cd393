// A released task of a shelved kind comes back for the next request as a fresh one would be:
// the new address, request and callback, nothing of the last reply.
#include "signal/task_shelf.h"

#include <gtest/gtest.h>

#include <optional>
#include <thread>
#include <vector>

#include "host/sim_host.h"
#include "signal/taf_task.h"
#include "taf/request_records.h"

namespace Meru {
namespace {

using test::PingReq;
using test::PingRsp;
using Shelf = Shelved<TafTask<PingReq, PingRsp>>;

TEST(TaskShelf, AReleasedTaskComesBackAsAFreshOne) {
    sim::SimHost host(sim::HostAnswers{});
    std::optional<PingRsp> seen;
    const auto record = [&seen](const SignalErrorHelper*, PingRsp* response) { seen = *response; };

    PingReq first;
    first.sText = std::string(40, 'a');
    auto task = Shelf::Take("servant-one", "function-one", first, record);
    Shelf* const kept = task.get();
    host.Signal().SendTask(task.release());
    host.Signal().TakeTask()->Answer(sim::Reply::Of(0, PingRsp{3, "pong", {{1, "x"}}}));
    ASSERT_TRUE(seen.has_value());

    PingReq second;
    second.sText = "b";
    seen.reset();
    auto again = Shelf::Take("s2", "f2", second, record);
    EXPECT_EQ(again.get(), kept);
    EXPECT_STREQ(again->GetPath(), "/s2/f2");
    EXPECT_EQ(again->Req().sText, "b");
    EXPECT_EQ(again->GetDataSize(), 0u);
    host.Signal().SendTask(again.release());
    host.Signal().TakeTask()->Answer(sim::Reply::TimeOut());
    ASSERT_TRUE(seen.has_value());
    EXPECT_EQ(*seen, PingRsp{});
}

// Tasks are taken on the channel's thread and released on the host's: a task is never handed
// to two holders at once, and what one holder wrote is all the next one finds.
TEST(TaskShelf, TasksTakenAndReleasedOnSeveralThreadsHaveOneHolderEach) {
    const auto ignore = [](const SignalErrorHelper*, PingRsp*) {};
    std::vector<std::thread> threads;
    std::atomic<int> clashes{0};
    for (int id = 0; id < 4; ++id) {
        threads.emplace_back([&, id] {
            PingReq request;
            request.sText = std::string(20, static_cast<char>('a' + id));
            for (int i = 0; i < 2000; ++i) {
                auto task = Shelf::Take("s", "f", request, ignore);
                std::this_thread::yield();
                clashes += task->Req().sText == request.sText ? 0 : 1;
                task.release()->Release();
            }
        });
    }
    for (auto& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(clashes.load(), 0);
}

}  // namespace
}  // namespace Meru
