// Streams the host's audio to the engine: blocks of 1024 stereo frames of 16-bit PCM, one
// engine message per block.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>

#include "service_plugin/host_services.h"
#include "taf/output_stream.h"
#include "taf/records/engine_audio.h"

namespace kinetra {

class PluginContext;

class KinetraAudioTransfer : public service_plugin::IAudioServiceEvent {
public:
    static constexpr std::uint32_t kBlockFrames = 1024;
    // The event kind asked for at registration; calls of any other kind are ignored.
    static constexpr std::int32_t kAudioKind = 2;
    // A format whose second value is this carries nothing the engine takes.
    static constexpr std::uint32_t kUnsupportedFormatSecond = 1;

    KinetraAudioTransfer() = default;
    // Unregisters when the instance goes without having been stopped.
    ~KinetraAudioTransfer() override;
    KinetraAudioTransfer(const KinetraAudioTransfer&) = delete;
    KinetraAudioTransfer& operator=(const KinetraAudioTransfer&) = delete;

    // Reads the service's format and listens to it; without a service no audio flows.
    void Init(service_plugin::IAudioService* service, std::weak_ptr<PluginContext> owner);
    // Stops listening. Once it returns no block is sent, also when the service still delivers
    // audio: it waits for a call in hand, so it must not be called from inside one. The
    // partial block stays for the next Init.
    void Unit();
    // On the audio service's thread. A null frame, a frame missing either plane or an event of
    // another kind is ignored.
    void OnAudioData(const service_plugin::AudioFrame* frame, std::int32_t kind) override;

private:
    // What a call needs from Init, taken under the lock as it enters.
    struct Listening {
        std::uint32_t rate = 0;
        std::weak_ptr<PluginContext> owner;
    };
    class CallInHand;

    void Unregister();
    void Append(const service_plugin::AudioFrame& frame, const Listening& listening,
                std::shared_ptr<PluginContext>& owner);
    void SendBlock(const Listening& listening, std::shared_ptr<PluginContext>& owner);

    // Guards what Init and Unit change and the count of calls in hand.
    std::mutex mMutex;
    std::condition_variable mIdle;
    service_plugin::IAudioService* mService = nullptr;
    service_plugin::AudioFormat mFormat;
    std::weak_ptr<PluginContext> mOwner;
    int mCallsInHand = 0;

    // Touched by audio calls only, one at a time: the block lives in the message itself, so
    // encoding copies it once, into a payload buffer that is reused.
    MeruKinetra::AudioFrameMsg mMessage;
    std::uint32_t mBlockFrames = 0;
    std::uint32_t mBlockBytes = 0;
    taf::TafOutputStream mPayload;
};

}  // namespace kinetra
