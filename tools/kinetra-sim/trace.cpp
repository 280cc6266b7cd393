#include "kinetra-sim/trace.h"

#include <charconv>
#include <cstdio>
#include <type_traits>

#include "common/hex_text.h"
#include "common/taf_tree_json.h"
#include "engine/engine_catalog.h"
#include "taf/records/pass_through.h"
#include "taf/uni_packet.h"

namespace kinetra_sim {
namespace {

using tafjson::Json;
using Direction = sim::EngineTraffic::Direction;

struct DecodedPayload {
    Json fields;
    bool complete = true;
};

// The payload without a schema; what could not be read is shown as hex beside it.
DecodedPayload DecodePayload(const taf::Bytes& payload) {
    std::vector<tafjson::TafField> tree;
    const auto result = tafjson::decodeTree(payload, tree);
    return {tafjson::treeToJson(tree), result.status == taf::kOk};
}

// Compact JSON text of the payload, without its line break.
std::string OneLine(const Json& value) {
    std::string text = tafjson::printJson(value, tafjson::JsonLayout::OneLine);
    text.pop_back();
    return text;
}

// The request record's fields; a "tReq" value that is not a record is shown as it stands.
DecodedPayload DecodeRequest(const sim::SentRequest& request) {
    const taf::Bytes fields = request.RequestFields();
    return DecodePayload(fields.empty() ? request.requestValue : fields);
}

// The "tRsp" record's fields, or the value's bytes when it is not a record.
Json ResponseJson(const sim::Reply& reply) {
    const auto fields = sim::FieldsOfValue(reply.value);
    return fields ? DecodePayload(*fields).fields : Json(tafjson::toHex(reply.value));
}

std::string CallName(const taf::RequestPacket& packet) {
    return packet.sServantName + "/" + packet.sFuncName;
}

// Where the frame that a pass-through message carries goes, and its request id; empty for
// other messages and for bytes that are not a frame.
std::string PassThroughFrame(const sim::EngineTraffic& traffic) {
    const bool passThrough =
        traffic.direction == Direction::toPlugin
            ? traffic.type == static_cast<std::uint32_t>(
                                  kinetra::number(kinetra::FromEngine::kPassThroughRequest))
            : traffic.type == static_cast<std::uint32_t>(
                                  kinetra::number(kinetra::ToEngine::kPassThroughResponse));
    if (!passThrough) {
        return {};
    }
    MeruKinetra::MeruTafTransDataRsp message;
    taf::fromBytesLenient(traffic.payload, message);
    taf::UniPacket frame;
    static_cast<void>(frame.decode(message.vData));
    const auto& packet = frame.packet();
    if (packet.sServantName.empty() || packet.sFuncName.empty()) {
        return {};
    }
    return "  (frame " + CallName(packet) + " #" + std::to_string(packet.iRequestId) + ")";
}

// A float as the JSON real with its shortest text: 0.1f reads 0.1, not 0.100000001490116.
Json Real(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, value).ptr;
    double real = 0;
    std::from_chars(text, end, real);
    return Json(real);
}

Json HostCallJson(const sim::HostCallValue& value) {
    return std::visit(
        [](const auto& held) -> Json {
            if constexpr (std::is_same_v<std::decay_t<decltype(held)>, std::array<float, 2>>) {
                return Json::array({Real(held[0]), Real(held[1])});
            } else {
                return Json(held);
            }
        },
        value);
}

std::string HostCallText(const sim::HostCallValue& value) {
    if (const auto* pair = std::get_if<std::array<float, 2>>(&value)) {
        return "(" + OneLine(Real((*pair)[0])) + ", " + OneLine(Real((*pair)[1])) + ")";
    }
    return OneLine(HostCallJson(value));
}

}  // namespace

Trace::Trace(TraceFormat format, std::ostream& out)
    : mFormat(format),
      mOut(out),
      mStart(std::chrono::steady_clock::now()),
      mLastMove(std::chrono::steady_clock::now()) {}

void Trace::Begin() {
    std::lock_guard lock(mMutex);
    mStart = std::chrono::steady_clock::now();
}

void Trace::Record(const sim::EngineTraffic& traffic) {
    Print(traffic);
}

void Trace::Record(const sim::ServerTraffic& traffic) {
    Print(traffic);
}

void Trace::Record(const sim::HostCall& call) {
    Print(call);
}

void Trace::Record(const sim::HostError& error) {
    Print(error);
}

// Lines are made and written under the lock, so that their times never go backwards.
template <typename Event>
void Trace::Print(const Event& event) {
    {
        std::lock_guard lock(mMutex);
        const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(
                                 std::chrono::steady_clock::now() - mStart)
                                 .count();
        Json line = JsonLine(event);
        line["t_ms"] = elapsed;
        if (mFormat == TraceFormat::json) {
            mOut << tafjson::printJson(line, tafjson::JsonLayout::OneLine) << std::flush;
        } else if (mFormat == TraceFormat::text) {
            char time[32];
            std::snprintf(time, sizeof time, "[%5lld ms]  ", static_cast<long long>(elapsed));
            mOut << time << TextLine(event) << std::flush;
        }
        mEvents.Add(std::move(line));
    }
    mLastMove = std::chrono::steady_clock::now();
}

