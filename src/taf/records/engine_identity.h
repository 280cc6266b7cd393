// Engine payloads about who is signed in and which game the room plays.
#pragma once

#include <cstdint>
#include <string>

#include "taf/record_table.h"

namespace MeruKinetra {

// Message 25, the answer to 24: the signed-in user's identity.
struct UserInfoMsg {
    std::int32_t iSeq = 0;
    std::int64_t lUid = 0;
    std::string sGuid;
    std::string sToken;
    std::string sUA;
    std::string sCookie;
    std::int32_t iTokenType = 0;

    static constexpr auto tafTable() {
        return taf::table("UserInfoMsg", taf::optional(0, &UserInfoMsg::iSeq, "iSeq"),
                          taf::optional(1, &UserInfoMsg::lUid, "lUid"),
                          taf::optional(2, &UserInfoMsg::sGuid, "sGuid"),
                          taf::optional(3, &UserInfoMsg::sToken, "sToken").hidden(),
                          taf::optional(4, &UserInfoMsg::sUA, "sUA"),
                          taf::optional(5, &UserInfoMsg::sCookie, "sCookie").hidden(),
                          taf::optional(6, &UserInfoMsg::iTokenType, "iTokenType"));
    }
};

// Message 2014 in both directions; the engine's request carries nothing that is read.
struct GameIdMsg {
    std::int32_t iGameId = 0;

    static constexpr auto tafTable() {
        return taf::table("GameIdMsg", taf::optional(0, &GameIdMsg::iGameId, "iGameId"));
    }
};

}  // namespace MeruKinetra
