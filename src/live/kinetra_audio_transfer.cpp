#include "live/kinetra_audio_transfer.h"

#include <algorithm>
#include <utility>

#include "context/plugin_context.h"
#include "core/boundary.h"
#include "live/audio_convert.h"
#include "taf/codec.h"
#include "taf/output_stream.h"
#include "taf/records/engine_audio.h"

namespace kinetra {
namespace {

// Encodes each block on the sender's thread into a message and a payload buffer that are
// reused, and hands it to the instance while the instance is alive.
class BlockEncoder {
public:
    explicit BlockEncoder(std::weak_ptr<PluginContext> owner) : mOwner(std::move(owner)) {}

    void Send(std::span<const std::uint8_t> pcm, std::uint32_t rate) {
        core::at_boundary(L"KinetraAudioTransfer::Send", [&] {
            const auto owner = mOwner.lock();
            if (!owner) {
                return;
            }
            mMessage.iSampleRate = static_cast<std::int32_t>(rate);
            mMessage.sPcm.assign(reinterpret_cast<const char*>(pcm.data()), pcm.size());
            mPayload.reset();
            taf::writeTo(mPayload, mMessage);
            owner->SendToEngine(ToEngine::kAudioData, mPayload.view());
        });
    }

private:
    std::weak_ptr<PluginContext> mOwner;
    MeruKinetra::AudioFrameMsg mMessage;
    taf::TafOutputStream mPayload;
};

}  // namespace

// Counts an audio call as in hand for as long as it lives, so that Unit can wait for it.
class KinetraAudioTransfer::CallInHand {
public:
    explicit CallInHand(KinetraAudioTransfer& transfer) : mTransfer(transfer) {}
    // Takes the rate; false when the transfer is not listening or the format is one the
    // engine does not take.
    bool Enter(std::uint32_t& rate) {
        std::lock_guard lock(mTransfer.mMutex);
        if (mTransfer.mService == nullptr || mTransfer.mFormat.second == kUnsupportedFormatSecond) {
            return false;
        }
        ++mTransfer.mCallsInHand;
        mEntered = true;
        rate = mTransfer.mFormat.rate;
        return true;
    }
    ~CallInHand() {
        if (mEntered) {
            std::lock_guard lock(mTransfer.mMutex);
            if (--mTransfer.mCallsInHand == 0) {
                mTransfer.mIdle.notify_all();
            }
        }
    }
    CallInHand(const CallInHand&) = delete;
    CallInHand& operator=(const CallInHand&) = delete;

private:
    KinetraAudioTransfer& mTransfer;
    bool mEntered = false;
};

KinetraAudioTransfer::KinetraAudioTransfer() : mQueue(kBlockFrames * kAudioFrameBytes) {}

KinetraAudioTransfer::~KinetraAudioTransfer() {
    Unregister();
}

void KinetraAudioTransfer::Init(service_plugin::IAudioService* service,
                                std::weak_ptr<PluginContext> owner) {
    core::logger_stream(core::level_inf) << "KinetraAudioTransfer::Init";
    service_plugin::AudioFormat format;
    if (service != nullptr) {
        service->GetAudioFormat(&format);
    }
    // Registered under the lock: a stop on another thread (a close notice) then either finds
    // nothing to take back or waits until the registration it takes back is made, and never
    // leaves a listener or the sender behind. The host's Add does not wait for audio calls.
    std::lock_guard lock(mMutex);
    // A second start without a stop keeps the one registration, with the service it was made
    // with, which the stop takes it back from.
    if (mService != nullptr || service == nullptr) {
        return;
    }
    mService = service;
    mFormat = format;
    auto encoder = std::make_shared<BlockEncoder>(std::move(owner));
    if (!mQueue.Start([encoder](std::span<const std::uint8_t> pcm, std::uint32_t rate) {
            encoder->Send(pcm, rate);
        })) {
        core::logger_stream(core::level_err)
            << "KinetraAudioTransfer::Init no thread for the sender, no audio is sent";
    }
    service->AddAudioEvent(this, kAudioKind, 0);
}

void KinetraAudioTransfer::Unit() {
    core::logger_stream(core::level_inf) << "KinetraAudioTransfer::Unit";
    Unregister();
}

void KinetraAudioTransfer::Unregister() {
    service_plugin::IAudioService* service = nullptr;
    {
        std::lock_guard lock(mMutex);
        service = std::exchange(mService, nullptr);
    }
    // No lock of ours is held while the host unregisters: it may wait for a call in hand.
    if (service != nullptr) {
        service->RemoveAudioEvent(this);
    }
    {
        std::unique_lock lock(mMutex);
        mIdle.wait(lock, [this] { return mCallsInHand == 0; });
    }
    mQueue.Stop();
}

void KinetraAudioTransfer::OnAudioData(const service_plugin::AudioFrame* frame, std::int32_t kind) {
    core::at_boundary(L"KinetraAudioTransfer::OnAudioData", [&] {
        if (frame == nullptr || kind != kAudioKind || frame->planes[0] == nullptr ||
            frame->planes[1] == nullptr) {
            return;
        }
        CallInHand call(*this);
        std::uint32_t rate = 0;
        if (call.Enter(rate)) {
            Append(*frame, rate);
        }
    });
}

void KinetraAudioTransfer::Append(const service_plugin::AudioFrame& frame, std::uint32_t rate) {
    const float* plane0 = frame.planes[0];
    const float* plane1 = frame.planes[1];
    std::uint32_t left = frame.samples;
    while (left > 0) {
        const std::uint32_t take = std::min(left, kBlockFrames - mBlockFrames);
        ConvertInterleave(plane0, plane1, take, mQueue.Filling().data() + mBlockBytes);
        plane0 += take;
        plane1 += take;
        left -= take;
        mBlockFrames += take;
        mBlockBytes += take * static_cast<std::uint32_t>(kAudioFrameBytes);
        if (mBlockFrames == kBlockFrames) {
            mQueue.Push(rate);
            mBlockFrames = 0;
            mBlockBytes = 0;
        }
    }
}

}  // namespace kinetra
