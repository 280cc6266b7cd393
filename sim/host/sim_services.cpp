#include "host/sim_services.h"

#include <algorithm>
#include <string>

namespace sim {
namespace {

template <typename Listener>
void Remove(std::vector<Listener*>& listeners, Listener* listener) {
    listeners.erase(std::remove(listeners.begin(), listeners.end(), listener), listeners.end());
}

}  // namespace

std::int64_t SimUserService::GetUserValue() {
    mState.Calls().Record("IUserService::GetUserValue");
    return mState.Answers().userValue;
}

service_plugin::LLString* SimUserService::GetUserText1(service_plugin::LLString* out) {
    mState.Calls().Record("IUserService::GetUserText1");
    *out = mState.Answers().userText1.c_str();
    return out;
}

service_plugin::LLString* SimUserService::GetUserText2(service_plugin::LLString* out) {
    mState.Calls().Record("IUserService::GetUserText2");
    *out = mState.Answers().userText2.c_str();
    return out;
}

service_plugin::RoomInfo* SimRoomService::GetRoomInfo(service_plugin::RoomInfo* out) {
    mState.Calls().Record("IRoomService::GetRoomInfo");
    out->gameId = mState.Answers().gameId;
    return out;
}

void SimAudioService::AddAudioEvent(service_plugin::IAudioServiceEvent* listener,
                                    std::int32_t kind, std::int32_t flags) {
    mState.Calls().Record("IAudioService::AddAudioEvent",
                          std::to_string(kind) + " " + std::to_string(flags));
    std::lock_guard lock(mMutex);
    mListeners.push_back(listener);
}

void SimAudioService::RemoveAudioEvent(service_plugin::IAudioServiceEvent* listener) {
    mState.Calls().Record("IAudioService::RemoveAudioEvent");
    std::lock_guard lock(mMutex);
    Remove(mListeners, listener);
}

void SimAudioService::GetAudioFormat(service_plugin::AudioFormat* out) {
    mState.Calls().Record("IAudioService::GetAudioFormat");
    const auto answers = mState.Answers();
    out->rate = answers.audioRate;
    out->second = answers.audioSecond;
}

std::vector<service_plugin::IAudioServiceEvent*> SimAudioService::Listeners() const {
    std::lock_guard lock(mMutex);
    return mListeners;
}

void SimLiveService::AddLiveEvent(service_plugin::ILiveEvent* listener) {
    mState.Calls().Record("ILiveService::AddLiveEvent");
    std::lock_guard lock(mMutex);
    mListeners.push_back(listener);
}

void SimLiveService::RemoveLiveEvent(service_plugin::ILiveEvent* listener) {
    mState.Calls().Record("ILiveService::RemoveLiveEvent");
    std::lock_guard lock(mMutex);
    Remove(mListeners, listener);
}

std::int64_t SimLiveService::GetLiveId() {
    mState.Calls().Record("ILiveService::GetLiveId");
    return mState.Answers().liveId;
}

std::vector<service_plugin::ILiveEvent*> SimLiveService::Listeners() const {
    std::lock_guard lock(mMutex);
    return mListeners;
}

}  // namespace sim
