// Audio blocks on their way to the engine. The host's audio thread hands each finished block
// over without a lock and without a system call; a thread of ours, "kinetra-audio", sends them.
// The channel's send may block while the engine does not read, and it then holds our thread,
// never the host's: the queue keeps the newest blocks and drops the oldest, and the sender logs
// one line for the whole episode once it catches up.
//
// Waking a sleeping thread is a system call, and on a virtual machine often an interrupt to
// another processor: tens of microseconds on the audio thread. So while blocks keep coming the
// sender looks for them at the pace they come, and the audio thread wakes it only for the first
// block after a quiet spell.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

namespace kinetra {

class AudioSendQueue {
public:
    // 8 blocks of 1024 frames are 170 ms at 48 kHz: a send that is slow once is ridden out,
    // an engine that stops reading costs at most that much stale audio when it reads again.
    static constexpr std::size_t kQueuedBlocks = 8;
    // What the sender does with one block, on its own thread.
    using Send = std::function<void(std::span<const std::uint8_t> pcm, std::uint32_t rate)>;

    explicit AudioSendQueue(std::size_t blockBytes);
    ~AudioSendQueue();
    AudioSendQueue(const AudioSendQueue&) = delete;
    AudioSendQueue& operator=(const AudioSendQueue&) = delete;

    // Starts the sender; false when the system gives no thread, and then pushed blocks are
    // dropped. While started it changes nothing. Never runs beside Push.
    bool Start(Send send);
    // Lets the sender send what is queued and ends it: once it returns nothing more is sent.
    // While the engine does not read that waits for it. From inside `send` (the sender let go
    // of the instance's last reference) it ends the sender without waiting. Never runs beside
    // Push.
    void Stop();

    // The block the audio thread fills; kept across Stop and Start. Audio thread only.
    std::span<std::uint8_t> Filling() noexcept;
    // Queues the filled block (a full queue drops its oldest) and hands out an empty one.
    // Audio thread only; never allocates, never takes a lock and, while blocks keep coming,
    // never makes a system call.
    void Push(std::uint32_t rate) noexcept;

private:
    struct Shared;
    static void Run(std::shared_ptr<Shared> shared);

    // Also held by the sender, which may outlive this when it stops itself.
    std::shared_ptr<Shared> mShared;
    // Start and Stop may come from two threads at once (the host's stop and the engine's close
    // notice): one joins, the other waits until it has.
    std::mutex mControl;
    std::thread mSender;
};

}  // namespace kinetra
