// Engine payloads of the live side: the open notice, push subscriptions and the pushes passed
// on, the live state.
#pragma once

#include <cstdint>
#include <string>

#include "taf/record_table.h"
#include "taf/wire.h"

namespace MeruKinetra {

// Message 2001: the avatar opened (open not 0) or closed.
struct OpenStateMsg {
    std::int32_t open = 0;
    std::int32_t virtualType = 0;

    static constexpr auto tafTable() {
        return taf::table("OpenStateMsg", taf::optional(0, &OpenStateMsg::open, "open"),
                          taf::optional(1, &OpenStateMsg::virtualType, "virtualType"));
    }
};

// Message 29: subscribe to a server push by URI, or with subscribe 0 unsubscribe.
struct PushSubscribeMsg {
    std::int32_t uri = 0;
    std::int32_t subscribe = 1;

    static constexpr auto tafTable() {
        return taf::table("PushSubscribeMsg", taf::optional(0, &PushSubscribeMsg::uri, "uri"),
                          taf::optional(1, &PushSubscribeMsg::subscribe, "subscribe"));
    }
};

// Message 30: a subscribed push, its body exactly as it arrived.
struct RawPushMsg {
    std::int32_t uri = 0;
    taf::Bytes data;

    static constexpr auto tafTable() {
        return taf::table("RawPushMsg", taf::optional(0, &RawPushMsg::uri, "uri"),
                          taf::optional(1, &RawPushMsg::data, "data"));
    }
};

// Message 109: a viewer message, the sender's two texts and the notice's text.
struct MessageNoticeMsg {
    std::string sSenderText1;
    std::string sSenderText2;
    std::string sNoticeText;

    static constexpr auto tafTable() {
        return taf::table("MessageNoticeMsg",
                          taf::optional(0, &MessageNoticeMsg::sSenderText1, "sSenderText1"),
                          taf::optional(1, &MessageNoticeMsg::sSenderText2, "sSenderText2"),
                          taf::optional(2, &MessageNoticeMsg::sNoticeText, "sNoticeText"));
    }
};

// Message 108: an item sent to the signed-in user; fields named after the push tags they
// come from.
struct SendItemMsg {
    std::int32_t iField0 = 0;
    std::string sField20;
    std::int32_t iField2 = 0;
    std::string sField6;
    std::int32_t iField9 = 0;
    std::string sField14;
    std::int64_t lUid = 0;

    static constexpr auto tafTable() {
        return taf::table("SendItemMsg", taf::optional(0, &SendItemMsg::iField0, "iField0"),
                          taf::optional(1, &SendItemMsg::sField20, "sField20"),
                          taf::optional(2, &SendItemMsg::iField2, "iField2"),
                          taf::optional(3, &SendItemMsg::sField6, "sField6"),
                          taf::optional(4, &SendItemMsg::iField9, "iField9"),
                          taf::optional(5, &SendItemMsg::sField14, "sField14"),
                          taf::optional(6, &SendItemMsg::lUid, "lUid"));
    }
};

// Message 39: whether the user is live.
struct LiveStateMsg {
    std::int32_t iLive = 0;

    static constexpr auto tafTable() {
        return taf::table("LiveStateMsg", taf::optional(0, &LiveStateMsg::iLive, "iLive"));
    }
};

// Message 20: what the engine needs when the avatar opens.
struct InitDataMsg {
    std::int64_t lUserValue = 0;
    std::string sUserText1;
    std::string sUserText2;
    bool bFlag = false;
    std::string sClientVersion;
    bool bTestEnv = false;
    taf::Bytes vGiftList;
    std::int32_t iLive = 0;

    static constexpr auto tafTable() {
        return taf::table("InitDataMsg", taf::optional(0, &InitDataMsg::lUserValue, "lUserValue"),
                          taf::optional(1, &InitDataMsg::sUserText1, "sUserText1"),
                          taf::optional(2, &InitDataMsg::sUserText2, "sUserText2"),
                          taf::optional(3, &InitDataMsg::bFlag, "bFlag"),
                          taf::optional(4, &InitDataMsg::sClientVersion, "sClientVersion"),
                          taf::optional(5, &InitDataMsg::bTestEnv, "bTestEnv"),
                          taf::optional(6, &InitDataMsg::vGiftList, "vGiftList"),
                          taf::optional(7, &InitDataMsg::iLive, "iLive"));
    }
};

}  // namespace MeruKinetra
