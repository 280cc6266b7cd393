// Copying a record into one that is kept for reuse: strings and byte vectors are assigned into
// their capacity, list elements and map nodes are refilled, so a reused record that already had
// the shape of the source allocates nothing.
#pragma once

#include "taf/codec.h"

namespace taf {

template <class T>
void assignOver(T& target, const T& source) {
    if constexpr (TafList<T>) {
        target.resize(source.size());
        for (std::size_t i = 0; i < source.size(); ++i) {
            if constexpr (std::is_same_v<typename T::value_type, bool>) {
                target[i] = source[i];
            } else {
                assignOver(target[i], source[i]);
            }
        }
    } else if constexpr (TafMap<T>) {
        T spare = std::move(target);
        target.clear();
        for (const auto& [key, mapped] : source) {
            if (spare.empty()) {
                target.emplace(key, mapped);
                continue;
            }
            auto node = spare.extract(spare.begin());
            assignOver(node.key(), key);
            assignOver(node.mapped(), mapped);
            target.insert(target.end(), std::move(node));
        }
    } else if constexpr (Record<T>) {
        std::apply(
            [&](const auto&... field) {
                (assignOver(target.*field.member, source.*field.member), ...);
            },
            kRecordTable<T>.fields);
    } else {
        target = source;  // scalars; strings and byte vectors keep their capacity
    }
}

}  // namespace taf
