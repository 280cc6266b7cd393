// The property every record decoder keeps: what a decode produced encodes to bytes that decode
// without error into a record that encodes to the same bytes.
#pragma once

#include <span>

#include "fuzz_target.h"
#include "taf/codec.h"
#include "taf/render.h"

namespace kinetra::fuzz {

template <taf::Record T>
void ExpectStableRecord(const T& decoded) {
    const taf::Bytes first = taf::toBytes(decoded);
    T again;
    Expect(taf::fromBytes(first, again) >= 0);
    Expect(taf::toBytes(again) == first);
    // The log lines render what was read.
    static_cast<void>(taf::render(again));
}

// Decodes a record the way the plug-in does (what could be read, defaults elsewhere), checks
// the property on it and returns it.
template <taf::Record T>
T DecodeLenientAndCheck(Input input) {
    T record;
    taf::fromBytesLenient(input, record);
    ExpectStableRecord(record);
    return record;
}

// Calls `action.template operator()<Row>()` for the row of `Rows` that `selector` picks,
// wrapping around, so every byte value chooses some row.
template <class... Rows, class Action>
void PickRow(std::uint8_t selector, Action&& action) {
    constexpr std::size_t kRows = sizeof...(Rows);
    std::size_t index = 0;
    const std::size_t wanted = selector % kRows;
    ((index++ == wanted ? (action.template operator()<Rows>(), 0) : 0), ...);
}

}  // namespace kinetra::fuzz
