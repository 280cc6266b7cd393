// How a record push was read, for a handler that must know whether each field holds what the
// server wrote in it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>

#include "taf/codec.h"

namespace Meru {

struct PushDecode {
    // The decoder's: negative when a field failed, which then holds what could be read of it.
    taf::Status status = taf::kOk;
    // The record writes back to exactly the bytes received, as servers write every field, in
    // tag order and its smallest form. A damaged head, length or count can decode without a
    // failure and still move bytes into another field (a string at tag 1 read as one at tag 4),
    // so the status alone cannot tell. Such a push writes back to other bytes unless the moved
    // bytes happen to read as every following field, in full and in order; damage within a
    // value leaves each byte in its own field. Also false for fields this reader does not know.
    bool exact = false;

    bool Intact() const { return status >= 0 && exact; }
};

// Reads a record push at top level: what could be read, defaults elsewhere. Comparing with the
// bytes costs an encoding of the record, so only handlers that ask for it pay for it.
template <taf::Record T>
PushDecode DecodePush(std::span<const std::uint8_t> bytes, T& record, bool compareBytes) {
    PushDecode decode;
    decode.status = taf::fromBytes(bytes, record);
    decode.exact = compareBytes && std::ranges::equal(taf::toBytes(record), bytes);
    return decode;
}

}  // namespace Meru
