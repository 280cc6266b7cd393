#include "host/sim_services.h"

#include <string>

namespace sim {
namespace {

// One error for each listener the plug-in left with a service.
void ReportListenersLeft(const HostState& state, std::size_t left, const char* service) {
    for (std::size_t i = 0; i < left; ++i) {
        state.ReportError({"listener still registered", {{"service", std::string(service)}}});
    }
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

void SimAudioService::AddAudioEvent(service_plugin::IAudioServiceEvent* listener, std::int32_t kind,
                                    std::int32_t flags) {
    mState.Calls().Record("IAudioService::AddAudioEvent",
                          std::to_string(kind) + " " + std::to_string(flags));
    mState.Report(
        {"AddAudioEvent", {{"kind", std::int64_t{kind}}, {"flags", std::int64_t{flags}}}});
    mListeners.Add(listener);
}

void SimAudioService::RemoveAudioEvent(service_plugin::IAudioServiceEvent* listener) {
    mState.Calls().Record("IAudioService::RemoveAudioEvent");
    mState.Report({"RemoveAudioEvent", {}});
    mListeners.Remove(listener);
}

void SimAudioService::GetAudioFormat(service_plugin::AudioFormat* out) {
    mState.Calls().Record("IAudioService::GetAudioFormat");
    const auto answers = mState.Answers();
    out->rate = answers.audioRate;
    out->second = answers.audioSecond;
}

void SimAudioService::Deliver(AudioDelivery delivery) {
    mThread.Schedule(ServiceThread::Clock::duration::zero(),
                     [this, delivery = std::move(delivery)] {
                         AudioCallSource source(delivery, mState.Answers().audioRate);
                         for (std::uint32_t call = 0; call < delivery.calls; ++call) {
                             const auto* frame = source.Next();
                             for (auto* listener : mListeners.Snapshot()) {
                                 listener->OnAudioData(frame, delivery.kind);
                             }
                         }
                     });
}

bool SimAudioService::WaitIdle(std::chrono::milliseconds limit) {
    return mThread.WaitIdle(limit);
}

void SimLiveService::AddLiveEvent(service_plugin::ILiveEvent* listener) {
    mState.Calls().Record("ILiveService::AddLiveEvent");
    mState.Report({"AddLiveEvent", {}});
    mListeners.Add(listener);
}

void SimLiveService::RemoveLiveEvent(service_plugin::ILiveEvent* listener) {
    mState.Calls().Record("ILiveService::RemoveLiveEvent");
    mState.Report({"RemoveLiveEvent", {}});
    mListeners.Remove(listener);
}

void SimLiveService::RaiseLiveStarted() {
    mListeners.ForEach([](service_plugin::ILiveEvent& listener) { listener.OnLiveStarted(); });
}

void SimLiveService::RaiseLiveStopped() {
    mListeners.ForEach([](service_plugin::ILiveEvent& listener) { listener.OnLiveStopped(); });
}

void SimLiveService::RaiseOnOwnThread(bool started) {
    mThread.Schedule(ServiceThread::Clock::duration::zero(), [this, started] {
        if (started) {
            RaiseLiveStarted();
        } else {
            RaiseLiveStopped();
        }
    });
}

bool SimLiveService::WaitIdle(std::chrono::milliseconds limit) {
    return mThread.WaitIdle(limit);
}

std::int64_t SimLiveService::GetLiveId() {
    mState.Calls().Record("ILiveService::GetLiveId");
    return mState.Answers().liveId;
}

void SimAudioService::ReportStillRegistered() {
    ReportListenersLeft(mState, mListeners.Clear(), "audio");
}

void SimLiveService::ReportStillRegistered() {
    ReportListenersLeft(mState, mListeners.Clear(), "live");
}

}  // namespace sim
