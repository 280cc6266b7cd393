// The queue between the host's audio thread and the engine: order, dropping the oldest while the
// send is held, and a sender that lets go of its own queue.
#include "live/audio_send_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using kinetra::AudioSendQueue;

// A send that records each block's first byte and, while held, waits inside the send as a
// channel whose engine does not read.
class HeldSend {
public:
    void Send(std::span<const std::uint8_t> pcm) {
        std::unique_lock lock(mMutex);
        mSent.push_back(pcm[0]);
        mChanged.notify_all();
        mChanged.wait(lock, [this] { return !mHeld; });
    }
    void Release() {
        std::lock_guard lock(mMutex);
        mHeld = false;
        mChanged.notify_all();
    }
    void WaitForFirst() {
        std::unique_lock lock(mMutex);
        mChanged.wait(lock, [this] { return !mSent.empty(); });
    }
    std::vector<std::uint8_t> Sent() {
        std::lock_guard lock(mMutex);
        return mSent;
    }

private:
    std::mutex mMutex;
    std::condition_variable mChanged;
    bool mHeld = true;
    std::vector<std::uint8_t> mSent;
};

void PushNumbered(AudioSendQueue& queue, std::uint8_t number) {
    queue.Filling()[0] = number;
    queue.Push(48000);
}

// Block 0 is in the held send; 1 to 19 arrive meanwhile and only the newest 8 wait. The pushes
// return although the send does not.
TEST(AudioSendQueue, KeepsTheNewestInOrderWhileTheSendIsHeld) {
    HeldSend held;
    AudioSendQueue queue(16);
    ASSERT_TRUE(queue.Start([&](std::span<const std::uint8_t> pcm, std::uint32_t rate) {
        EXPECT_EQ(rate, 48000u);
        held.Send(pcm);
    }));
    PushNumbered(queue, 0);
    held.WaitForFirst();
    for (std::uint8_t number = 1; number < 20; ++number) {
        PushNumbered(queue, number);
    }
    held.Release();
    queue.Stop();
    EXPECT_EQ(held.Sent(), (std::vector<std::uint8_t>{0, 12, 13, 14, 15, 16, 17, 18, 19}));

    PushNumbered(queue, 20);  // stopped: dropped, not sent later
    ASSERT_TRUE(
        queue.Start([&](std::span<const std::uint8_t> pcm, std::uint32_t) { held.Send(pcm); }));
    PushNumbered(queue, 21);
    queue.Stop();
    EXPECT_EQ(held.Sent().back(), 21);
    EXPECT_EQ(held.Sent().size(), 10u);
}

// The audio thread pushes at full speed, now and then letting others run, while a send now and
// then takes long enough for the queue to fill: every
// block sent is whole (never refilled while it is sent), in order, none twice, and the last one
// pushed before the stop is sent.
TEST(AudioSendQueue, HandsOverWholeBlocksInOrderAtFullSpeed) {
    constexpr std::uint32_t kPushes = 20000;
    constexpr std::size_t kBytes = 64;
    std::vector<std::uint32_t> sent;
    bool whole = true;
    AudioSendQueue queue(kBytes);
    ASSERT_TRUE(queue.Start([&](std::span<const std::uint8_t> pcm, std::uint32_t rate) {
        if (sent.size() % 50 == 49) {
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        for (std::size_t at = 4; at < pcm.size(); ++at) {
            whole = whole && pcm[at] == static_cast<std::uint8_t>(rate);
        }
        std::uint32_t number = 0;
        std::memcpy(&number, pcm.data(), sizeof number);
        whole = whole && number == rate;
        sent.push_back(number);
    }));
    for (std::uint32_t number = 0; number < kPushes; ++number) {
        const auto block = queue.Filling();
        std::memset(block.data(), static_cast<std::uint8_t>(number), block.size());
        std::memcpy(block.data(), &number, sizeof number);
        queue.Push(number);
        if (number % 3 == 0) {
            std::this_thread::yield();
        }
    }
    queue.Stop();
    EXPECT_TRUE(whole);
    ASSERT_FALSE(sent.empty());
    EXPECT_TRUE(std::is_sorted(sent.begin(), sent.end()));
    EXPECT_EQ(std::adjacent_find(sent.begin(), sent.end()), sent.end());
    EXPECT_EQ(sent.back(), kPushes - 1);
}

// The sender may drop the last reference to what owns the queue (the instance) inside a send,
// once no audio call is in hand; the queue then goes on its own thread without waiting for
// itself.
TEST(AudioSendQueue, SenderMayDestroyItsOwnQueue) {
    auto queue = std::make_unique<AudioSendQueue>(16);
    std::mutex mutex;
    std::condition_variable changed;
    bool pushed = false;
    bool destroyed = false;
    ASSERT_TRUE(queue->Start([&](std::span<const std::uint8_t>, std::uint32_t) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return pushed; });
        queue.reset();
        destroyed = true;
        changed.notify_all();
    }));
    queue->Push(48000);
    std::unique_lock lock(mutex);
    pushed = true;
    changed.notify_all();
    changed.wait(lock, [&] { return destroyed; });
}

}  // namespace
