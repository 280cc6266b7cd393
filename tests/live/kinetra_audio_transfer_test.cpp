// The audio transfer inside the test process: a fake audio service drives it, and its blocks
// go to a test context that keeps what is sent to the engine.
#include "live/kinetra_audio_transfer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "support/manual_timer_source.h"
#include "support/test_context.h"
#include "taf/codec.h"

namespace {

using kinetra::KinetraAudioTransfer;
using kinetra::ToEngine;
using service_plugin::AudioFrame;

constexpr std::uint32_t kRate = 44100;

// Answers the format and counts registrations; unlike a careful host, it does not wait for a
// call in hand when a listener leaves, so the transfer's own guarantee is what is tested.
class FakeAudioService : public service_plugin::IAudioService {
public:
    void AddAudioEvent(service_plugin::IAudioServiceEvent* listener, std::int32_t kind,
                       std::int32_t flags) override {
        listener_ = listener;
        registrations.push_back({kind, flags});
    }
    void RemoveAudioEvent(service_plugin::IAudioServiceEvent* listener) override {
        EXPECT_EQ(listener, listener_);
        ++removals;
    }
    void GetAudioFormat(service_plugin::AudioFormat* out) override {
        ++formatReads;
        *out = format;
    }

    service_plugin::AudioFormat format{kRate, 2};
    std::vector<std::pair<std::int32_t, std::int32_t>> registrations;
    int removals = 0;
    int formatReads = 0;

private:
    service_plugin::IAudioServiceEvent* listener_ = nullptr;
};

// Frame f carries k = f mod 30000 as +k in plane 0 and -k in plane 1 (half a step off, so the
// truncation lands on k whatever the rounding of the product).
class AudioSource {
public:
    AudioFrame Next(std::uint32_t frames) {
        plane0_.resize(frames);
        plane1_.resize(frames);
        for (std::uint32_t i = 0; i < frames; ++i, ++frame_) {
            const float value = (static_cast<float>(frame_ % 30000) + 0.5f) / 32767.0f;
            plane0_[i] = value;
            plane1_[i] = -value;
        }
        AudioFrame frame;
        frame.planes[0] = plane0_.data();
        frame.planes[1] = plane1_.data();
        frame.samples = frames;
        return frame;
    }

private:
    std::vector<float> plane0_;
    std::vector<float> plane1_;
    std::uint64_t frame_ = 0;
};

class AudioTransfer : public testing::Test {
protected:
    void SetUp() override { transfer.Init(&service, context); }

    void Feed(std::uint32_t frames, std::int32_t kind = KinetraAudioTransfer::kAudioKind) {
        const AudioFrame frame = source.Next(frames);
        transfer.OnAudioData(&frame, kind);
    }
    std::size_t Blocks() const { return context->Sent().size(); }
    MeruKinetra::AudioFrameMsg Block(std::size_t index) const {
        MeruKinetra::AudioFrameMsg block;
        EXPECT_EQ(context->Sent().at(index).first, ToEngine::kAudioData);
        EXPECT_EQ(taf::fromBytes(context->Sent().at(index).second, block), taf::kOk);
        return block;
    }
    // The blocks sent once the sender has sent what is queued; listens again afterwards (the
    // partial block stays).
    std::size_t SentBlocks() {
        transfer.Unit();
        const std::size_t sent = Blocks();
        transfer.Init(&service, context);
        return sent;
    }

    // Every block received holds the frames in order, from the first frame fed.
    void ExpectBlocksInOrder() {
        std::uint64_t frame = 0;
        for (std::size_t index = 0; index < Blocks(); ++index) {
            const MeruKinetra::AudioFrameMsg block = Block(index);
            EXPECT_EQ(block.iSampleRate, static_cast<std::int32_t>(kRate));
            ASSERT_EQ(block.sPcm.size(), KinetraAudioTransfer::kBlockFrames * 4);
            for (std::size_t i = 0; i < block.sPcm.size(); i += 4, ++frame) {
                const auto byte = [&](std::size_t at) {
                    return static_cast<std::uint8_t>(block.sPcm[i + at]);
                };
                const auto left = static_cast<std::int16_t>(byte(0) | byte(1) << 8);
                const auto right = static_cast<std::int16_t>(byte(2) | byte(3) << 8);
                const auto k = static_cast<std::int16_t>(frame % 30000);
                if (left != k || right != -k) {
                    FAIL() << "frame " << frame << " holds " << left << ", " << right;
                }
            }
        }
    }

