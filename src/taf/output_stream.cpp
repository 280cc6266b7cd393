// Write buffer of the TAF encoding.
#include "taf/output_stream.h"

#include <bit>
#include <cstring>

namespace taf {

void TafOutputStream::growFor(std::size_t extra) {
    // Twice the needed size, so a packet is built with few copies.
    const std::size_t newCapacity = 2 * (size_ + extra);
    auto bigger = std::make_unique_for_overwrite<std::uint8_t[]>(newCapacity);
    if (size_ != 0) {
        std::memcpy(bigger.get(), buffer_.get(), size_);
    }
    buffer_ = std::move(bigger);
    capacity_ = newCapacity;
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
