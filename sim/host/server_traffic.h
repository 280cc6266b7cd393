// What passes between a request task and the simulated servers: the request as the host
// read it from the task, and the server's answer.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "host/call_log.h"
#include "service_plugin/signal_service.h"
#include "taf/request_packet.h"
#include "taf/uni_attribute.h"

namespace sim {

// The type name simulated replies file "tRsp" under when the response's type is not known
// (replies given as field bytes): the tasks' readers accept it for any type.
inline constexpr std::string_view kAnyResponseType = "?";

// How the simulated server answers one request.
struct Reply {
    enum class Kind { response, raw, timeout };

    // No bytes, second code -1: what the host reports when no reply came in time.
    static Reply TimeOut() { return {}; }
    // Exact reply bytes with the host's two codes, for malformed or hand-made replies.
    static Reply Raw(taf::Bytes bytes, std::int32_t firstCode = 0, std::int32_t secondCode = 0);
    // A reply frame with `ret` under "" and a response record, given by its fields in
    // top-level form, under "tRsp".
    static Reply Fields(std::int32_t ret, taf::Bytes fields,
                        std::string typeName = std::string(kAnyResponseType));
    // A reply frame with `ret` under "" and `value` as the whole "tRsp" value, record or not.
    static Reply Value(std::int32_t ret, taf::Bytes value,
                       std::string typeName = std::string(kAnyResponseType));
    template <taf::Record Rsp>
    static Reply Of(std::int32_t ret, const Rsp& response) {
        return Fields(ret, taf::toBytes(response), std::string(taf::wireTypeName<Rsp>()));
    }

    Kind kind = Kind::timeout;
    std::int32_t ret = 0;
    taf::Bytes value;  // response: the "tRsp" value
    std::string typeName;
    taf::Bytes bytes;  // raw
    std::int32_t firstCode = -1;
    std::int32_t secondCode = -1;
};

// A record's fields in top-level form from its value at tag 0 (StructBegin ... StructEnd);
// nullopt when the value is not a record.
std::optional<taf::Bytes> FieldsOfValue(const taf::Bytes& value);

// A request as the host sees it once the task is encoded: what the getters gave and what the
// frame decodes to.
struct SentRequest {
    bool encoded = false;  // Encode's answer
    taf::Bytes frame;      // GetData, GetDataSize
    std::uint32_t options[4] = {};
    std::string path;  // GetPath, GetPathSize
    std::string servantName;
    std::string functionName;

    taf::Status decodeStatus = taf::kOk;
    taf::RequestPacket packet;  // the frame's header: servant, function, request id
    std::string requestType;    // the type name "tReq" is filed under
    taf::Bytes requestValue;    // the "tReq" value: a record at tag 0

    // The "tReq" record's fields in top-level form; empty when the value is not a record.
    taf::Bytes RequestFields() const { return FieldsOfValue(requestValue).value_or(taf::Bytes{}); }
    // Reads the "tReq" record; false when it cannot be read.
    template <taf::Record Req>
    bool RequestAs(Req& request) const {
        taf::TafInputStream in(requestValue);
        return taf::readValue(in, request, 0, true) >= 0;
    }
};

// Encodes the task as the host does (Encode, then the getters) and decodes its frame.
SentRequest EncodeTask(service_plugin::SignalTafTask& task, service_plugin::ISignalService* service,
                       CallLog& calls);

// The simulated servers number the frames they answer with on their own, as a server
// connection does, whatever request id the request carried.
inline constexpr std::int32_t kFirstServerRequestId = 1000;

// The reply frame for `request`: same servant and function, the server's request id.
taf::Bytes ReplyFrame(const SentRequest& request, const Reply& reply, std::int32_t replyId);

// Hands the reply to the task as the host does: OnResponse, OnCallback, then Release.
// Returns OnResponse's answer.
bool AnswerTask(service_plugin::SignalTafTask& task, const SentRequest& request, const Reply& reply,
                std::int32_t replyId, CallLog& calls);

// One movement on the server side of the simulated signal service, as an observer (such as
// kinetra-sim's trace) sees it.
struct ServerTraffic {
    enum class Kind { request, reply, push };
    Kind kind = Kind::request;
    SentRequest request;       // request, reply: the request concerned
    Reply reply;               // reply: how it was answered, a time-out included
    std::uint32_t uri = 0;     // push
    taf::Bytes payload;        // push: the bytes as handed to the stubs
    std::int32_t replyId = 0;  // reply: the request id of a frame the server built
};

// Called on the thread that moves the traffic, before the plug-in sees a reply or push.
using ServerObserver = std::function<void(const ServerTraffic&)>;

}  // namespace sim
