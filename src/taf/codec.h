// Generic TAF writing and reading of every field kind: scalars, strings, byte vectors,
// lists, maps and records, top-level and nested. All of it is templates over the records'
// constexpr tables, so a field costs no virtual call and no allocation besides its value.
#pragma once

#include <map>
#include <span>
#include <string>
#include <type_traits>
#include <vector>

#include "taf/input_stream.h"
#include "taf/output_stream.h"
#include "taf/record_table.h"

namespace taf {

template <class T>
struct IsStdVector : std::false_type {};
template <class T, class A>
struct IsStdVector<std::vector<T, A>> : std::true_type {};

template <class T>
struct IsStdMap : std::false_type {};
template <class K, class V, class C, class A>
struct IsStdMap<std::map<K, V, C, A>> : std::true_type {};

// The field kinds; walkers such as the simulator's JSON conversion branch on these.
template <class T>
concept TafInteger = std::is_same_v<T, std::int8_t> || std::is_same_v<T, std::int16_t> ||
    std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::int64_t>;
template <class T>
concept TafList = IsStdVector<T>::value && !std::is_same_v<T, Bytes>;
template <class T>
concept TafMap = IsStdMap<T>::value;

// Memory a std::map node takes besides its key and value (colour and three links).
inline constexpr std::size_t kMapNodeOverhead = 32;

template <Record T>
Status writeTo(TafOutputStream& out, const T& record);
template <Record T>
[[nodiscard]] Status readFrom(TafInputStream& in, T& record);

inline void keepFirstFailure(Status& first, Status status) {
    if (first >= 0 && status < 0) {
        first = status;
    }
}

template <class T>
inline constexpr bool kUnsupportedKind = false;

// Writes `value` as the field `tag`, in the wire form of its kind; a record nested in a
// StructBegin/StructEnd pair.
template <class T>
Status writeValue(TafOutputStream& out, const T& value, Tag tag) {
    if constexpr (std::is_same_v<T, bool>) {
        return out.writeBool(value, tag);
    } else if constexpr (TafInteger<T>) {
        return out.writeInt(value, tag);
    } else if constexpr (std::is_same_v<T, double>) {
        return out.writeDouble(value, tag);
    } else if constexpr (std::is_same_v<T, std::string>) {
        return out.writeString(value, tag);
    } else if constexpr (std::is_same_v<T, Bytes>) {
        return out.writeBytes(value, tag);
    } else if constexpr (TafList<T>) {
        Status first = out.writeListHead(value.size(), tag);
        for (const auto& element : value) {
            keepFirstFailure(first, writeValue<typename T::value_type>(out, element, 0));
        }
        return first;
    } else if constexpr (TafMap<T>) {
        Status first = out.writeMapHead(value.size(), tag);
        for (const auto& [key, mapped] : value) {
            keepFirstFailure(first, writeValue(out, key, 0));
            keepFirstFailure(first, writeValue(out, mapped, 1));
        }
        return first;
    } else if constexpr (Record<T>) {
        out.writeStructBegin(tag);
        const Status status = writeTo(out, value);
        out.writeStructEnd();
        return status;
    } else {
        static_assert(kUnsupportedKind<T>, "not a TAF field kind");
    }
}

// Reads a list, map or record whose head (of type `type`) has just been consumed.
template <class T>
[[nodiscard]] Status readOpened(TafInputStream& in, T& value, TafType type);

// Reads the field `tag` into `value`. An absent field gives kRequiredMissing when required,
// kOk otherwise, and leaves `value` as it was.
template <class T>
[[nodiscard]] Status readValue(TafInputStream& in, T& value, Tag tag, bool required) {
    if constexpr (std::is_same_v<T, bool>) {
        return in.readBool(value, tag, required);
    } else if constexpr (TafInteger<T>) {
        return in.readInt(value, tag, required);
    } else if constexpr (std::is_same_v<T, double>) {
        return in.readDouble(value, tag, required);
    } else if constexpr (std::is_same_v<T, std::string>) {
        return in.readString(value, tag, required);
    } else if constexpr (std::is_same_v<T, Bytes>) {
        return in.readBytes(value, tag, required);
    } else if constexpr (TafList<T> || TafMap<T> || Record<T>) {
        TafType type{};
        const Status status = in.openField(tag, required, type);
        if (status != kOk) {
            return status < 0 ? status : kOk;
        }
        return readOpened(in, value, type);
    } else {
        static_assert(kUnsupportedKind<T>, "not a TAF field kind");
    }
}

template <class T>
[[nodiscard]] Status readOpened(TafInputStream& in, T& value, TafType type) {
    constexpr TafType expected = TafList<T>  ? TafType::List
                                 : TafMap<T> ? TafType::Map
                                             : TafType::StructBegin;
    if (type != expected) {
        return kTypeMismatch;
    }
    const NestingGuard nesting(in);
    if (nesting.status() != kOk) {
        return nesting.status();
    }
    // Elements are appended as they are read, each charged to the budget: a declared count
    // reserves memory only when the rest of the input already holds that many bytes, so a
    // count that the input cannot back costs nothing before it fails.
    if constexpr (TafList<T>) {
        using Element = typename T::value_type;
        std::size_t count = 0;
        Status status = in.readCount(count, 1);
        if (status != kOk) {
            return status;
        }
        value.clear();
        if (count * sizeof(Element) <= in.remaining()) {
            value.reserve(count);
        }
        for (std::size_t i = 0; i < count && status >= 0; ++i) {
            status = in.chargeAllocation(sizeof(Element));
            if (status < 0) {
                break;
            }
            if constexpr (std::is_same_v<Element, bool>) {
                bool element = false;  // std::vector<bool> hands out proxies, not bool&
                status = in.readBool(element, 0, true);
                value.push_back(element);
            } else {
                status = readValue(in, value.emplace_back(), 0, true);
            }
        }
        return status;
    } else if constexpr (TafMap<T>) {
        std::size_t count = 0;
        Status status = in.readCount(count, 2);
        if (status != kOk) {
            return status;
        }
        value.clear();
        for (std::size_t i = 0; i < count && status >= 0; ++i) {
            status = in.chargeAllocation(sizeof(typename T::value_type) + kMapNodeOverhead);
            if (status < 0) {
                break;
            }
            typename T::key_type key{};
            typename T::mapped_type mapped{};
            status = readValue(in, key, 0, true);
            if (status >= 0) {
                status = readValue(in, mapped, 1, true);
            }
            if (status >= 0) {
                value.emplace(std::move(key), std::move(mapped));  // the first of equal keys stays
            }
        }
        return status;
    } else {
        const Status status = readFrom(in, value);
        const Status end = in.skipToStructEnd();
        return status < 0 ? status : end;
    }
}

// Writes the record's fields in tag order, without a struct marker around them (the form of
// packets, pushes and engine messages). Every field is written, also at its default.
template <Record T>
Status writeTo(TafOutputStream& out, const T& record) {
    static_assert(tagsAscending<T>(), "fields must be declared in ascending tag order");
    Status first = kOk;
    std::apply(
        [&](const auto&... field) {
            (keepFirstFailure(first, writeValue(out, record.*field.member, field.tag)), ...);
        },
        kRecordTable<T>.fields);
    return first;
}

// Resets the record to its defaults, then reads every field in tag order; a failing field
// does not stop the others. Returns the first failure.
template <Record T>
[[nodiscard]] Status readFrom(TafInputStream& in, T& record) {
    static_assert(tagsAscending<T>(), "fields must be declared in ascending tag order");
    // Copying the defaults, rather than assigning a fresh record, keeps the capacity of the
    // strings and vectors the target already holds: decoding into it again allocates nothing.
    static const T defaults{};
    record = defaults;
    Status first = kOk;
    std::apply(
        [&](const auto&... field) {
            (keepFirstFailure(first,
                              readValue(in, record.*field.member, field.tag, field.required)),
             ...);
        },
        kRecordTable<T>.fields);
    return first;
}

// A record as the bytes of a top-level message.
template <Record T>
Bytes toBytes(const T& record) {
    TafOutputStream out;
    writeTo(out, record);
    return out.toBytes();
}

template <Record T>
[[nodiscard]] Status fromBytes(std::span<const std::uint8_t> bytes, T& record) {
    TafInputStream in(bytes);
    return readFrom(in, record);
}

// For callers that act on a partly read record on purpose: whatever failed keeps its default
// and the status is not wanted.
template <Record T>
void readLenient(TafInputStream& in, T& record) {
    static_cast<void>(readFrom(in, record));
}

template <Record T>
void fromBytesLenient(std::span<const std::uint8_t> bytes, T& record) {
    static_cast<void>(fromBytes(bytes, record));
}

}  // namespace taf
