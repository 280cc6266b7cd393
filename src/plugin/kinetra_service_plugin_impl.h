// The plug-in instance "kinetra:network": it finds the host's services, listens on the engine
// channel, owns the features and starts and stops them in a fixed order.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>

#include "commands/live_state_notice_cmd.h"
#include "context/plugin_context.h"
#include "live/gift_list_data_center.h"
#include "live/kinetra_audio_transfer.h"
#include "live/kinetra_logic.h"
#include "plugin/engine_messages.h"
#include "plugin/plugin_instance_impl.h"
#include "plugin/plugin_names.h"
#include "plugin_msg/plugin_msg.h"
#include "service_plugin/host_services.h"
#include "service_plugin/signal_service.h"
#include "signal/signal_error_helper.h"
#include "taf/codec.h"
#include "taf/records/start_config.h"

namespace kinetra {

class KinetraServicePluginImpl : public PluginInstanceImpl,
                                 public PluginContext,
                                 public plugin_msg::IPluginMsgEvent,
                                 public std::enable_shared_from_this<KinetraServicePluginImpl> {
    struct CreateKey {
        explicit CreateKey() = default;
    };

public:
    // Features keep weak pointers to the instance, so it is always owned by a shared pointer;
    // it listens on the engine channel from then on.
    static std::shared_ptr<KinetraServicePluginImpl> Create();
    explicit KinetraServicePluginImpl(CreateKey);
    ~KinetraServicePluginImpl() override;
    // Unregisters from the engine channel, which returns once no message of this instance is
    // being handled, unless called from inside one. A message in hand keeps the instance
    // alive, so the module calls this before letting the instance go: the instance is then
    // never destroyed on the channel's thread, inside the call the channel waits for.
    void StopListening();

    void Uninit() override;
    bool Start() override;
    // Also the context's Stop, which the close notice calls.
    void Stop() override;

    // An engine message, on the channel's thread.
    void OnMsg(const char* channel, const char* data, std::uint32_t size) override;
    // Every decoded engine message, in the order the channel delivers them: the live logic's
    // hook first, then the instance's own routes.
    void OnEngineMessage(std::int32_t type, const taf::Bytes& payload);
    using PluginContext::SendToEngine;
    void SendToEngine(ToEngine type, std::span<const std::uint8_t> payload) override;

    // What the instance's own commands are built with.
    std::weak_ptr<PluginContext> Owner() { return weak_from_this(); }

    service_plugin::ISignalService* SignalService() const override { return mSignalService; }
    service_plugin::IUserService* UserService() const override { return mUserService; }
    service_plugin::IRoomService* RoomService() const override { return mRoomService; }
    service_plugin::IAudioService* AudioService() const override { return mAudioService; }
    service_plugin::ILiveService* LiveService() const override { return mLiveService; }
    service_plugin::IPresenterService* PresenterService() const override {
        return mPresenterService;
    }
    win32::timer_source& TimerSource() override { return win32::timer_source::system(); }

    bool IsLive() const override { return mLive; }
    void SetLive(bool live) override { mLive = live; }
    service_plugin::PresenterSource* CurrentSource() const override { return mCurrentSource; }
    void SetCurrentSource(service_plugin::PresenterSource* source) override {
        mCurrentSource = source;
    }
    // A lone value that orders nothing else: relaxed, so remembering it is a plain store and not
    // the locked exchange of the default ordering, on every update reply.
    std::int32_t UpdateValue() const override {
        return mUpdateValue.load(std::memory_order_relaxed);
    }
    void RememberUpdateValue(std::int32_t value) override {
        mUpdateValue.store(value, std::memory_order_relaxed);
    }

    taf::Bytes CachedGiftList() const override { return mGiftList.GetPropList(); }
    void GetConfig(const std::map<std::string, std::string>& param,
                   ConfigCallback callback) override;

    KinetraLogic& Logic() { return mLogic; }
    LiveStateNoticeCmd& LiveState() { return mLiveState; }

private:
    void QueryServices();

    // Written by construction and Uninit, read from host and engine threads.
    std::atomic<service_plugin::ISignalService*> mSignalService{nullptr};
    std::atomic<service_plugin::IUserService*> mUserService{nullptr};
    std::atomic<service_plugin::IRoomService*> mRoomService{nullptr};
    std::atomic<service_plugin::IAudioService*> mAudioService{nullptr};
    std::atomic<service_plugin::ILiveService*> mLiveService{nullptr};
    std::atomic<service_plugin::IPresenterService*> mPresenterService{nullptr};
    std::atomic<service_plugin::PresenterSource*> mCurrentSource{nullptr};
    plugin_msg::IPluginMsgServer* const mEngineServer;
    // Destroyed in reverse: gift list, live-state notice, audio transfer, live logic.
    KinetraLogic mLogic;
    KinetraAudioTransfer mAudioTransfer;
    LiveStateNoticeCmd mLiveState;
    GiftListDataCenter mGiftList;
    std::atomic<bool> mListening{false};
    // Set by Uninit. The channel delivers until the module takes the instance off it; what
    // arrives in between would start timers, requests and subscriptions for a released
    // instance, so it is dropped.
    std::atomic<bool> mReleased{false};
    std::atomic<bool> mLive{false};
    // Written by the update query's reply on a host thread, read by the update report on the
    // channel's thread; a report before any answer sends 0.
    std::atomic<std::int32_t> mUpdateValue{0};
};

}  // namespace kinetra
