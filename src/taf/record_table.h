// Declaring a TAF record: one constexpr table of its fields, from which the codec, the
// readable rendering, the wire type name and any other walker derive everything.
#pragma once

#include <algorithm>
#include <array>
#include <string_view>
#include <tuple>
#include <type_traits>

#include "taf/wire.h"

namespace taf {

// What a walker learns about one field besides its value.
struct FieldInfo {
    Tag tag = 0;
    std::string_view name;
    bool required = false;
    // Kept out of readable renderings: tokens, cookies.
    bool secret = false;
};

template <class Owner, class Member>
struct Field {
    using MemberType = Member;

    Tag tag;
    Member Owner::*member;
    std::string_view name;
    bool required;
    bool secret = false;

    constexpr Field hidden() const {
        Field copy = *this;
        copy.secret = true;
        return copy;
    }
    constexpr FieldInfo info() const { return {tag, name, required, secret}; }
};

template <class Owner, class Member>
constexpr Field<Owner, Member> required(Tag tag, Member Owner::*member, std::string_view name) {
    return {tag, member, name, true};
}

template <class Owner, class Member>
constexpr Field<Owner, Member> optional(Tag tag, Member Owner::*member, std::string_view name) {
    return {tag, member, name, false};
}

template <class... Fields>
struct RecordTable {
    std::string_view name;
    std::tuple<Fields...> fields;
};

// The record's name without the "MERU." prefix, then its fields in ascending tag order.
template <class... Fields>
constexpr RecordTable<Fields...> table(std::string_view name, Fields... fields) {
    return {name, {fields...}};
}

// A record is a struct with `static constexpr auto tafTable()` returning its table.
template <class T>
concept Record = requires {
    T::tafTable();
};

template <Record T>
inline constexpr auto kRecordTable = T::tafTable();

template <Record T>
constexpr bool tagsAscending() {
    return std::apply(
        [](const auto&... field) {
            int previous = -1;
            bool ascending = true;
            ((ascending = ascending && field.tag > previous, previous = field.tag), ...);
            return ascending;
        },
        kRecordTable<T>.fields);
}

// Calls visit(FieldInfo, member) for each field in tag order; the member is const when the
// record is.
template <class R, class Visitor>
requires Record<std::remove_const_t<R>>
constexpr void forEachField(R& record, Visitor&& visit) {
    std::apply([&](const auto&... field) { (visit(field.info(), record.*field.member), ...); },
               kRecordTable<std::remove_const_t<R>>.fields);
}

inline constexpr std::string_view kWireTypePrefix = "MERU.";

namespace detail {

template <Record T>
struct WireTypeName {
    static constexpr std::string_view bare = kRecordTable<T>.name;
    static constexpr auto text = [] {
        std::array<char, kWireTypePrefix.size() + bare.size() + 1> joined{};
        auto end = std::copy(kWireTypePrefix.begin(), kWireTypePrefix.end(), joined.begin());
        std::copy(bare.begin(), bare.end(), end);
        return joined;
    }();
};

}  // namespace detail

// The name a UniAttribute stores the record under: "MERU." + the table's name.
template <Record T>
constexpr std::string_view wireTypeName() {
    return {detail::WireTypeName<T>::text.data(), detail::WireTypeName<T>::text.size() - 1};
}

}  // namespace taf
