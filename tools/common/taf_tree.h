// TAF bytes as a tree of fields, decoded without a schema: what each field is on the wire.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "taf/output_stream.h"
#include "taf/wire.h"

namespace taf {
struct TypeSchema;
}

namespace tafjson {

struct TafField {
    taf::Tag tag = 0;
    taf::TafType type = taf::TafType::ZeroTag;
    std::int64_t integer = 0;        // Int8 to Int64
    std::uint64_t floatBits = 0;     // Float (low 32 bits) or Double, bit for bit
    taf::Bytes bytes;                // String1, String4 and SimpleList payloads
    std::vector<TafField> children;  // List items, Struct fields, Map keys and values in turn
    std::size_t offset = 0;          // of the head in the decoded input
};

struct TreeDecodeResult {
    taf::Status status = taf::kOk;
    // Offset of the head of the innermost field that failed, when status is an error.
    std::size_t errorOffset = 0;
    // The input has more fields than the budget below allows; status is an error then too.
    bool overBudget = false;
};

// What showing a field may cost, and the budget for all fields of one input. A one-byte field
// takes about a hundred bytes in the tree and several hundred as JSON, so input made of nothing
// but tiny fields would take hundreds of times its size: it is refused instead.
inline constexpr std::size_t kTreeFieldCost = 512;
inline constexpr std::size_t kTreeBudgetPerInputByte = 16;
inline constexpr std::size_t kTreeBudgetFloor = 16 * 1024 * 1024;

// Decodes fields until the input ends. Stops at the first fault and keeps every field read
// up to it, the failing one included. A StructEnd outside a struct is a type mismatch.
// Nesting and sizes are bounded as in the typed decoder, and every field is charged
// kTreeFieldCost against kTreeBudgetFloor + kTreeBudgetPerInputByte * the input's size.
TreeDecodeResult decodeTree(std::span<const std::uint8_t> bytes, std::vector<TafField>& fields);

// Writes every field in exactly its wire type; counts and lengths are written in their
// shortest form.
void encodeTree(taf::TafOutputStream& out, const std::vector<TafField>& fields);

// Whether the field's wire type can carry the declared type: a record a struct, a map a map, a
// list a list, anything else a scalar.
bool fitsType(const TafField& field, const taf::TypeSchema& type);

}  // namespace tafjson
