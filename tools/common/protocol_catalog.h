// The engine and server protocol as the plug-in's tables declare it, gathered for the tools:
// every engine message, server call and push with its records, and every record they reach.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "taf/record_schema.h"

namespace tafjson {

struct EngineMessageEntry {
    bool fromEngine = false;
    std::int32_t type = 0;
    std::string_view name;
    // Null where the payload is not read, is raw bytes, or has no record.
    const taf::RecordSchema* payload = nullptr;
    // From the engine only: the handlers that run for it in order, each as "area Handler", and
    // the types that answer it.
    std::vector<std::string> handlers;
    std::vector<std::int32_t> answers;
};

struct ServerCallEntry {
    std::string_view servant;
    std::string_view function;
    const taf::RecordSchema* request = nullptr;
    // Null where no response is read.
    const taf::RecordSchema* response = nullptr;
    // The engine message a game request's answer goes out as.
    std::optional<std::int32_t> answerType;
};

struct PushEntry {
    std::uint32_t uri = 0;
    const taf::RecordSchema* record = nullptr;
};

struct ProtocolCatalog {
    const taf::RecordSchema* envelope = nullptr;
    // In the order of the message table: from the engine, then to it.
    std::vector<EngineMessageEntry> messages;
    // The plug-in's own server functions, then the games'.
    std::vector<ServerCallEntry> calls;
    // By URI.
    std::vector<PushEntry> pushes;
    // Every record the above use, nested ones included, by name.
    std::vector<const taf::RecordSchema*> records;
};

const ProtocolCatalog& protocolCatalog();

// The record with the table's name, bare or as its wire type name ("MERU." + name); null when
// there is none.
const taf::RecordSchema* findRecord(std::string_view name);

// The payload record of engine type `type` in either direction; null when no row of that type
// has one.
const taf::RecordSchema* findEngineRecord(std::int64_t type);

}  // namespace tafjson
