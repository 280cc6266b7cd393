#include "commands/req_start_config_command.h"

#include "commands/start_config_parse.h"
#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "signal/host_text.h"

namespace kinetra {
namespace {

// A configuration text longer than this is not read: the real one is a few kilobytes, and
// reading the banner's JSON costs many times its text, so a server could otherwise make the
// plug-in take hundreds of megabytes. The engine then gets the empty configuration, as for an
// unreadable reply.
constexpr std::size_t kMaxConfigText = 1024 * 1024;

// The length of the response as text, each map's name and entry count, then its entries a line
// each (only the length is logged, so the text is not built).
std::size_t ConfigTextLength(const MERU::GetConfigRsp& response) {
    std::size_t length = 0;
    taf::forEachField(response, [&](const taf::FieldInfo& field, const auto& map) {
        length += std::string_view(field.name).size() + 2 + std::to_string(map.size()).size() + 1;
        for (const auto& [key, value] : map) {
            length += key.size() + 2 + value.size() + 1;
        }
    });
    return length;
}

const std::string* Find(const std::map<std::string, std::string>& config, const char* key) {
    const auto entry = config.find(key);
    return entry == config.end() ? nullptr : &entry->second;
}

}  // namespace

void ReqStartConfigCommand::EexecuteCommand() {
    auto instance = mOwner.lock();
    if (!instance) {
        return;
    }
    core::logger_stream(core::level_inf) << "ReqStartConfigCommand::EexecuteCommand"
                                         << " req start config";
    const std::map<std::string, std::string> param = {{"isEnable3DKinetra", "1"},
                                                      {"virtual_new_downloader", "1"}};
    // Holds the instance weakly: a task the host still holds keeps nothing alive after the
    // instance is released, and its late answer is dropped.
    instance->GetConfig(
        param, [weakInstance = std::weak_ptr(instance)](const Meru::SignalErrorHelper* error,
                                                        MERU::GetConfigRsp* response) {
            if (error->errCode == Meru::kTimedOut) {
                core::logger_stream(core::level_inf)
                    << "ReqStartConfigCommand::EexecuteCommand::<lambda_1>::operator ()"
                    << " time out";
                return;
            }
            if (const auto alive = weakInstance.lock()) {
                OpenKinetra(*response, *alive);
            }
        });
}

void ReqStartConfigCommand::OpenKinetra(const MERU::GetConfigRsp& response,
                                        PluginContext& instance) {
    const std::size_t length = ConfigTextLength(response);
    core::logger_stream(core::level_inf) << "ReqStartConfigCommand::OpenKinetra"
                                         << " config length=" << length;
    MeruKinetra::StartConfigMsg message;
    const std::map<std::string, std::string> none;
    const bool oversized = length > kMaxConfigText;
    if (oversized) {
        core::logger_stream(core::level_err)
            << "ReqStartConfigCommand::OpenKinetra"
            << " config over " << kMaxConfigText << " bytes, not read";
    }
    const auto& config = oversized ? none : response.mpConfig;
    if (const auto* banner = Find(config, "Virtual3DBannerTip")) {
        ReadBannerTips(*banner, message);
    }
    if (const auto* url = Find(config, "SimpleKinetraUrl")) {
        message.sSimpleUrl = *url;
    }
    if (const auto* url = Find(config, "KinetraFileConfigUrl")) {
        message.sFileConfigUrl = *url;
    }
    if (const auto* updater = Find(config, "new_updater_config")) {
        if (!ReadUpdaterConfig(*updater, message.tUpdater)) {
            core::logger_stream(core::level_err) << "ReqStartConfigCommand::OpenKinetra"
                                                 << " Json parse failed.";
        }
    }
    if (auto* room = instance.RoomService()) {
        service_plugin::RoomInfo info;
        room->GetRoomInfo(&info);
        message.iGameId = info.gameId;
    }
    if (auto* user = instance.UserService()) {
        message.lUserValue = user->GetUserValue();
    }
    if (auto* presenter = instance.PresenterService()) {
        service_plugin::LLString name;
        service_plugin::LLString detail;
        float first[2] = {0, 0};
        float second[2] = {0, 0};
        presenter->GetCamera(&name, &detail, first, second);
        if (detail.Str() != nullptr) {
            message.tCamera = CameraFromDetail(Meru::CopyText(name), Meru::CopyText(detail));
            message.tCamera.tFirst = {first[0], first[1]};
            message.tCamera.tSecond = {second[0], second[1]};
        }
    }
    instance.SendToEngine(ToEngine::kStartConfig, message);
}

}  // namespace kinetra
