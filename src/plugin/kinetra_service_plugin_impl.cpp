#include "plugin/kinetra_service_plugin_impl.h"

#include "core/boundary.h"
#include "plugin/host_registry.h"

namespace kinetra {
namespace {

// Looks one service up in the host's registry; logs `missing` when the host has none.
template <typename Service>
Service* Query(service_plugin::IPluginRegistry* registry, const char* module, const char* instance,
               const wchar_t* missing) {
    void* found = nullptr;
    registry->QueryInstance(module, instance, &found);
    if (found == nullptr) {
        core::logger_stream(core::level_inf)
            << L"KinetraServicePluginImpl::KinetraServicePluginImpl" << missing;
    }
    return static_cast<Service*>(found);
}

}  // namespace

KinetraServicePluginImpl::KinetraServicePluginImpl() : PluginInstanceImpl(kInstanceName) {
    QueryServices();
    if (auto* live = mLiveService.load()) {
        mLive = live->GetLiveId() > 0;
    }
}

void KinetraServicePluginImpl::QueryServices() {
    auto* registry = HostRegistry();
    if (registry == nullptr) {
        return;
    }
    using namespace service_plugin;
    mSignalService = Query<ISignalService>(registry, "service_signal", "plugin:signal",
                                           L" signal service is empty");
    mUserService =
        Query<IUserService>(registry, "service_user", "plugin:user", L" user service is empty");
    mRoomService =
        Query<IRoomService>(registry, "service_room", "plugin:room", L" room service is empty");
    mAudioService = Query<IAudioService>(registry, "audio_service", "plugin:audio_service",
                                         L" audio service is empty");
    mLiveService =
        Query<ILiveService>(registry, "service_live", "plugin:live", L" live service is empty");
    mPresenterService = Query<IPresenterService>(registry, "service_presenter", "plugin:presenter",
                                                 L" presenter service is empty");
}

bool KinetraServicePluginImpl::Start() {
    core::at_boundary(L"KinetraServicePluginImpl::Start", [this] {
        core::logger_stream(core::level_inf) << L"KinetraServicePluginImpl::Start";
        if (auto* presenter = mPresenterService.load()) {
            core::logger_stream(core::level_inf)
                << L"KinetraServicePluginImpl::Start" << L" is test evn " << presenter->IsTestEnv();
        }
        // The features start here, in this order: live-state notice, gift list, live logic,
        // start configuration request, audio transfer, gift list request.
    });
    return true;
}

void KinetraServicePluginImpl::Stop() {
    core::at_boundary(L"KinetraServicePluginImpl::Stop", [] {
        core::logger_stream(core::level_inf) << L"KinetraServicePluginImpl::Stop";
        // The features stop here, in this order: live logic, audio transfer, live-state notice.
    });
}

void KinetraServicePluginImpl::Uninit() {
    Stop();
    mSignalService = nullptr;
    mUserService = nullptr;
    mRoomService = nullptr;
    mAudioService = nullptr;
    mLiveService = nullptr;
    mPresenterService = nullptr;
}

}  // namespace kinetra
