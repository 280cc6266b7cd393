// The game pushes: each is forwarded to the engine while the owner lives.
#include "context/plugin_context.h"
#include "core/logger_stream.h"
#include "games/kinetra_interactive_game_logic.h"
#include "taf/records/crown_game.h"
#include "taf/records/interactive_game.h"
#include "taf/records/travel_game.h"
#include "taf/render.h"

namespace kinetra {

// What the log shows in place of every key word, whatever its length.
inline constexpr const char* kMaskedKeyWord = "*****";

void KinetraInteractiveGameLogic::OnVirtualCrownGameDataNotify(
    MERU::VirtualCrownGameDataNotify& notify) {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    core::logger_stream(core::level_inf)
        << L"KinetraInteractiveGameLogic::OnVirtualCrownGameDataNotify" << L" luid=" << notify.lUid
        << L" iOrnamentType=" << notify.iOrnamentType;
    owner->SendToEngine(ToEngine::kCrownGameData, notify);
}

void KinetraInteractiveGameLogic::OnVirtualTravelGuessWordsGameNotice(
    MERU::VirtualTravelGuessWordsGameNotice& notice) {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    const MERU::GuessWordsGamePushInfo unmasked = notice.tGuessWordsGamePushInfo;
    for (auto& word : notice.tGuessWordsGamePushInfo.vKeyWordInfo) {
        word.sKeyWord = kMaskedKeyWord;
    }
    core::logger_stream(core::level_inf)
        << L"KinetraInteractiveGameLogic::OnVirtualTravelGuessWordsGameNotice" << L" "
        << taf::render(notice);
    owner->SendToEngine(ToEngine::kTravelGuessWords, unmasked);
}

void KinetraInteractiveGameLogic::OnVirtualTravelEmpowermentGameNotice(
    MERU::VirtualTravelEmpowermentGameNotice& notice) {
    const auto owner = mOwner.Lock();
    if (!owner) {
        return;
    }
    core::logger_stream(core::level_inf)
        << L"KinetraInteractiveGameLogic::OnVirtualTravelEmpowermentGameNotice" << L" "
        << taf::render(notice);
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
