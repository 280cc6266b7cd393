// Keeps the instance's live flag in step with the host's live service and tells the engine
// (message 39), on every live event and on every open or close notice.
#pragma once

#include <memory>
#include <mutex>

#include "context/context_ref.h"
#include "service_plugin/host_services.h"

namespace kinetra {

class LiveStateNoticeCmd final : public service_plugin::ILiveEvent {
public:
    LiveStateNoticeCmd() = default;
    // Stops listening when the instance goes without having been stopped.
    ~LiveStateNoticeCmd() { Uninit(); }
    LiveStateNoticeCmd(const LiveStateNoticeCmd&) = delete;
    LiveStateNoticeCmd& operator=(const LiveStateNoticeCmd&) = delete;

    // Listens to the live service when the instance has one; once, however often it runs.
    void Init(const std::shared_ptr<PluginContext>& owner);
    // Stops listening, from the service it listens to; the owner stays set so that later
    // notices still answer.
    void Uninit();
    // Sets the instance's flag and sends it to the engine.
    void NotifyLiveState(bool live);

    // On the live service's thread.
    void OnLiveEvent() override {}
    void OnLiveStarted() override;
    void OnLiveStopped() override;

private:
    ContextRef mOwner;
    // The service this listens to, null when it does not.
    std::mutex mMutex;
    service_plugin::ILiveService* mListeningTo = nullptr;
};

}  // namespace kinetra
