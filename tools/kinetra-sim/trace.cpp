#include "kinetra-sim/trace.h"

#include "common/hex_text.h"
#include "common/taf_tree_json.h"
#include "engine/engine_catalog.h"

namespace kinetra_sim {
namespace {

using tafjson::JsonValue;
using Direction = sim::EngineTraffic::Direction;

struct DecodedPayload {
    JsonValue fields;
    bool complete = true;
};

// The payload without a schema; what could not be read is shown as hex beside it.
DecodedPayload DecodePayload(const taf::Bytes& payload) {
    std::vector<tafjson::TafField> tree;
    const auto result = tafjson::decodeTree(payload, tree);
    return {tafjson::treeToJson(tree), result.status == taf::kOk};
}

}  // namespace

Trace::Trace(TraceFormat format, std::ostream& out)
    : mFormat(format), mOut(out), mLastMove(std::chrono::steady_clock::now()) {}

void Trace::Record(const sim::EngineTraffic& traffic) {
    const std::string line = mFormat == TraceFormat::json ? JsonLine(traffic) : TextLine(traffic);
    {
        std::lock_guard lock(mMutex);
        mOut << line << std::flush;
    }
    mLastMove = std::chrono::steady_clock::now();
}

std::string Trace::JsonLine(const sim::EngineTraffic& traffic) const {
    const bool toPlugin = traffic.direction == Direction::toPlugin;
    JsonValue line = JsonValue::object();
    line.add("from", JsonValue::string(toPlugin ? "engine" : "plugin"));
    line.add("to", JsonValue::string(toPlugin ? "plugin" : "engine"));
    if (traffic.channel != sim::SimEngine::kChannel) {
        line.add("channel", JsonValue::string(traffic.channel));
    }
    line.add("type", JsonValue::integer(traffic.type));
    DecodedPayload payload = DecodePayload(traffic.payload);
    line.add("payload", std::move(payload.fields));
    if (!payload.complete) {
        line.add("hex", JsonValue::string(tafjson::toHex(traffic.payload)));
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
        std::string fields = tafjson::printJson(payload.fields, tafjson::JsonLayout::OneLine);
        fields.pop_back();
        line += fields;
        if (!payload.complete) {
            line += "  (undecodable: " + tafjson::toHex(traffic.payload) + ")";
        }
    }
    return line + "\n";
}

}  // namespace kinetra_sim
