// The plug-in instance "kinetra:network": it finds the host's services, owns the features and
// starts and stops them in a fixed order.
#pragma once

#include <atomic>
#include <memory>

#include "plugin/plugin_instance_impl.h"
#include "service_plugin/host_services.h"
#include "service_plugin/signal_service.h"

namespace kinetra {

inline constexpr char kInstanceName[] = "kinetra:network";

class KinetraServicePluginImpl : public PluginInstanceImpl,
                                 public std::enable_shared_from_this<KinetraServicePluginImpl> {
public:
    // Always made with std::make_shared: features keep weak pointers to the instance.
    KinetraServicePluginImpl();

    void Uninit() override;
    bool Start() override;
    void Stop() override;

    // The host's services; null when the host has none or after Uninit.
    service_plugin::ISignalService* SignalService() const { return mSignalService; }
    service_plugin::IUserService* UserService() const { return mUserService; }
    service_plugin::IRoomService* RoomService() const { return mRoomService; }
    service_plugin::IAudioService* AudioService() const { return mAudioService; }
    service_plugin::ILiveService* LiveService() const { return mLiveService; }
    service_plugin::IPresenterService* PresenterService() const { return mPresenterService; }

    bool IsLive() const { return mLive; }
    void SetLive(bool live) { mLive = live; }

private:
    void QueryServices();

    // Written by construction and Uninit, read from host and engine threads.
    std::atomic<service_plugin::ISignalService*> mSignalService{nullptr};
    std::atomic<service_plugin::IUserService*> mUserService{nullptr};
    std::atomic<service_plugin::IRoomService*> mRoomService{nullptr};
    std::atomic<service_plugin::IAudioService*> mAudioService{nullptr};
    std::atomic<service_plugin::ILiveService*> mLiveService{nullptr};
    std::atomic<service_plugin::IPresenterService*> mPresenterService{nullptr};
    std::atomic<bool> mLive{false};
};

}  // namespace kinetra
