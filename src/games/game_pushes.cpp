// The game pushes: each is forwarded to the engine while the owner lives.
#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "games/kinetra_interactive_game_logic.h"
#include "signal/push_decode.h"
#include "taf/records/crown_game.h"
#include "taf/records/interactive_game.h"
#include "taf/records/travel_game.h"
#include "taf/render.h"

namespace kinetra {

namespace {

// What the log shows in place of every key word, whatever its length.
constexpr const char* kMaskedKeyWord = "*****";

void LogMasked(MERU::VirtualTravelGuessWordsGameNotice masked) {
    for (auto& word : masked.tGuessWordsGamePushInfo.vKeyWordInfo) {
        word.sKeyWord = kMaskedKeyWord;
    }
    core::logger_stream(core::level_inf)
        << "KinetraInteractiveGameLogic::OnVirtualTravelGuessWordsGameNotice"
        << " " << taf::render(masked);
}

}  // namespace

void KinetraInteractiveGameLogic::OnVirtualCrownGameDataNotify(
    MERU::VirtualCrownGameDataNotify& notify) {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    core::logger_stream(core::level_inf)
        << "KinetraInteractiveGameLogic::OnVirtualCrownGameDataNotify"
        << " luid=" << notify.lUid << " iOrnamentType=" << notify.iOrnamentType;
    owner->SendToEngine(ToEngine::kCrownGameData, notify);
}

void KinetraInteractiveGameLogic::OnVirtualTravelGuessWordsGameNotice(
    MERU::VirtualTravelGuessWordsGameNotice& notice, const Meru::PushDecode& decode) {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    // Masking by field hides the key words only while every field holds what the server wrote
    // in it. A push damaged on the way may carry a key word in a shown field, whether or not
    // its decoding failed, so a push that is not intact is logged without any of its fields.
    if (decode.Intact()) {
        LogMasked(notice);
    } else {
        core::logger_stream(core::level_inf)
            << "KinetraInteractiveGameLogic::OnVirtualTravelGuessWordsGameNotice"
            << " fields not shown: damaged or of an unknown layout, status=" << decode.status;
    }
    owner->SendToEngine(ToEngine::kTravelGuessWords, notice.tGuessWordsGamePushInfo);
}

void KinetraInteractiveGameLogic::OnVirtualTravelEmpowermentGameNotice(
    MERU::VirtualTravelEmpowermentGameNotice& notice) {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    core::logger_stream(core::level_inf)
        << "KinetraInteractiveGameLogic::OnVirtualTravelEmpowermentGameNotice"
        << " " << taf::render(notice);
    owner->SendToEngine(ToEngine::kTravelEmpowerment, notice.tEmpowermentGamePushInfo);
}

void KinetraInteractiveGameLogic::OnVirtualInteractiveGameNotice(
    MERU::VirtualInteractiveGameNotice& notice) {
    if (const auto owner = mOwner.Lock()) {
        owner->SendToEngine(
            ToEngine::kGameNotice,
            MeruKinetra::InteractiveGameNoticeMsg{notice.iValue0, notice.iValue1, notice.sText2,
                                                  notice.vData, notice.lNumber});
    }
}

}  // namespace kinetra
