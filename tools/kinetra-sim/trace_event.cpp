#include "kinetra-sim/trace_event.h"

#include <cstdio>

#include "common/hex_text.h"
#include "common/protocol_catalog.h"
#include "common/taf_tree_json.h"

namespace kinetra_sim {
namespace {

using taf::TafType;
using tafjson::Json;
using tafjson::TafField;

std::string Text(const Json& line, const char* key) {
    const Json* value = tafjson::findMember(line, key);
    return value != nullptr && value->is_string() ? value->get<std::string>() : std::string();
}

bool Has(const Json& line, const char* key) {
    return line.is_object() && line.contains(key);
}

std::string OneLine(const Json& value) {
    std::string text = tafjson::printJson(value, tafjson::JsonLayout::OneLine);
    text.pop_back();
    return text;
}

const tafjson::EngineMessageEntry* FindMessage(const Json& line) {
    std::int64_t type = 0;
    const Json* value = tafjson::findMember(line, "type");
    if (value == nullptr || !tafjson::toInt64(*value, type)) {
        return nullptr;
    }
    const bool fromEngine = Text(line, "from") == "engine";
    for (const auto& message : tafjson::protocolCatalog().messages) {
        if (message.fromEngine == fromEngine && message.type == type) {
            return &message;
        }
    }
    return nullptr;
}

const tafjson::ServerCallEntry* FindCall(const Json& line) {
    const std::string servant = Text(line, "servant");
    const std::string function = Text(line, "function");
    for (const auto& call : tafjson::protocolCatalog().calls) {
        if (call.servant == servant && call.function == function) {
            return &call;
        }
    }
    return nullptr;
}

const taf::RecordSchema* FindPushRecord(const Json& line) {
    std::int64_t uri = 0;
    const Json* value = tafjson::findMember(line, "push");
    if (value == nullptr || !tafjson::toInt64(*value, uri)) {
        return nullptr;
    }
    for (const auto& push : tafjson::protocolCatalog().pushes) {
        if (push.uri == uri) {
            return push.record;
        }
    }
    return nullptr;
}

// The member, or null when absent (a const value's operator[] must not be asked for one).
const Json* Member(const Json& line, const char* key) {
    return line.is_object() && key != nullptr ? tafjson::findMember(line, key) : nullptr;
}

// Which member holds the TAF fields, and which record they are.
struct FieldsPlace {
    const char* member = nullptr;
    const taf::RecordSchema* record = nullptr;
};

FieldsPlace PlaceOf(const Json& line) {
    if (Has(line, "type") && Has(line, "payload")) {
        const auto* message = FindMessage(line);
        return {"payload", message ? message->payload : nullptr};
    }
    if (Has(line, "push")) {
        return {"payload", FindPushRecord(line)};
    }
    const auto* call = FindCall(line);
    if (Has(line, "request")) {
        return {"request", call ? call->request : nullptr};
    }
    if (Has(line, "response")) {
        return {"response", call ? call->response : nullptr};
    }
    return {};
}

Json NamedRecord(const std::vector<TafField>& fields, const taf::RecordSchema* record,
                 bool hideSecrets);

Json NamedValue(const TafField& field, const taf::TypeSchema* type, bool hideSecrets) {
    if (type != nullptr && !tafjson::fitsType(field, *type)) {
        type = nullptr;
    }
    switch (field.type) {
        case TafType::StructBegin:
            return NamedRecord(field.children, type ? type->record : nullptr, hideSecrets);
        case TafType::List: {
            Json items = Json::array();
            for (const auto& child : field.children) {
                items.push_back(NamedValue(child, type ? type->element : nullptr, hideSecrets));
            }
            return items;
        }
        case TafType::Map: {
            bool textKeys = true;
            for (std::size_t i = 0; i < field.children.size(); i += 2) {
                textKeys = textKeys && (field.children[i].type == TafType::String1 ||
                                        field.children[i].type == TafType::String4);
            }
            Json map = textKeys ? Json::object() : Json::array();
            for (std::size_t i = 0; i + 1 < field.children.size(); i += 2) {
                Json key = NamedValue(field.children[i], type ? type->key : nullptr, hideSecrets);
                Json value =
                    NamedValue(field.children[i + 1], type ? type->element : nullptr, hideSecrets);
                if (textKeys) {
                    map[key.get<std::string>()] = std::move(value);
                } else {
                    map.push_back(Json::array({std::move(key), std::move(value)}));
                }
            }
            return map;
        }
        case TafType::String1:
        case TafType::String4:
            return tafjson::readableText(field.bytes);
        case TafType::SimpleList:
            return tafjson::toHex(field.bytes);
        case TafType::Float:
        case TafType::Double: {
            // The JSON form already holds the value as the shortest text that reads back.
            Json form = tafjson::treeToJson({field});
            return form[0]["value"];
        }
        default:
            if (type != nullptr && type->kind == "bool") {
                return Json(field.integer != 0);
            }
            return Json(field.integer);
    }
}

Json NamedRecord(const std::vector<TafField>& fields, const taf::RecordSchema* record,
                 bool hideSecrets) {
    Json named = Json::object();
    for (const auto& field : fields) {
        if (field.type == TafType::StructEnd) {
            continue;
        }
        const taf::FieldSchema* known = record ? taf::findField(*record, field.tag) : nullptr;
        const bool fits = known != nullptr && tafjson::fitsType(field, *known->type);
        const std::string name = fits ? std::string(known->info.name) : std::to_string(field.tag);
        named[name] = fits && hideSecrets && known->info.secret
                          ? Json("*****")
                          : NamedValue(field, fits ? known->type : nullptr, hideSecrets);
    }
    return named;
}

// The member's TAF fields as a tree; empty when it holds none (hex text, an unknown form).
std::vector<TafField> Tree(const Json& line, const char* member) {
    std::vector<TafField> tree;
    std::string ignored;
    const Json* fields = Member(line, member);
    if (fields == nullptr || !fields->is_array() ||
        !tafjson::treeFromJson(*fields, tree, ignored)) {
        tree.clear();
    }
    return tree;
}

}  // namespace

std::string EventEnd(const Json& line, const char* key) {
    return Text(line, key);
}

std::string EventLabel(const Json& line) {
    if (!line.is_object()) {
        return "(not an event)";
    }
    const std::string function = Text(line, "servant") + "/" + Text(line, "function");
    if (Has(line, "type")) {
        const auto* message = FindMessage(line);
        return OneLine(*Member(line, "type")) + " " +
               (message ? std::string(message->name) : std::string("unknown type"));
    }
    if (Has(line, "push")) {
        return "push " + OneLine(*Member(line, "push"));
    }
    if (Has(line, "call")) {
        return Text(line, "call");
    }
    if (Has(line, "request")) {
        return function + " request";
    }
    if (Has(line, "timeout")) {
        return function + " time out";
    }
    if (Has(line, "ret")) {
        return function + " reply, ret " + OneLine(*Member(line, "ret"));
    }
    if (Has(line, "function")) {
        return function + " raw reply";
    }
    if (Has(line, "error")) {
        return "error: " + Text(line, "error");
    }
    // A kind of line this tool does not know: its members but the lanes and the time.
    std::string label;
    for (const auto& [key, value] : line.items()) {
        if (key != "from" && key != "to" && key != "t_ms") {
            label += (label.empty() ? "" : ", ") + key + " " + OneLine(value);
        }
    }
    return label.size() > 80 ? label.substr(0, 77) + "..." : label;
}

std::string EventSummary(const Json& line) {
    char stamp[32] = "";
    std::int64_t milliseconds = 0;
    const Json* time = Member(line, "t_ms");
    if (time != nullptr && tafjson::toInt64(*time, milliseconds)) {
        std::snprintf(stamp, sizeof stamp, "[%5lld ms]  ", static_cast<long long>(milliseconds));
    }
    const std::string to = Text(line, "to");
    return stamp + Text(line, "from") + (to.empty() ? "" : " -> " + to) + "  " + EventLabel(line);
}

Json EventFields(const Json& line, bool hideSecrets) {
    if (!line.is_object()) {
        return Json::object();
    }
    if (const Json* args = Member(line, "args")) {
        return *args;
    }
    const FieldsPlace place = PlaceOf(line);
    const Json* fields = Member(line, place.member);
    if (fields == nullptr) {
        Json members = Json::object();
        for (const auto& [key, value] : line.items()) {
            if (key != "from" && key != "to" && key != "t_ms") {
                members[key] = value;
            }
        }
        return members;
    }
    if (!fields->is_array()) {
        return *fields;
    }
    return NamedRecord(Tree(line, place.member), place.record, hideSecrets);
}

std::string EventHex(const Json& line) {
    if (!line.is_object()) {
        return {};
    }
    if (const std::string hex = Text(line, "hex"); !hex.empty()) {
        return hex;
    }
    const FieldsPlace place = PlaceOf(line);
    const Json* fields = Member(line, place.member);
    if (fields == nullptr) {
        return {};
    }
    if (fields->is_string()) {
        return fields->get<std::string>();
    }
    taf::TafOutputStream out;
    tafjson::encodeTree(out, Tree(line, place.member));
    return tafjson::toHex(out.toBytes());
}

bool EventIsTrouble(const Json& line) {
    if (!line.is_object()) {
        return true;
    }
    const Json* ret = tafjson::findMember(line, "ret");
    return Has(line, "timeout") || Has(line, "error") ||
           (Has(line, "hex") && !Has(line, "function")) || (ret != nullptr && *ret != Json(0));
}

Json WithoutTime(const Json& line) {
    Json copy = line;
    if (copy.is_object()) {
        copy.erase("t_ms");
    }
    return copy;
}

}  // namespace kinetra_sim
