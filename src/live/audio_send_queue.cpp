#include "live/audio_send_queue.h"

#include <array>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <utility>
#include <vector>

#include "core/boundary.h"
#include "core/thread_name.h"

namespace kinetra {
namespace {

struct Block {
    std::vector<std::uint8_t> pcm;
    std::uint32_t rate = 0;
};

}  // namespace

struct AudioSendQueue::Shared {
    explicit Shared(std::size_t blockBytes) : blocks(kQueuedBlocks + 2) {
        // One filling, one being sent, the rest queued or free: a push always finds a block.
        free.reserve(blocks.size());
        for (Block& block : blocks) {
            block.pcm.resize(blockBytes);
            free.push_back(&block);
        }
        filling = free.back();
        free.pop_back();
    }

    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Block> blocks;
    std::vector<Block*> free;
    Block* filling = nullptr;
    std::array<Block*, kQueuedBlocks> queued{};
    std::size_t head = 0;
    std::size_t count = 0;
    // Blocks dropped since the sender last caught up.
    std::size_t dropped = 0;
    bool accepting = false;
    bool stopping = false;
    bool senderWaiting = false;
    Send send;
};

AudioSendQueue::AudioSendQueue(std::size_t blockBytes)
    : mShared(std::make_shared<Shared>(blockBytes)) {}

AudioSendQueue::~AudioSendQueue() {
    Stop();
}

bool AudioSendQueue::Start(Send send) {
    std::lock_guard control(mControl);
    if (mSender.joinable()) {
        return true;
    }
    {
        std::lock_guard lock(mShared->mutex);
        mShared->send = std::move(send);
        mShared->stopping = false;
        mShared->accepting = true;
    }
    try {
        mSender = std::thread(&AudioSendQueue::Run, mShared);
        return true;
    } catch (const std::system_error&) {
        std::lock_guard lock(mShared->mutex);
        mShared->accepting = false;
        return false;
    }
}

void AudioSendQueue::Stop() {
    std::lock_guard control(mControl);
    if (!mSender.joinable()) {
        return;
    }
    {
        std::lock_guard lock(mShared->mutex);
        mShared->accepting = false;
        mShared->stopping = true;
    }
    mShared->changed.notify_all();
    if (mSender.get_id() == std::this_thread::get_id()) {
        mSender.detach();
    } else {
        mSender.join();
    }
}

std::span<std::uint8_t> AudioSendQueue::Filling() noexcept {
    return mShared->filling->pcm;
}

void AudioSendQueue::Push(std::uint32_t rate) noexcept {
    Shared& shared = *mShared;
    bool wake = false;
    {
        std::lock_guard lock(shared.mutex);
        if (!shared.accepting) {
            return;
        }
        Block* empty = nullptr;
        if (shared.count == kQueuedBlocks) {
            empty = shared.queued[shared.head];
            shared.head = (shared.head + 1) % kQueuedBlocks;
            --shared.count;
            ++shared.dropped;
        } else {
            empty = shared.free.back();
            shared.free.pop_back();
        }
        shared.filling->rate = rate;
        shared.queued[(shared.head + shared.count) % kQueuedBlocks] = shared.filling;
        ++shared.count;
        shared.filling = empty;
        wake = std::exchange(shared.senderWaiting, false);
    }
    // Only a sleeping sender needs the system call.
    if (wake) {
        shared.changed.notify_one();
    }
}

// Holds the queue, which stays alive when the sender stops itself from inside a send.
void AudioSendQueue::Run(std::shared_ptr<Shared> owned) {
    core::name_this_thread("kinetra-audio");
    Shared& shared = *owned;
    Block* sent = nullptr;
    std::unique_lock lock(shared.mutex);
    for (;;) {
        if (sent != nullptr) {
            shared.free.push_back(sent);
            sent = nullptr;
        }
        if (shared.count == 0 && shared.dropped > 0) {
            const std::size_t dropped = std::exchange(shared.dropped, 0);
            lock.unlock();
            core::at_boundary(L"AudioSendQueue::Run", [dropped] {
                core::logger_stream(core::level_war)
                    << L"AudioSendQueue::Run the engine did not read audio, dropped " << dropped
                    << L" blocks, oldest first";
            });
            lock.lock();
            continue;
        }
        while (shared.count == 0 && !shared.stopping) {
            shared.senderWaiting = true;
            shared.changed.wait(lock);
        }
        if (shared.count == 0) {
            return;
        }
        sent = shared.queued[shared.head];
        shared.head = (shared.head + 1) % kQueuedBlocks;
        --shared.count;
        lock.unlock();
        shared.send(sent->pcm, sent->rate);
        lock.lock();
    }
}

}  // namespace kinetra
