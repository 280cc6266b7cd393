// Write buffer of the TAF encoding.
#include "taf/output_stream.h"

#include <bit>
#include <cstring>
#include <limits>

namespace taf {

std::uint8_t* TafOutputStream::grow(std::size_t extra) {
    if (size_ + extra > capacity_) {
        // Twice the needed size, so a packet is built with few copies.
        const std::size_t newCapacity = 2 * (size_ + extra);
        auto bigger = std::make_unique_for_overwrite<std::uint8_t[]>(newCapacity);
        if (size_ != 0) {
            std::memcpy(bigger.get(), buffer_.get(), size_);
        }
        buffer_ = std::move(bigger);
        capacity_ = newCapacity;
    }
    std::uint8_t* at = buffer_.get() + size_;
    size_ += extra;
    return at;
}

void TafOutputStream::appendBigEndian(std::uint64_t value, int byteCount) {
    std::uint8_t* at = grow(static_cast<std::size_t>(byteCount));
    for (int i = byteCount - 1; i >= 0; --i) {
        at[i] = static_cast<std::uint8_t>(value);
        value >>= 8;
    }
}

void TafOutputStream::appendFloat(float value) {
    appendBigEndian(std::bit_cast<std::uint32_t>(value), 4);
}

void TafOutputStream::appendDouble(double value) {
    appendBigEndian(std::bit_cast<std::uint64_t>(value), 8);
}

void TafOutputStream::append(std::span<const std::uint8_t> bytes) {
    if (!bytes.empty()) {
        std::memcpy(grow(bytes.size()), bytes.data(), bytes.size());
    }
}

Status TafOutputStream::writeHead(TafType type, Tag tag) {
    const auto code = static_cast<std::uint8_t>(type);
    if (tag < 15) {
        *grow(1) = static_cast<std::uint8_t>(tag << 4 | code);
    } else {
        std::uint8_t* at = grow(2);
        at[0] = static_cast<std::uint8_t>(0xF0 | code);
        at[1] = tag;
    }
    return kOk;
}

Status TafOutputStream::writeBool(bool value, Tag tag) {
    return writeInt(value ? 1 : 0, tag);
}

Status TafOutputStream::writeInt(std::int64_t value, Tag tag) {
    if (value == 0) {
        return writeHead(TafType::ZeroTag, tag);
    }
    if (value >= std::numeric_limits<std::int8_t>::min() &&
        value <= std::numeric_limits<std::int8_t>::max()) {
        writeHead(TafType::Int8, tag);
        appendInt8(static_cast<std::int8_t>(value));
    } else if (value >= std::numeric_limits<std::int16_t>::min() &&
               value <= std::numeric_limits<std::int16_t>::max()) {
        writeHead(TafType::Int16, tag);
        appendInt16(static_cast<std::int16_t>(value));
    } else if (value >= std::numeric_limits<std::int32_t>::min() &&
               value <= std::numeric_limits<std::int32_t>::max()) {
        writeHead(TafType::Int32, tag);
        appendInt32(static_cast<std::int32_t>(value));
    } else {
        writeHead(TafType::Int64, tag);
        appendInt64(value);
    }
    return kOk;
}

Status TafOutputStream::writeFloat(float value, Tag tag) {
    writeHead(TafType::Float, tag);
    appendFloat(value);
    return kOk;
}

Status TafOutputStream::writeDouble(double value, Tag tag) {
    writeHead(TafType::Double, tag);
    appendDouble(value);
    return kOk;
}

Status TafOutputStream::writeString(std::string_view value, Tag tag) {
    if (value.size() > kMaxStringLength) {
        return kInvalidData;
    }
    if (value.size() <= 255) {
        writeHead(TafType::String1, tag);
        appendBigEndian(value.size(), 1);
    } else {
        writeHead(TafType::String4, tag);
        appendBigEndian(value.size(), 4);
    }
    append({reinterpret_cast<const std::uint8_t*>(value.data()), value.size()});
    return kOk;
}

Status TafOutputStream::writeBytes(std::span<const std::uint8_t> value, Tag tag) {
    writeHead(TafType::SimpleList, tag);
    writeHead(TafType::Int8, 0);
    writeInt(static_cast<std::int64_t>(value.size()), 0);
    append(value);
    return kOk;
}

Status TafOutputStream::writeListHead(std::size_t count, Tag tag) {
    writeHead(TafType::List, tag);
    return writeInt(static_cast<std::int64_t>(count), 0);
}

Status TafOutputStream::writeMapHead(std::size_t count, Tag tag) {
    writeHead(TafType::Map, tag);
    return writeInt(static_cast<std::int64_t>(count), 0);
}

}  // namespace taf
