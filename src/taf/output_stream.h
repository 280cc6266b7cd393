// Write buffer of the TAF encoding: field heads, narrowed integers, strings, byte vectors.
#pragma once

#include <cstddef>
#include <cstdint>
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

    const std::uint8_t* data() const { return buffer_.get(); }
    std::size_t size() const { return size_; }
    std::size_t capacity() const { return capacity_; }
    std::span<const std::uint8_t> view() const { return {buffer_.get(), size_}; }
    Bytes toBytes() const { return Bytes(buffer_.get(), buffer_.get() + size_); }

    // Bools travel as 8-bit integers.
    Status writeBool(bool value, Tag tag);
    // Any width: the smallest form that holds the value (ZeroTag, Int8, Int16, Int32, Int64).
    Status writeInt(std::int64_t value, Tag tag);
    // Always type Float or Double, also for zero.
    Status writeFloat(float value, Tag tag);
    Status writeDouble(double value, Tag tag);
    // String1 up to 255 bytes, String4 up to kMaxStringLength; longer is refused, unwritten.
    Status writeString(std::string_view value, Tag tag);
    // SimpleList: head, 0x00, the narrowed byte count at tag 0, the bytes.
    Status writeBytes(std::span<const std::uint8_t> value, Tag tag);
    // Head and narrowed count of a list or map; the elements follow.
    Status writeListHead(std::size_t count, Tag tag);
    Status writeMapHead(std::size_t count, Tag tag);
    Status writeStructBegin(Tag tag) { return writeHead(TafType::StructBegin, tag); }
    Status writeStructEnd() { return writeHead(TafType::StructEnd, 0); }

    // Exact wire forms, for tools that reproduce captured bytes: a head of any type, and
    // big-endian payloads without narrowing.
    Status writeHead(TafType type, Tag tag);
    void appendInt8(std::int8_t value) { appendBigEndian(static_cast<std::uint8_t>(value), 1); }
    void appendInt16(std::int16_t value) { appendBigEndian(static_cast<std::uint16_t>(value), 2); }
    void appendInt32(std::int32_t value) { appendBigEndian(static_cast<std::uint32_t>(value), 4); }
    void appendInt64(std::int64_t value) { appendBigEndian(static_cast<std::uint64_t>(value), 8); }
    void appendFloat(float value);
    void appendDouble(double value);
    void append(std::span<const std::uint8_t> bytes);

private:
    void appendBigEndian(std::uint64_t value, int byteCount);
    std::uint8_t* grow(std::size_t extra);

    std::unique_ptr<std::uint8_t[]> buffer_;
    std::size_t size_ = 0;
    std::size_t capacity_ = 0;
};

}  // namespace taf
