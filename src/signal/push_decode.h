// How a record push was read, for a handler that must know whether each field holds what the
// server wrote in it.
#pragma once

#include <cstdint>
#include <span>

#include "taf/codec.h"

namespace Meru {

struct PushDecode {
    // The decoder's: negative when a field failed, which then holds what could be read of it.
    taf::Status status = taf::kOk;
    // Every field read where a reader of the record expects it: no field passed over and no
    // byte left. Damage to a head, a length or a count can decode without a failure and still
    // move bytes into another field (a string at tag 1 read as the one at tag 4); the fields
    // after it then come with lower tags than the reader wants, and are passed over, or bytes
    // are left. Servers write every field, so such damage shows; a push that writes only some
    // fields, in order, reads in place. Also false for fields this reader does not know.
    bool inPlace = false;

    bool Intact() const { return status >= 0 && inPlace; }
};

// Reads a record push at top level: what could be read, defaults elsewhere.
template <taf::Record T>
PushDecode DecodePush(std::span<const std::uint8_t> bytes, T& record) {
    taf::TafInputStream in(bytes);
    PushDecode decode;
    decode.status = taf::readFrom(in, record);
    decode.inPlace = in.skippedFields() == 0 && in.remaining() == 0;
    return decode;
}

}  // namespace Meru
