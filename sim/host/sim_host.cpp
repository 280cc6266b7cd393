#include "host/sim_host.h"

namespace sim {

SimHost::SimHost(HostAnswers answers, std::set<ServiceKind> absent) : mState(std::move(answers)) {
    const auto provide = [&](ServiceKind kind, const char* module, const char* instance,
                             void* service) {
        if (absent.count(kind) == 0) {
            mRegistry.Provide(module, instance, service);
        }
    };
    // Each service is registered as the interface pointer the plug-in will cast it to.
    provide(ServiceKind::signal, "service_signal", "plugin:signal",
            static_cast<service_plugin::ISignalService*>(&mSignal));
    provide(ServiceKind::user, "service_user", "plugin:user",
            static_cast<service_plugin::IUserService*>(&mUser));
    provide(ServiceKind::room, "service_room", "plugin:room",
            static_cast<service_plugin::IRoomService*>(&mRoom));
    provide(ServiceKind::audio, "audio_service", "plugin:audio_service",
            static_cast<service_plugin::IAudioService*>(&mAudio));
    provide(ServiceKind::live, "service_live", "plugin:live",
            static_cast<service_plugin::ILiveService*>(&mLive));
    provide(ServiceKind::presenter, "service_presenter", "plugin:presenter",
            static_cast<service_plugin::IPresenterService*>(&mPresenter));
}

}  // namespace sim
