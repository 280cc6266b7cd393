// The simulated user, room, audio and live services.
#pragma once

#include <vector>

#include "host/host_state.h"
#include "host/listener_list.h"
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

private:
    HostState& mState;
    ListenerList<service_plugin::IAudioServiceEvent> mListeners;
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

private:
    HostState& mState;
    ListenerList<service_plugin::ILiveEvent> mListeners;
};

}  // namespace sim
