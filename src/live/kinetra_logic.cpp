#include "live/kinetra_logic.h"

#include <string>

#include "commands/req_init_data_cmd.h"
#include "commands/request_address.h"
#include "commands/user_info_command.h"
#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "live/presenter_dialog.h"
#include "plugin/engine_route.h"
#include "signal/taf_task.h"
#include "signal/taf_task_no_rsp.h"
#include "taf/records/live_attribute.h"
#include "taf/records/live_messages.h"

namespace kinetra {
namespace {

// The change-type timer runs this long after an open notice and after the end of each run.
constexpr std::int64_t kChangeTypePeriodMs = 5000;

// The room's two live tags while the avatar is on air, and how long the servers keep them.
constexpr char kLiveTag[] = "sorvane3d";
constexpr char kMultiPkLiveTag[] = "sorvane3d_multipk";
constexpr std::int64_t kLiveTagKeptWhenSet = 10000;
constexpr std::int64_t kLiveTagKeptWhenCleared = 1200;

// What the viewers' clients recognise as the avatar-type message.
constexpr std::size_t kViewerMsgHeaderSize = 32;
constexpr char kViewerMsgHeaderByte = 0x01;
constexpr std::int32_t kViewerMsgId = 1000114;

taf::Bytes DecimalBytes(std::int64_t value) {
    const std::string text = std::to_string(value);
    return taf::Bytes(text.begin(), text.end());
}

void RunOpenState(KinetraLogic& logic, const taf::Bytes& payload) {
    logic.OnOpenState(payload);
}
void RunPushSubscription(KinetraLogic& logic, const taf::Bytes& payload) {
    logic.OnPushSubscription(payload);
}
void RunPresenterDialog(KinetraLogic& logic, const taf::Bytes& payload) {
    logic.OnPresenterDialog(payload);
}

// The live logic's handlers of engine messages, by the names the message table gives them.
constexpr EngineBinding<KinetraLogic> kLiveBindings[] = {
    {"UserInfoCommand", &RunCommand<UserInfoCommand>},
    {"OnPushSubscription", &RunPushSubscription},
    {"OnOpenState", &RunOpenState},
    {"OnPresenterDialog", &RunPresenterDialog},
};
constexpr auto kLiveSteps = BindEngineSteps(EngineArea::live, kLiveBindings);

}  // namespace

KinetraLogic::~KinetraLogic() {
    // The push tables take their handlers back from the host as they go.
    StopChangeTypeTimer();
}

void KinetraLogic::Init(const std::shared_ptr<PluginContext>& owner) {
    mGameLogic.Init(owner);
    mCamera.Init(owner);
    mOwner.Reset(owner);
    auto* signal = owner->SignalService();
    mSignalService = signal;
    mPushes.Open(signal);
    SubscribeFixedPushes(owner);
}

void KinetraLogic::Uninit() {
    StopChangeTypeTimer();
    ReqSetLiveAttribute(0);
    mGameLogic.Uninit();
    mPushes.Close();
}

void KinetraLogic::RunEngineStep(EngineArea area, std::size_t step, const taf::Bytes& payload) {
    if (area == EngineArea::games) {
        mGameLogic.RunEngineStep(step, payload);
    } else if (const auto run = kLiveSteps[step]) {
        run(*this, payload);
    }
}

void KinetraLogic::OnOpenState(const taf::Bytes& payload) {
    MeruKinetra::OpenStateMsg state;
    taf::fromBytesLenient(payload, state);
    core::logger_stream(core::level_inf) << "KinetraLogic::OnOpenState"
                                         << " kinetra open =" << state.open;
    if (state.open == 0) {
        if (const auto owner = mOwner.Lock()) {
            owner->Stop();
            owner->SetCurrentSource(nullptr);
        }
        mCamera.RetoreCamera();
        return;
    }
    mVirtualType = state.virtualType;
    StartChangeTypeTimer();
    mGameLogic.ReqGetVirtualCrownGameOrnament();
    ReqInitDataCmd(mOwner.Get()).EexecuteCommand();
}

void KinetraLogic::StartChangeTypeTimer() {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    // The owner's clock and alarms: the system's in the plug-in, a test's own in a test.
    auto timer = win32::thread_pool::instance().create_timer(owner->TimerSource());
    // The timer may outlive the instance by a run: it reaches this object only through the
    // instance, which owns it.
    timer->connect(
        [this, weakOwner = mOwner.Get()](core::error_e code) {
            if (const auto alive = weakOwner.lock()) {
                OnTimeToChangeTypeId(code);
            }
        },
        0);
    std::shared_ptr<win32::tpp_timer> previous;
    {
        std::lock_guard lock(mTimerMutex);
        previous = std::exchange(mChangeTypeTimer, timer);
    }
    // Released outside the lock: closing waits for a run in flight.
    previous.reset();
    timer->start(kChangeTypePeriodMs);
}

void KinetraLogic::StopChangeTypeTimer() {
    std::shared_ptr<win32::tpp_timer> timer;
    {
        std::lock_guard lock(mTimerMutex);
        timer = std::move(mChangeTypeTimer);
    }
    if (timer) {
        timer->cancel();
        timer->close();
    }
}

void KinetraLogic::OnTimeToChangeTypeId(core::error_e) {
    const auto owner = mOwner.Lock();
    auto* room = owner ? owner->RoomService() : nullptr;
    auto* signal = owner ? owner->SignalService() : nullptr;
    if (room == nullptr || signal == nullptr || !owner->IsLive()) {
        return;
    }
    const std::int32_t virtualType = mVirtualType;
    const taf::Bytes typeText = DecimalBytes(virtualType);
    ReqSetLiveAttribute(1);
    service_plugin::RoomInfo info;
    room->GetRoomInfo(&info);

    MERU::TransMsgToViewerReq request;
    request.tMsg.sHeader.assign(kViewerMsgHeaderSize, kViewerMsgHeaderByte);
    request.tMsg.iMsgId = kViewerMsgId;
    request.tMsg.vData = typeText;
    auto* account = signal->GetAccount();
    request.lUid = account != nullptr ? account->GetUid() : 0;
    request.lUidAgain = request.lUid;
    // Nobody reads the answer.
    signal->SendTask(new Meru::TafTaskWithTid<MERU::TransMsgToViewerReq, MERU::TransMsgToViewerRsp>(
        std::move(request), RequestAddress(taf::kTransMsgToViewer),
        [](const Meru::SignalErrorHelper*, MERU::TransMsgToViewerRsp*) {}));
    core::logger_stream(core::level_inf)
        << "KinetraLogic::OnTimeToChangeTypeId"
        << " mVirtualType=" << virtualType << " gameid=" << info.gameId;
}

void KinetraLogic::ReqSetLiveAttribute(std::int32_t open) {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    auto* signal = mSignalService.load();
    if (signal == nullptr) {
        core::logger_stream(core::level_err) << "KinetraLogic::ReqSetLiveAttribute"
                                             << " mSignalService is null";
        return;
    }
    core::logger_stream(core::level_inf) << "KinetraLogic::ReqSetLiveAttribute";
    auto* live = owner->LiveService();
    MERU::SetLiveAttributeReq request;
    request.lLiveId = live != nullptr ? live->GetLiveId() : 0;
    const MERU::LiveTagValue value{DecimalBytes(open), 0,
                                   open == 1 ? kLiveTagKeptWhenSet : kLiveTagKeptWhenCleared};
    request.mpTags.emplace(kLiveTag, value);
    request.mpTags.emplace(kMultiPkLiveTag, value);
    signal->SendTask(new Meru::TafTaskNoRspWithTid<MERU::SetLiveAttributeReq>(
        std::move(request), RequestAddress(taf::kSetLiveTag),
        [](const Meru::SignalErrorHelper* error) {
            if (error != nullptr && (error->resultCode != 0 || error->serverResult != 0)) {
                core::logger_stream(core::level_inf)
                    << "KinetraLogic::ReqSetLiveAttribute::<lambda_1>::operator ()"
                    << " error";
            }
        }));
}

void KinetraLogic::OnSourceCreated() {
    mCamera.SaveCamera();
    mCamera.RemoveCamera();
}

void KinetraLogic::OnPresenterDialog(const taf::Bytes& payload) {
    MeruKinetra::PresenterDialogReq request;
    taf::fromBytesLenient(payload, request);
    if (const auto owner = mOwner.Lock()) {
        ShowPresenterDialog(owner, request);
    }
}

}  // namespace kinetra
