// Small request and response records for the packet, task and signal-service tests.
#pragma once

#include <string>
#include <vector>

#include "taf/records/user_id.h"
#include "taf/test_records.h"

namespace test {

// Identity at tag 0, as most requests carry it.
struct PingReq {
    MERU::UserId tId;
    std::string sText;

    static constexpr auto tafTable() {
        return taf::table("PingReq", taf::optional(0, &PingReq::tId, "tId"),
                          taf::optional(1, &PingReq::sText, "sText"));
    }
};

// Identity at tag 1, as two requests carry it.
struct LateIdReq {
    std::int32_t iKind = 0;
    MERU::UserId tId;

    static constexpr auto tafTable() {
        return taf::table("LateIdReq", taf::optional(0, &LateIdReq::iKind, "iKind"),
                          taf::optional(1, &LateIdReq::tId, "tId"));
    }
};

struct PingRsp {
    std::int32_t iCode = -7;
    std::string sText;
    std::vector<Inner> vItems;

    bool operator==(const PingRsp&) const = default;
    static constexpr auto tafTable() {
        return taf::table("PingRsp", taf::optional(0, &PingRsp::iCode, "iCode"),
                          taf::optional(1, &PingRsp::sText, "sText"),
                          taf::optional(2, &PingRsp::vItems, "vItems"));
    }
};

}  // namespace test
