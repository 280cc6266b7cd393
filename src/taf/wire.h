// TAF wire vocabulary: byte vectors, tags, type codes and the decoding limits; the status
// codes are in status.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "taf/status.h"

namespace taf {

// The one byte-vector type of the codebase: payloads, packets, SimpleList fields.
using Bytes = std::vector<std::uint8_t>;

using Tag = std::uint8_t;

enum class TafType : std::uint8_t {
    Int8 = 0,
    Int16 = 1,
    Int32 = 2,
    Int64 = 3,
    Float = 4,
    Double = 5,
    String1 = 6,
    String4 = 7,
    Map = 8,
    List = 9,
    StructBegin = 10,
    StructEnd = 11,
    ZeroTag = 12,
    SimpleList = 13,
};

constexpr bool isIntegerType(TafType type) {
    return type == TafType::Int8 || type == TafType::Int16 || type == TafType::Int32 ||
           type == TafType::Int64;
}

// Payload bytes of Int8 to Int64: 1, 2, 4, 8.
constexpr std::size_t integerPayloadSize(TafType type) {
    return std::size_t{1} << static_cast<int>(type);
}

// A field head as read from the wire; `size` is 1 or 2 bytes.
struct Head {
    Tag tag = 0;
    TafType type = TafType::Int8;
    std::size_t size = 0;
};

// Longest string either side accepts; longer ones are refused before anything is allocated.
inline constexpr std::size_t kMaxStringLength = 104'857'600;

// Deepest nesting of structs, lists and maps a reader or skipper follows. Real messages
// nest fewer than ten levels; 100 levels stay far inside a 1 MiB stack even under ASan
// (measured: 1000 levels still fit).
inline constexpr int kMaxDepth = 100;

// Memory a decoder may allocate per input byte of the range it reads. Every element costs
// at least one wire byte and, for records written in full, no field kind takes more than
// 32 bytes of memory per wire byte (an empty map: 2 bytes on the wire, 48 in memory).
inline constexpr std::size_t kAllocationBudgetPerInputByte = 32;
// Memory every range may use whatever its length, so that short messages of records with
// many absent fields still decode.
inline constexpr std::size_t kAllocationBudgetFloor = 64 * 1024;

}  // namespace taf
