// Finding a record's member by its type through the record's table, so that generic code
// (such as the identity filling of request tasks) needs nothing declared per record.
#pragma once

#include <cstddef>
#include <tuple>
#include <type_traits>
#include <utility>

#include "taf/record_table.h"

namespace taf {
namespace detail {

inline constexpr std::size_t kNoSuchMember = static_cast<std::size_t>(-1);

// Index in R's table of its one field of type M; kNoSuchMember when there is none or several.
template <class M, Record R>
consteval std::size_t indexOfMemberType() {
    using Fields = std::remove_cvref_t<decltype(kRecordTable<R>.fields)>;
    return []<std::size_t... I>(std::index_sequence<I...>) {
        std::size_t found = kNoSuchMember;
        std::size_t count = 0;
        ((std::is_same_v<typename std::tuple_element_t<I, Fields>::MemberType, M>
              ? (found = I, ++count)
              : count),
         ...);
        return count == 1 ? found : kNoSuchMember;
    }
    (std::make_index_sequence<std::tuple_size_v<Fields>>{});
}

}  // namespace detail

template <class M, Record R>
inline constexpr bool kHasOneMemberOfType =
    detail::indexOfMemberType<M, R>() != detail::kNoSuchMember;

// The one member of type M in `record`, whatever its tag.
template <class M, Record R>
M& memberOfType(R& record) {
    static_assert(kHasOneMemberOfType<M, R>,
                  "the record must hold exactly one member of this type");
    constexpr std::size_t index = detail::indexOfMemberType<M, R>();
    return record.*(std::get<index>(kRecordTable<R>.fields).member);
}

}  // namespace taf
