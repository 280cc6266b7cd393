// What the features (src/live, src/games, src/commands) are given of the plug-in instance:
// sending to the engine, the host's services, the session's state and the few things one
// feature asks of another. The instance implements it and wires the features; a feature's test
// can hand in a context of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <span>
#include <string>

#include "core/timer_source.h"
#include "plugin/engine_messages.h"
#include "service_plugin/host_services.h"
#include "service_plugin/signal_service.h"
#include "signal/signal_error_helper.h"
#include "taf/codec.h"
#include "taf/records/start_config.h"
#include "taf/shared_spare.h"

namespace kinetra {

class PluginContext {
public:
    virtual ~PluginContext() = default;

    // Sends on the engine channel; dropped when there is no channel. Any thread may send.
    virtual void SendToEngine(ToEngine type, std::span<const std::uint8_t> payload) = 0;
    // The record is written into the kept, reused buffer; a record larger than
    // kKeptRecordBytes does not keep it allocated.
    static constexpr std::size_t kKeptRecordBytes = 64 * 1024;
    template <taf::Record T>
    void SendToEngine(ToEngine type, const T& record) {
        taf::SharedSpare<taf::TafOutputStream> out;
        out->reset();
        taf::writeTo(*out, record);
        SendToEngine(type, out->view());
        out->releaseAbove(kKeptRecordBytes);
    }

    // The host's services; null when the host has none or after the instance's release.
    virtual service_plugin::ISignalService* SignalService() const = 0;
    virtual service_plugin::IUserService* UserService() const = 0;
    virtual service_plugin::IRoomService* RoomService() const = 0;
    virtual service_plugin::IAudioService* AudioService() const = 0;
    virtual service_plugin::ILiveService* LiveService() const = 0;
    virtual service_plugin::IPresenterService* PresenterService() const = 0;
    // Where the features' timers take their time and alarms.
    virtual win32::timer_source& TimerSource() = 0;

    // Whether the user is live.
    virtual bool IsLive() const = 0;
    virtual void SetLive(bool live) = 0;
    // The avatar's source in the presenter's scene; null until the engine has one created.
    virtual service_plugin::PresenterSource* CurrentSource() const = 0;
    virtual void SetCurrentSource(service_plugin::PresenterSource* source) = 0;
    // The last update query's answer value, reported back with the engine's update result.
    virtual std::int32_t UpdateValue() const = 0;
    virtual void RememberUpdateValue(std::int32_t value) = 0;

    // Stops every feature, as the host's Stop does.
    virtual void Stop() = 0;
    // The gift list as last received, encoded for the engine.
    virtual taf::Bytes CachedGiftList() const = 0;
    // Asks the servers for the start configuration; without a signal service nothing is sent
    // and `callback` never runs.
    using ConfigCallback = std::function<void(const Meru::SignalErrorHelper*, MERU::GetConfigRsp*)>;
    virtual void GetConfig(const std::map<std::string, std::string>& param,
                           ConfigCallback callback) = 0;
};

}  // namespace kinetra
