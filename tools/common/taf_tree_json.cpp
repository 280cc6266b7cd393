// TAF field trees as JSON, and the names of the JSON form.
#include "common/taf_tree_json.h"

#include <bit>
#include <cmath>

#include "common/hex_text.h"
#include "core/text.h"

namespace tafjson {
namespace {

using taf::TafType;

Json fieldToJson(const TafField& field);

Json listToJson(const std::vector<TafField>& fields) {
    Json array = Json::array();
    for (const TafField& field : fields) {
        array.push_back(fieldToJson(field));
    }
    return array;
}

// Finite values as numbers; infinities and NaNs as their payload bytes, bit for bit.
void floatToJson(const TafField& field, Json& object) {
    const bool isFloat = field.type == TafType::Float;
    const auto narrow = std::bit_cast<float>(static_cast<std::uint32_t>(field.floatBits));
    const auto wide = std::bit_cast<double>(field.floatBits);
    if (isFloat ? std::isfinite(narrow) : std::isfinite(wide)) {
        object["value"] = isFloat ? floatJson(narrow) : Json(wide);
        return;
    }
    taf::Bytes bits;
    for (int shift = isFloat ? 24 : 56; shift >= 0; shift -= 8) {
        bits.push_back(static_cast<std::uint8_t>(field.floatBits >> shift));
    }
    object["hex"] = toHex(bits);
}

Json fieldToJson(const TafField& field) {
    Json object = {{"tag", field.tag}, {"type", jsonTypeName(field.type)}};
    switch (field.type) {
        case TafType::Float:
        case TafType::Double:
            floatToJson(field, object);
            break;
        case TafType::String1:
        case TafType::String4:
            object["hex"] = toHex(field.bytes);
            object["text"] = readableText(field.bytes);
            break;
        case TafType::SimpleList:
            object["hex"] = toHex(field.bytes);
            break;
        case TafType::List:
            object["items"] = listToJson(field.children);
            break;
        case TafType::Map: {
            Json entries = Json::array();
            for (std::size_t i = 0; i + 1 < field.children.size(); i += 2) {
                entries.push_back(Json::array(
                    {fieldToJson(field.children[i]), fieldToJson(field.children[i + 1])}));
            }
            object["entries"] = std::move(entries);
            break;
        }
        case TafType::StructBegin:
            object["fields"] = listToJson(field.children);
            break;
        default:  // the integer types and zero
            object["value"] = field.integer;
            break;
    }
    return object;
}

}  // namespace

std::string_view jsonTypeName(taf::TafType type) {
    static constexpr std::string_view kNames[] = {
        "int8",    "int16", "int32", "int64",  "float", "double", "string1",
        "string4", "map",   "list",  "struct", "",      "zero",   "bytes",
    };
    const auto code = static_cast<std::size_t>(type);
    return code < std::size(kNames) ? kNames[code] : std::string_view();
}

std::string readableText(std::span<const std::uint8_t> bytes) {
    return core::SanitizeUtf8(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

Json treeToJson(const std::vector<TafField>& fields) {
    return listToJson(fields);
}

}  // namespace tafjson
