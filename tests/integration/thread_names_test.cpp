// The threads the plug-in starts, as a host's profiler or debugger lists them.
#include <gtest/gtest.h>

#include <chrono>
#include <set>
#include <string>
#include <thread>

#include "host/process_probe.h"
#include "support/running_plugin.h"
#include "taf/records/live_messages.h"

namespace {

using kinetra::FromEngine;

// On air with audio flowing every kind of thread of ours runs: the log's writer, the audio
// sender and a timer thread for the tag refresh. Each says whose it is and what it does.
TEST(PluginThreads, EachSaysWhoseItIsAndWhatItDoes) {
    if (sim::ProcessThreads().empty()) {
        GTEST_SKIP() << "this system does not list threads with their names and waits";
    }
    testing_support::RunningPlugin running;
    running.engine.Send(FromEngine::kOpenState, MeruKinetra::OpenStateMsg{1, 3});
    ASSERT_TRUE(running.engine.WaitIdle());

    // A thread names itself as it begins to run, which on a busy machine can take a while.
    const std::set<std::string> expected{"kinetra-audio", "kinetra-log", "kinetra-timer"};
    std::set<std::string> ours;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (ours != expected && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
        ours.clear();
        for (const auto& thread : sim::ProcessThreads()) {
            if (thread.name.starts_with("kinetra-")) {
                ours.insert(thread.name);
            }
        }
    }
    EXPECT_EQ(ours, expected);
}

}  // namespace
