// The simulated presenter: scene sources, canvas, camera and dialogs.
#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "host/host_state.h"
#include "host/service_thread.h"
#include "service_plugin/host_services.h"

namespace service_plugin {
// The simulated host's scene source.
struct PresenterSource {
    std::string kind;
    std::string name;
    float position[2] = {0, 0};
    float scale[2] = {1, 1};
};
}  // namespace service_plugin

namespace sim {

struct PendingDialog {
    void* context = nullptr;
    service_plugin::DialogCallback callback = nullptr;
};

class SimPresenterService : public service_plugin::IPresenterService {
public:
    explicit SimPresenterService(HostState& state) : mState(state) {}

    bool IsTestEnv() override;
    service_plugin::LLString* GetClientVersion(service_plugin::LLString* out) override;
    service_plugin::PresenterSource* CreateSource(const char* kind, const char* name,
                                                  std::int32_t flags,
                                                  std::int32_t settings) override;
    void GetCanvasSize(service_plugin::PresenterSource* source, std::uint32_t* width,
                       std::uint32_t* height) override;
    void SetSourceTransform(service_plugin::PresenterSource* source, const float position[2],
                            const float scale[2]) override;
    void ShowDialog(const char* json, void* context,
                    service_plugin::DialogCallback callback) override;
    void GetCamera(service_plugin::LLString* name, service_plugin::LLString* detail, float a[2],
                   float b[2]) override;
    void ClearCamera() override;
    void RestoreCamera(const service_plugin::LLString& name, const service_plugin::LLString& detail,
                       const float a[2], const float b[2]) override;

    // Answers the oldest open dialog on the calling thread; false when none is open.
    bool AnswerDialog(std::uint32_t result);
    // Answers the oldest dialog open by then on the presenter's own thread, as the host's user
    // interface does; returns at once.
    void AnswerDialogOnOwnThread(std::uint32_t result);
    // Waits until every answer on the presenter's thread has been given; false when `limit`
    // passed first.
    bool WaitIdle(std::chrono::milliseconds limit = std::chrono::milliseconds(5000));
    // Ends the presenter's thread for good, before the plug-in's code goes away.
    void Shutdown() { mThread.Stop(); }

private:
    HostState& mState;
    std::mutex mMutex;
    std::vector<std::unique_ptr<service_plugin::PresenterSource>> mSources;
    std::deque<PendingDialog> mDialogs;
    ServiceThread mThread;
};

}  // namespace sim
