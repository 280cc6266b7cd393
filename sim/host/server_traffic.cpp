// Driving a request task the way the host does, and building the simulated servers' replies.
#include "host/server_traffic.h"

#include "taf/server_call.h"

namespace sim {

Reply Reply::Raw(taf::Bytes bytes, std::int32_t firstCode, std::int32_t secondCode) {
    Reply reply;
    reply.kind = Kind::raw;
    reply.bytes = std::move(bytes);
    reply.firstCode = firstCode;
    reply.secondCode = secondCode;
    return reply;
}

Reply Reply::Fields(std::int32_t ret, taf::Bytes fields, std::string typeName) {
    Reply reply;
    reply.kind = Kind::response;
    reply.ret = ret;
    taf::TafOutputStream value;
    value.writeStructBegin(0);
    value.append(fields);
    value.writeStructEnd();
    return Value(ret, value.toBytes(), std::move(typeName));
}

Reply Reply::Value(std::int32_t ret, taf::Bytes value, std::string typeName) {
    Reply reply;
    reply.kind = Kind::response;
    reply.ret = ret;
    reply.value = std::move(value);
    reply.typeName = std::move(typeName);
    reply.firstCode = 0;
    reply.secondCode = 0;
    return reply;
}

std::optional<taf::Bytes> FieldsOfValue(const taf::Bytes& value) {
    constexpr std::uint8_t kStructBeginAtTag0 = 0x0A;
    constexpr std::uint8_t kStructEnd = 0x0B;
    if (value.size() < 2 || value.front() != kStructBeginAtTag0 || value.back() != kStructEnd) {
        return std::nullopt;
    }
    return taf::Bytes(value.begin() + 1, value.end() - 1);
}

namespace {

std::string Text(const char* text, std::size_t size) {
    return text == nullptr ? std::string() : std::string(text, size);
}

void DecodeFrame(SentRequest& request) {
    taf::UniPacket packet;
    request.decodeStatus = packet.decode(request.frame);
    request.packet = packet.packet();
    const auto& values = packet.attribute().values2();
    if (const auto entry = values.find(taf::kRequestAttribute);
        entry != values.end() && !entry->second.empty()) {
        request.requestType = entry->second.begin()->first;
        request.requestValue = entry->second.begin()->second;
    } else if (const taf::Bytes* value = packet.attribute().find(taf::kRequestAttribute, "")) {
        request.requestValue = *value;  // a version-3 body files values without type names
    }
}

}  // namespace

SentRequest EncodeTask(service_plugin::SignalTafTask& task, service_plugin::ISignalService* service,
                       CallLog& calls) {
    SentRequest request;
    request.encoded = task.Encode(service);
    const auto* data = reinterpret_cast<const std::uint8_t*>(task.GetData());
    const std::uint64_t size = task.GetDataSize();
    if (data != nullptr) {
        request.frame.assign(data, data + size);
    }
    request.options[0] = task.GetOption1();
    request.options[1] = task.GetOption2();
    request.options[2] = task.GetOption3();
    request.options[3] = task.GetOption4();
    request.path = Text(task.GetPath(), task.GetPathSize());
    const char* servant = task.GetServantName();
    const char* function = task.GetFunctionName();
    request.servantName = servant == nullptr ? "" : servant;
    request.functionName = function == nullptr ? "" : function;
    calls.Record("SignalTafTask::Encode", request.path);
    if (request.encoded) {
        DecodeFrame(request);
    }
    return request;
}

taf::Bytes ReplyFrame(const SentRequest& request, const Reply& reply, std::int32_t replyId) {
    taf::UniPacket packet;
    packet.packet().sServantName = request.packet.sServantName;
    packet.packet().sFuncName = request.packet.sFuncName;
    packet.packet().iRequestId = replyId;
    packet.put(taf::kReturnAttribute, reply.ret);
    packet.attribute().putEncoded(taf::kResponseAttribute, reply.typeName, reply.value);
    taf::Bytes frame;
    packet.encode(frame);
    return frame;
}

bool AnswerTask(service_plugin::SignalTafTask& task, const SentRequest& request, const Reply& reply,
                std::int32_t replyId, CallLog& calls) {
    taf::Bytes bytes;
    if (reply.kind == Reply::Kind::response) {
        bytes = ReplyFrame(request, reply, replyId);
    } else if (reply.kind == Reply::Kind::raw) {
        bytes = reply.bytes;
    }
    const char* data = bytes.empty() ? nullptr : reinterpret_cast<const char*>(bytes.data());
    calls.Record("SignalTafTask::OnResponse", std::to_string(bytes.size()) + " bytes, codes " +
                                                  std::to_string(reply.firstCode) + " " +
                                                  std::to_string(reply.secondCode));
    const bool answered = task.OnResponse(data, bytes.size(), reply.firstCode, reply.secondCode);
    calls.Record("SignalTafTask::OnCallback");
    task.OnCallback();
    calls.Record("SignalTafTask::Release");
    task.Release();
    return answered;
}

}  // namespace sim
