// Copying a record into one that is kept for reuse: strings and byte vectors are assigned into
// their capacity, list elements and map nodes are refilled, so a reused record that already had
// the shape of the source allocates nothing.
#pragma once

#include <string>
#include <type_traits>

#include "taf/assign_text.h"
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
        // A kept map mostly holds the source's keys already: while it does, only the values are
        // assigned, and the nodes stay where they are.
        auto into = target.begin();
        auto from = source.begin();
        for (; into != target.end() && from != source.end() && into->first == from->first;
             ++into, ++from) {
            assignOver(into->second, from->second);
        }
        T spare;
        while (into != target.end()) {
            spare.insert(spare.end(), target.extract(into++));
        }
        for (; from != source.end(); ++from) {
            const auto& [key, mapped] = *from;
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
    } else if constexpr (std::is_same_v<T, std::string>) {
        assignText(target, source);
    } else {
        target = source;  // scalars; byte vectors keep their capacity
    }
}

}  // namespace taf
