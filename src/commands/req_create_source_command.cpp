#include "commands/req_create_source_command.h"

#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "core/text.h"
#include "taf/records/presenter_messages.h"

namespace kinetra {
namespace {

constexpr char kSourceKind[] = "va_source";
// The source's name as the presenter shows it: "virtual figure".
constexpr wchar_t kSourceName[] = L"\u865A\u62DF\u5F62\u8C61";
constexpr float kInitialScale = 1.5f;

}  // namespace

service_plugin::PresenterSource* ReqCreateSourceCommand::EexecuteCommand() {
    core::logger_stream(core::level_inf) << "ReqCreateSourceCommand::EexecuteCommand";
    const auto owner = mOwner.lock();
    auto* presenter = owner ? owner->PresenterService() : nullptr;
    if (presenter == nullptr) {
        return nullptr;
    }
    auto* source =
        presenter->CreateSource(kSourceKind, core::WideToUtf8(kSourceName).c_str(), 0, 0);
    if (source == nullptr) {
        return nullptr;
    }
    const float position[2] = {0, 0};
    const float scale[2] = {kInitialScale, kInitialScale};
    presenter->SetSourceTransform(source, position, scale);
    return source;
}

void FitSourceToCanvas(service_plugin::IPresenterService* presenter,
                       service_plugin::PresenterSource* source, const taf::Bytes& payload) {
    if (presenter == nullptr || source == nullptr) {
        return;
    }
    MeruKinetra::SourceSizeMsg size;
    taf::fromBytesLenient(payload, size);
    if (size.iWidth == 0 || size.iHeight == 0) {
        return;
    }
    std::uint32_t canvasWidth = 0;
    std::uint32_t canvasHeight = 0;
    presenter->GetCanvasSize(source, &canvasWidth, &canvasHeight);
    const float scale = static_cast<float>(canvasHeight) / static_cast<float>(size.iHeight);
    const float x =
        (static_cast<float>(canvasWidth) - static_cast<float>(size.iWidth) * scale) * 0.5f;
    const float position[2] = {x, 0};
    const float scales[2] = {scale, scale};
    presenter->SetSourceTransform(source, position, scales);
}

}  // namespace kinetra
