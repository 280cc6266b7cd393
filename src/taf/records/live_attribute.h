// Server requests of the live side: the room's live tags and the avatar type told to viewers.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "taf/record_table.h"
#include "taf/records/user_id.h"
#include "taf/wire.h"

namespace MERU {

// One live tag: its value as text bytes and how long the server keeps it.
struct LiveTagValue {
    taf::Bytes vValue;
    std::int64_t lField1 = 0;
    std::int64_t lDuration = 0;

    static constexpr auto tafTable() {
        return taf::table("LiveTagValue", taf::optional(0, &LiveTagValue::vValue, "vValue"),
                          taf::optional(1, &LiveTagValue::lField1, "lField1"),
                          taf::optional(2, &LiveTagValue::lDuration, "lDuration"));
    }
};

struct SetLiveAttributeReq {
    std::int64_t lLiveId = 0;
    std::map<std::string, LiveTagValue> mpTags;
    UserId tUserId;

    static constexpr auto tafTable() {
        return taf::table("SetLiveAttributeReq",
                          taf::optional(0, &SetLiveAttributeReq::lLiveId, "lLiveId"),
                          taf::optional(1, &SetLiveAttributeReq::mpTags, "mpTags"),
                          taf::optional(2, &SetLiveAttributeReq::tUserId, "tUserId"));
    }
};

// What the viewers' clients receive: a fixed header, the message id and the avatar type.
struct ViewerMsgBody {
    std::string sHeader;
    std::int32_t iMsgId = 0;
    taf::Bytes vData;

    static constexpr auto tafTable() {
        return taf::table("ViewerMsgBody", taf::optional(0, &ViewerMsgBody::sHeader, "sHeader"),
                          taf::optional(1, &ViewerMsgBody::iMsgId, "iMsgId"),
                          taf::optional(2, &ViewerMsgBody::vData, "vData"));
    }
};

struct TransMsgToViewerReq {
    UserId tUserId;
    ViewerMsgBody tMsg;
    std::int64_t lUid = 0;
    std::int64_t lUidAgain = 0;

    static constexpr auto tafTable() {
        return taf::table("TransMsgToViewerReq",
                          taf::optional(0, &TransMsgToViewerReq::tUserId, "tUserId"),
                          taf::optional(1, &TransMsgToViewerReq::tMsg, "tMsg"),
                          taf::optional(2, &TransMsgToViewerReq::lUid, "lUid"),
                          taf::optional(3, &TransMsgToViewerReq::lUidAgain, "lUidAgain"));
    }
};

struct TransMsgToViewerRsp {
    std::string sText;

    static constexpr auto tafTable() {
        return taf::table("TransMsgToViewerRsp",
                          taf::optional(0, &TransMsgToViewerRsp::sText, "sText"));
    }
};

}  // namespace MERU
