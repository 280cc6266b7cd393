// Audio through the real library, where the audio scenario's trace does not reach: stops while
// the host's audio thread calls. The scenarios without the audio service run the plug-in
// without one.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <thread>
#include <vector>

#include "live/audio_send_queue.h"
#include "support/running_plugin.h"

namespace {

using kinetra::ToEngine;
using testing_support::RunningPlugin;
constexpr std::uint32_t kBlocksPerEpisode = 40;
constexpr std::size_t kQueued = kinetra::AudioSendQueue::kQueuedBlocks;

sim::AudioDelivery Calls(std::uint32_t frames, std::uint32_t calls, std::int32_t kind = 2) {
    sim::AudioDelivery delivery;
    delivery.frames = frames;
    delivery.calls = calls;
    delivery.kind = kind;
    delivery.toneHz = 440;
    return delivery;
}

// The instance stops and starts while the host's audio thread keeps calling: whatever the
// thread delivers after Stop returns sends nothing.
TEST(AudioTransferThroughTheLibrary, StopAndStartWhileAudioStreams) {
    RunningPlugin running;
    auto& audio = running.host.Audio();
    for (int round = 0; round < 20; ++round) {
        audio.Deliver(Calls(480, 8));
        audio.Deliver(Calls(480, 8));
        running.instance->Stop();
        const auto sent = running.engine.CountReceived(ToEngine::kAudioData);
        audio.Deliver(Calls(480, 8));
        ASSERT_TRUE(audio.WaitIdle());
        ASSERT_EQ(running.engine.CountReceived(ToEngine::kAudioData), sent) << "round " << round;
        running.instance->Start();
    }
    audio.Deliver(Calls(480, 8));
    ASSERT_TRUE(audio.WaitIdle());
    // The sender looks for blocks every few milliseconds, so the last ones arrive a little later.
    EXPECT_TRUE(running.engine.WaitFor(ToEngine::kAudioData).has_value());
}

// The counts of the log's lines about dropped audio blocks.
std::vector<std::size_t> DropLines(const testing_support::PluginLog& log) {
    std::vector<std::size_t> counts;
    const std::regex drop(".* dropped ([0-9]+) blocks, oldest first");
    for (const auto& line : log.Read().lines) {
        std::smatch match;
        if (std::regex_match(line.text, match, drop)) {
            counts.push_back(std::stoul(match[1]));
        }
    }
    return counts;
}

// An engine that stops reading makes the channel's send wait. The host's audio thread goes on
// through every call all the same (a held call would never let the delivery end); what
// reaches the engine once it reads again is the block the sender had in hand and the newest
// queued ones, and each episode is one log line with its count, not one per block.
TEST(AudioTransferThroughTheLibrary, AnEngineThatStopsReadingHoldsNoAudioCall) {
    RunningPlugin running;
    auto& audio = running.host.Audio();
    for (std::size_t episode = 1; episode <= 2; ++episode) {
        running.engine.SetReading(false);
        audio.Deliver(Calls(1024, kBlocksPerEpisode));
        ASSERT_TRUE(audio.WaitIdle()) << "the audio thread was held, episode " << episode;
        running.engine.SetReading(true);
        // The line comes once the sender has caught up, which ends the episode.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (DropLines(running.log).size() < episode &&
               std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    running.instance->Stop();
    const std::size_t received = running.engine.CountReceived(ToEngine::kAudioData);
    running.plugin.Unload();

    const auto counts = DropLines(running.log);
    ASSERT_EQ(counts.size(), 2u);
    for (const std::size_t count : counts) {
        // The sender held one block or none when the engine stopped reading.
        EXPECT_GE(count, kBlocksPerEpisode - kQueued - 1);
        EXPECT_LE(count, kBlocksPerEpisode - kQueued);
    }
    EXPECT_EQ(received + counts[0] + counts[1], 2 * kBlocksPerEpisode);
}

}  // namespace
