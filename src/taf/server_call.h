// One server call on the wire: the framed request a task sends, and the reply it decodes.
#pragma once

#include <exception>

#include "taf/shared_spare.h"
#include "taf/uni_packet.h"

namespace taf {

// Attribute names: the request record, the response record, and the function's return
// value, which travels under the empty name.
inline constexpr std::string_view kRequestAttribute = "tReq";
inline constexpr std::string_view kResponseAttribute = "tRsp";
inline constexpr std::string_view kReturnAttribute = "";

// Frames a request whose value (a record at tag 0) is already encoded: the body holds it as
// "tReq" under `typeName`, version 2. Written into `frame`, which keeps its capacity; left
// empty when the packet is refused (no servant or function name).
void frameRequest(std::string_view servant, std::string_view function, std::int32_t requestId,
                  std::string_view typeName, std::span<const std::uint8_t> value, Bytes& frame);

// The framed request with `request` under "tReq", written into `frame`. The same bytes as a
// UniPacket holding the one attribute, built in the kept, reused buffers instead of maps.
template <Record Req>
void encodeRequest(std::string_view servant, std::string_view function, std::int32_t requestId,
                   const Req& request, Bytes& frame) {
    SharedSpare<TafOutputStream, struct RequestValueUse> value;
    value->reset();
    writeValue(*value, request, 0);
    frameRequest(servant, function, requestId, wireTypeName<Req>(), value->view(), frame);
}

template <Record Req>
Bytes encodeRequest(std::string_view servant, std::string_view function, std::int32_t requestId,
                    const Req& request) {
    Bytes frame;
    encodeRequest(servant, function, requestId, request, frame);
    return frame;
}

namespace detail {

// Decodes the reply and reads its return value (0 when absent), then lets `readMore` take
// what else it needs from the body.
template <class ReadMore>
std::int32_t decodeReplyWith(std::span<const std::uint8_t> frame, std::int32_t* requestId,
                             ReadMore&& readMore) noexcept {
    try {
        // The kept header is read over, so its strings and buffer are reused; the body is read
        // where it lies.
        SharedSpare<RequestPacket, struct ReplyHeaderUse> header;
        // A hostile or damaged reply yields what could be read and defaults elsewhere.
        static_cast<void>(readFramedPacket(frame, *header));
        EncodedBody body(header->sBuffer, header->iVersion == 3);
        std::int32_t returnValue = 0;
        static_cast<void>(body.get(kReturnAttribute, returnValue));
        readMore(body);
        if (requestId != nullptr) {
            *requestId = header->iRequestId;
        }
        releaseLargeBuffers(*header);
        return returnValue;
    } catch (const std::exception&) {
        return kReplyOutOfMemory;
    }
}

}  // namespace detail

// Reads a reply: "tRsp" into `response` (left as it is when absent or of another type) and
// the reply's request id into `requestId` when given; returns the function's return value.
template <Record Rsp>
[[nodiscard]] std::int32_t decodeReply(std::span<const std::uint8_t> frame, Rsp& response,
                                       std::int32_t* requestId = nullptr) noexcept {
    return detail::decodeReplyWith(frame, requestId, [&](EncodedBody& body) {
        static_cast<void>(body.get(kResponseAttribute, response));
    });
}

// Reads only the return value of a reply, for functions without a response record.
[[nodiscard]] inline std::int32_t decodeReturnValue(std::span<const std::uint8_t> frame,
                                                    std::int32_t* requestId = nullptr) noexcept {
    return detail::decodeReplyWith(frame, requestId, [](EncodedBody&) {});
}

}  // namespace taf
