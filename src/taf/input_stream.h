// Read cursor of the TAF encoding over bytes it does not own, with the decoding limits.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

#include "taf/assign_text.h"
#include "taf/wire.h"

namespace taf {

// The integer widths of record fields.
template <class T>
concept TafInteger = std::is_same_v<T, std::int8_t> || std::is_same_v<T, std::int16_t> ||
    std::is_same_v<T, std::int32_t> || std::is_same_v<T, std::int64_t>;

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
    // Fields passed over since the last reset, for want of a reader at their place: a tag below
    // the one wanted, or fields before a StructEnd after the last known one.
    std::size_t skippedFields() const { return skipped_fields_; }

    [[nodiscard]] Status peekHead(Head& head) const;
    [[nodiscard]] Status readHead(Head& head);

    // Moves to the field with `tag`, skipping lower tags; stops without consuming on a higher
    // tag or at a StructEnd. True when the cursor is now on the wanted field's head.
    bool skipToTag(Tag tag);
    // Skips the payload of a value whose head has been read.
    [[nodiscard]] Status skipValue(TafType type);
    // Skips fields up to and including the StructEnd of the record being read.
    [[nodiscard]] Status skipToStructEnd() {
        // Usually the end marker is next: a record read in full.
        if (depth_ < kMaxDepth && position_ < bytes_.size() &&
            bytes_[position_] == kStructEndByte) {
            ++position_;
            return kOk;
        }
        return skipFieldsToStructEnd();
    }

    // Field readers. An absent optional field returns kOk; an absent field or an error leaves
    // the target as it was, except a byte vector already sized to its count. Integer targets
    // accept the narrower wire forms.
    [[nodiscard]] Status readBool(bool& value, Tag tag, bool required) {
        return readField(value, tag, required);
    }
    [[nodiscard]] Status readInt(std::int8_t& value, Tag tag, bool required) {
        return readField(value, tag, required);
    }
    [[nodiscard]] Status readInt(std::int16_t& value, Tag tag, bool required) {
        return readField(value, tag, required);
    }
    [[nodiscard]] Status readInt(std::int32_t& value, Tag tag, bool required) {
        return readField(value, tag, required);
    }
    [[nodiscard]] Status readInt(std::int64_t& value, Tag tag, bool required) {
        return readField(value, tag, required);
    }
    // Floating point accepts Float, Double (narrowed for a float target) and ZeroTag.
    [[nodiscard]] Status readFloat(float& value, Tag tag, bool required) {
        return readField(value, tag, required);
    }
    [[nodiscard]] Status readDouble(double& value, Tag tag, bool required) {
        return readField(value, tag, required);
    }
    [[nodiscard]] Status readString(std::string& value, Tag tag, bool required) {
        return readField(value, tag, required);
    }
    [[nodiscard]] Status readBytes(Bytes& value, Tag tag, bool required) {
        return readField(value, tag, required);
    }

    // The same for a field whose head (of type `type`) has just been consumed: kOk or a
    // failure, and the target as it was on failure.
    [[nodiscard]] Status readOpened(bool& value, TafType type) {
        std::int8_t wire = value ? 1 : 0;
        const Status status = readOpened(wire, type);
        value = wire != 0;
        return status;
    }
    template <class Int>
    requires TafInteger<Int>
    [[nodiscard]] Status readOpened(Int& value, TafType type);
    [[nodiscard]] Status readOpened(float& value, TafType type);
    [[nodiscard]] Status readOpened(double& value, TafType type);
    // Strings are assigned into the target's storage, which a reused record already holds.
    [[nodiscard]] Status readOpened(std::string& value, TafType type);
    [[nodiscard]] Status readOpened(Bytes& value, TafType type);
    // Bytes with the checks and the charge of reading them into a vector. The usual form, a
    // SimpleList, is viewed in place; the other, a List with a head per byte, is read into
    // `spelled` (sized to its count first, as the vector would be), which the view then covers.
    [[nodiscard]] Status readOpenedBytes(TafType type, std::span<const std::uint8_t>& view,
                                         Bytes& spelled);
    // A string viewed in place, with the checks and the charge of reading it into a string; the
    // view lasts as long as the range.
    [[nodiscard]] Status readOpenedView(std::string_view& value, TafType type);

