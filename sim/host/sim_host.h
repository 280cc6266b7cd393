// The simulated host: its answers, its six services (any of them may be absent) and the
// registry through which a plug-in finds them.
#pragma once

#include <set>

#include "host/host_state.h"
#include "host/sim_presenter_service.h"
#include "host/sim_registry.h"
#include "host/sim_services.h"
#include "host/sim_signal_service.h"

namespace sim {

class SimHost {
public:
    explicit SimHost(HostAnswers answers = {}, std::set<ServiceKind> absent = {});

    service_plugin::IPluginRegistry* Registry() { return &mRegistry; }
    SimRegistry& Registration() { return mRegistry; }
    HostState& State() { return mState; }
    CallLog& Calls() { return mState.Calls(); }

    SimSignalService& Signal() { return mSignal; }
    SimUserService& User() { return mUser; }
    SimRoomService& Room() { return mRoom; }
    SimAudioService& Audio() { return mAudio; }
    SimLiveService& Live() { return mLive; }
    SimPresenterService& Presenter() { return mPresenter; }

private:
    HostState mState;
    SimSignalService mSignal{mState};
    SimUserService mUser{mState};
    SimRoomService mRoom{mState};
    SimAudioService mAudio{mState};
    SimLiveService mLive{mState};
    SimPresenterService mPresenter{mState};
    SimRegistry mRegistry{mState};
};

}  // namespace sim