Json Trace::JsonLine(const sim::EngineTraffic& traffic) {
    const bool toPlugin = traffic.direction == Direction::toPlugin;
    Json line = Json::object();
    line["from"] = toPlugin ? "engine" : "plugin";
    line["to"] = toPlugin ? "plugin" : "engine";
    if (traffic.channel != sim::SimEngine::kChannel) {
        line["channel"] = traffic.channel;
    }
    line["type"] = traffic.type;
    DecodedPayload payload = DecodePayload(traffic.payload);
    line["payload"] = std::move(payload.fields);
    if (!payload.complete) {
        line["hex"] = tafjson::toHex(traffic.payload);
    }
    return line;
}

std::string Trace::TextLine(const sim::EngineTraffic& traffic) {
    const bool toPlugin = traffic.direction == Direction::toPlugin;
    std::string line = toPlugin ? "engine -> plugin  " : "plugin -> engine  ";
    line += std::to_string(traffic.type);
    const auto info = sim::DescribeEngineMessage(traffic.direction, traffic.type);
    line += "  ";
    line += info ? info->name : "(unknown type)";
    if (traffic.channel != sim::SimEngine::kChannel) {
        line += "  [channel " + traffic.channel + "]";
    }
    line += "  ";
    if (traffic.payload.empty()) {
        line += "(empty)";
    } else if (info && info->render != nullptr) {
        line += info->render(traffic.payload) + PassThroughFrame(traffic);
    } else {
        DecodedPayload payload = DecodePayload(traffic.payload);
        line += OneLine(payload.fields);
        if (!payload.complete) {
            line += "  (undecodable: " + tafjson::toHex(traffic.payload) + ")";
        }
    }
    return line + "\n";
}

Json Trace::JsonLine(const sim::ServerTraffic& traffic) {
    using Kind = sim::ServerTraffic::Kind;
    const bool toServer = traffic.kind == Kind::request;
    Json line = Json::object();
    line["from"] = toServer ? "plugin" : "server";
    line["to"] = toServer ? "server" : "plugin";
    if (traffic.kind == Kind::push) {
        line["push"] = traffic.uri;
        DecodedPayload payload = DecodePayload(traffic.payload);
        line["payload"] = std::move(payload.fields);
        if (!payload.complete) {
            line["hex"] = tafjson::toHex(traffic.payload);
        }
        return line;
    }
    line["servant"] = traffic.request.packet.sServantName;
    line["function"] = traffic.request.packet.sFuncName;
    if (toServer) {
        line["request_id"] = traffic.request.packet.iRequestId;
        line["request"] = DecodeRequest(traffic.request).fields;
    } else if (traffic.reply.kind == sim::Reply::Kind::timeout) {
        line["timeout"] = true;
    } else if (traffic.reply.kind == sim::Reply::Kind::response) {
        line["request_id"] = traffic.replyId;
        line["ret"] = traffic.reply.ret;
        line["response"] = ResponseJson(traffic.reply);
    } else {
        line["hex"] = tafjson::toHex(traffic.reply.bytes);
    }
    return line;
}

std::string Trace::TextLine(const sim::ServerTraffic& traffic) {
    using Kind = sim::ServerTraffic::Kind;
    switch (traffic.kind) {
        case Kind::push:
            return "server -> plugin  push " + std::to_string(traffic.uri) + "  " +
                   (traffic.payload.empty() ? std::string("(empty)")
                                            : OneLine(DecodePayload(traffic.payload).fields)) +
                   "\n";
        case Kind::request:
            return "plugin -> server  " + CallName(traffic.request.packet) + " #" +
                   std::to_string(traffic.request.packet.iRequestId) + "  " +
                   OneLine(DecodeRequest(traffic.request).fields) + "\n";
        case Kind::reply:
            break;
    }
    std::string line = "server -> plugin  " + CallName(traffic.request.packet) + " ";
    switch (traffic.reply.kind) {
        case sim::Reply::Kind::timeout:
            return line + " time out\n";
        case sim::Reply::Kind::response:
            return line + "#" + std::to_string(traffic.replyId) + "  ret " +
                   std::to_string(traffic.reply.ret) + "  " + OneLine(ResponseJson(traffic.reply)) +
                   "\n";
        case sim::Reply::Kind::raw:
            break;
    }
    return line + " raw reply " + tafjson::toHex(traffic.reply.bytes) + "\n";
}

Json Trace::JsonLine(const sim::HostCall& call) {
    Json line = Json::object();
    line["from"] = "plugin";
    line["to"] = "host";
    line["call"] = call.call;
    Json args = Json::object();
    for (const auto& [name, value] : call.args) {
        args[name] = HostCallJson(value);
    }
    line["args"] = std::move(args);
    return line;
}

std::string Trace::TextLine(const sim::HostCall& call) {
    std::string line = "plugin -> host    " + call.call;
    const char* separator = "  ";
    for (const auto& [name, value] : call.args) {
        line += separator + name + " " + HostCallText(value);
        separator = ", ";
    }
    return line + "\n";
}

Json Trace::JsonLine(const sim::HostError& error) {
    Json line = Json::object();
    line["from"] = "host";
    line["error"] = error.error;
    for (const auto& [name, value] : error.details) {
        line[name] = HostCallJson(value);
    }
    return line;
}

std::string Trace::TextLine(const sim::HostError& error) {
    std::string line = "host  ERROR       " + error.error;
    const char* separator = "  ";
    for (const auto& [name, value] : error.details) {
        line += separator + name + " " + HostCallText(value);
        separator = ", ";
    }
    return line + "\n";
}

}  // namespace kinetra_sim
