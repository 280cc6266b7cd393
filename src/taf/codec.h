// Generic TAF writing and reading of every field kind: scalars, strings, byte vectors,
// lists, maps and records, top-level and nested. All of it is templates over the records'
// constexpr tables, so a field costs no virtual call and no allocation besides its value.
#pragma once

#include <map>
#include <span>
#include <string>
#include <type_traits>
#include <utility>
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

// The field kinds (and TafInteger, in input_stream.h); walkers such as the simulator's JSON
// conversion branch on these.
template <class T>
concept TafList = IsStdVector<T>::value && !std::is_same_v<T, Bytes>;
template <class T>
concept TafMap = IsStdMap<T>::value;

// Memory a std::map node takes besides its key and value (colour and three links), and what
// reading an entry of a map of type `T` is charged.
inline constexpr std::size_t kMapNodeOverhead = 32;
template <class T>
inline constexpr std::size_t kMapEntryBytes = sizeof(typename T::value_type) + kMapNodeOverhead;

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

template <Record T>
const T& recordDefaults() {
    static const T defaults{};
    return defaults;
}

// Writes `value` as the field `tag`, in the wire form of its kind; a record nested in a
// StructBegin/StructEnd pair.
template <class T>
Status writeValue(TafOutputStream& out, const T& value, Tag tag) {
    if constexpr (std::is_same_v<T, bool>) {
        return out.writeBool(value, tag);
    } else if constexpr (TafInteger<T>) {
        return out.writeInt(value, tag);
    } else if constexpr (std::is_same_v<T, float>) {
        return out.writeFloat(value, tag);
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

// Reads a value whose head (of type `type`) has just been consumed. A list, map or record
// that already holds data is read over in place: the elements, nodes and strings it holds
// are refilled, so decoding into a reused record allocates only for what grew.
template <class T>
[[nodiscard]] Status readOpened(TafInputStream& in, T& value, TafType type);

// Reads the field `tag` into `value`. An absent field gives kRequiredMissing when required,
// kOk otherwise, and leaves `value` as it was.
template <class T>
[[nodiscard]] Status readValue(TafInputStream& in, T& value, Tag tag, bool required) {
    if constexpr (std::is_same_v<T, std::string>) {
        if (in.takeShortString(tag, value)) {
            return kOk;
        }
    } else if constexpr (std::is_same_v<T, Bytes>) {
        std::span<const std::uint8_t> view;
        if (in.takeShortBytes(tag, view)) {
            value.assign(view.begin(), view.end());
            return kOk;
        }
    }
    TafType type{};
    const Status status = in.openField(tag, required, type);
    if (status != kOk) {
        return status < 0 ? status : kOk;
    }
    return readOpened(in, value, type);
}

// Kinds whose reader leaves the target as it was when it fails, so that a failing field of
// such a kind holds its default. Lists, maps and records keep what their reader read.
template <class T>
inline constexpr bool kReadWholeOrNotAtAll = !(TafList<T> || TafMap<T> || Record<T>);

// Reads list element `i` at tag 0. When it fails after its head was found, `keepsPart` says
// whether the element holds what was read of it rather than nothing.
template <class T>
[[nodiscard]] inline Status readElement(TafInputStream& in, T& value, std::size_t i,
                                        bool& keepsPart) {
    using Element = typename T::value_type;
    if constexpr (TafInteger<Element>) {
        if (in.takeSmallInt(0, value[i])) {
            return kOk;
        }
    } else if constexpr (std::is_same_v<Element, std::string>) {
        if (in.takeShortString(0, value[i])) {
            return kOk;
        }
    }
    TafType type{};
    Status status = in.openField(0, true, type);
    if (status != kOk) {
        return status;
    }
    if constexpr (std::is_same_v<Element, bool>) {
        bool element = false;  // std::vector<bool> hands out proxies, not bool&
        status = in.readOpened(element, type);
        value[i] = element;
    } else {
        status = readOpened(in, value[i], type);
    }
    keepsPart = !kReadWholeOrNotAtAll<Element>;
    return status;
}

template <class T>
[[nodiscard]] Status readOpenedList(TafInputStream& in, T& value) {
    using Element = typename T::value_type;
    std::size_t count = 0;
    Status status = in.readCount(count, 1);
    // The list takes its full count at once, so the elements it adds are charged first: a
    // count the budget cannot hold fails before anything is allocated.
    if (status == kOk && count > value.size()) {
        status = in.chargeElements(count - value.size(), sizeof(Element));
    }
    if (status != kOk) {
        value.clear();
        return status;
    }
    value.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        bool keepsPart = false;
        status = readElement(in, value, i, keepsPart);
        if (status != kOk) {
            // Reading stops here: the elements before keep their values, the failing one what
            // was read of it, and those after (read over in place until now) their defaults.
            value.resize(keepsPart ? i + 1 : i);
            value.resize(count);
            return status;
        }
    }
    return kOk;
}

// A map key as the wire holds it: a string key is viewed in place, any other read whole.
template <class Key>
using WireKey = std::conditional_t<std::is_same_v<Key, std::string>, std::string_view, Key>;

template <class Key>
[[nodiscard]] Status readWireKey(TafInputStream& in, WireKey<Key>& key) {
    if constexpr (std::is_same_v<Key, std::string>) {
        if (in.takeShortStringView(0, key)) {
            return kOk;
        }
        TafType type{};
        const Status status = in.openField(0, true, type);
        return status != kOk ? status : in.readOpenedView(key, type);
    } else {
        return readValue(in, key, 0, true);
    }
}

// Entry i of the message is read over the i-th node the map held, in key order, and is then
// filed under its key; the nodes left over are freed at the end.
template <class T>
[[nodiscard]] Status readOpenedMap(TafInputStream& in, T& value) {
    using Key = typename T::key_type;
    std::size_t count = 0;
    Status status = in.readCount(count, 2);
    if (status != kOk) {
        value.clear();
        return status;
    }
    // A map read again mostly gets the keys it holds, in their order. While each key is that
    // of the node it is read over, the value is read in place, and the node stays where it is.
    std::size_t i = 0;
    auto next = value.begin();
    WireKey<Key> pending{};
    bool hasPending = false;
    if constexpr (std::is_same_v<Key, std::string> || TafInteger<Key>) {
        for (; i < count && next != value.end(); ++i, ++next) {
            status = in.chargeAllocation(kMapEntryBytes<T>);
            if (status >= 0) {
                status = readWireKey<Key>(in, pending);
            }
            if (status >= 0 && pending != next->first) {
                hasPending = true;
                break;
            }
            if (status >= 0) {
                status = readValue(in, next->second, 1, true);
            }
            if (status < 0) {
                value.erase(next, value.end());
                return status;
            }
        }
    }
    // Otherwise the nodes not yet read over are taken out, refilled and filed again.
    T spare;
    while (next != value.end()) {
        spare.insert(spare.end(), value.extract(next++));
    }
    const auto readKey = [&](Key& key) {
        if (!std::exchange(hasPending, false)) {
            return readValue(in, key, 0, true);
        }
        key = pending;
        return kOk;
    };
    for (; i < count && status >= 0; ++i) {
        if (!hasPending) {
            status = in.chargeAllocation(kMapEntryBytes<T>);
            if (status < 0) {
                break;
            }
        }
        if (!spare.empty()) {
            auto node = spare.extract(spare.begin());
            status = readKey(node.key());
            if (status >= 0) {
                status = readValue(in, node.mapped(), 1, true);
            }
            if (status >= 0) {
                value.insert(std::move(node));  // the first of equal keys stays
            }
            continue;
        }
        Key key{};
        typename T::mapped_type mapped{};
        status = readKey(key);
        if (status >= 0) {
            status = readValue(in, mapped, 1, true);
        }
        if (status >= 0) {
            value.emplace(std::move(key), std::move(mapped));  // the first of equal keys stays
        }
    }
    return status;
}

template <class T>
[[nodiscard]] Status readOpened(TafInputStream& in, T& value, TafType type) {
    if constexpr (std::is_same_v<T, bool> || TafInteger<T> || std::is_floating_point_v<T> ||
                  std::is_same_v<T, std::string> || std::is_same_v<T, Bytes>) {
        return in.readOpened(value, type);
    } else if constexpr (TafList<T> || TafMap<T> || Record<T>) {
        constexpr TafType expected = TafList<T>  ? TafType::List
                                     : TafMap<T> ? TafType::Map
                                                 : TafType::StructBegin;
        const NestingGuard nesting(in);
        const Status refused = type != expected ? kTypeMismatch : nesting.status();
        if (refused != kOk) {
            // Nothing of it was read: the value is what reading it from nothing gives.
            if constexpr (Record<T>) {
                value = recordDefaults<T>();
            } else {
                value.clear();
            }
            return refused;
        }
        if constexpr (TafList<T>) {
            return readOpenedList(in, value);
        } else if constexpr (TafMap<T>) {
            return readOpenedMap(in, value);
        } else {
            const Status status = readFrom(in, value);
            const Status end = in.skipToStructEnd();
            return status < 0 ? status : end;
        }
    } else {
        static_assert(kUnsupportedKind<T>, "not a TAF field kind");
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

// Reads one field of the record. An absent field gets its default; a failing one keeps what
// its reader left in it (its default for the kinds read whole or not at all).
template <Record T, class Field>
void readMemberInGeneral(TafInputStream& in, T& record, const Field& field, Status& first) {
    auto& member = record.*field.member;
    TafType type{};
    Status status = in.openField(field.tag, field.required, type);
    const bool present = status == kOk;
    if (present) {
        status = readOpened(in, member, type);
    }
    if (status == kOk) {
        return;
    }
    keepFirstFailure(first, status);
    if (!present || kReadWholeOrNotAtAll<typename Field::MemberType>) {
        member = recordDefaults<T>().*field.member;
    }
}

// The same; integer and short string fields in their usual form are taken inline, so that a
// record of many such fields is read without a call per field whatever the optimisation level.
template <Record T, class Field>
inline void readMember(TafInputStream& in, T& record, const Field& field, Status& first) {
    if constexpr (TafInteger<typename Field::MemberType>) {
        if (in.takeSmallInt(field.tag, record.*field.member)) {
            return;
        }
    } else if constexpr (std::is_same_v<typename Field::MemberType, std::string>) {
        if (in.takeShortString(field.tag, record.*field.member)) {
            return;
        }
    }
    readMemberInGeneral(in, record, field, first);
}

// Reads every field in tag order into the record and returns the first failure. A failing
// field does not stop the others: each is searched from where the cursor stands, so a field a
// newer or odd writer sent in a form this reader does not take costs only that field.
// The fields are read over what the record holds, so decoding into it again keeps the
// capacity of its strings and the elements of its lists.
template <Record T>
[[nodiscard]] Status readFrom(TafInputStream& in, T& record) {
    static_assert(tagsAscending<T>(), "fields must be declared in ascending tag order");
    Status first = kOk;
    std::apply([&](const auto&... field) { (readMember(in, record, field, first), ...); },
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
