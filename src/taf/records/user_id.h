// The user's identity that most server requests carry.
#pragma once

#include <cstdint>
#include <string>

#include "taf/record_table.h"

namespace MERU {

struct UserId {
    std::int64_t lUid = 0;
    std::string sGuid;
    std::string sToken;
    std::string sUA;
    std::string sCookie;
    std::int32_t iTokenType = 0;
    std::string sDeviceId;

    bool operator==(const UserId&) const = default;

    static constexpr auto tafTable() {
        return taf::table("UserId", taf::optional(0, &UserId::lUid, "lUid"),
                          taf::optional(1, &UserId::sGuid, "sGuid"),
                          taf::optional(2, &UserId::sToken, "sToken").hidden(),
                          taf::optional(3, &UserId::sUA, "sUA"),
                          taf::optional(4, &UserId::sCookie, "sCookie").hidden(),
                          taf::optional(5, &UserId::iTokenType, "iTokenType"),
                          taf::optional(6, &UserId::sDeviceId, "sDeviceId"));
    }
};

}  // namespace MERU
