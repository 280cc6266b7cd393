#include "host/sim_presenter_service.h"

#include <array>
#include <sstream>

namespace sim {
namespace {

std::string Pair(const float values[2]) {
    std::ostringstream text;
    text << values[0] << " " << values[1];
    return text.str();
}

std::array<float, 2> Floats(const float values[2]) {
    return {values[0], values[1]};
}

}  // namespace

bool SimPresenterService::IsTestEnv() {
    mState.Calls().Record("IPresenterService::IsTestEnv");
    return mState.Answers().testEnv;
}

service_plugin::LLString* SimPresenterService::GetClientVersion(service_plugin::LLString* out) {
    mState.Calls().Record("IPresenterService::GetClientVersion");
    *out = mState.Answers().clientVersion.c_str();
    return out;
}

service_plugin::PresenterSource* SimPresenterService::CreateSource(const char* kind,
                                                                   const char* name, std::int32_t,
                                                                   std::int32_t) {
    mState.Calls().Record("IPresenterService::CreateSource", std::string(kind) + " " + name);
    mState.Report({"CreateSource", {{"kind", std::string(kind)}, {"name", std::string(name)}}});
    std::lock_guard lock(mMutex);
    mSources.push_back(std::make_unique<service_plugin::PresenterSource>(
        service_plugin::PresenterSource{kind, name, {0, 0}, {1, 1}}));
    return mSources.back().get();
}

void SimPresenterService::GetCanvasSize(service_plugin::PresenterSource*, std::uint32_t* width,
                                        std::uint32_t* height) {
    mState.Calls().Record("IPresenterService::GetCanvasSize");
    const auto answers = mState.Answers();
    *width = answers.canvasWidth;
    *height = answers.canvasHeight;
}

void SimPresenterService::SetSourceTransform(service_plugin::PresenterSource* source,
                                             const float position[2], const float scale[2]) {
    mState.Calls().Record("IPresenterService::SetSourceTransform",
                          Pair(position) + " " + Pair(scale));
    mState.Report(
        {"SetSourceTransform", {{"position", Floats(position)}, {"scale", Floats(scale)}}});
    std::lock_guard lock(mMutex);
    source->position[0] = position[0];
    source->position[1] = position[1];
    source->scale[0] = scale[0];
    source->scale[1] = scale[1];
}

void SimPresenterService::ShowDialog(const char* json, void* context,
                                     service_plugin::DialogCallback callback) {
    mState.Calls().Record("IPresenterService::ShowDialog", json);
    mState.Report({"ShowDialog", {{"json", std::string(json)}}});
    if (const auto result = mState.Answers().dialogResult) {
        callback(context, *result);
        return;
    }
    std::lock_guard lock(mMutex);
    mDialogs.push_back({context, callback});
}

bool SimPresenterService::AnswerDialog(std::uint32_t result) {
    PendingDialog dialog;
    {
        std::lock_guard lock(mMutex);
        if (mDialogs.empty()) {
            return false;
        }
        dialog = mDialogs.front();
        mDialogs.pop_front();
    }
    dialog.callback(dialog.context, result);
    return true;
}

void SimPresenterService::AnswerDialogOnOwnThread(std::uint32_t result) {
    mThread.Schedule(ServiceThread::Clock::duration::zero(),
                     [this, result] { AnswerDialog(result); });
}

bool SimPresenterService::WaitIdle(std::chrono::milliseconds limit) {
    return mThread.WaitIdle(limit);
}

void SimPresenterService::GetCamera(service_plugin::LLString* name,
                                    service_plugin::LLString* detail, float a[2], float b[2]) {
    mState.Calls().Record("IPresenterService::GetCamera");
    const auto camera = mState.Answers().camera;
    *name = camera.name.c_str();
    *detail = camera.detail.c_str();
    a[0] = camera.a[0];
    a[1] = camera.a[1];
    b[0] = camera.b[0];
    b[1] = camera.b[1];
}

void SimPresenterService::ClearCamera() {
    mState.Calls().Record("IPresenterService::ClearCamera");
    mState.Report({"ClearCamera", {}});
}

void SimPresenterService::RestoreCamera(const service_plugin::LLString& name,
                                        const service_plugin::LLString& detail, const float a[2],
                                        const float b[2]) {
    mState.Calls().Record("IPresenterService::RestoreCamera",
                          std::string(name.Str() ? name.Str() : "") + " " +
                              (detail.Str() ? detail.Str() : "") + " " + Pair(a) + " " + Pair(b));
    mState.Report({"RestoreCamera",
                   {{"name", std::string(name.Str() ? name.Str() : "")},
                    {"detail", std::string(detail.Str() ? detail.Str() : "")},
                    {"a", Floats(a)},
                    {"b", Floats(b)}}});
}

}  // namespace sim
