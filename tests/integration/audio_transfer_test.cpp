// Audio through the real library, where the audio scenario's trace does not reach: a host
// without the service, and stops while the host's audio thread calls.
#include <gtest/gtest.h>

#include "support/running_plugin.h"

namespace {

using kinetra::ToEngine;
using testing_support::RunningPlugin;

sim::AudioDelivery Calls(std::uint32_t frames, std::uint32_t calls, std::int32_t kind = 2) {
    sim::AudioDelivery delivery;
    delivery.frames = frames;
    delivery.calls = calls;
    delivery.kind = kind;
    delivery.toneHz = 440;
    return delivery;
}

TEST(AudioTransferThroughTheLibrary, SendsNothingWithoutAnAudioService) {
    RunningPlugin running({}, {sim::ServiceKind::audio});
    running.host.Audio().Deliver(Calls(1024, 4));
    ASSERT_TRUE(running.host.Audio().WaitIdle());
    ASSERT_TRUE(running.engine.WaitIdle());
    EXPECT_EQ(running.engine.CountReceived(ToEngine::kAudioData), 0u);
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
    EXPECT_GT(running.engine.CountReceived(ToEngine::kAudioData), 0u);
}

}  // namespace
