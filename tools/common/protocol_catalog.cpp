#include "common/protocol_catalog.h"

#include <algorithm>
#include <set>
#include <tuple>
#include <type_traits>

#include "games/game_calls.h"
#include "live/live_protocol.h"
#include "plugin/engine_messages.h"
#include "taf/records/engine_envelope.h"
#include "taf/server_functions.h"

namespace tafjson {
namespace {

template <class T>
const taf::RecordSchema* SchemaOrNull() {
    if constexpr (std::is_void_v<T>) {
        return nullptr;
    } else {
        return &taf::recordSchemaOf<T>();
    }
}

template <class Row>
EngineMessageEntry MessageEntry(const Row& row) {
    EngineMessageEntry entry{std::is_same_v<decltype(row.type), kinetra::FromEngine>,
                             kinetra::number(row.type),
                             row.name,
                             SchemaOrNull<typename Row::PayloadRecord>(),
                             {},
                             {}};
    for (const auto& step : row.steps) {
        entry.handlers.push_back(std::string(kinetra::name(step.area)) + " " +
                                 std::string(step.handler));
    }
    for (const auto answer : row.answers) {
        entry.answers.push_back(kinetra::number(answer));
    }
    return entry;
}

template <class Call>
ServerCallEntry CallEntry(const Call& call) {
    return {call.servant, call.function, SchemaOrNull<typename Call::Request>(),
            SchemaOrNull<typename Call::Response>(), std::nullopt};
}

template <class Call>
ServerCallEntry GameCallEntry(const Call& call) {
    return {kinetra::kGameServant, call.function, SchemaOrNull<typename Call::Request>(),
            SchemaOrNull<typename Call::Response>(), kinetra::number(call.answerType)};
}

template <class... Records>
void AddPushes(std::vector<PushEntry>& pushes, std::tuple<Records...>*) {
    (pushes.push_back({Records::kPushUri, &taf::recordSchemaOf<Records>()}), ...);
}

void Reach(const taf::TypeSchema& type, std::set<const taf::RecordSchema*>& seen);

void Reach(const taf::RecordSchema* record, std::set<const taf::RecordSchema*>& seen) {
    if (record == nullptr || !seen.insert(record).second) {
        return;
    }
    for (const auto& field : record->fields) {
        Reach(*field.type, seen);
    }
}

void Reach(const taf::TypeSchema& type, std::set<const taf::RecordSchema*>& seen) {
    Reach(type.record, seen);
    if (type.element != nullptr) {
        Reach(*type.element, seen);
    }
    if (type.key != nullptr) {
        Reach(*type.key, seen);
    }
}

ProtocolCatalog Gather() {
    ProtocolCatalog catalog;
    catalog.envelope = &taf::recordSchemaOf<MeruKinetra::EngineMessage>();
    std::apply([&](const auto&... row) { (catalog.messages.push_back(MessageEntry(row)), ...); },
               kinetra::kEngineMessages);
    std::apply([&](const auto&... call) { (catalog.calls.push_back(CallEntry(call)), ...); },
               taf::kServerCalls);
    std::apply([&](const auto&... call) { (catalog.calls.push_back(GameCallEntry(call)), ...); },
               kinetra::kGameCalls);
    AddPushes(catalog.pushes, static_cast<kinetra::LivePushes*>(nullptr));
    AddPushes(catalog.pushes, static_cast<kinetra::GamePushes*>(nullptr));
    std::ranges::sort(catalog.pushes, {}, &PushEntry::uri);

    std::set<const taf::RecordSchema*> seen;
    Reach(catalog.envelope, seen);
    for (const auto& message : catalog.messages) {
        Reach(message.payload, seen);
    }
    for (const auto& call : catalog.calls) {
        Reach(call.request, seen);
        Reach(call.response, seen);
    }
    for (const auto& push : catalog.pushes) {
        Reach(push.record, seen);
    }
    catalog.records.assign(seen.begin(), seen.end());
    std::ranges::sort(catalog.records, {}, &taf::RecordSchema::name);
    return catalog;
}

}  // namespace

const ProtocolCatalog& protocolCatalog() {
    static const ProtocolCatalog catalog = Gather();
    return catalog;
}

const taf::RecordSchema* findRecord(std::string_view name) {
    if (name.starts_with(taf::kWireTypePrefix)) {
        name.remove_prefix(taf::kWireTypePrefix.size());
    }
    for (const auto* record : protocolCatalog().records) {
        if (record->name == name) {
            return record;
        }
    }
    return nullptr;
}

const taf::RecordSchema* findEngineRecord(std::int64_t type) {
    for (const auto& message : protocolCatalog().messages) {
        if (message.type == type && message.payload != nullptr) {
            return message.payload;
        }
    }
    return nullptr;
}

}  // namespace tafjson
