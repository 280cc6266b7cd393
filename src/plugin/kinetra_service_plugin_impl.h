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
    void Stop() override;

    // An engine message, on the channel's thread.
    void OnMsg(const char* channel, const char* data, std::uint32_t size) override;
    // Every decoded engine message, in the order the channel delivers them: the live logic's
    // hook first, then the instance's own routes.
    void OnEngineMessage(std::int32_t type, const taf::Bytes& payload);
    // Sends on the engine channel; dropped when there is no channel. Any thread may send.
    void SendToEngine(ToEngine type, std::span<const std::uint8_t> payload);
    template <taf::Record T>
    void SendToEngine(ToEngine type, const T& record) {
        SendToEngine(type, taf::toBytes(record));
    }

    // What the instance's own commands are built with.
    std::weak_ptr<KinetraServicePluginImpl> Owner() { return weak_from_this(); }

    // The host's services; null when the host has none or after Uninit.
    service_plugin::ISignalService* SignalService() const { return mSignalService; }
    service_plugin::IUserService* UserService() const { return mUserService; }
    service_plugin::IRoomService* RoomService() const { return mRoomService; }
    service_plugin::IAudioService* AudioService() const { return mAudioService; }
    service_plugin::ILiveService* LiveService() const { return mLiveService; }
    service_plugin::IPresenterService* PresenterService() const { return mPresenterService; }

    bool IsLive() const { return mLive; }
    void SetLive(bool live) { mLive = live; }

    // The avatar's source in the presenter's scene; null until the engine has one created.
    service_plugin::PresenterSource* CurrentSource() const { return mCurrentSource; }
    void SetCurrentSource(service_plugin::PresenterSource* source) { mCurrentSource = source; }

    KinetraLogic& Logic() { return mLogic; }
    LiveStateNoticeCmd& LiveState() { return mLiveState; }
    GiftListDataCenter& GiftList() { return mGiftList; }

    // Asks the servers for the start configuration; without a signal service nothing is sent
    // and `callback` never runs.
    using ConfigCallback = std::function<void(const Meru::SignalErrorHelper*, MERU::GetConfigRsp*)>;
    void GetConfig(const std::map<std::string, std::string>& param, ConfigCallback callback);

    // The last update query's answer value, reported back with the engine's update result.
    std::int32_t UpdateValue() const { return mUpdateValue; }
    void RememberUpdateValue(std::int32_t value) { mUpdateValue = value; }

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
