#include "live/audio_send_queue.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <system_error>

#include "core/boundary.h"
#include "core/thread_name.h"

namespace kinetra {
namespace {

using Clock = std::chrono::steady_clock;
using Index = std::uint8_t;

// One block filling, one being sent, the rest queued or free: a push always finds a block.
constexpr std::size_t kBlocks = AudioSendQueue::kQueuedBlocks + 2;

// How often the sender looks for blocks while they come: sooner when it finds the queue half
// full, later when it finds one or none. The longest is about half a block at 48 kHz, so a
// host's block waits at most that long; after a quiet spell the sender sleeps until woken.
constexpr auto kShortestLook = std::chrono::microseconds(250);
constexpr auto kLongestLook = std::chrono::microseconds(10000);
constexpr auto kQuietSpell = std::chrono::milliseconds(200);

struct Block {
    std::vector<std::uint8_t> pcm;
    std::uint32_t rate = 0;
};

}  // namespace

// Two rings of block numbers between exactly two threads. Queued blocks go from the audio
// thread to the sender; `head` is claimed with a compare-exchange by the sender, taking the
// oldest, and by the audio thread, dropping it when the queue is full. Sent blocks come back
// on the free ring, which has room for every block and so is never full.
struct AudioSendQueue::Shared {
    explicit Shared(std::size_t blockBytes) : blocks(kBlocks) {
        for (Block& block : blocks) {
            block.pcm.resize(blockBytes);
        }
        filling = 0;
        for (Index index = 1; index < kBlocks; ++index) {
            freed[index - 1].store(index, std::memory_order_relaxed);
        }
        freedTail.store(kBlocks - 1, std::memory_order_relaxed);
    }

    // Sender only.
    std::optional<Index> TakeOldest() {
        std::uint64_t oldest = head.load(std::memory_order_acquire);
        for (;;) {
            if (oldest == tail.load(std::memory_order_acquire)) {
                return std::nullopt;
            }
            // Read before the claim: if the audio thread drops this block first and reuses the
            // slot, the claim fails and the read is thrown away.
            const Index index = queued[oldest % kQueuedBlocks].load(std::memory_order_relaxed);
            if (head.compare_exchange_weak(oldest, oldest + 1, std::memory_order_acq_rel,
                                           std::memory_order_acquire)) {
                return index;
            }
        }
    }
    void GiveBack(Index index) {
        const std::uint64_t at = freedTail.load(std::memory_order_relaxed);
        freed[at % kBlocks].store(index, std::memory_order_relaxed);
        freedTail.store(at + 1, std::memory_order_release);
    }
    // Audio thread only.
    std::optional<Index> TakeFreed() {
        const std::uint64_t at = freedHead.load(std::memory_order_relaxed);
        if (at == freedTail.load(std::memory_order_acquire)) {
            return std::nullopt;
        }
        const Index index = freed[at % kBlocks].load(std::memory_order_relaxed);
        freedHead.store(at + 1, std::memory_order_relaxed);
        return index;
    }
    bool Empty() const { return head.load() == tail.load(); }

    std::vector<Block> blocks;
    Index filling = 0;
    std::array<std::atomic<Index>, kQueuedBlocks> queued{};
    std::atomic<std::uint64_t> head{0};
    std::atomic<std::uint64_t> tail{0};
    std::array<std::atomic<Index>, kBlocks> freed{};
    std::atomic<std::uint64_t> freedHead{0};
    std::atomic<std::uint64_t> freedTail{0};
    // Blocks dropped since the sender last caught up.
    std::atomic<std::size_t> dropped{0};
    std::atomic<bool> accepting{false};
    std::atomic<bool> stopping{false};
    // 1 while the sender sleeps until the audio thread or a stop wakes it.
    std::atomic<std::uint32_t> asleep{0};
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
    mShared->send = std::move(send);
    mShared->stopping = false;
    mShared->accepting = true;
    try {
        mSender = std::thread(&AudioSendQueue::Run, mShared);
        return true;
    } catch (const std::system_error&) {
        mShared->accepting = false;
        return false;
    }
}

void AudioSendQueue::Stop() {
    std::lock_guard control(mControl);
    if (!mSender.joinable()) {
        return;
    }
    mShared->accepting = false;
    mShared->stopping = true;
    mShared->asleep = 0;
    mShared->asleep.notify_one();
    if (mSender.get_id() == std::this_thread::get_id()) {
        mSender.detach();
    } else {
        mSender.join();
    }
}

std::span<std::uint8_t> AudioSendQueue::Filling() noexcept {
    return mShared->blocks[mShared->filling].pcm;
}

void AudioSendQueue::Push(std::uint32_t rate) noexcept {
    Shared& shared = *mShared;
    if (!shared.accepting.load(std::memory_order_acquire)) {
        return;
    }
    const std::uint64_t tail = shared.tail.load(std::memory_order_relaxed);
    std::uint64_t head = shared.head.load(std::memory_order_acquire);
    std::optional<Index> empty;
    if (tail - head == kQueuedBlocks &&
        shared.head.compare_exchange_strong(head, head + 1, std::memory_order_acq_rel)) {
        empty = shared.queued[head % kQueuedBlocks].load(std::memory_order_relaxed);
        shared.dropped.fetch_add(1, std::memory_order_relaxed);
    } else {
        empty = shared.TakeFreed();
    }
    if (!empty) {
        // Cannot happen while the sender holds one block at a time; losing this block is the
        // safe answer if it ever does.
        shared.dropped.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    shared.blocks[shared.filling].rate = rate;
    shared.queued[tail % kQueuedBlocks].store(shared.filling, std::memory_order_relaxed);
    shared.tail.store(tail + 1);
    shared.filling = *empty;
    // Only a sender asleep after a quiet spell needs the system call.
    if (shared.asleep.load() == 1 && shared.asleep.exchange(0) == 1) {
        shared.asleep.notify_one();
    }
}

// Holds the queue, which stays alive when the sender stops itself from inside a send.
void AudioSendQueue::Run(std::shared_ptr<Shared> owned) {
    core::name_this_thread("kinetra-audio");
    Shared& shared = *owned;
    auto look = std::chrono::duration_cast<Clock::duration>(kLongestLook);
    auto lastBlock = Clock::now();
    for (;;) {
        // Read first: a stop comes after its last push, so what is drained below includes it.
        const bool stopping = shared.stopping.load();
        std::size_t sent = 0;
        while (const std::optional<Index> index = shared.TakeOldest()) {
            const Block& block = shared.blocks[*index];
            shared.send(block.pcm, block.rate);
            shared.GiveBack(*index);
            ++sent;
        }
        if (const std::size_t dropped = shared.dropped.exchange(0); dropped > 0) {
            core::at_boundary(L"AudioSendQueue::Run", [dropped] {
                core::logger_stream(core::level_war)
                    << "AudioSendQueue::Run the engine did not read audio, dropped " << dropped
                    << " blocks, oldest first";
            });
        }
        if (stopping) {
            return;
        }
        const auto now = Clock::now();
        if (sent > 0) {
            lastBlock = now;
        }
        if (sent >= kQueuedBlocks / 2) {
            look = std::max<Clock::duration>(look / 2, kShortestLook);
        } else if (sent <= 1) {
            look = std::min<Clock::duration>(look * 2, kLongestLook);
        }
        if (now - lastBlock < kQuietSpell) {
            std::this_thread::sleep_for(look);
            continue;
        }
        shared.asleep = 1;
        if (shared.Empty() && !shared.stopping) {
            shared.asleep.wait(1);
        }
        shared.asleep = 0;
        lastBlock = Clock::now();
    }
}

}  // namespace kinetra
