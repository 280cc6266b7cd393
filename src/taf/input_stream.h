// Read cursor of the TAF encoding over bytes it does not own, with the decoding limits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "taf/wire.h"

namespace taf {

// Reads in place from a byte range. Every read is bounds-checked; failures are status codes.
// The stream also keeps the nesting depth and the allocation budget of the current range,
// which every reader of nested values (typed or schema-less) goes through.
class TafInputStream {
public:
    TafInputStream() = default;
    explicit TafInputStream(std::span<const std::uint8_t> bytes) { reset(bytes); }
    // The stream only views its bytes: a temporary vector would be gone before the first read.
    explicit TafInputStream(Bytes&&) = delete;

    // Points the stream at a new range: cursor 0, depth 0, a fresh allocation budget.
    void reset(std::span<const std::uint8_t> bytes);
    void reset(Bytes&&) = delete;

    std::size_t position() const { return position_; }
    std::size_t size() const { return bytes_.size(); }
    std::size_t remaining() const { return bytes_.size() - position_; }

    [[nodiscard]] Status peekHead(Head& head) const;
    [[nodiscard]] Status readHead(Head& head);

    // Moves to the field with `tag`, skipping lower tags; stops without consuming on a higher
    // tag or at a StructEnd. True when the cursor is now on the wanted field's head.
    bool skipToTag(Tag tag);
    // Skips the payload of a value whose head has been read.
    [[nodiscard]] Status skipValue(TafType type);
    // Skips fields up to and including the StructEnd of the record being read.
    [[nodiscard]] Status skipToStructEnd();

    // Field readers. An absent optional field returns kOk; an absent field or an error leaves
    // the target as it was, except a byte vector already sized to its count. Integer targets
    // accept the narrower wire forms.
    [[nodiscard]] Status readBool(bool& value, Tag tag, bool required);
    [[nodiscard]] Status readInt(std::int8_t& value, Tag tag, bool required);
    [[nodiscard]] Status readInt(std::int16_t& value, Tag tag, bool required);
    [[nodiscard]] Status readInt(std::int32_t& value, Tag tag, bool required);
    [[nodiscard]] Status readInt(std::int64_t& value, Tag tag, bool required);
    [[nodiscard]] Status readDouble(double& value, Tag tag, bool required);
    [[nodiscard]] Status readString(std::string& value, Tag tag, bool required);
    [[nodiscard]] Status readBytes(Bytes& value, Tag tag, bool required);

    // Building blocks for containers, records and schema-less readers.

    // Finds the field and consumes its head: kOk with its type, kFieldAbsent, or
    // kRequiredMissing.
    [[nodiscard]] Status openField(Tag tag, bool required, TafType& type);
    // Reads a list or map count (an integer at tag 0) and checks that `count` elements of at
    // least `minWireBytes` each fit in the rest of the range.
    [[nodiscard]] Status readCount(std::size_t& count, std::size_t minWireBytes);
    // After a consumed SimpleList head: its Int8 inner head, then its byte count.
    [[nodiscard]] Status readSimpleListCount(std::size_t& count);
    // Takes `bytes` from the range's allocation budget; kTruncated when it is spent.
    Status chargeAllocation(std::size_t bytes);
    // Depth bookkeeping around every struct, list and map: kNestingTooDeep past kMaxDepth.
    Status enterNested();
    void leaveNested() { --depth_; }

    // Payloads after a consumed head, without the lenient truncation of field readers.
    [[nodiscard]] Status readIntPayload(TafType type, std::int64_t& value);
    [[nodiscard]] Status readFloatPayload(float& value);
    [[nodiscard]] Status readDoublePayload(double& value);
    // String1/String4 length and bytes, viewed in place.
    [[nodiscard]] Status readStringPayload(TafType type, std::span<const std::uint8_t>& bytes);
    [[nodiscard]] Status readRaw(std::size_t count, std::span<const std::uint8_t>& bytes);

private:
    [[nodiscard]] Status readInteger(std::int64_t& value, Tag tag, bool required, TafType widest);
    template <class Int>
    [[nodiscard]] Status readNarrow(Int& target, Tag tag, bool required, TafType widest);
    std::uint64_t takeBigEndian(std::size_t byteCount);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    int depth_ = 0;
    std::size_t budget_ = kAllocationBudgetFloor;
};

// Scoped enterNested/leaveNested; check ok() before going deeper.
class NestingGuard {
public:
    explicit NestingGuard(TafInputStream& in) : in_(in), status_(in.enterNested()) {}
    ~NestingGuard() {
        if (status_ == kOk) {
            in_.leaveNested();
        }
    }
    NestingGuard(const NestingGuard&) = delete;
    NestingGuard& operator=(const NestingGuard&) = delete;

    Status status() const { return status_; }

private:
    TafInputStream& in_;
    Status status_;
};

}  // namespace taf
