// Streams the host's audio to the engine: blocks of 1024 stereo frames of 16-bit PCM, one
// engine message per block. The host's audio thread only converts and queues; the blocks are
// encoded and sent on the queue's own thread (audio_send_queue.h).
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "live/audio_send_queue.h"
#include "service_plugin/host_services.h"

namespace kinetra {

class PluginContext;

class KinetraAudioTransfer : public service_plugin::IAudioServiceEvent {
public:
    static constexpr std::uint32_t kBlockFrames = 1024;
    // The event kind asked for at registration; calls of any other kind are ignored.
    static constexpr std::int32_t kAudioKind = 2;
    // A format whose second value is this carries nothing the engine takes.
    static constexpr std::uint32_t kUnsupportedFormatSecond = 1;

    KinetraAudioTransfer();
    // Unregisters when the instance goes without having been stopped.
    ~KinetraAudioTransfer() override;
    KinetraAudioTransfer(const KinetraAudioTransfer&) = delete;
    KinetraAudioTransfer& operator=(const KinetraAudioTransfer&) = delete;

    // Reads the service's format, starts the sender and listens; without a service no audio
    // flows.
    void Init(service_plugin::IAudioService* service, std::weak_ptr<PluginContext> owner);
    // Stops listening and lets the sender send what is queued. Once it returns no block is
    // sent, also when the service still delivers audio: it waits for a call in hand, so it
    // must not be called from inside one, and for the queued blocks, so for an engine that
    // does not read. The partial block stays for the next Init.
    void Unit();
    // On the audio service's thread. A null frame, a frame missing either plane or an event of
    // another kind is ignored.
    void OnAudioData(const service_plugin::AudioFrame* frame, std::int32_t kind) override;

private:
    class CallInHand;

    void Unregister();
    void Append(const service_plugin::AudioFrame& frame, std::uint32_t rate);

    // Guards what Init and Unit change and the count of calls in hand.
    std::mutex mMutex;
    std::condition_variable mIdle;
    service_plugin::IAudioService* mService = nullptr;
    service_plugin::AudioFormat mFormat;
    int mCallsInHand = 0;

    // Touched by audio calls only, one at a time: how far the queue's filling block is.
    std::uint32_t mBlockFrames = 0;
    std::uint32_t mBlockBytes = 0;
    AudioSendQueue mQueue;
};

}  // namespace kinetra