    // The common case of an integer field, small enough to inline into a record's reader at
    // any optimisation level: the next head is `tag` (below 15) with ZeroTag or a payload of up
    // to 4 bytes that fits the target, and 4 bytes of room are left. Takes it and returns true;
    // otherwise consumes nothing and returns false, and the general reader decides.
    template <class Int>
    requires TafInteger<Int>
    bool takeSmallInt(Tag tag, Int& value) {
        if (bytes_.size() - position_ < 5 || tag >= 15) {
            return false;
        }
        const std::uint8_t* at = bytes_.data() + position_;
        if (at[0] >> 4 != tag) {
            return false;
        }
        switch (static_cast<TafType>(at[0] & 0x0F)) {
            case TafType::ZeroTag:
                value = 0;
                position_ += 1;
                return true;
            case TafType::Int8:
                value = static_cast<Int>(static_cast<std::int8_t>(at[1]));
                position_ += 2;
                return true;
            case TafType::Int16:
                if constexpr (sizeof(Int) >= 2) {
                    value = static_cast<Int>(static_cast<std::int16_t>(at[1] << 8 | at[2]));
                    position_ += 3;
                    return true;
                }
                return false;
            case TafType::Int32:
                if constexpr (sizeof(Int) >= 4) {
                    value = static_cast<Int>(static_cast<std::int32_t>(
                        std::uint32_t{at[1]} << 24 | std::uint32_t{at[2]} << 16 |
                        std::uint32_t{at[3]} << 8 | at[4]));
                    position_ += 5;
                    return true;
                }
                return false;
            default:
                return false;
        }
    }

    // The same for the common string field: a String1 head of the wanted tag below 15, its
    // bytes in range and within the budget. What it accepts, readValue would read the same way.
    bool takeShortString(Tag tag, std::string& value) {
        std::string_view view;
        if (!takeShortStringView(tag, view)) {
            return false;
        }
        assignText(value, view);
        return true;
    }
    // The same, viewed in place, for a map key say.
    bool takeShortStringView(Tag tag, std::string_view& value) {
        if (tag >= 15 || bytes_.size() - position_ < 2) {
            return false;
        }
        const std::uint8_t* at = bytes_.data() + position_;
        const std::size_t length = at[1];
        if (at[0] != headByte(tag, TafType::String1) || length > bytes_.size() - position_ - 2 ||
            length > budget_) {
            return false;
        }
        value = {reinterpret_cast<const char*>(at + 2), length};
        position_ += 2 + length;
        budget_ -= length;
        return true;
    }
    // The same for bytes in their usual form: a SimpleList head of the wanted tag below 15, its
    // Int8 head at tag 0, a count below 128 and the bytes in range and within the budget.
    bool takeShortBytes(Tag tag, std::span<const std::uint8_t>& value) {
        const std::size_t left = bytes_.size() - position_;
        if (tag >= 15 || left < 3) {
            return false;
        }
        const std::uint8_t* at = bytes_.data() + position_;
        if (at[0] != headByte(tag, TafType::SimpleList) || at[1] != headByte(0, TafType::Int8)) {
            return false;
        }
        std::size_t header = 3;
        std::size_t count = 0;
        if (at[2] == headByte(0, TafType::Int8) && left >= 4 && at[3] < 0x80) {
            header = 4;
            count = at[3];
        } else if (at[2] != headByte(0, TafType::ZeroTag)) {
            return false;
        }
        if (count > left - header || count > budget_) {
            return false;
        }
        value = {at + header, count};
        position_ += header + count;
        budget_ -= count;
        return true;
    }

    // Building blocks for containers, records and schema-less readers.

    // Finds the field and consumes its head: kOk with its type, kFieldAbsent, or
    // kRequiredMissing. Fields mostly come in the order they are read, so the next head is
    // looked at first and parsed once.
    [[nodiscard]] Status openField(Tag tag, bool required, TafType& type) {
        if (tag < 15 && position_ < bytes_.size()) {
            const std::uint8_t first = bytes_[position_];
            const auto code = static_cast<TafType>(first & 0x0F);
            if (first >> 4 == tag && code != TafType::StructEnd) {
                type = code;
                ++position_;
                return kOk;
            }
        }
        return searchField(tag, required, type);
    }
    // Reads a list or map count (an integer at tag 0) and checks that `count` elements of at
    // least `minWireBytes` each fit in the rest of the range. A count below 128 in one or two
    // bytes, the usual one, is taken inline.
    [[nodiscard]] Status readCount(std::size_t& count, std::size_t minWireBytes) {
        const std::size_t left = bytes_.size() - position_;
        const std::uint8_t* at = bytes_.data() + position_;
        if (left >= 1 && at[0] == headByte(0, TafType::ZeroTag)) {
            position_ += 1;
            count = 0;
            return kOk;
        }
        if (left >= 2 && at[0] == headByte(0, TafType::Int8) && at[1] < 0x80 &&
            at[1] * minWireBytes <= left - 2) {
            position_ += 2;
            count = at[1];
            return kOk;
        }
        return readCountInGeneral(count, minWireBytes);
    }
    // After a consumed SimpleList head: its Int8 inner head, then its byte count.
    [[nodiscard]] Status readSimpleListCount(std::size_t& count);
    // Takes `bytes` from the range's allocation budget; kTruncated when it is spent.
    Status chargeAllocation(std::size_t bytes) {
        if (bytes > budget_) {
            return kTruncated;
        }
        budget_ -= bytes;
        return kOk;
    }
    // The same for `count` elements of `size` bytes each.
    Status chargeElements(std::size_t count, std::size_t size) {
        return count > budget_ / size ? kTruncated : chargeAllocation(count * size);
    }
    // Depth bookkeeping around every struct, list and map: kNestingTooDeep past kMaxDepth.
    Status enterNested() {
        if (depth_ >= kMaxDepth) {
            return kNestingTooDeep;
        }
        ++depth_;
        return kOk;
    }
    void leaveNested() { --depth_; }

