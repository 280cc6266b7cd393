// The JSON form of TAF field trees, documented in docs/taf-json.md; the simulator reuses it.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/json.h"
#include "common/taf_tree.h"

namespace tafjson {

// The "type" of a field in the JSON form ("int8", ..., "bytes"); empty for StructEnd, which
// the form has no field for.
std::string_view jsonTypeName(taf::TafType type);

// The bytes as UTF-8 text, each invalid sequence shown as U+FFFD: a string's "text".
std::string readableText(std::span<const std::uint8_t> bytes);

// An array of field objects, each giving its wire type exactly.
Json treeToJson(const std::vector<TafField>& fields);

// Reads an array of field objects. Besides the exact wire types it accepts "int" (narrowed)
// and "string" (String1 or String4 by length). On failure `error` names the offending
// field by its path, for example "[2].fields[0]: unknown type \"int9\"".
bool treeFromJson(const Json& json, std::vector<TafField>& fields, std::string& error);

}  // namespace tafjson
