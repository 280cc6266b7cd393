#include "live/kinetra_audio_transfer.h"

#include <algorithm>
#include <utility>

#include "context/plugin_context.h"
#include "core/boundary.h"
#include "live/audio_convert.h"
#include "taf/codec.h"

namespace kinetra {

// Counts an audio call as in hand for as long as it lives, so that Unit can wait for it.
class KinetraAudioTransfer::CallInHand {
public:
    explicit CallInHand(KinetraAudioTransfer& transfer) : mTransfer(transfer) {}
    // Takes what the call needs; false when the transfer is not listening or the format is one
    // the engine does not take.
    bool Enter(Listening& listening) {
        std::lock_guard lock(mTransfer.mMutex);
        if (mTransfer.mService == nullptr || mTransfer.mFormat.second == kUnsupportedFormatSecond) {
            return false;
        }
        ++mTransfer.mCallsInHand;
        mEntered = true;
        listening = {mTransfer.mFormat.rate, mTransfer.mOwner};
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

KinetraAudioTransfer::~KinetraAudioTransfer() {
    Unregister();
}

void KinetraAudioTransfer::Init(service_plugin::IAudioService* service,
                                std::weak_ptr<PluginContext> owner) {
    core::logger_stream(core::level_inf) << L"KinetraAudioTransfer::Init";
    service_plugin::AudioFormat format;
    if (service != nullptr) {
        service->GetAudioFormat(&format);
    }
    {
        std::lock_guard lock(mMutex);
        // A second start without a stop keeps the one registration, with the service it was
        // made with, which the stop takes it back from.
        if (mService != nullptr) {
            return;
        }
        mService = service;
        mFormat = format;
        mOwner = std::move(owner);
    }
    if (service != nullptr) {
        service->AddAudioEvent(this, kAudioKind, 0);
    }
}

void KinetraAudioTransfer::Unit() {
    core::logger_stream(core::level_inf) << L"KinetraAudioTransfer::Unit";
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
    std::unique_lock lock(mMutex);
    mIdle.wait(lock, [this] { return mCallsInHand == 0; });
}

void KinetraAudioTransfer::OnAudioData(const service_plugin::AudioFrame* frame, std::int32_t kind) {
    core::at_boundary(L"KinetraAudioTransfer::OnAudioData", [&] {
        if (frame == nullptr || kind != kAudioKind || frame->planes[0] == nullptr ||
            frame->planes[1] == nullptr) {
            return;
        }
        // Declared before the call in hand, so released after it: when this is the instance's
        // last reference, the instance and this transfer go with it, and nothing of the
        // transfer is touched after that.
        std::shared_ptr<PluginContext> owner;
        CallInHand call(*this);
        Listening listening;
        if (call.Enter(listening)) {
            Append(*frame, listening, owner);
        }
    });
}

void KinetraAudioTransfer::Append(const service_plugin::AudioFrame& frame,
                                  const Listening& listening,
                                  std::shared_ptr<PluginContext>& owner) {
    if (mMessage.sPcm.empty()) {
        mMessage.sPcm.assign(kBlockFrames * kAudioFrameBytes, '\0');
    }
    auto* block = reinterpret_cast<std::uint8_t*>(mMessage.sPcm.data());
    const float* plane0 = frame.planes[0];
    const float* plane1 = frame.planes[1];
    std::uint32_t left = frame.samples;
    while (left > 0) {
        const std::uint32_t take = std::min(left, kBlockFrames - mBlockFrames);
        ConvertInterleave(plane0, plane1, take, block + mBlockBytes);
        plane0 += take;
        plane1 += take;
        left -= take;
        mBlockFrames += take;
        mBlockBytes += take * static_cast<std::uint32_t>(kAudioFrameBytes);
        if (mBlockFrames == kBlockFrames) {
            SendBlock(listening, owner);
            mBlockFrames = 0;
            mBlockBytes = 0;
        }
    }
}

void KinetraAudioTransfer::SendBlock(const Listening& listening,
                                     std::shared_ptr<PluginContext>& owner) {
    if (!owner) {
        owner = listening.owner.lock();
        if (!owner) {
            return;
        }
    }
    mMessage.iSampleRate = static_cast<std::int32_t>(listening.rate);
    mPayload.reset();
    taf::writeTo(mPayload, mMessage);
    owner->SendToEngine(ToEngine::kAudioData, mPayload.view());
}

}  // namespace kinetra
