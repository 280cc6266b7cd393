#include "taf/record_schema.h"

namespace taf {

std::string describeType(const TypeSchema& type) {
    if (type.record != nullptr) {
        return std::string(type.record->name);
    }
    if (type.key != nullptr && type.element != nullptr) {
        return "map<" + describeType(*type.key) + ", " + describeType(*type.element) + ">";
    }
    if (type.element != nullptr) {
        return "list<" + describeType(*type.element) + ">";
    }
    return std::string(type.kind);
}

const FieldSchema* findField(const RecordSchema& record, Tag tag) {
    for (const auto& field : record.fields) {
        if (field.info.tag == tag) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace taf
