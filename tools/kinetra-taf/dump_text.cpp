// The indented text form of a decoded TAF tree.
#include "dump_text.h"

#include <bit>
#include <charconv>

#include "common/hex_text.h"
#include "common/taf_tree_json.h"
#include "taf/render.h"

namespace taftool {
namespace {

using taf::TafType;

void appendValue(std::string& out, const tafjson::TafField& field) {
    switch (field.type) {
        case TafType::Float: {
            char text[32];
            const auto value = std::bit_cast<float>(static_cast<std::uint32_t>(field.floatBits));
            out.append(text, std::to_chars(text, text + sizeof text, value).ptr);
            return;
        }
        case TafType::Double:
            taf::renderDouble(out, std::bit_cast<double>(field.floatBits));
            return;
        case TafType::String1:
        case TafType::String4: {
            out += "[" + std::to_string(field.bytes.size()) + "] ";
            taf::renderString(out, tafjson::readableText(field.bytes));
            return;
        }
        case TafType::SimpleList:
            out += "[" + std::to_string(field.bytes.size()) + "] " + tafjson::toHex(field.bytes);
            return;
        case TafType::List:
            out += "[" + std::to_string(field.children.size()) + "]";
            return;
        case TafType::Map:
            out += "[" + std::to_string(field.children.size() / 2) + "]";
            return;
        case TafType::StructBegin:
            return;
        default:
            out += std::to_string(field.integer);
            return;
    }
}

void appendFields(std::string& out, const std::vector<tafjson::TafField>& fields, int depth,
                  const taf::RecordSchema* record);

void appendField(std::string& out, const tafjson::TafField& field, int depth, std::string_view name,
                 const taf::TypeSchema* type) {
    const std::string offset = std::to_string(field.offset);
    out.append(offset.size() < 6 ? 6 - offset.size() : 0, ' ');
    out += offset;
    out.append(2 + 2 * static_cast<std::size_t>(depth), ' ');
    out += "tag " + std::to_string(field.tag) + " ";
    if (type != nullptr && !tafjson::fitsType(field, *type)) {
        type = nullptr;
        name = {};
    }
    if (!name.empty()) {
        out += std::string(name) + " ";
    }
    out += tafjson::jsonTypeName(field.type);
    if (field.type != TafType::StructBegin) {
        out += ' ';
    }
    appendValue(out, field);
    out += '\n';
    if (type == nullptr || type->record != nullptr) {
        appendFields(out, field.children, depth + 1, type ? type->record : nullptr);
        return;
    }
    // List elements, or map keys and values in turn.
    for (std::size_t i = 0; i < field.children.size(); ++i) {
        const bool isKey = type->key != nullptr && i % 2 == 0;
        appendField(out, field.children[i], depth + 1, {}, isKey ? type->key : type->element);
    }
}

void appendFields(std::string& out, const std::vector<tafjson::TafField>& fields, int depth,
                  const taf::RecordSchema* record) {
    for (const auto& field : fields) {
        const taf::FieldSchema* known = record ? taf::findField(*record, field.tag) : nullptr;
        appendField(out, field, depth, known ? known->info.name : std::string_view(),
                    known ? known->type : nullptr);
    }
}

}  // namespace

std::string DumpText(const std::vector<tafjson::TafField>& fields,
                     const taf::RecordSchema* record) {
    std::string out;
    appendFields(out, fields, 0, record);
    return out;
}

const char* DescribeStatus(taf::Status status) {
    // The tree decoder has no schema: what it misses is a count, never a declared field.
    return status == taf::kRequiredMissing ? "a count is missing" : taf::statusName(status);
}

}  // namespace taftool
