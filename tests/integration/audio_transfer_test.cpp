// Audio through the real library, where the audio scenario's trace does not reach: stops while
// the host's audio thread calls. The scenarios without the audio service run the plug-in
// without one.
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
