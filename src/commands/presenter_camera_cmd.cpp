#include "commands/presenter_camera_cmd.h"

#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "core/text.h"

namespace kinetra {
namespace {

std::wstring Wide(const service_plugin::LLString& text) {
    return text.Str() != nullptr ? core::Utf8ToWide(text.Str(), static_cast<int>(text.Length()))
                                 : std::wstring();
}

}  // namespace

void PresenterCameraCmd::Init(const std::shared_ptr<PluginContext>& owner) {
    mOwner.Reset(owner);
}

void PresenterCameraCmd::SaveCamera() {
    const auto owner = mOwner.Lock();
    auto* presenter = owner ? owner->PresenterService() : nullptr;
    if (presenter == nullptr) {
        return;
    }
    presenter->GetCamera(&mName, &mDetail, mA, mB);
    core::logger_stream(core::level_inf) << "PresenterCameraCmd::SaveCamera"
                                         << " camera name:" << Wide(mName);
}

void PresenterCameraCmd::RemoveCamera() {
    const auto owner = mOwner.Lock();
    auto* presenter = owner ? owner->PresenterService() : nullptr;
    if (presenter == nullptr) {
        return;
    }
    core::logger_stream(core::level_inf) << "PresenterCameraCmd::RemoveCamera"
                                         << " camera name:" << Wide(mName);
    presenter->ClearCamera();
}

void PresenterCameraCmd::RetoreCamera() {
    const auto owner = mOwner.Lock();
    auto* presenter = owner ? owner->PresenterService() : nullptr;
    if (presenter == nullptr || mDetail.Length() == 0) {
        return;
    }
    core::logger_stream(core::level_inf) << "PresenterCameraCmd::RetoreCamera";
    presenter->RestoreCamera(mName, mDetail, mA, mB);
    mDetail = "";
    mName = "";
}

}  // namespace kinetra