    sim::SimHost host;
    testing_support::ManualTimerSource clock;
    std::shared_ptr<testing_support::TestContext> context =
        std::make_shared<testing_support::TestContext>(host, clock);
    FakeAudioService service;
    KinetraAudioTransfer transfer;
    AudioSource source;
};

struct FillCase {
    const char* name;
    std::vector<std::uint32_t> calls;
    std::size_t blocks;
    // Frames the partial block still takes before it is sent.
    std::uint32_t room;
};

class AudioTransferFill : public AudioTransfer, public testing::WithParamInterface<FillCase> {};

TEST_P(AudioTransferFill, SendsEveryFullBlockAndKeepsTheRest) {
    for (const auto frames : GetParam().calls) {
        Feed(frames);
    }
    EXPECT_EQ(SentBlocks(), GetParam().blocks);
    Feed(GetParam().room - 1);
    EXPECT_EQ(SentBlocks(), GetParam().blocks);
    Feed(1);
    EXPECT_EQ(SentBlocks(), GetParam().blocks + 1);
    ExpectBlocksInOrder();
}

INSTANTIATE_TEST_SUITE_P(Calls, AudioTransferFill,
                         testing::Values(FillCase{"OneShortOfABlock", {1023}, 0, 1},
                                         FillCase{"ExactlyOneBlock", {1024}, 1, 1024},
                                         FillCase{"TwoCallsOf480", {480, 480}, 0, 64},
                                         FillCase{"FiveThousandInOneCall", {5000}, 4, 120},
                                         FillCase{"EmptyCalls", {0, 0}, 0, 1024}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST_F(AudioTransfer, IgnoresWhatItCannotOrNeedNotConvert) {
    transfer.OnAudioData(nullptr, KinetraAudioTransfer::kAudioKind);
    Feed(2048, 3);
    Feed(2048, 0);
    AudioFrame missingPlane = source.Next(2048);
    missingPlane.planes[1] = nullptr;
    transfer.OnAudioData(&missingPlane, KinetraAudioTransfer::kAudioKind);
    transfer.Unit();
    EXPECT_EQ(Blocks(), 0u);

    service.format.second = KinetraAudioTransfer::kUnsupportedFormatSecond;
    transfer.Init(&service, context);
    Feed(2048);
    transfer.Unit();
    EXPECT_EQ(Blocks(), 0u);

    transfer.Init(nullptr, context);
    Feed(2048);
    transfer.Unit();
    EXPECT_EQ(Blocks(), 0u);
    EXPECT_EQ(service.registrations.size(), 2u);
}

TEST_F(AudioTransfer, PartialBlockOutlivesUnitAndInit) {
    Feed(1000);
    transfer.Unit();
    transfer.Unit();
    EXPECT_EQ(service.removals, 1) << "a second Unit has nothing to remove";
    Feed(1000);  // a late call from the host: not taken
    transfer.Init(&service, context);
    Feed(24);
    transfer.Unit();
    EXPECT_EQ(Blocks(), 1u);
    EXPECT_EQ(service.formatReads, 2);
    // The late call's frames were dropped: the block holds frames 0-999 and then 2000-2023.
    EXPECT_EQ(static_cast<std::uint8_t>(Block(0).sPcm[1000 * 4]), 2000 % 256);
}

TEST_F(AudioTransfer, DropsBlocksOnceTheOwnerIsGone) {
    // An owner whose last reference goes while the context it names stays readable here.
    std::shared_ptr<kinetra::PluginContext> owner(std::make_shared<int>(), context.get());
    transfer.Unit();
    transfer.Init(&service, owner);
    owner.reset();
    Feed(5000);
    transfer.Unit();
    EXPECT_EQ(Blocks(), 0u);
}

// Audio keeps arriving on its own thread while the transfer stops and starts. After each Unit
// the count of blocks may not grow, although the service goes on calling.
TEST_F(AudioTransfer, NoBlockAfterUnitReturnsWhileAudioStreams) {
    std::atomic<bool> running{true};
    std::atomic<std::uint64_t> calls{0};
    std::thread audio([&] {
        AudioSource own;
        while (running) {
            const AudioFrame frame = own.Next(480);
            transfer.OnAudioData(&frame, KinetraAudioTransfer::kAudioKind);
            ++calls;
        }
    });
    const auto callsAfter = [&](std::uint64_t more) {
        const auto target = calls.load() + more;
        while (calls.load() < target) {
            std::this_thread::yield();
        }
    };
    for (int round = 0; round < 30; ++round) {
        callsAfter(3);
        transfer.Unit();
        const auto sent = Blocks();
        callsAfter(6);
        ASSERT_EQ(Blocks(), sent) << "round " << round;
        transfer.Init(&service, context);
    }
    callsAfter(6);
    running = false;
    audio.join();
    EXPECT_GT(Blocks(), 0u);
}

}  // namespace
