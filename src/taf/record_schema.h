// A record's table as data that tools read at run time: each field's tag, name, declared type
// and nesting, for the protocol reference and for dumps that name captured fields.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "taf/codec.h"

namespace taf {

struct RecordSchema;

// A field's declared type. `record` is set for a record; `element` for a list's element or a
// map's value, `key` for a map's key.
struct TypeSchema {
    std::string_view kind;  // "bool", "int8" to "int64", "float", "double", "string", "bytes",
                            // "list", "map" or "struct"
    const RecordSchema* record = nullptr;
    const TypeSchema* element = nullptr;
    const TypeSchema* key = nullptr;
};

struct FieldSchema {
    FieldInfo info;
    const TypeSchema* type = nullptr;
};

struct RecordSchema {
    std::string_view name;
    std::vector<FieldSchema> fields;
};

template <class T>
const TypeSchema& typeSchemaOf();

// One schema per record type, built on first use.
template <Record T>
const RecordSchema& recordSchemaOf() {
    static const RecordSchema schema = [] {
        RecordSchema built{kRecordTable<T>.name, {}};
        std::apply(
            [&](const auto&... field) {
                (built.fields.push_back(
                     {field.info(),
                      &typeSchemaOf<typename std::decay_t<decltype(field)>::MemberType>()}),
                 ...);
            },
            kRecordTable<T>.fields);
        return built;
    }();
    return schema;
}

template <class T>
const TypeSchema& typeSchemaOf() {
    static const TypeSchema schema = [] {
        if constexpr (std::is_same_v<T, bool>) {
            return TypeSchema{"bool"};
        } else if constexpr (std::is_same_v<T, std::int8_t>) {
            return TypeSchema{"int8"};
        } else if constexpr (std::is_same_v<T, std::int16_t>) {
            return TypeSchema{"int16"};
        } else if constexpr (std::is_same_v<T, std::int32_t>) {
            return TypeSchema{"int32"};
        } else if constexpr (std::is_same_v<T, std::int64_t>) {
            return TypeSchema{"int64"};
        } else if constexpr (std::is_same_v<T, float>) {
            return TypeSchema{"float"};
        } else if constexpr (std::is_same_v<T, double>) {
            return TypeSchema{"double"};
        } else if constexpr (std::is_same_v<T, std::string>) {
            return TypeSchema{"string"};
        } else if constexpr (std::is_same_v<T, Bytes>) {
            return TypeSchema{"bytes"};
        } else if constexpr (TafList<T>) {
            return TypeSchema{"list", nullptr, &typeSchemaOf<typename T::value_type>()};
        } else if constexpr (TafMap<T>) {
            return TypeSchema{"map", nullptr, &typeSchemaOf<typename T::mapped_type>(),
                              &typeSchemaOf<typename T::key_type>()};
        } else if constexpr (Record<T>) {
            return TypeSchema{"struct", &recordSchemaOf<T>()};
        } else {
            static_assert(kUnsupportedKind<T>, "not a TAF field kind");
        }
    }();
    return schema;
}

// The type as a reader of the protocol writes it: "int32", "list<CameraInfo>",
// "map<string, string>".
std::string describeType(const TypeSchema& type);

// The field with `tag`, or null.
const FieldSchema* findField(const RecordSchema& record, Tag tag);

}  // namespace taf
