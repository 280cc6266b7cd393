// Server pushes the live side forwards: viewer messages and item sends. Only the fields that
// are forwarded or compared are declared; the reader skips the rest.
#pragma once

#include <cstdint>
#include <string>

#include "taf/record_table.h"

namespace MERU {

struct MessageNoticeSender {
    std::string sText2;
    std::string sText4;

    static constexpr auto tafTable() {
        return taf::table("MessageNoticeSender",
                          taf::optional(2, &MessageNoticeSender::sText2, "sText2"),
                          taf::optional(4, &MessageNoticeSender::sText4, "sText4"));
    }
};

// A viewer message.
struct MessageNotice {
    static constexpr std::uint32_t kPushUri = 1400;
    MessageNoticeSender tSender;
    std::string sText3;

    static constexpr auto tafTable() {
        return taf::table("MessageNotice", taf::optional(0, &MessageNotice::tSender, "tSender"),
                          taf::optional(3, &MessageNotice::sText3, "sText3"));
    }
};

// An item sent in the room; tags 3 and 25 are receivers' uids.
struct SendItemSubBroadcastPacket {
    static constexpr std::uint32_t kPushUri = 6501;
    std::int32_t iField0 = 0;
    std::int32_t iField2 = 0;
    std::int64_t lReceiverUid3 = 0;
    std::string sField6;
    std::int32_t iField9 = 0;
    std::string sField14;
    std::string sField20;
    std::int64_t lReceiverUid25 = 0;

    static constexpr auto tafTable() {
        return taf::table(
            "SendItemSubBroadcastPacket",
            taf::optional(0, &SendItemSubBroadcastPacket::iField0, "iField0"),
            taf::optional(2, &SendItemSubBroadcastPacket::iField2, "iField2"),
            taf::optional(3, &SendItemSubBroadcastPacket::lReceiverUid3, "lReceiverUid3"),
            taf::optional(6, &SendItemSubBroadcastPacket::sField6, "sField6"),
            taf::optional(9, &SendItemSubBroadcastPacket::iField9, "iField9"),
            taf::optional(14, &SendItemSubBroadcastPacket::sField14, "sField14"),
            taf::optional(20, &SendItemSubBroadcastPacket::sField20, "sField20"),
            taf::optional(25, &SendItemSubBroadcastPacket::lReceiverUid25, "lReceiverUid25"));
    }
};

}  // namespace MERU
