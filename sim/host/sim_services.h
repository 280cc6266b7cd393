// The simulated user, room, audio and live services.
#pragma once

#include <chrono>
#include <vector>

#include "host/audio_delivery.h"
#include "host/host_state.h"
#include "host/listener_list.h"
#include "host/service_thread.h"
#include "service_plugin/host_services.h"

namespace sim {

class SimUserService : public service_plugin::IUserService {
public:
    explicit SimUserService(HostState& state) : mState(state) {}
    std::int64_t GetUserValue() override;
    service_plugin::LLString* GetUserText1(service_plugin::LLString* out) override;
    service_plugin::LLString* GetUserText2(service_plugin::LLString* out) override;

private:
    HostState& mState;
};

class SimRoomService : public service_plugin::IRoomService {
public:
    explicit SimRoomService(HostState& state) : mState(state) {}
    service_plugin::RoomInfo* GetRoomInfo(service_plugin::RoomInfo* out) override;

private:
    HostState& mState;
};

class SimAudioService : public service_plugin::IAudioService {
public:
    explicit SimAudioService(HostState& state) : mState(state) {}
    void AddAudioEvent(service_plugin::IAudioServiceEvent* listener, std::int32_t kind,
                       std::int32_t flags) override;
    void RemoveAudioEvent(service_plugin::IAudioServiceEvent* listener) override;
    void GetAudioFormat(service_plugin::AudioFormat* out) override;

    // Hands the delivery's calls to every listener on the service's own thread, as the host's
    // audio thread does; returns at once. Like a host that does not wait for a call in hand,
    // RemoveAudioEvent returns while a call may still be running.
    void Deliver(AudioDelivery delivery);
    // Waits until every delivery has been handed over; false when `limit` passed first.
    bool WaitIdle(std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
    // Ends the audio thread for good, before the plug-in's code goes away.
    void Shutdown() { mThread.Stop(); }
    // Once the plug-in is unloaded: reports and forgets every listener it left registered.
    void ReportStillRegistered();

private:
    HostState& mState;
    ListenerList<service_plugin::IAudioServiceEvent> mListeners;
    ServiceThread mThread;
};

class SimLiveService : public service_plugin::ILiveService {
public:
    explicit SimLiveService(HostState& state) : mState(state) {}
    void AddLiveEvent(service_plugin::ILiveEvent* listener) override;
    void RemoveLiveEvent(service_plugin::ILiveEvent* listener) override;
    std::int64_t GetLiveId() override;

    // Raises the event to every listener on the calling thread.
    void RaiseLiveStarted();
    void RaiseLiveStopped();

    // Raises the event on the service's own thread, as the host's live thread does; returns at
    // once.
    void RaiseOnOwnThread(bool started);
    // Waits until every event raised on the service's thread has been handed over; false when
    // `limit` passed first.
    bool WaitIdle(std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
    // Ends the live thread for good, before the plug-in's code goes away.
    void Shutdown() { mThread.Stop(); }
    // Once the plug-in is unloaded: reports and forgets every listener it left registered.
    void ReportStillRegistered();

private:
    HostState& mState;
    ListenerList<service_plugin::ILiveEvent> mListeners;
    ServiceThread mThread;
};

}  // namespace sim
