// Write buffer of the TAF encoding: field heads, narrowed integers, strings, byte vectors.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <span>
#include <string_view>

#include "taf/wire.h"

namespace taf {

// Owns a growing byte buffer. Writers take the value and the tag and return a status;
// containers and records are written by the generic code in taf/codec.h on top of these.
class TafOutputStream {
public:
    TafOutputStream() = default;
    TafOutputStream(TafOutputStream&&) noexcept = default;
    TafOutputStream& operator=(TafOutputStream&&) noexcept = default;

    // Forgets what was written and keeps the buffer for reuse.
    void reset() { size_ = 0; }
    // Forgets what was written and frees the buffer when it grew beyond `bytes`.
    void releaseAbove(std::size_t bytes) {
        size_ = 0;
        if (capacity_ > bytes) {
            buffer_.reset();
            capacity_ = 0;
        }
    }

    const std::uint8_t* data() const { return buffer_.get(); }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    std::span<const std::uint8_t> view() const { return {buffer_.get(), size_}; }
    Bytes toBytes() const { return Bytes(buffer_.get(), buffer_.get() + size_); }

    // Bools travel as 8-bit integers.
    Status writeBool(bool value, Tag tag) { return writeInt(value ? 1 : 0, tag); }
    // Any width: the smallest form that holds the value (ZeroTag, Int8, Int16, Int32, Int64).
    // One room check for the head and the payload together.
    Status writeInt(std::int64_t value, Tag tag) {
        std::uint8_t* at = room(kLongestHead + 8);
        if (value == 0) {
            at = putHead(at, TafType::ZeroTag, tag);
        } else if (value >= -0x80 && value <= 0x7F) {
            at = putHead(at, TafType::Int8, tag);
            *at++ = static_cast<std::uint8_t>(value);
        } else if (value >= -0x8000 && value <= 0x7FFF) {
            at = putBigEndian<2>(putHead(at, TafType::Int16, tag),
                                 static_cast<std::uint64_t>(value));
        } else if (value >= -0x8000'0000LL && value <= 0x7FFF'FFFF) {
            at = putBigEndian<4>(putHead(at, TafType::Int32, tag),
                                 static_cast<std::uint64_t>(value));
        } else {
            at = putBigEndian<8>(putHead(at, TafType::Int64, tag),
                                 static_cast<std::uint64_t>(value));
        }
        commit(at);
        return kOk;
    }
    // Always type Float or Double, also for zero.
    Status writeFloat(float value, Tag tag);
    Status writeDouble(double value, Tag tag);
    // String1 up to 255 bytes, String4 up to kMaxStringLength; longer is refused, unwritten.
    // One room check for the head, the length and the bytes.
    Status writeString(std::string_view value, Tag tag) {
        if (value.size() > kMaxStringLength) {
            return kInvalidData;
        }
        std::uint8_t* at = room(kLongestHead + 4 + value.size());
        if (value.size() <= 255) {
            at = putHead(at, TafType::String1, tag);
            *at++ = static_cast<std::uint8_t>(value.size());
        } else {
            at = putBigEndian<4>(putHead(at, TafType::String4, tag), value.size());
        }
        if (!value.empty()) {
            std::memcpy(at, value.data(), value.size());
        }
        commit(at + value.size());
        return kOk;
    }
    // SimpleList: head, 0x00, the narrowed byte count at tag 0, the bytes.
    Status writeBytes(std::span<const std::uint8_t> value, Tag tag);
    // Head and narrowed count of a list or map; the elements follow.
    Status writeListHead(std::size_t count, Tag tag);
    Status writeMapHead(std::size_t count, Tag tag);
    Status writeStructBegin(Tag tag) { return writeHead(TafType::StructBegin, tag); }
    Status writeStructEnd() { return writeHead(TafType::StructEnd, 0); }

    // Exact wire forms, for tools that reproduce captured bytes: a head of any type, and
    // big-endian payloads without narrowing.
    Status writeHead(TafType type, Tag tag) {
        commit(putHead(room(kLongestHead), type, tag));
        return kOk;
    }
    void appendInt8(std::int8_t value) { appendBigEndian(static_cast<std::uint8_t>(value), 1); }
    void appendInt16(std::int16_t value) { appendBigEndian(static_cast<std::uint16_t>(value), 2); }
    void appendInt32(std::int32_t value) { appendBigEndian(static_cast<std::uint32_t>(value), 4); }
    void appendInt64(std::int64_t value) { appendBigEndian(static_cast<std::uint64_t>(value), 8); }
    void appendFloat(float value);
    void appendDouble(double value);
    void append(std::span<const std::uint8_t> bytes);

private:
    static constexpr std::size_t kLongestHead = 2;

    static std::uint8_t* putHead(std::uint8_t* at, TafType type, Tag tag) {
        const auto code = static_cast<std::uint8_t>(type);
        if (tag < 15) {
            *at = static_cast<std::uint8_t>(tag << 4 | code);
            return at + 1;
        }
        at[0] = static_cast<std::uint8_t>(0xF0 | code);
        at[1] = tag;
        return at + 2;
    }
    template <int N>
    static std::uint8_t* putBigEndian(std::uint8_t* at, std::uint64_t value) {
        for (int i = N - 1; i >= 0; --i) {
            at[i] = static_cast<std::uint8_t>(value);
            value >>= 8;
        }
        return at + N;
    }

    // Where the next `extra` bytes go, growing the buffer when they do not fit; commit() then
    // moves the end to what was written.
    std::uint8_t* room(std::size_t extra) {
        if (capacity_ - size_ < extra) [[unlikely]] {
            growFor(extra);
        }
        return buffer_.get() + size_;
    }
    void commit(const std::uint8_t* end) { size_ = static_cast<std::size_t>(end - buffer_.get()); }
    void growFor(std::size_t extra);
    void appendBigEndian(std::uint64_t value, int byteCount);
    std::uint8_t* grow(std::size_t extra) {
        std::uint8_t* at = room(extra);
        size_ += extra;
        return at;
    }

    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace taf
