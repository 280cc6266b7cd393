#include "kinetra-sim/trace.h"

#include "common/hex_text.h"
#include "common/taf_tree_json.h"
#include "engine/engine_catalog.h"

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

std::string CallName(const sim::SentRequest& request) {
    return request.packet.sServantName + "/" + request.packet.sFuncName;
}

}  // namespace

Trace::Trace(TraceFormat format, std::ostream& out)
    : mFormat(format), mOut(out), mLastMove(std::chrono::steady_clock::now()) {}

void Trace::Record(const sim::EngineTraffic& traffic) {
    Print(mFormat == TraceFormat::json ? JsonLine(traffic) : TextLine(traffic));
}

void Trace::Record(const sim::ServerTraffic& traffic) {
    Print(mFormat == TraceFormat::json ? JsonLine(traffic) : TextLine(traffic));
}

void Trace::Print(const std::string& line) {
    {
        std::lock_guard lock(mMutex);
        mOut << line << std::flush;
    }
    mLastMove = std::chrono::steady_clock::now();
}

std::string Trace::JsonLine(const sim::EngineTraffic& traffic) const {
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
    return tafjson::printJson(line, tafjson::JsonLayout::OneLine);
}

std::string Trace::TextLine(const sim::EngineTraffic& traffic) const {
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
        line += info->render(traffic.payload);
    } else {
        DecodedPayload payload = DecodePayload(traffic.payload);
        line += OneLine(payload.fields);
        if (!payload.complete) {
            line += "  (undecodable: " + tafjson::toHex(traffic.payload) + ")";
        }
    }
    return line + "\n";
}

std::string Trace::JsonLine(const sim::ServerTraffic& traffic) const {
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
        return tafjson::printJson(line, tafjson::JsonLayout::OneLine);
    }
    line["servant"] = traffic.request.packet.sServantName;
    line["function"] = traffic.request.packet.sFuncName;
    if (toServer) {
        line["request_id"] = traffic.request.packet.iRequestId;
        line["request"] = DecodeRequest(traffic.request).fields;
    } else if (traffic.reply.kind == sim::Reply::Kind::timeout) {
        line["timeout"] = true;
    } else if (traffic.reply.kind == sim::Reply::Kind::response) {
        line["ret"] = traffic.reply.ret;
        line["response"] = DecodePayload(traffic.reply.fields).fields;
    } else {
        line["hex"] = tafjson::toHex(traffic.reply.bytes);
    }
    return tafjson::printJson(line, tafjson::JsonLayout::OneLine);
}

std::string Trace::TextLine(const sim::ServerTraffic& traffic) const {
    using Kind = sim::ServerTraffic::Kind;
    switch (traffic.kind) {
        case Kind::push:
            return "server -> plugin  push " + std::to_string(traffic.uri) + "  " +
                   (traffic.payload.empty() ? std::string("(empty)")
                                            : OneLine(DecodePayload(traffic.payload).fields)) +
                   "\n";
        case Kind::request:
            return "plugin -> server  " + CallName(traffic.request) + " #" +
                   std::to_string(traffic.request.packet.iRequestId) + "  " +
                   OneLine(DecodeRequest(traffic.request).fields) + "\n";
        case Kind::reply:
            break;
    }
    std::string line = "server -> plugin  " + CallName(traffic.request) + "  ";
    switch (traffic.reply.kind) {
        case sim::Reply::Kind::timeout:
            return line + "time out\n";
        case sim::Reply::Kind::response:
            return line + "ret " + std::to_string(traffic.reply.ret) + "  " +
                   OneLine(DecodePayload(traffic.reply.fields).fields) + "\n";
        case sim::Reply::Kind::raw:
            break;
    }
    return line + "raw reply " + tafjson::toHex(traffic.reply.bytes) + "\n";
}

}  // namespace kinetra_sim
