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

// Memory a decoder may allocate while reading one range: the larger of a fixed floor and a
// multiple of the range's length. Every list, map and string is charged before it grows.
//
// No multiple of the input alone covers what servers send: a list element costs its record's
// full size whatever few fields a server writes (a gift item of 38 fields takes about 700 bytes in
// memory and 6 to 10 on the wire when the server knows only two of them, so a list of 20,000
// such items needs 14 MB). The floor holds about 100,000 of them, and hostile input of any
// shape up to 2 MiB stays within it, far below the 256 MB a fuzzer process may use. Above
// 2 MiB the multiple takes over: for records written in full no field kind takes more than
// 32 bytes of memory per wire byte (an empty map: 2 bytes on the wire, 48 in memory).
inline constexpr std::size_t kAllocationBudgetFloor = std::size_t{64} << 20;
inline constexpr std::size_t kAllocationBudgetPerInputByte = 32;

constexpr std::size_t allocationBudget(std::size_t inputSize) {
    return inputSize > kAllocationBudgetFloor / kAllocationBudgetPerInputByte
               ? inputSize * kAllocationBudgetPerInputByte
               : kAllocationBudgetFloor;
}

}  // namespace taf