    // Payloads after a consumed head, without the lenient truncation of field readers.
    [[nodiscard]] Status readIntPayload(TafType type, std::int64_t& value);
    [[nodiscard]] Status readFloatPayload(float& value);
    [[nodiscard]] Status readDoublePayload(double& value);
    // String1/String4 length and bytes, viewed in place.
    [[nodiscard]] Status readStringPayload(TafType type, std::span<const std::uint8_t>& bytes);
    [[nodiscard]] Status readRaw(std::size_t count, std::span<const std::uint8_t>& bytes);

private:
    static constexpr std::uint8_t kStructEndByte = static_cast<std::uint8_t>(TafType::StructEnd);

    template <class T>
    [[nodiscard]] Status readField(T& value, Tag tag, bool required) {
        TafType type{};
        if (const Status status = openField(tag, required, type); status != kOk) {
            return status < 0 ? status : kOk;
        }
        return readOpened(value, type);
    }
    static constexpr std::uint8_t headByte(Tag tag, TafType type) {
        return static_cast<std::uint8_t>(tag << 4 | static_cast<std::uint8_t>(type));
    }
    [[nodiscard]] Status readCountInGeneral(std::size_t& count, std::size_t minWireBytes);
    [[nodiscard]] Status searchField(Tag tag, bool required, TafType& type);
    [[nodiscard]] Status skipFieldsToStructEnd();
    [[nodiscard]] Status readStringSlow(std::string_view& value, TafType type);
    template <class Real>
    [[nodiscard]] Status readReal(Real& value, TafType type);
    template <std::size_t N>
    std::uint64_t loadBigEndian() const {
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < N; ++i) {
            value = value << 8 | bytes_[position_ + i];
        }
        return value;
    }
    std::uint64_t takeBigEndian(std::size_t byteCount);

    std::span<const std::uint8_t> bytes_;
    std::size_t position_ = 0;
    int depth_ = 0;
    std::size_t budget_ = allocationBudget(0);
    std::size_t skipped_fields_ = 0;
};

template <class Int>
requires TafInteger<Int> Status TafInputStream::readOpened(Int& value, TafType type) {
    const std::size_t left = remaining();
    std::size_t payload = 0;
    switch (type) {
        case TafType::ZeroTag:
            value = 0;
            return kOk;
        case TafType::Int8:
            if (left >= 1) {
                value = static_cast<Int>(static_cast<std::int8_t>(bytes_[position_]));
                position_ += 1;
                return kOk;
            }
            payload = 1;
            break;
        case TafType::Int16:
            if constexpr (sizeof(Int) < 2) {
                return kTypeMismatch;
            }
            if (left >= 2) {
                value = static_cast<Int>(static_cast<std::int16_t>(loadBigEndian<2>()));
                position_ += 2;
                return kOk;
            }
            payload = 2;
            break;
        case TafType::Int32:
            if constexpr (sizeof(Int) < 4) {
                return kTypeMismatch;
            }
            if (left >= 4) {
                value = static_cast<Int>(static_cast<std::int32_t>(loadBigEndian<4>()));
                position_ += 4;
                return kOk;
            }
            return kTruncated;
        case TafType::Int64:
            if constexpr (sizeof(Int) < 8) {
                return kTypeMismatch;
            }
            if (left >= 8) {
                value = static_cast<Int>(loadBigEndian<8>());
                position_ += 8;
                return kOk;
            }
            return kTruncated;
        default:
            return kTypeMismatch;
    }
    // A 1- or 2-byte payload cut short reads as 0 for targets wider than 8 bits.
    if (payload <= 2 && sizeof(Int) > 1) {
        position_ = size();
        value = 0;
        return kOk;
    }
    return kTruncated;
}

inline Status TafInputStream::readOpenedView(std::string_view& value, TafType type) {
    if (type == TafType::String1 && position_ < bytes_.size()) {
        const std::size_t length = bytes_[position_];
        if (length < remaining() && length <= budget_) {
            value = {reinterpret_cast<const char*>(bytes_.data() + position_ + 1), length};
            position_ += 1 + length;
            budget_ -= length;
            return kOk;
        }
    }
    return readStringSlow(value, type);
}

inline Status TafInputStream::readOpened(std::string& value, TafType type) {
    std::string_view view;
    const Status status = readOpenedView(view, type);
    if (status == kOk) {
        assignText(value, view);
    }
    return status;
}

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
