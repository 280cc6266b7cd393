#include "plugin/kinetra_service_plugin_impl.h"

#include <cstring>

#include "commands/req_start_config_command.h"
#include "core/boundary.h"
#include "live/presenter_dialog.h"
#include "plugin/engine_channel.h"
#include "plugin/engine_envelope.h"
#include "plugin/host_registry.h"
#include "taf/shared_spare.h"

namespace kinetra {
namespace {

// The largest engine message whose buffer a thread keeps for the next one: audio blocks and
// ordinary answers fit, a rare large pass-through does not stay allocated.
constexpr std::size_t kKeptPayloadBytes = 64 * 1024;

// The envelope is written while the record it carries may still be in the kept spare.
struct EnvelopeUse;

// Looks one service up in the host's registry; logs `missing` when the host has none.
template <typename Service>
Service* Query(service_plugin::IPluginRegistry* registry, const char* module, const char* instance,
               const wchar_t* missing) {
    void* found = nullptr;
    registry->QueryInstance(module, instance, &found);
    if (found == nullptr) {
        core::logger_stream(core::level_inf)
            << "KinetraServicePluginImpl::KinetraServicePluginImpl" << missing;
    }
    return static_cast<Service*>(found);
}

}  // namespace

std::shared_ptr<KinetraServicePluginImpl> KinetraServicePluginImpl::Create() {
    auto instance = std::make_shared<KinetraServicePluginImpl>(CreateKey{});
    // Registered only once owned: a message can then always find its owner, or its absence.
    if (instance->mEngineServer != nullptr) {
        instance->mListening = true;
        instance->mEngineServer->AddEvent(instance.get());
    }
    return instance;
}

KinetraServicePluginImpl::KinetraServicePluginImpl(CreateKey)
    : PluginInstanceImpl(kInstanceName), mEngineServer(EngineChannelServer()) {
    QueryServices();
    if (mEngineServer != nullptr) {
        mEngineServer->Init();
    }
    if (auto* live = mLiveService.load()) {
        mLive = live->GetLiveId() > 0;
    }
}

KinetraServicePluginImpl::~KinetraServicePluginImpl() {
    StopListening();
}

void KinetraServicePluginImpl::StopListening() {
    if (mEngineServer != nullptr && mListening.exchange(false)) {
        mEngineServer->RemoveEvent(this);
        mEngineServer->Uninit();
    }
}

void KinetraServicePluginImpl::OnMsg(const char* channel, const char* data, std::uint32_t size) {
    core::at_boundary(L"KinetraServicePluginImpl::OnMsg", [&] {
        if (mReleased || channel == nullptr || std::strcmp(channel, kEngineChannelName) != 0) {
            return;
        }
        // While the instance is being destroyed it has no owner left, and the message is
        // dropped; otherwise the owner taken here keeps it alive through the dispatch.
        const auto self = weak_from_this().lock();
        if (!self) {
            return;
        }
        const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(data),
                                                  data != nullptr ? size : 0);
        // The kept envelope is read over, so its payload buffer serves every message.
        taf::SharedSpare<MeruKinetra::EngineMessage> envelope;
        ReadEngineEnvelope(bytes, *envelope);
        self->OnEngineMessage(static_cast<std::int32_t>(envelope->type), envelope->payload);
        if (envelope->payload.capacity() > kKeptPayloadBytes) {
            taf::Bytes().swap(envelope->payload);
        }
    });
}

void KinetraServicePluginImpl::SendToEngine(ToEngine type, std::span<const std::uint8_t> payload) {
    if (mEngineServer == nullptr) {
        return;
    }
    taf::SharedSpare<taf::TafOutputStream, EnvelopeUse> bytes;
    bytes->reset();
    WriteEngineEnvelope(number(type), payload, *bytes);
    mEngineServer->SendMsg(kEngineChannelName, reinterpret_cast<const char*>(bytes->data()),
                           static_cast<std::uint32_t>(bytes->size()));
    bytes->releaseAbove(kKeptPayloadBytes);
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
        core::logger_stream(core::level_inf) << "KinetraServicePluginImpl::Start";
        if (auto* presenter = mPresenterService.load()) {
            core::logger_stream(core::level_inf) << "KinetraServicePluginImpl::Start"
                                                 << " is test evn " << presenter->IsTestEnv();
        }
        // The features start in this order: live-state notice, gift list, live logic, start
        // configuration request, audio transfer, gift list request.
        mLiveState.Init(shared_from_this());
        mGiftList.Init(shared_from_this());
        mLogic.Init(shared_from_this());
        ReqStartConfigCommand(weak_from_this()).EexecuteCommand();
        mAudioTransfer.Init(mAudioService, shared_from_this());
        mGiftList.ReqPropList();
    });
    return true;
}

void KinetraServicePluginImpl::Stop() {
    core::at_boundary(L"KinetraServicePluginImpl::Stop", [this] {
        core::logger_stream(core::level_inf) << "KinetraServicePluginImpl::Stop";
        // The features stop in this order: live logic, audio transfer, live-state notice.
        mLogic.Uninit();
        mAudioTransfer.Unit();
        mLiveState.Uninit();
    });
}

void KinetraServicePluginImpl::Uninit() {
    mReleased = true;
    Stop();
    ReleaseOpenDialogs(this);
    mSignalService = nullptr;
    mUserService = nullptr;
    mRoomService = nullptr;
    mAudioService = nullptr;
    mLiveService = nullptr;
    mPresenterService = nullptr;
}

}  // namespace kinetra
