// Reading TAF field trees from their JSON form, strictly, with the two shorthands.
#include <algorithm>
#include <bit>
#include <initializer_list>
#include <span>

#include "common/hex_text.h"
#include "common/taf_tree_json.h"

namespace tafjson {
namespace {

using taf::TafType;

// Reads field objects depth first. The path to the field being read is kept as a list of
// steps and turned into text only for an error, so the recursive frames stay small.
class TreeReader {
public:
    explicit TreeReader(std::string& error) : error_(error) {}

    bool readList(const Json& json, std::vector<TafField>& fields, const char* member) {
        if (!json.is_array()) {
            return fail({"expected an array of fields"});
        }
        for (std::size_t i = 0; i < json.size(); ++i) {
            steps_.push_back({member, i});
            if (!readField(json[i], fields.emplace_back())) {
                return false;
            }
            steps_.pop_back();
        }
        return true;
    }

private:
    struct Step {
        const char* member;  // null for an item of the enclosing array
        std::size_t index;
    };

    [[gnu::noinline]] bool fail(std::initializer_list<std::string_view> message) {
        error_.clear();
        for (const Step& step : steps_) {
            if (step.member != nullptr) {
                error_ += '.';
                error_ += step.member;
            }
            error_ += '[' + std::to_string(step.index) + ']';
        }
        error_ = (error_.empty() ? "top level" : error_) + ": ";
        for (const std::string_view part : message) {
            error_ += part;
        }
        return false;
    }

    // The members a field of this type may have besides "tag" and "type".
    static std::span<const std::string_view> allowedMembers(std::string_view type) {
        static constexpr std::string_view kItems[] = {"items"};
        static constexpr std::string_view kEntries[] = {"entries"};
        static constexpr std::string_view kFields[] = {"fields"};
        static constexpr std::string_view kHex[] = {"hex"};
        static constexpr std::string_view kText[] = {"hex", "text"};
        static constexpr std::string_view kReal[] = {"value", "hex"};
        static constexpr std::string_view kValue[] = {"value"};
        if (type == "list") {
            return kItems;
        }
        if (type == "map") {
            return kEntries;
        }
        if (type == "struct") {
            return kFields;
        }
        if (type == "bytes") {
            return kHex;
        }
        if (type.starts_with("string")) {
            return kText;
        }
        if (type == "float" || type == "double") {
            return kReal;
        }
        return kValue;
    }

    static bool knownType(const std::string& name) {
        if (name == "int" || name == "string") {
            return true;
        }
        for (std::uint8_t code = 0; code <= static_cast<std::uint8_t>(TafType::SimpleList);
             ++code) {
            if (!name.empty() && name == jsonTypeName(static_cast<TafType>(code))) {
                return true;
            }
        }
        return false;
    }

    bool readField(const Json& json, TafField& field) {
        if (!json.is_object()) {
            return fail({"expected a field object"});
        }
        const Json* tag = findMember(json, "tag");
        const Json* type = findMember(json, "type");
        std::int64_t tagValue = 0;
        if (tag == nullptr || !toInt64(*tag, tagValue) || tagValue < 0 || tagValue > 255) {
            return fail({"\"tag\" must be an integer from 0 to 255"});
        }
        if (type == nullptr || !type->is_string()) {
            return fail({"\"type\" must be a string"});
        }
        const auto& name = type->get_ref<const std::string&>();
        if (!knownType(name)) {
            return fail({"unknown type \"", name, "\""});
        }
        const auto allowed = allowedMembers(name);
        for (const auto& [key, member] : json.items()) {
            if (key != "tag" && key != "type" &&
                std::find(allowed.begin(), allowed.end(), key) == allowed.end()) {
                return fail({"unexpected member \"", key, "\" for type \"", name, "\""});
            }
        }
        field.tag = static_cast<taf::Tag>(tagValue);
        if (name == "list" || name == "struct") {
            field.type = name == "list" ? TafType::List : TafType::StructBegin;
            const char* member = name == "list" ? "items" : "fields";
            const Json* children = findMember(json, member);
            return children != nullptr ? readList(*children, field.children, member)
                                       : fail({"missing \"", member, "\""});
        }
        if (name == "map") {
            field.type = TafType::Map;
            return readEntries(findMember(json, "entries"), field);
        }
        if (name == "bytes" || name.starts_with("string")) {
            return readBytes(json, name, field);
        }
        if (name == "float" || name == "double") {
            return readReal(json, name, field);
        }
        return readInteger(json, name, field);
    }

