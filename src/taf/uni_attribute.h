// The body of a request packet: values under attribute names, each encoded at tag 0 and, in
// version 2, filed under its type name as well.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "taf/codec.h"

namespace taf {

// The type name a value is filed under: "int32" for return values, "MERU." + name for records.
template <class T>
constexpr std::string_view attributeTypeName() {
    if constexpr (std::is_same_v<T, std::int32_t>) {
        return "int32";
    } else if constexpr (Record<T>) {
        return wireTypeName<T>();
    } else {
        static_assert(kUnsupportedKind<T>, "attributes hold records and int32 return values");
    }
}

// A stored type name holding this character is read whatever type name the reader expects.
inline constexpr char kAnyTypeMarker = '?';

// Reads an attribute's value from its stored bytes: at tag 0, and in version 3 only when it is
// there (an absent tag 0 leaves `value` as it is).
template <class T>
[[nodiscard]] Status readAttributeValue(std::span<const std::uint8_t> bytes, T& value,
                                        bool version3) {
    TafInputStream in(bytes);
    return readValue(in, value, 0, !version3);
}

class UniAttribute {
public:
    // Version 2 files each value under its name and its type name; version 3 under the name.
    using TypedValues = std::map<std::string, Bytes, std::less<>>;
    using Values2 = std::map<std::string, TypedValues, std::less<>>;
    using Values3 = std::map<std::string, Bytes, std::less<>>;

    std::int16_t version() const { return iVer_; }
    void setVersion(std::int16_t version) { iVer_ = version; }

    // Encodes `value` at tag 0 and stores the bytes, replacing those of the same name (and, in
    // version 2, the same type name).
    template <class T>
    Status put(std::string_view name, const T& value) {
        out_.reset();
        const Status status = writeValue(out_, value, 0);
        putEncoded(name, attributeTypeName<T>(), out_.toBytes());
        return status;
    }

    // Stores value bytes as they stand; `typeName` is ignored in version 3.
    void putEncoded(std::string_view name, std::string_view typeName, Bytes value);

    // Reads the value stored under `name`. kFieldAbsent, with `value` untouched, when nothing
    // matches; a type-name mismatch is not an error.
    template <class T>
    [[nodiscard]] Status get(std::string_view name, T& value) {
        const Bytes* bytes = find(name, attributeTypeName<T>());
        return bytes == nullptr ? kFieldAbsent : readAttributeValue(*bytes, value, iVer_ == 3);
    }

    // The bytes `get` would read for `name` and `typeName`: in version 2 the entry of that type
    // name, or else the first entry when its type name holds kAnyTypeMarker. Null when none.
    const Bytes* find(std::string_view name, std::string_view typeName) const;

    // The body as a map at tag 0, in the version-3 layout or else the version-2 one.
    Status writeBody(TafOutputStream& out, bool version3) const;
    // Reads the body map at tag 0, required, into the data of that version: what it held is
    // read over (its nodes and buffers reused), and it is empty when the body is absent.
    [[nodiscard]] Status readBody(TafInputStream& in, bool version3);

    const Values2& values2() const { return data2_; }
    const Values3& values3() const { return data3_; }

private:
    std::int16_t iVer_ = 2;
    Values2 data2_;
    Values3 data3_;
    TafOutputStream out_;
};

// A body read where it lies: `get` reads what UniAttribute's would after readBody, the same
// checks and charges on the way, without building the body's maps. A reply, read once for two
// values, is read this way.
class EncodedBody {
public:
    EncodedBody(std::span<const std::uint8_t> body, bool version3)
        : body_(body), version3_(version3) {}

    template <class T>
    [[nodiscard]] Status get(std::string_view name, T& value) {
        std::span<const std::uint8_t> bytes;
        return find(name, attributeTypeName<T>(), bytes)
                   ? readAttributeValue(bytes, value, version3_)
                   : kFieldAbsent;
    }
    // True with the bytes UniAttribute::find would give after readBody; they are viewed in the
    // body, or, for bytes written one head per byte, in this object.
    bool find(std::string_view name, std::string_view typeName,
              std::span<const std::uint8_t>& bytes);

private:
    Status readTypedValues(TafInputStream& in, std::string_view typeName, bool& chosen,
                           std::span<const std::uint8_t>& bytes);

    std::span<const std::uint8_t> body_;
    bool version3_;
    Bytes spelled_;
};

}  // namespace taf