    bool readEntries(const Json* entries, TafField& field) {
        if (entries == nullptr || !entries->is_array()) {
            return fail({"expected \"entries\", an array of [key, value] pairs"});
        }
        for (std::size_t i = 0; i < entries->size(); ++i) {
            const Json& pair = (*entries)[i];
            steps_.push_back({"entries", i});
            if (!pair.is_array() || pair.size() != 2) {
                return fail({"expected a [key, value] pair"});
            }
            for (std::size_t half = 0; half < 2; ++half) {
                steps_.push_back({nullptr, half});
                if (!readField(pair[half], field.children.emplace_back())) {
                    return false;
                }
                steps_.pop_back();
            }
            steps_.pop_back();
        }
        return true;
    }

    [[gnu::noinline]] bool readBytes(const Json& json, const std::string& name, TafField& field) {
        const Json* hex = findMember(json, "hex");
        const Json* text = findMember(json, "text");
        if (hex != nullptr) {
            if (!hex->is_string() ||
                !parseHexText(hex->get_ref<const std::string&>(), field.bytes)) {
                return fail({"\"hex\" must be a string of hex digit pairs"});
            }
        } else if (text != nullptr && text->is_string()) {
            const auto& utf8 = text->get_ref<const std::string&>();
            field.bytes.assign(utf8.begin(), utf8.end());
        } else {
            return fail({name == "bytes" ? "missing \"hex\"" : "missing \"hex\" or \"text\""});
        }
        const std::size_t size = field.bytes.size();
        if (name == "bytes") {
            field.type = TafType::SimpleList;
        } else if (name == "string1" || (name == "string" && size <= 255)) {
            field.type = TafType::String1;
        } else {
            field.type = TafType::String4;
        }
        if (field.type == TafType::String1 && size > 255) {
            return fail({"a string1 holds at most 255 bytes"});
        }
        if (field.type == TafType::String4 && size > taf::kMaxStringLength) {
            return fail(
                {"a string holds at most ", std::to_string(taf::kMaxStringLength), " bytes"});
        }
        return true;
    }

    [[gnu::noinline]] bool readReal(const Json& json, const std::string& name, TafField& field) {
        const bool isFloat = name == "float";
        field.type = isFloat ? TafType::Float : TafType::Double;
        const Json* value = findMember(json, "value");
        const Json* hex = findMember(json, "hex");
        taf::Bytes bits;
        if (value != nullptr && hex == nullptr) {
            float narrow = 0;
            double wide = 0;
            if (isFloat ? !toFloat(*value, narrow) : !toDouble(*value, wide)) {
                return fail({"\"value\" must be a number within the ", name, " range"});
            }
            field.floatBits =
                isFloat ? std::bit_cast<std::uint32_t>(narrow) : std::bit_cast<std::uint64_t>(wide);
            return true;
        }
        if (hex != nullptr && value == nullptr && hex->is_string() &&
            parseHexText(hex->get_ref<const std::string&>(), bits) &&
            bits.size() == (isFloat ? 4u : 8u)) {
            for (const std::uint8_t byte : bits) {
                field.floatBits = field.floatBits << 8 | byte;
            }
            return true;
        }
        return fail(
            {"give either \"value\" or \"hex\" with the ", isFloat ? "4" : "8", " payload bytes"});
    }

    [[gnu::noinline]] bool readInteger(const Json& json, const std::string& name, TafField& field) {
        const Json* value = findMember(json, "value");
        std::int64_t number = 0;
        if (value != nullptr && !toInt64(*value, number)) {
            return fail({"\"value\" must be an integer within 64 bits"});
        }
        if (value == nullptr && name != "zero") {
            return fail({"missing \"value\""});
        }
        struct Range {
            std::string_view name;
            TafType type;
            std::int64_t low, high;
        };
        static constexpr Range kRanges[] = {
            {"zero", TafType::ZeroTag, 0, 0},
            {"int8", TafType::Int8, INT8_MIN, INT8_MAX},
            {"int16", TafType::Int16, INT16_MIN, INT16_MAX},
            {"int32", TafType::Int32, INT32_MIN, INT32_MAX},
            {"int64", TafType::Int64, INT64_MIN, INT64_MAX},
        };
        field.integer = number;
        for (const Range& range : kRanges) {
            // "int" takes the first form that holds the value, as the writers narrow.
            const bool fits = number >= range.low && number <= range.high;
            if (name == range.name || (name == "int" && fits)) {
                field.type = range.type;
                return fits || fail({"value out of range for ", name});
            }
        }
        return fail({"unknown type \"", name, "\""});
    }

    std::string& error_;
    std::vector<Step> steps_;
};

}  // namespace

bool treeFromJson(const Json& json, std::vector<TafField>& fields, std::string& error) {
    fields.clear();
    return TreeReader(error).readList(json, fields, nullptr);
}

}  // namespace tafjson
